#pragma once
// Loyalty, cashback, promotions, discount coupons, Dotz and prepaid cards as the screen
// meets them: the steps before a tender, the promotion query, the discount-coupon dialog,
// the Dotz campaign and the prepaid cards' redemption at the confirmation.
#include <string>

#include "screen/frame/screen_scope.h"
#include "screen/payment/payment_lines.h"

namespace recebimento::screen {

class Loyalty {
 public:
  explicit Loyalty(ScreenScope& s) : s_(s) {}

  // The amount of a ClubPetro points tender (kind "5") or a prepaid or gift card (kind
  // "K"); false when the selection ended without a line.
  bool LoyaltyTender(const std::string& kind, TenderPayment& tender, double& amount);
  // The loyalty, cashback and consumer-document steps that run before any tender; false
  // abandons the press.
  bool StepsBeforeTender();
  // The promotion query before a tender, when the branch uses the promotion integration.
  void QueryPromotions();
  // The discount-coupon dialog: "CUPOM" (a coupon was asked and validated), "SAIR", or
  // "DESCONTO" to go on with a manual discount.
  std::string CriaInformaDesconto();
  // The Dotz button: the consumer's Dotz account and the sale's Dotz.
  void Dotz();
  // Prepaid cards redeemed at the confirmation; false abandons it.
  bool RedeemPrepaidCards();
  // What a confirmation that did not complete already took from the consumer (a prepaid
  // card, ClubPetro points, a GCOM reservation), told to the operator; true when nothing
  // was, so the payments may be discarded.
  bool PaymentsMayBeDiscarded();
  // The loyalty integrations' captures at the close; false keeps the screen open.
  bool CaptureAtClose() { return true; }
  // Dotz points the sale earns, printed on the fiscal receipt: by the campaigns of the
  // sale's value and by its products (the Dotz calculation's results).
  double DotzCampaignPoints() const;
  double DotzProductPoints() const;
  // The sale earned Dotz: their receipts are printed after the card receipts.
  bool DotzReceiptsPending() const;

 private:
  ScreenScope& s_;
};

}  // namespace recebimento::screen
