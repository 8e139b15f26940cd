#include "screen/closing/exit_and_clear.h"

#include <string>

#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

void ExitAndClear::Leave() {
  SaleState& sale = s_.sale;
  if (sale.boProcessandoSaida) return;
  s_.ctx.log.LogRev00000("aciona botao voltar");
  ControlRegistry& c = s_.controls;
  RestorePayCaption();
  if (c.IsEnabled("sbt1")) {
    int escape = 27;
    s_.parts.keyboard.KeyDown(escape, false, false, false);
    if (s_.window.Closed()) return;  // the keyboard's own exit already closed the screen
  }
  sale.boProcessandoSaida = true;
  struct Release {
    bool& flag;
    ~Release() { flag = false; }
  } release{sale.boProcessandoSaida};

  switch (s_.parts.card.CancelOnExit(1)) {
    case PendingCardTransactions::OnExit::Kept: return;  // card transactions still stand: the screen stays open
    case PendingCardTransactions::OnExit::Cancelled: break;
    case PendingCardTransactions::OnExit::None:
      // No card transaction pending (whether or not the sale made any): the AME payment
      // of the sale left must not stay held.
      s_.parts.wallets.CancelPendingAmeOrder();
      break;
  }
  s_.parts.prepaid.CancelaValePresente();
  s_.window.Close();
}

void ExitAndClear::LeaveByEscape() {
  SaleState& sale = s_.sale;
  s_.parts.wallets.RefundMercadoPagoPayments();
  sale.boVendaOk = false;
  if (sale.inQtdeTef == 0) sale.boOperacaoEmCurso = false;

  // Card transactions the host could not cancel still stand: the screen stays.
  if (s_.parts.card.CancelOnExit(3) == PendingCardTransactions::OnExit::Kept) return;
  // An authorised AME payment of the sale left must not stay held.
  s_.parts.wallets.CancelPendingAmeOrder();
  s_.parts.prepaid.CancelaValePresente();

  // Closing the payment dataset here would hand the host back no payments at all, not
  // even the ones it brought (a paid delivery or mobile order): give back what it brought.
  RestoreHostPayments();
  // The amount paid goes with the payments: a sale left unpaid must not report the
  // payments it dropped as paid.
  if (initial_.kept) sale.doVrPago = initial_.paid;
  sale.stlRetorno.clear();
  sale.doVrTroco = sale.doVrRepique = 0;
  s_.parts.keyboard.ClearTakenAmount();
  sale.boVendaOk = false;
  if (s_.par.boDisplayOK) s_.ctx.host.display->LimpaDisplay();
  s_.window.Close();
}

void ExitAndClear::Clear() {
  SaleState& sale = s_.sale;
  ControlRegistry& c = s_.controls;
  if (!initial_.kept) {
    // The entry's own clear, before the screen shows: the sale as it came is what any
    // later clear goes back to.
    initial_.kept = true;
    if (sale.cdsItensVenda && sale.cdsItensVenda->Active()) initial_.items = sale.cdsItensVenda->Data();
    if (sale.cdsMoviVenda && sale.cdsMoviVenda->Active()) initial_.payments = sale.cdsMoviVenda->Data();
    initial_.paid = sale.doVrPago;
    initial_.list = c.Require("memLista").lines;
    initial_.list_aux = c.Require("memListaAux").lines;
    pay_caption_ = c.CaptionOf("lblPagar");
  } else {
    if (!s_.parts.loyalty.PaymentsMayBeDiscarded()) return;
    s_.ctx.log.LogRev00000("Limpa recebimentos");
    s_.parts.card.CancelDedicatedLeftOver();
    s_.parts.wallets.RefundMercadoPagoPayments();
    s_.parts.wallets.RefundClearedPayments();
    s_.parts.prepaid.PaymentsDiscarded();
    s_.parts.campaigns.PaymentsDiscarded();
    s_.parts.programs.PaymentsCleared();
    s_.parts.host_loyalty.PaymentsCleared();
    if (sale.cdsItensVenda && sale.cdsItensVenda->Active() && !initial_.items.fields.empty())
      sale.cdsItensVenda->SetData(initial_.items);
    RestoreHostPayments();
    sale.doVrPago = initial_.paid;
    sale.doVrDesconto = sale.doVrAcrescimo = sale.doVrTroco = sale.doVrRepique = 0;
    s_.parts.keyboard.ClearTakenAmount();
    sale.doPercDesconto = sale.doPercAcrescimo = 0;
    sale.boTemPagtoTef = false;
    sale.inCtrlCupomTef = 0;
    sale.doVrTotalTef = 0;
    s_.parts.setup.ComputeTotals();
    c.Require("memLista").lines = initial_.list;
    c.Require("memListaAux").lines = initial_.list_aux;
    RestorePayCaption();
    s_.parts.payments.ShowTotalsOnPosKeyboard();
  }
  s_.parts.keyboard.SetTypedText("");
  sale.stlRetorno.clear();
  sale.tpInputStep = isNone;
  s_.parts.grid.CtrlBotoes("P", 1);
}

void ExitAndClear::KeepHostPaymentsAsTheyAre() {
  const SaleState& sale = s_.sale;
  if (!initial_.kept) return;
  if (sale.cdsMoviVenda && sale.cdsMoviVenda->Active()) initial_.payments = sale.cdsMoviVenda->Data();
  initial_.list = s_.controls.Require("memLista").lines;
  initial_.list_aux = s_.controls.Require("memListaAux").lines;
}

void ExitAndClear::RestorePayCaption() {
  if (Control* pay = s_.controls.FindComponent("lblPagar"); pay && !pay_caption_.empty()) pay->caption = pay_caption_;
}

void ExitAndClear::RestoreHostPayments() {
  SaleState& sale = s_.sale;
  if (sale.cdsMoviVenda && !initial_.payments.fields.empty()) sale.cdsMoviVenda->SetData(initial_.payments);
}

}  // namespace recebimento::screen
