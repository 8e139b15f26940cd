#pragma once
// Digital wallets paid on the screen (AME, Mercado Pago in-store QR): their settings for
// the branch, the refunds of a sale left or cleared, and the captures of the close.
#include <string>

#include "base/dataset.h"
#include "screen/frame/screen_scope.h"
#include "screen/payment/payment_lines.h"

namespace recebimento::screen {

class Wallets {
 public:
  explicit Wallets(ScreenScope& s) : s_(s) {}

  // The amount of a wallet tender of kind "I" (AME) or "J" (Mercado Pago QR); false when
  // the selection ended without a line.
  bool WalletTender(const std::string& kind, TenderPayment& tender, double& amount);
  // The branch's wallet settings (cdsDadosMp, cdsDadosAme), loaded at the start.
  void LoadSettings();
  // Refunds every Mercado Pago payment listed in stPAYMENTID.
  void RefundMercadoPagoPayments();
  // The AME order of an abandoned sale.
  void CancelPendingAmeOrder();
  // AME, gift card and CHART payments of a cleared sale.
  void RefundClearedPayments();
  // The wallets' captures at the close; false keeps the screen open.
  bool CaptureAtClose();

  // A Mercado Pago payment the exit must refund.
  void QueueRefund(const std::string& payment_id) { stPAYMENTID += (stPAYMENTID.empty() ? "" : ",") + payment_id; }
  const std::string& PaymentsToRefund() const { return stPAYMENTID; }
  const base::Dataset& AmeSettings() const { return cdsDadosAme; }

 private:
  // The answer of a Mercado Pago refund.
  struct RefundAnswer {
    bool ok = true;
    std::string error;  // the answer's "error" field on failure
  };
  // The Mercado Pago refund of the first payment listed in stPAYMENTID.
  RefundAnswer estornoMP();

  ScreenScope& s_;
  base::Dataset cdsDadosMp{"cdsDadosMp"}, cdsDadosAme{"cdsDadosAme"};
  // Mercado Pago payments still to refund, comma separated; the one being refunded.
  std::string stPAYMENTID, stPAYMENTIDestorno;
};

}  // namespace recebimento::screen
