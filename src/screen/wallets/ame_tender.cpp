// The AME tender: a token, the order for the typed amount, its QR code printed on the
// non-fiscal printer, and at most five authorisation queries 5 s apart; the payment is
// captured at the close, or cancelled when the sale is left or cleared.
#include <string>

#include "base/dataset_columns.h"
#include "host/runtime/messages.h"
#include "host/runtime/money.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/wallets/wallets.h"

namespace recebimento::screen {

namespace {

constexpr int kMostAuthorisationQueries = 5;
constexpr int64_t kAuthorisationQueryGapMs = 5000;

}  // namespace

bool Wallets::AmeTender(TenderPayment& tender, double& amount) {
  TenderSelection& selection = s_.parts.selection;
  // One AME payment per sale.
  if (ame_.boPagouAme) {
    selection.Refuse("AME_JA");
    return false;
  }
  integrations::AmeClient ame = AmeApi();
  ame_.inicializaVarAME();
  if (!ame.buscaTokenAME()) {  // the failure is in AME's log already
    selection.Refuse("IMPCONAME");
    return false;
  }
  if (!selection.AmountFromKeypad(isAme, s_.sale.doVrAPagar, amount) || !selection.CheckTypedAmount(amount, false))
    return false;
  ame_.doValorAME = runtime::Trunc2(amount);
  if (!ame.criaOrdemAME()) {
    selection.Refuse("NORDEMAME");
    return false;
  }
  // A QR code the consumer never sees can never be paid: the order goes.
  const bool printed = !ame_.stLinkQRCodeAME.empty() &&
                       s_.ctx.host.fiscal->ImprimeQRCodeAME(s_.par.stIDTIPOIMPNF3, ame_.stLinkQRCodeAME);
  if (!printed) {
    ame.cancelaOrdemAME();
    ame.ForgetOrder();
    selection.Refuse("QRCODENGERADO");
    return false;
  }
  s_.ShowMessage(Msg("SOLCONSLEIQR"), runtime::kMsgPrompt);

  // The queries block the screen: no operator action is taken between them.
  ame_.boBuscaCallBackAME = true;
  for (int query = 1; query <= kMostAuthorisationQueries && ame_.boBuscaCallBackAME; ++query) {
    s_.ctx.clock.Sleep(kAuthorisationQueryGapMs);
    ame_.boBuscaCallBackAME = ame.buscaCallBackAutAME();
  }
  if (ame_.boBuscaCallBackAME) {
    ame.cancelaOrdemAME();
    selection.Refuse("QRCODENLIDO");
    return false;
  }
  s_.ShowMessage(Msg("QRCODDELIDO"), runtime::kMsgPrompt);
  ame_.boPagouAme = true;
  tender.card.IDTRANSAME = ame_.stIdOrdemAme;
  amount = ame_.doValorAME;
  return true;
}

void Wallets::MarkAmeLine(bool keep) {
  base::Dataset* movi = s_.sale.cdsMoviVenda;
  if (!movi || !movi->Active() || movi->FieldIndex("IDTIPORECE") < 0) return;
  if (!movi->Locate("IDTIPORECE", base::Variant(std::string("I")))) return;
  movi->Edit();
  base::SetColumn(*movi, "IDTRANSAME", base::Variant(keep ? ame_.stIdOrdemAme : std::string()));
  base::SetColumn(*movi, "IDTRANSAMECAPT", base::Variant(keep ? ame_.stIdOrdemAmeCaptura : std::string()));
  movi->Post();
}

void Wallets::CancelPendingAmeOrder() {
  if (!ame_.boPagouAme || ame_.stIdOrdemAme.empty()) return;
  MarkAmeLine(false);
  // Cancelled whether or not the host still shows the line: the consumer's money must
  // not stay held for a sale that was left.
  integrations::AmeClient ame = AmeApi();
  ame.cancelaOrdemAME();
  s_.ctx.log.LogRev00000(ame_frame_.stMensagemAme);
}

void Wallets::RefundClearedPayments() {
  CancelPendingAmeOrder();
  ame_.inicializaVarAME();
}

}  // namespace recebimento::screen
