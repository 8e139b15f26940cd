#pragma once
// The host's dialogs (keypads, consumer search, observation, discount, additional
// information, currency rates, wait notice) as Qt dialogs on the touch screen.
#include <functional>

#include "base/data_packet.h"
#include "base/datetime.h"
#include "host/pos/host_dialogs.h"
#include "progress_notice.h"

namespace recebimento::gui {

class QtHostDialogs : public pos::HostDialogs {
 public:
  // `today` dates the currency rates; `known_rates` proposes currencies and rates.
  explicit QtHostDialogs(std::function<base::DateTime()> today, base::DataPacket known_rates = {});

  bool TecladoNumerico(std::string& value, const std::string& title, const std::string& caption,
                       const std::string& prompt, int max_digits, const std::string& mode) override;
  bool TecladoAlfaNumerico(const std::string& prompt, bool upper_case, int max_length, std::string& text) override;
  bool PesqConsumidor(const pos::ConsumerSearchRequest& request, pos::ConsumerSearchResult& result) override;
  bool Observacao(const std::vector<base::Variant>& args, base::Variant& oleRetorno) override;
  bool CriaDesconto(const std::vector<base::Variant>& args, base::Variant& oleRetorno) override;
  bool CriaInfAdicional(const std::vector<base::Variant>& args, base::Variant& oleRetorno) override;
  bool CriaOutrasMoedas(base::Variant& rates) override;
  void AtivaProcesso(const std::string& form, const std::string& text) override;
  void DesativaProcesso() override;

  const ProgressNotice& Notice() const { return notice_; }

 private:
  std::function<base::DateTime()> today_;
  base::DataPacket known_rates_;
  ProgressNotice notice_;
};

}  // namespace recebimento::gui
