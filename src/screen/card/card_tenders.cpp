// The card branch of tender selection: the amount and its checks, the installments, the
// route to the card terminal (or to the NSU the operator types), and the branch's end.
#include "screen/card/card_tenders.h"

#include <string>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/messages.h"
#include "host/runtime/money.h"
#include "host/runtime/numbers.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

namespace {

bool DebitFamily(const std::string& kind) { return kind == "2" || kind == "F" || kind == "G"; }

// The most digits a typed NSU may have.
constexpr int kDefaultNsuDigits = 10;

}  // namespace

void CardTenders::Fail(const std::string& text) {
  s_.sale.boFalhaReceb = true;
  s_.parts.grid.CtrlBotoes("D", 1);
  if (!text.empty()) s_.ShowMessage(text, runtime::kMsgBlocked);
}

bool CardTenders::CardTender(const std::string& kind, TenderPayment& tender, double& amount) {
  SaleState& sale = s_.sale;
  TenderSelection& selection = s_.parts.selection;
  const bool wallet = kind == "H";
  const TInputStep step = DebitFamily(kind) ? isDebito3 : isCredito3;
  if (!selection.AmountFromKeypad(step, sale.doVrAPagar, amount)) return false;
  if (!selection.AdvanceAllows(amount) || !AmountAllowed(kind, amount)) return false;
  if (!wallet && !selection.AskInstallments(amount)) return false;
  if (DebitFamily(kind)) selection.MarkManualCardSale();

  // Only these screens run a transaction; any other records the line without card data.
  const std::string& screen = sale.stTipoTela;
  bool go_on = true;
  if (screen == "N" || screen == "C" || screen == "S" || screen == "A" || screen == "D")
    go_on = RunRoute(kind, tender, amount);
  return EndBranch(tender, go_on);
}

bool CardTenders::AmountAllowed(const std::string& kind, double amount) {
  const SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  // Compared in cents, both rounded: 10.00 above what is due passes, 10.01 does not.
  const int64_t typed = runtime::ToCents(runtime::RoundDec(amount, 2));
  const int64_t due = runtime::ToCents(runtime::RoundDec(sale.doVrAPagar, 2));
  const bool top_up = sale.stTipoTela == "S" || sale.stTipoTela == "A";
  if (par.stSGESTADOFILI == "SC" && !top_up && typed > due + 1000) {
    s_.parts.selection.Refuse("VAL_N_TROCO");
    return false;
  }
  if (!top_up && par.stIDTPCONTRREPIQ == "N" && typed > due) {
    s_.parts.selection.Refuse("VAL_N_PER");
    return false;
  }
  // The last card transaction a sale may carry must pay what is left.
  if (kind != "H" && (sale.stTipoTela == "N" || sale.stTipoTela == "C") && par.stIDUTILTEF == "S" &&
      sale.inQtdeTef == 19 && typed < due) {
    s_.parts.selection.Refuse("VAL_N_PER_DISC");
    return false;
  }
  return true;
}

bool CardTenders::RunRoute(const std::string& kind, TenderPayment& tender, double& amount) {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  base::Dataset& receb = sale.cdsReceb;
  const std::string disabled = base::ColumnTrimmed(receb, "IDDESABTEF");
  const bool not_delivery = sale.stModoVenda != "DLV";
  const bool manual_nsu =
      par.stIDSOLICITANSU == "S" && base::ColumnTrimmed(receb, "IDSOLNSUCREDDEB") == "S" && not_delivery;
  // The wallet has no integrated transaction: "S" goes the way of any other value.
  const std::string route = kind == "H" && par.stIDUTILTEF == "S" ? std::string("-") : par.stIDUTILTEF;

  if (disabled == "S") {
    if (manual_nsu && !AskNsu(tender)) return false;
    if (route == "S") {
      tender.doVrTef += amount;
      sale.boTemPagtoTef = true;
      sale.boOperacaoEmCurso = true;
    }
    return true;
  }
  if (route == "N") {
    if (disabled == "N" && par.stIDSOLICITANSU == "S" && not_delivery) return AskNsu(tender);
    return true;
  }
  if (route == "S") {
    // Credit "C"; a debit "D", or "V" for a voucher.
    const bool plain_debit = base::ColumnTrimmed(receb, "IDUTILVOUCHER") == "N";
    return RunIntegrated(kind, kind == "1" ? "C" : plain_debit ? "D" : "V", tender, amount);
  }
  if (route == "T") return RunDedicated(kind, tender, amount);
  return true;
}

bool CardTenders::AskNsu(TenderPayment& tender) {
  const int most = s_.par.inQTDMAXDIGNSU > 0 ? s_.par.inQTDMAXDIGNSU : kDefaultNsuDigits;
  std::string typed;
  const bool confirmed = s_.ctx.host.dialogs->TecladoNumerico(typed, Msg("VENDA_NSU"), Msg("INF_NSU"), "", most, "X");
  typed = base::Trim(typed);
  // An NSU is digits, never more than the branch allows: anything else is not taken.
  bool digits = !typed.empty() && static_cast<int>(typed.size()) <= most;
  for (char c : typed) digits = digits && c >= '0' && c <= '9';
  if (!confirmed || !digits) {
    Fail(Msg("INF_NSU"));
    return false;
  }
  tender.card.CDNSUHOSTTEF = typed;
  return true;
}

bool CardTenders::EndBranch(TenderPayment& tender, bool go_on) {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  CardData& card = tender.card;
  for (std::string* f :
       {&card.IDFILAPAGMFE, &card.CDAUTORIZMFE, &card.CDBINCARTMFE, &card.NMINSTFINMFE, &card.CDPAGAMENMFE})
    f->clear();
  bool ok = go_on && !sale.boFalhaReceb;
  if (ok && par.stSGESTADOFILI == "CE" && par.boSISTEMAZEMSAT && par.stIDUTLCOMUDIRMFE == "N" &&
      !s_.parts.fiscal.FuncoesVFPe(card)) {
    sale.boFalhaReceb = true;
    ok = false;
  }
  sale.tpInputStep = isNone;
  s_.parts.keyboard.KeybEnabled(true);
  return ok;
}

bool CardTenders::ChequeConsultation(TenderPayment& tender, double& amount) {
  const ParametrosZem& par = s_.par;
  SaleState& sale = s_.sale;
  if (par.stIDUTILCHEQ != "S") return true;
  if (par.stIDUTILTEF == "S") {
    // The cheque pays exactly what is due: no more, no less.
    if (amount < sale.doVrAPagar) {
      Fail(Msg("TEF_Perm"));
      return false;
    }
    if (amount > sale.doVrAPagar) {
      Fail(Msg("TEF_Troco"));
      return false;
    }
    return RunIntegrated("3", "Q", tender, amount);
  }
  if (par.stIDUTILTEF == "T") return RunDedicated("3", tender, amount);
  return true;
}

}  // namespace recebimento::screen
