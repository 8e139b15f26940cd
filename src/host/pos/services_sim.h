#pragma once
// Consumer, fiscal and loyalty services of the host answering as scripted. Answers are
// keyed by "Operation:ACTION" (or just "Operation"); each call takes the next answer
// for its key and the last one repeats. A query with no scripted answer fails (the
// service is unreachable); balance updates succeed unless scripted otherwise.
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "host/pos/consumer_services.h"
#include "host/pos/dialogs_sim.h"
#include "host/pos/fiscal_services.h"
#include "host/pos/host_record.h"
#include "host/pos/loyalty_services.h"

namespace recebimento::pos {

struct ServiceAnswer {
  bool ok = true;
  base::Variant result;  // what lands in oleRetorno / the result variant
};

struct ProductPrice {
  double VRPRECO = 0;
  double VRPRECOCLIE = 0;
  double VRDESCONTO = 0;
  double VRACRESCIMO = 0;
};

struct ServicesConfig {
  std::map<std::string, std::deque<ServiceAnswer>> answers;
  std::map<std::string, ProductPrice> prices;                // the price function, by product
  std::map<std::string, std::vector<std::string>> cest_ncm;  // product -> [CEST, NCM]
  std::string nfce_series = "1";
};

class ScriptedServices : public ConsumerServices, public FiscalServices, public LoyaltyServices {
 public:
  ScriptedServices(ServicesConfig config, HostRecord& record) : config_(std::move(config)), record_(record) {}
  void Script(const std::string& key, ServiceAnswer answer) { config_.answers[key].push_back(std::move(answer)); }
  // The dialogs the host's own screens (the fiscal reports) open through.
  void SetDialogs(SimulatedDialogs* dialogs) { dialogs_ = dialogs; }

  // Consumer services.
  bool AtuSaldoDebCons(const std::string& branch, const std::string& client, const std::string& consumer,
                       const base::DateTime& since, const std::string& operator_code) override;
  bool AtuSaldoExtCons(const std::string& branch, const std::string& client, const std::string& consumer,
                       double amount) override;
  bool ExtratoConsOnline(const ConsumerQuery& query, base::Variant& result) override;
  bool ExtratoConsCentral(const ConsumerQuery& query, base::Variant& result) override;
  bool MoviclieCentral(const ConsumerQuery& query, base::Variant& result) override;

  // Fiscal and other services.
  std::string getNumeroSerieNFCe(const std::string& branch, const std::string& cash_register) override;
  bool getProdCodCestNcm(const std::string& product, base::Variant& oleProdCestNcm) override;
  bool CalculoIcmsDFederal(base::Dataset& items, double discount, base::Variant& oleRetImposto) override;
  bool ImpCompVenCredNFCeSAT(const ConsumerVoucher& voucher) override;
  bool ImprimePadrao(const std::string& port, const std::string& printer_kind, const std::string& text) override;
  void LogImpNFiscal(const std::string& line) override;
  void RelFiscais() override;
  base::Variant Vd_VrMinMaxSangria(const std::string& branch, const std::string& cash_register) override;
  bool ImprimeQRCodeAME(const std::string& printer_kind, const std::string& link) override;
  bool Comp_DebitoCons_Bematech_NaoFiscal(const std::vector<base::Variant>& args, base::Variant& oleRetorno) override;
  bool DisparaImpressaoNaoFiscal(const std::vector<base::Variant>& args, base::Variant& oleRetorno) override;
  bool ChamaFuncaoGetRetornaPreco(const std::vector<base::Variant>& args, base::Variant& oleRetorno) override;

  // Loyalty and wallet services.
  bool FixeCRM(const std::vector<base::Variant>& args, base::Variant& oleRetorno) override;
  bool FidelidadeOnline(const std::string& action, const std::vector<base::Variant>& args,
                        base::Variant& oleRetorno) override;
  bool FidelidadeOlga(const std::string& action, const std::vector<base::Variant>& args,
                      base::Variant& oleRetorno) override;
  bool IntegracaoFidUds(const std::string& action, const std::vector<base::Variant>& args,
                        base::Variant& oleRetorno) override;
  bool IntegracaoFid4All(const std::string& action, const std::vector<base::Variant>& args,
                         base::Variant& oleRetorno) override;
  bool CoreBancario(const std::string& action, const std::vector<base::Variant>& args,
                    base::Variant& oleRetorno) override;
  bool ValePresente(const std::string& action, const std::vector<base::Variant>& args,
                    base::Variant& oleRetorno) override;
  bool CriaDadosDotz(const std::vector<base::Variant>& args, base::Variant& oleRetorno) override;

  const std::vector<std::string>& NonFiscalLog() const { return nonfiscal_log_; }

 private:
  // The next scripted answer for operation[:action]; `fallback` when none is scripted.
  ServiceAnswer Take(const std::string& operation, const std::string& action, const ServiceAnswer& fallback);
  bool Query(const std::string& operation, const ConsumerQuery& query, base::Variant& result);
  bool Action(const std::string& operation, const std::string& action, const std::vector<base::Variant>& args,
              base::Variant& oleRetorno);
  void PrintNonFiscal(const std::string& text);

  ServicesConfig config_;
  HostRecord& record_;
  std::vector<std::string> nonfiscal_log_;
  SimulatedDialogs* dialogs_ = nullptr;
};

}  // namespace recebimento::pos
