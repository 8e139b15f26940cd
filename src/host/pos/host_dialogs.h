#pragma once
// The host's dialogs (Gpe00002): keypads, consumer search, observation, discount and
// additional-information entry, foreign-currency rates and the wait notice.
#include <string>
#include <vector>

#include "base/dataset.h"
#include "base/variant.h"

namespace recebimento::pos {

struct ConsumerSearchRequest {
  std::string operation;  // "CONSULTA_TEL" or the tab's search
  std::string title;
  std::string level = "1";
  std::string mode = "A";
  std::string phone;
  base::Dataset* clients = nullptr;  // cdsCliente
};

struct ConsumerSearchResult {
  std::string CDCLIENTE;
  std::string NMRAZSOCCLIE;
  std::string CDCONSUMIDOR;
  std::string NMCONSUMIDOR;
  std::string NRCPFRESPCON;
  std::string VRLIMDEBCONS;
  std::string complement;  // the search's second-to-last text, printed on agreement sales
};

class HostDialogs {
 public:
  virtual ~HostDialogs() = default;
  // value: proposed text in, typed text out. True when confirmed.
  virtual bool TecladoNumerico(std::string& value, const std::string& title, const std::string& caption,
                               const std::string& prompt = "", int max_digits = 0, const std::string& mode = "") = 0;
  virtual bool TecladoAlfaNumerico(const std::string& prompt, bool upper_case, int max_length, std::string& text) = 0;
  virtual bool PesqConsumidor(const ConsumerSearchRequest& request, ConsumerSearchResult& result) = 0;
  // Open lists answered in oleRetorno.
  virtual bool Observacao(const std::vector<base::Variant>& args, base::Variant& oleRetorno) = 0;
  virtual bool CriaDesconto(const std::vector<base::Variant>& args, base::Variant& oleRetorno) = 0;
  // Element 0 document, 1 name, 2 address, 5 foreigner's number.
  virtual bool CriaInfAdicional(const std::vector<base::Variant>& args, base::Variant& oleRetorno) = 0;
  // Rebuilds the currency-rate table; its packet comes back in `rates`.
  virtual bool CriaOutrasMoedas(base::Variant& rates) = 0;
  virtual void AtivaProcesso(const std::string& form, const std::string& text) = 0;
  virtual void DesativaProcesso() = 0;
};

}  // namespace recebimento::pos
