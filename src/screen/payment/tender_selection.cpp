// Tender selection: the checks before any tender, the dispatch on the tender's kind, the
// payment line and change, and whether the sale is now fully paid.
#include "screen/payment/tender_selection.h"

#include <cmath>
#include <initializer_list>
#include <string>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/messages.h"
#include "host/runtime/money.h"
#include "host/runtime/result_check.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

namespace {

bool OneOf(const std::string& kind, std::initializer_list<const char*> kinds) {
  for (const char* k : kinds)
    if (kind == k) return true;
  return false;
}

// A payment line of that kind among the sale's payments (change lines aside).
bool HasPaymentOfKind(base::Dataset* movi, const std::string& kind) {
  if (!movi || !movi->Active() || movi->FieldIndex("IDTIPORECE") < 0) return false;
  const base::DataPacket p = movi->Data();
  const bool has_movement = p.FieldIndex("IDTIPOMOVIVE") >= 0;
  for (const auto& row : p.rows)
    if (base::ColumnTrimmed(p, row, "IDTIPORECE") == kind &&
        (!has_movement || base::ColumnTrimmed(p, row, "IDTIPOMOVIVE") != "S"))
      return true;
  return false;
}

constexpr const char* kLockedButtons[] = {"spbSair",         "spbClear",         "spbDesconto", "spbAcrescimo",
                                          "spbDotz",         "spbTaxaServico",   "sbtCashback", "sbtCashbackUDS",
                                          "sbtCashbackCore", "sbtFidelidadeOlga"};

}  // namespace

void TenderSelection::Refuse(const std::string& key) {
  s_.sale.boFalhaReceb = true;
  s_.parts.grid.CtrlBotoes("D", 1);
  s_.ShowMessage(Msg(key), runtime::kMsgBlocked);
}

void TenderSelection::PrepareConsumer() {
  SaleState& sale = s_.sale;
  if (sale.stTipoTela == "S") {
    const std::string client = sale.stCdClienteVenda;
    const std::string consumer = sale.stCdConsumidorVenda.empty() ? sale.stCdConsumidorFoto : sale.stCdConsumidorVenda;
    const base::Variant type =
        s_.CheckResult(s_.ctx.rdm.GetTipoConsFili(client, consumer), "GetTipoConsFili", s_.par.stCDFILIAL);
    if (runtime::IsResultPacket(type)) cdsTipoConsFili.SetData(type);
    stIdRecebeBonus = base::ColumnText(cdsTipoConsFili, "IDRECEBEBONUS");
    doVrBonusCredito = base::ColumnNumber(cdsTipoConsFili, "VRBONUSCREDITO");
    doVrCargaCredito = base::ColumnNumber(cdsTipoConsFili, "VRCARGACREDITO");
  } else if (sale.stTipoTela == "C") {
    sale.charged.client = sale.stCdClienteVenda;
    sale.charged.consumer = sale.stCdConsumidorVenda;
    sale.charged.name = sale.stNmConsCupom.empty() ? sale.stNmClienteVenda : sale.stNmConsCupom;
  } else if (sale.stIdTipoVenda != "B" && sale.stConsPesquisado != "S" && sale.HasItems()) {
    sale.charged.client = sale.ItemText("CDCLIENTE");
    sale.charged.consumer = sale.ItemText("CDCONSUMIDOR");
    sale.charged.cer_number = sale.ItemText("NRCERVENDAREST");
    sale.charged.coo_number = sale.ItemText("NRCOOVENDAREST");
  }
}

void TenderSelection::DoMenuRecebimentoClick(const std::string& cdTipoRece, const std::string& glyph) {
  const pos::HostServices& host = s_.ctx.host;
  const ParametrosZem& par = s_.par;
  SaleState& sale = s_.sale;
  ControlRegistry& c = s_.controls;
  ScreenParts& parts = s_.parts;

  // Start: a fresh selection, and the consumer the line will charge.
  sale.boFalhaReceb = false;
  host.tef_dedicated->Variables().Rev_doTrocoTef = 0;
  sale.stIdPagouTEF = "N";
  current_ = {};
  boDigitouValor = false;
  parts.keyboard.KeybEnabled(true);
  PrepareConsumer();

  // Refusals before any tender, in this order.
  base::Dataset& receb = sale.cdsReceb;
  const std::string kind = base::Trim(receb.Lookup("CDTIPORECE", {base::Variant(cdTipoRece)}, "IDTIPORECE").AsString());
  if (OneOf(kind, {"8", "9", "A", "C", "E"}) && sale.stTipoTela == "S") return Refuse("OPE_TIP_CRED");
  if (kind == "A" && sale.stTipoTela == "C" && sale.stModoVenda != "DLV" && par.stIDCONSUBDESFOL == "N")
    return Refuse("OPE_TIP_AVIST");
  if ((par.stIDUTILTEF == "T" || par.stIDUTILTEF == "D") && !par.boUTILIZAIMPFIS && OneOf(kind, {"1", "2", "F", "G"}) &&
      !par.boSISTEMAZEMNFCE && !par.boSISTEMAZEMSAT)
    return Refuse("OPE_TEF");
  if (par.stIDUTILTEF == "S" && sale.boCupomCancelado && sale.inQtdeTef > 0) return Refuse("OPE_N_DISC");
  if (sale.stIdTipoVenda == "B" && (kind == "A" || kind == "9") && par.stIDCONSUBDESFOL == "N") return Refuse("N_DEB");

  if (!receb.Locate("CDTIPORECE", base::Variant(cdTipoRece))) return;
  if (!sale.NoPayments()) {
    // Twenty card transactions is the most one sale may carry.
    const bool tef_limit = sale.inQtdeTef >= 20;
    if (tef_limit && ((par.stIDUTILTEF == "T" && OneOf(kind, {"1", "2", "3"})) || par.stIDUTILTEF == "S"))
      return Refuse("EXC_TED_DISC");
    if (kind == "9" && HasPaymentOfKind(sale.cdsMoviVenda, "9")) return Refuse("N_FORMA_CRED");
  }

  // Preparation.
  if (host.keyboard->Teclado_OK()) {
    host.keyboard->ProcTeclFormFeed();
    host.keyboard->ProcTeclGoToXY(1, 1);
  }
  const bool fixed_bonus = sale.stTipoTela == "S" && stIdRecebeBonus == "S";
  c.SetVisible("panKeyboard", !(kind == "8" || kind == "K" || fixed_bonus));
  for (const char* b : kLockedButtons) c.SetEnabled(b, false);
  c.SetVisible("spbDesconto", false);
  c.SetVisible("spbAcrescimo", false);
  double amount = 0;
  sale.boFalhaReceb = false;
  parts.grid.SetSelecting(false);  // a tender is being paid, not chosen
  tef_functions_ = par.stIDBLOQIDCART == "S" || par.stIDBLOQIDCART.empty() ? "[29;" : "[";
  if (Control* img = c.FindComponent("imgReceb")) img->glyph = glyph;

  // Dispatch on the kind.
  bool obtained = false;
  if (kind == "4" || kind == "3" || kind == "7" || kind == "C") {
    const TInputStep step = kind == "4" ? isDinheiro1 : kind == "3" ? isCheque6 : kind == "7" ? isTicket1 : isPagSite;
    obtained = AmountFromKeypad(step, sale.doVrAPagar, amount) && CheckTypedAmount(amount, kind == "C");
    // A cheque is consulted through the card terminal.
    if (obtained && kind == "3") obtained = parts.cards.ChequeConsultation(current_, amount);
  } else if (kind == "6") {
    // Foreign currency has a path of its own: no installments, no advance limit.
    obtained = ForeignCurrencyAmount(amount);
  } else if (kind == "8") {
    obtained = AgreementAmount(amount);
  } else if (kind == "1" || kind == "2" || kind == "F" || kind == "G" || kind == "H") {
    obtained = parts.cards.CardTender(kind, current_, amount);
  } else if (kind == "E") {
    obtained = parts.cards.ChartTender(current_, amount);
  } else if (kind == "9" || kind == "A") {
    obtained = parts.consumer.AccountTender(kind, current_, amount);
  } else if (kind == "I" || kind == "J") {
    obtained = parts.wallets.WalletTender(kind, current_, amount);
  } else if (kind == "5") {
    obtained = parts.programs.ClubPetroTender(current_, amount);
  } else if (kind == "K") {
    obtained = parts.loyalty.LoyaltyTender(kind, current_, amount);
  } else {
    Refuse("N_FORMA");  // this kind is not taken at this register
  }

  if (obtained && !sale.boFalhaReceb) {
    if (sale.stTipoTela == "S" && stIdRecebeBonus == "S" && cdsTipoConsFili.Active() && !cdsTipoConsFili.IsEmpty()) {
      current_.bonus_tender = &cdsTipoConsFili;
      current_.bonus_amount = doVrBonusCredito;
    }
    parts.payments.WritePaymentLine(amount, current_);
    if (!sale.boFalhaReceb) {
      parts.payments.UpdatePaidAmounts(amount);
      if ((sale.stTipoTela == "N" || sale.stTipoTela == "C") && !parts.payments.SettleChange()) {
        if (Control* img = c.FindComponent("imgReceb")) img->glyph.clear();
        return;
      }
      FinishSelection();
    }
  }

  if (Control* img = c.FindComponent("imgReceb")) img->glyph.clear();
  if (sale.boFalhaReceb) {
    // A refused tender leaves what was paid as it was; only its own entry is undone.
    sale.tpInputStep = isNone;
    boDigitouValor = false;
  }
}

void TenderSelection::FinishSelection() {
  ControlRegistry& c = s_.controls;
  SaleState& sale = s_.sale;
  const bool no_lines = sale.NoPayments();
  if (sale.stTipoTela != "N" && sale.stTipoTela != "C") {
    c.SetVisible("panKeyboard", false);
    const bool ok = std::fabs(runtime::Trunc2(sale.doVrPago - sale.doVrAPagar)) > 0;
    c.SetVisible("spbOk", ok);
    c.SetEnabled("spbOk", ok);
    c.SetVisible("spbCNPJCPF", false);
    c.SetEnabled("spbSair", true);
    c.SetEnabled("spbClear", sale.stIdTela != "S");
    c.SetEnabled("spbDesconto", false);
  } else {
    const double real_total = sale.doVrAcrescimo > 0 ? sale.doVrBaseAcrescimo + sale.doVrAcrescimo : sale.doVrTotal;
    const bool paid = runtime::FullyPaid(sale.doVrPago, real_total - sale.doVrDesconto);
    c.SetVisible("spbOk", true);
    c.SetEnabled("spbOk", paid);
    c.SetEnabled("spbSair", no_lines || sale.stIdTela == "S");
    c.SetEnabled("spbClear", sale.stIdTela != "S");
    if (paid) {
      s_.parts.grid.CtrlBotoes("H", 2);
      if (sale.boTemPagtoTef && sale.doVrTroco <= 0) s_.parts.keyboard.PostText("", true, true);
    } else if (sale.boTemPagtoTef && s_.par.stIDTPTEF == "B") {
      s_.ctx.host.tef_dedicated->FinalizaTransTef(true);
    }
  }
}

}  // namespace recebimento::screen
