#pragma once
// Digital wallets paid on the screen: AME (QR printed, authorisation polled, captured or
// cancelled at the close) and Mercado Pago's in-store QR (order placed on the register's
// point of sale, paid order watched for, refunds on Escape and clear). The part holds the
// branch's wallet settings and the integrations' state for the sale; the protocol lives
// in src/integrations. Orders that hold a consumer's money are followed in the wallet
// journal, and what a process that died left there is settled when the screen starts.
#include <memory>
#include <string>
#include <vector>

#include "base/dataset.h"
#include "integrations/ame/ame_client.h"
#include "integrations/mercadopago/mp_client.h"
#include "integrations/rest/frame_variables.h"
#include "integrations/wallet_journal/wallet_journal.h"
#include "screen/frame/screen_scope.h"
#include "screen/payment/payment_lines.h"

namespace recebimento::screen {

class Wallets {
 public:
  explicit Wallets(ScreenScope& s);
  ~Wallets();

  // The amount of a wallet tender of kind "I" (AME) or "J" (Mercado Pago QR); false when
  // the selection ended without a line.
  bool WalletTender(const std::string& kind, TenderPayment& tender, double& amount);
  // The branch's wallet settings (cdsDadosMp, cdsDadosAme) and the integrations' state
  // for a new sale; then what the journal still holds is settled.
  void LoadSettings();
  // Refunds every Mercado Pago payment listed in stPAYMENTID.
  void RefundMercadoPagoPayments();
  // The AME payment of an abandoned sale is cancelled.
  void CancelPendingAmeOrder();
  // The AME payment of a cleared sale is cancelled and AME's state starts over.
  void RefundClearedPayments();
  // The sale was recorded: its wallet payments are the sale's now.
  void SaleRecorded();
  // The wallets' captures at the close; false keeps the screen open.
  bool CaptureAtClose();
  // Escape while a wallet waits for the consumer: the wait ends. False when no wallet
  // waits (the key goes on as usual).
  bool CancelWaitOnEscape();

  // A Mercado Pago payment the exit must refund.
  void QueueRefund(const std::string& payment_id) { mp_.AddPaymentId(payment_id); }
  const std::string& PaymentsToRefund() const { return mp_.stPAYMENTID; }
  const base::Dataset& AmeSettings() const { return cdsDadosAme; }
  const integrations::AmeState& Ame() const { return ame_; }
  const integrations::WalletJournal* Journal() const { return journal_.get(); }

 private:
  bool AmeTender(TenderPayment& tender, double& amount);
  bool MercadoPagoTender(TenderPayment& tender, double& amount);
  // The Mercado Pago order's wait, once the order is on the point of sale.
  enum class WaitOutcome { Paid, Cancelled, TimedOut };
  WaitOutcome WaitForMercadoPagoPayment(integrations::MercadoPagoClient& client, std::string& payment_id);
  // One look at the orders of the reference; true with `payment_id` once one is paid.
  bool CheckMercadoPagoOrders(integrations::MercadoPagoClient& client, int counter, std::string& caption,
                              std::string& payment_id);
  // After an order's wait ended without a payment (`cleared`: the point of sale no longer
  // shows it): its reference is looked at once more; a payment made meanwhile is refunded,
  // and the order leaves the journal only once nothing was paid.
  void SettleUnpaidMercadoPagoOrder(integrations::MercadoPagoClient& client, bool cleared);
  // Waits until the clock reaches `deadline` (ms ticks), letting the operator act; true
  // when the operator cancelled the wait.
  bool WaitForOperator(int64_t deadline);
  // Ends the selection without a line, back to the tender grid, with `text` shown.
  void CancelSelection(const std::string& text);
  // The AME payment line's order fields, written or emptied.
  void MarkAmeLine(bool keep);
  void LoadAmeSettings();

  integrations::AmeClient AmeApi();
  integrations::MercadoPagoClient MercadoPagoApi();

  ScreenScope& s_;
  base::Dataset cdsDadosMp{"cdsDadosMp"}, cdsDadosAme{"cdsDadosAme"};
  integrations::SharedFrameVariables shared_;
  integrations::AmeFrame ame_frame_;
  integrations::AmeState ame_;
  integrations::AmeSettings ame_settings_;
  integrations::MercadoPagoFrame mp_frame_;
  integrations::MercadoPagoState mp_;
  std::unique_ptr<integrations::WalletJournal> journal_;
  // Mercado Pago payments on the sale's lines: taken in this sale and not refunded (nor
  // tried) since. stPAYMENTID shrinks the same way.
  std::vector<std::string> mp_payments_taken_;
  bool waiting_ = false;           // a wallet waits for the consumer
  bool cancel_requested_ = false;  // and the operator pressed Escape
};

}  // namespace recebimento::screen
