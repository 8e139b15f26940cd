#include "host/pos/services_sim.h"

#include <fmt/format.h>

#include "base/text.h"
#include "host/pos/non_fiscal_receipt_sim.h"

namespace recebimento::pos {

using base::Variant;

namespace {

const ServiceAnswer kUnreachable{false, Variant(std::string("servico indisponivel"))};
const ServiceAnswer kDone{true, Variant(true)};

std::vector<Variant> QueryArgs(const ConsumerQuery& q) {
  return {Variant(q.operation), Variant(q.url),      Variant(q.kind),   Variant(q.branch),        Variant(q.shop),
          Variant(q.client),    Variant(q.consumer), Variant(q.family), Variant(q.date.IsoDate())};
}

std::vector<Variant> WithAction(const std::string& action, const std::vector<Variant>& args) {
  std::vector<Variant> out{Variant(action)};
  out.insert(out.end(), args.begin(), args.end());
  return out;
}

}  // namespace

ServiceAnswer ScriptedServices::Take(const std::string& operation, const std::string& action,
                                     const ServiceAnswer& fallback) {
  for (const std::string& key : {operation + ":" + action, operation}) {
    auto it = config_.answers.find(key);
    if (it == config_.answers.end() || it->second.empty()) continue;
    ServiceAnswer a = it->second.front();
    if (it->second.size() > 1) it->second.pop_front();
    return a;
  }
  return fallback;
}

bool ScriptedServices::Query(const std::string& operation, const ConsumerQuery& query, Variant& result) {
  record_.Call(operation, QueryArgs(query));
  const ServiceAnswer a = Take(operation, query.operation, kUnreachable);
  // Results are arrays whose first element is the value; a bare value is wrapped.
  result = a.result.IsArray() ? a.result : Variant(std::vector<Variant>{a.result});
  return a.ok;
}

bool ScriptedServices::Action(const std::string& operation, const std::string& action, const std::vector<Variant>& args,
                              Variant& oleRetorno) {
  record_.Call(operation, WithAction(action, args));
  const ServiceAnswer a = Take(operation, action, kUnreachable);
  oleRetorno = a.result;
  return a.ok;
}

void ScriptedServices::PrintNonFiscal(const std::string& text) {
  for (const auto& line : base::Split(text, "\n")) record_.Print("nonfiscal", base::TrimRight(line));
}

bool ScriptedServices::AtuSaldoDebCons(const std::string& branch, const std::string& client,
                                       const std::string& consumer, const base::DateTime& since,
                                       const std::string& operator_code) {
  record_.Call("AtuSaldoDebCons",
               {Variant(branch), Variant(client), Variant(consumer), Variant(since.IsoDate()), Variant(operator_code)});
  return Take("AtuSaldoDebCons", "", kDone).ok;
}

bool ScriptedServices::AtuSaldoExtCons(const std::string& branch, const std::string& client,
                                       const std::string& consumer, double amount) {
  record_.Call("AtuSaldoExtCons", {Variant(branch), Variant(client), Variant(consumer), Variant(amount)});
  return Take("AtuSaldoExtCons", "", kDone).ok;
}

bool ScriptedServices::ExtratoConsOnline(const ConsumerQuery& q, Variant& r) {
  return Query("ExtratoConsOnline", q, r);
}
bool ScriptedServices::ExtratoConsCentral(const ConsumerQuery& q, Variant& r) {
  return Query("ExtratoConsCentral", q, r);
}
bool ScriptedServices::MoviclieCentral(const ConsumerQuery& q, Variant& r) { return Query("MoviclieCentral", q, r); }

std::string ScriptedServices::getNumeroSerieNFCe(const std::string& branch, const std::string& cash_register) {
  record_.Call("getNumeroSerieNFCe", {Variant(branch), Variant(cash_register)});
  return config_.nfce_series;
}

bool ScriptedServices::getProdCodCestNcm(const std::string& product, Variant& oleProdCestNcm) {
  record_.Call("getProdCodCestNcm", {Variant(product)});
  auto it = config_.cest_ncm.find(product);
  std::vector<Variant> codes{Variant(std::string()), Variant(std::string())};
  if (it != config_.cest_ncm.end())
    for (size_t i = 0; i < it->second.size() && i < 2; ++i) codes[i] = Variant(it->second[i]);
  oleProdCestNcm = Variant(codes);
  return true;
}

bool ScriptedServices::CalculoIcmsDFederal(base::Dataset& items, double discount, Variant& oleRetImposto) {
  record_.Call("CalculoIcmsDFederal", {Variant(items.RecordCount()), Variant(discount)});
  const ServiceAnswer a =
      Take("CalculoIcmsDFederal", "", {true, Variant(std::vector<Variant>{Variant(0.0), Variant(0.0), Variant(0.0)})});
  oleRetImposto = a.result;
  return a.ok;
}

bool ScriptedServices::ImpCompVenCredNFCeSAT(const ConsumerVoucher& v) {
  record_.Call("ImpCompVenCredNFCeSAT", {Variant(v.CDCONSUMIDOR), Variant(v.VRMOVIVEND), Variant(v.saldo)});
  PrintNonFiscal(fmt::format("COMPROVANTE CREDITO PESSOAL\n{} {} {:.2f}\nSALDO {:.2f}", v.CDCONSUMIDOR, v.NMCONSUMIDOR,
                             v.VRMOVIVEND, v.saldo));
  return Take("ImpCompVenCredNFCeSAT", "", kDone).ok;
}

bool ScriptedServices::ImprimePadrao(const std::string& port, const std::string& printer_kind,
                                     const std::string& text) {
  record_.Call("ImprimePadrao", {Variant(port), Variant(printer_kind), Variant(text)});
  PrintNonFiscal(text);
  return Take("ImprimePadrao", "", kDone).ok;
}

void ScriptedServices::LogImpNFiscal(const std::string& line) {
  record_.Call("LogImpNFiscal", {Variant(line)});
  nonfiscal_log_.push_back(line);
}

// The fiscal-reports dialog: the operator picks a report (its name is the answer) or
// closes the dialog.
void ScriptedServices::RelFiscais() {
  record_.Call("RelFiscais");
  if (!dialogs_) return;
  const DialogAnswer a = dialogs_->Ask("RelFiscais", "Relatórios Fiscais", "Escolha o relatório fiscal");
  const std::string report = a.cancelled ? std::string() : a.value.AsString();
  if (!report.empty() && report != "false") record_.Print("fiscal", "RELATORIO FISCAL: " + report);
}

Variant ScriptedServices::Vd_VrMinMaxSangria(const std::string& branch, const std::string& cash_register) {
  record_.Call("Vd_VrMinMaxSangria", {Variant(branch), Variant(cash_register)});
  return Take("Vd_VrMinMaxSangria", "", {true, Variant(false)}).result;
}

bool ScriptedServices::ImprimeQRCodeAME(const std::string& printer_kind, const std::string& link) {
  record_.Call("ImprimeQRCodeAME", {Variant(printer_kind), Variant(link)});
  PrintNonFiscal("QR CODE AME: " + link);
  return Take("ImprimeQRCodeAME", "", kDone).ok;
}

bool ScriptedServices::Comp_DebitoCons_Bematech_NaoFiscal(const std::vector<Variant>& args, Variant& oleRetorno) {
  record_.Call("Comp_DebitoCons_Bematech_NaoFiscal", args);
  std::string text = "COMPROVANTE DEBITO CONSUMIDOR";
  for (const auto& a : args) text += "\n" + a.AsString();
  PrintNonFiscal(text);
  const ServiceAnswer a = Take("Comp_DebitoCons_Bematech_NaoFiscal", "", kDone);
  oleRetorno = a.result;
  return a.ok;
}

bool ScriptedServices::DisparaImpressaoNaoFiscal(const std::vector<Variant>& args, Variant& oleRetorno) {
  record_.Call("DisparaImpressaoNaoFiscal", args);
  PrintNonFiscal(FormatNonFiscalReceipt(args));
  const ServiceAnswer a = Take("DisparaImpressaoNaoFiscal", "", kDone);
  oleRetorno = a.result;
  return a.ok;
}

bool ScriptedServices::ChamaFuncaoGetRetornaPreco(const std::vector<Variant>& args, Variant& oleRetorno) {
  record_.Call("ChamaFuncaoGetRetornaPreco", args);
  const std::string product = args.size() > 2 ? args[2].AsString() : std::string();
  auto it = config_.prices.find(product);
  if (it == config_.prices.end()) {
    oleRetorno = Variant("produto " + product + " sem preco");
    return false;
  }
  base::DataPacket p;
  p.fields = {{"CDPRODUTO", base::FieldType::String, 20},
              {"VRPRECO", base::FieldType::Float, 0},
              {"VRPRECOCLIE", base::FieldType::Float, 0},
              {"VRDESCONTO", base::FieldType::Float, 0},
              {"VRACRESCIMO", base::FieldType::Float, 0}};
  p.rows.push_back({Variant(product), Variant(it->second.VRPRECO), Variant(it->second.VRPRECOCLIE),
                    Variant(it->second.VRDESCONTO), Variant(it->second.VRACRESCIMO)});
  oleRetorno = Variant(p);
  return true;
}

bool ScriptedServices::FixeCRM(const std::vector<Variant>& args, Variant& oleRetorno) {
  return Action("FixeCRM", args.empty() ? std::string() : args[0].AsString(), args, oleRetorno);
}
bool ScriptedServices::FidelidadeOnline(const std::string& action, const std::vector<Variant>& args, Variant& r) {
  return Action("FidelidadeOnline", action, args, r);
}
bool ScriptedServices::FidelidadeOlga(const std::string& action, const std::vector<Variant>& args, Variant& r) {
  return Action("FidelidadeOlga", action, args, r);
}
bool ScriptedServices::IntegracaoFidUds(const std::string& action, const std::vector<Variant>& args, Variant& r) {
  return Action("IntegracaoFidUds", action, args, r);
}
bool ScriptedServices::IntegracaoFid4All(const std::string& action, const std::vector<Variant>& args, Variant& r) {
  return Action("IntegracaoFid4All", action, args, r);
}
bool ScriptedServices::CoreBancario(const std::string& action, const std::vector<Variant>& args, Variant& r) {
  return Action("CoreBancario", action, args, r);
}
bool ScriptedServices::ValePresente(const std::string& action, const std::vector<Variant>& args, Variant& r) {
  return Action("ValePresente", action, args, r);
}
bool ScriptedServices::CriaDadosDotz(const std::vector<Variant>& args, Variant& oleRetorno) {
  return Action("CriaDadosDotz", "", args, oleRetorno);
}

}  // namespace recebimento::pos
