// Dotz and the loyalty discounts of the store's campaigns.
#include "screen/loyalty/loyalty_campaigns.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <string>
#include <vector>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "host/runtime/result_check.h"
#include "screen/frame/message_format.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

using base::Variant;
using runtime::Trunc2;

namespace {

// Points as the operator reads them: whole points without decimals.
std::string Points(double points) { return runtime::FormatFloat(std::floor(points) == points ? "0" : "0.00", points); }

std::string TwoDecimals(double value) { return runtime::FormatFloat("0.00", value); }

// The host's answer as a packet: itself, or the first element of an array.
Variant AnswerPacket(const Variant& answer) {
  if (answer.IsPacket()) return answer;
  if (answer.IsArray() && answer.Size() > 0 && answer[0].IsPacket()) return answer[0];
  return Variant();
}

}  // namespace

bool LoyaltyCampaigns::Question(const std::string& text) {
  return runtime::ShowMessage(s_.ctx.host.messages,
                              {text, "", "N", "N", runtime::kMsgQuestion, "", s_.par.stIDESQUEMA, 0, nullptr});
}

bool LoyaltyCampaigns::Load(base::Dataset& ds, const Variant& packet, const std::string& method,
                            const std::string& key) {
  const Variant checked = s_.CheckResult(packet, method, key);
  if (!runtime::IsResultPacket(checked)) return false;
  ds.SetData(checked);
  return true;
}

void LoyaltyCampaigns::ListLine(const std::string& line) {
  Control* list = s_.controls.FindComponent("memLista");
  if (!list) return;
  list->lines.push_back(line);
  dotz_lines_.push_back(line);
}

// --- Dotz.

void LoyaltyCampaigns::spbDotzClick() {
  const SaleState& sale = s_.sale;
  const std::vector<Variant> args = {Variant(sale.stCdOperador), Variant(s_.par.stCDCAIXA), Variant(s_.par.stCDFILIAL),
                                     Variant(sale.stNrComanda), Variant(Trunc2(sale.doVrAPagar))};
  Variant answer;
  if (!s_.ctx.host.loyalty->CriaDadosDotz(args, answer)) return;
  Variant id = answer.IsArray() && answer.Size() > 0 ? answer[0] : answer;
  std::string account;
  try {
    account = id.IsEmptyOrNull() ? std::string() : base::Trim(id.AsString());
  } catch (const std::exception&) {
    account.clear();  // an answer that is no identification is none
  }
  if (account.empty()) return;
  stIdConsDotz = account;
  s_.controls.SetVisible("spbDotz", false);
  CalculoDotz();
}

void LoyaltyCampaigns::CalculoDotz() {
  if (stIdConsDotz.empty()) return;
  const SaleState& sale = s_.sale;
  const std::string branch = s_.par.stCDFILIAL;
  // A second calculation replaces the first.
  LimpaDotzLines();
  doTotalDotz = doDotzExtras = 0;

  const std::string amount = runtime::FormatFloat("0.00", Trunc2(sale.doVrAPagar), runtime::EnglishNumberLocale());
  if (!Load(cdsCampanha, s_.ctx.rdm.getCampanha(amount, branch), "getCampanha", branch + "-" + amount)) return;
  for (cdsCampanha.First(); !cdsCampanha.Eof(); cdsCampanha.Next())
    doTotalDotz += base::ColumnNumber(cdsCampanha, "NRDOTZ");
  if (doTotalDotz > 0) ListLine(MsgFmt("DOTZ", {Points(doTotalDotz)}));

  base::Dataset* items = sale.cdsItensVenda;
  if (!items || !items->Active() || items->IsEmpty()) return;
  const base::Dataset::Bookmark at = items->GetBookmark();
  bool failed = false;
  for (items->First(); !items->Eof() && !failed; items->Next()) {
    const std::string product = base::ColumnTrimmed(*items, "CDPRODUTO");
    if (!Load(cdsProdCampanha, s_.ctx.rdm.getProdCampanha(branch, product), "getProdCampanha",
              branch + "-" + product)) {
      failed = true;
      break;
    }
    const double quantity = base::ColumnNumber(*items, "QTPRODCOMVEN");
    for (cdsProdCampanha.First(); !cdsProdCampanha.Eof(); cdsProdCampanha.Next())
      doDotzExtras += base::ColumnNumber(cdsProdCampanha, "VRPONTOPROD") * quantity;
  }
  items->GotoBookmark(at);
  if (!failed && doDotzExtras > 0) ListLine(MsgFmt("DOTZ_EXTRAS", {Points(doDotzExtras)}));
}

void LoyaltyCampaigns::LimpaDotzLines() {
  if (Control* list = s_.controls.FindComponent("memLista")) {
    for (const std::string& line : dotz_lines_) {
      auto it = std::find(list->lines.begin(), list->lines.end(), line);
      if (it != list->lines.end()) list->lines.erase(it);
    }
  }
  dotz_lines_.clear();
}

void LoyaltyCampaigns::LimpaDotz() {
  LimpaDotzLines();
  stIdConsDotz.clear();
  doTotalDotz = doDotzExtras = 0;
  const bool runs_dotz = s_.par.stIDEXISTECAMPDOTZ == "S";
  s_.controls.SetEnabled("spbDotz", runs_dotz);
  if (runs_dotz) s_.controls.SetVisible("spbDotz", true);
}

// --- Loyalty discounts.

void LoyaltyCampaigns::PaymentsDiscarded() {
  LimpaDotz();
  offered_before_tender_ = false;
  if (!boDescFidelidade) return;
  SaleState& sale = s_.sale;
  boDescFidelidade = false;
  sale.stIdDescFidelidade.clear();
  sale.stCdCampanha.clear();
  sale.stPontosFidelidade.clear();
  sale.stVrDescFidelidade.clear();
}

void LoyaltyCampaigns::Grant(double discount, const std::string& kind, const std::string& campaign,
                             const std::string& points) {
  SaleState& sale = s_.sale;
  // Added to what the sale was given already: within the common limit, nothing lost.
  s_.parts.discounts.Apply(discount);
  sale.stIdDescFidelidade = kind;
  sale.stCdCampanha = campaign;
  sale.stPontosFidelidade = points;
  sale.stVrDescFidelidade = TwoDecimals(discount);
  boDescFidelidade = true;
  s_.ctx.log.LogRev00000("desconto de fidelidade " + kind + " campanha " + campaign + ": " + TwoDecimals(discount));
}

void LoyaltyCampaigns::OffersBeforeTender() {
  const SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  if (offered_before_tender_ || boDescFidelidade || !sale.NoPayments() || sale.stIdTela == "S") return;
  if (par.stIDEXTCONSONLINE != "S" || par.stIDUTILFID4ALL == "S" || par.stIDUTILFIDUDS == "S" ||
      par.stIDUTICOREBANC == "S")
    return;
  // Declined or not, the operator is not asked again at every tender.
  offered_before_tender_ = true;
  if (DescontoVendaFidelidade()) return;
  if (!base::Trim(par.stCDURLFIDONLINE).empty()) DescontoSaldoFidelidade();
}

bool LoyaltyCampaigns::DescontoVendaFidelidade() {
  if (boDescFidelidade) return false;
  SaleState& sale = s_.sale;
  const std::string branch = s_.par.stCDFILIAL;
  const std::string tab = base::Trim(sale.ItemText("NRCOMANDA"));

  // A delivery whose campaign was redeemed when it was ordered.
  if (!tab.empty()) {
    if (!Load(cdsResgDelivery, s_.ctx.rdm.getResgDelivery(branch, tab), "getResgDelivery", branch + "-" + tab))
      return false;
    if (!cdsResgDelivery.IsEmpty()) {
      cdsResgDelivery.First();
      const double discount = Trunc2(base::ColumnNumber(cdsResgDelivery, "VRDESCFIDELIDAD"));
      if (!(discount > 0)) return false;
      Grant(s_.parts.discounts.Limited(discount), "E", base::ColumnTrimmed(cdsResgDelivery, "CDCAMPANHA"),
            Points(base::ColumnNumber(cdsResgDelivery, "VRPONTOBRINDE")));
      return true;
    }
  }

  // The discount the consumer's points give on this sale.
  const std::string client = base::Trim(sale.ItemText("CDCLIENTE"));
  const std::string consumer = base::Trim(sale.ItemText("CDCONSUMIDOR"));
  if (client.empty() || consumer.empty()) return false;
  if (!Load(cdsDescVendaFid, s_.ctx.rdm.getDescVendaFid(client, consumer), "getDescVendaFid", client + "-" + consumer))
    return false;
  if (cdsDescVendaFid.IsEmpty()) return false;
  cdsDescVendaFid.First();
  double discount = Trunc2(base::ColumnNumber(cdsDescVendaFid, "VRDESCONTO"));
  if (!(discount > 0)) return false;
  const double points_per_step = base::ColumnNumber(cdsDescVendaFid, "VRPONTOGERADESC");
  const double discount_per_step = base::ColumnNumber(cdsDescVendaFid, "VRDESCVENDA");
  const std::string question = MsgFmt("DESC_VENDA_FID", {Points(points_per_step), TwoDecimals(discount_per_step),
                                                         base::ColumnTrimmed(cdsDescVendaFid, "NMCONSUMIDOR"),
                                                         Points(base::ColumnNumber(cdsDescVendaFid, "VRSALDOCONS"))});
  if (!Question(question)) return false;
  discount = s_.parts.discounts.Limited(discount);
  if (!(discount > 0) || !(discount_per_step > 0)) return false;
  // The points spent are those of the discount actually given.
  const double points = std::floor(discount * points_per_step / discount_per_step + 1e-9);
  Grant(discount, "E", base::ColumnTrimmed(cdsDescVendaFid, "CDCAMPANHA"), Points(points));
  return true;
}

bool LoyaltyCampaigns::DescontoSaldoFidelidade() {
  if (boDescFidelidade) return false;
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  s_.parts.identification.ConsultaConsTel();
  const std::string client = base::Trim(sale.ItemText("CDCLIENTE"));
  const std::string consumer = base::Trim(sale.ItemText("CDCONSUMIDOR"));
  const std::vector<Variant> args = {Variant(par.stCDFILIAL), Variant(client), Variant(consumer),
                                     Variant(sale.stTelefoneCons), Variant(par.stCDURLFIDONLINE)};
  Variant answer;
  if (!s_.ctx.host.loyalty->FidelidadeOnline("CONSULTA_SALDO", args, answer)) {
    s_.ShowMessage(Msg("FALHA_CONEXAO_SRV_FID"), runtime::kMsgBlocked);
    return false;
  }
  const std::string campaign = base::Trim(s_.ctx.rdm.getCampanhaSaldo(par.stCDFILIAL));
  const Variant packet = AnswerPacket(answer);
  base::Dataset balances;
  if (campaign.empty() || !packet.IsPacket()) {
    s_.ShowMessage(Msg("CONS_SALD_FID"), runtime::kMsgWarning);
    return false;
  }
  balances.SetData(packet);
  if (!balances.Locate("CDCAMPANHA", Variant(campaign))) {
    s_.ShowMessage(Msg("CONS_SALD_FID"), runtime::kMsgWarning);
    return false;
  }
  const double balance = Trunc2(base::ColumnNumber(balances, "VRSALDOCONS"));
  if (!(balance > 0)) {
    s_.ShowMessage(Msg("CONS_SALD_FID"), runtime::kMsgWarning);
    return false;
  }
  if (!Question(MsgFmt("DESC_SALDO_FID", {base::ColumnTrimmed(balances, "NMCONSUMIDOR"), TwoDecimals(balance)})))
    return false;
  const double discount = s_.parts.discounts.Limited(balance);
  if (!(discount > 0)) return false;
  Grant(discount, "S", campaign, TwoDecimals(discount));
  return true;
}

}  // namespace recebimento::screen
