#pragma once
// The stored-value instruments that pay a sale (tender kind "K"): the store's prepaid
// card ("Cartão Todo"), whose balance is asked when the tender is chosen and which is
// redeemed at the confirmation, and the host's gift card ("vale presente"), redeemed by
// the host when the tender is chosen and cancelled when the sale is left or cleared.
#include <string>

#include "base/dataset.h"
#include "integrations/prepaid/prepaid_card.h"
#include "screen/frame/screen_scope.h"
#include "screen/payment/payment_lines.h"

namespace recebimento::screen {

class PrepaidCards {
 public:
  explicit PrepaidCards(ScreenScope& s);

  // The amount of a kind "K" tender: a prepaid card when the branch has the prepaid
  // service's address, a gift card otherwise. False when the selection ended without a
  // line (a refusal shown, or the operator went back).
  bool PrepaidTender(TenderPayment& tender, double& amount);
  // Each prepaid card entered and not yet redeemed is redeemed ("RESGATE"), asking the
  // card's password when the service wants it. False abandons the confirmation; the
  // cards already redeemed stay marked and are not redeemed again. A gift-card
  // redemption left without its payment line (the host could not give it back) is
  // cancelled first; while that fails the confirmation is abandoned.
  bool RedeemAtConfirmation();
  // The payments were discarded or the sale left: the prepaid cards not redeemed are
  // forgotten and the gift-card redemption is cancelled.
  void PaymentsDiscarded();

  // The gift-card redemption of the sale undone at the host; nothing without one.
  void CancelaValePresente();
  // The text of the host's error records of the last gift-card operation.
  std::string ErrosValePresente();

  // One call to the prepaid service with the branch's settings.
  integrations::PrepaidCardResult CartaoPrePago(const integrations::PrepaidCardRequest& request);

  const base::Dataset& Cards() const { return cdsCartaoTodo; }
  // A prepaid card of the sale was redeemed: its money is taken (the service cannot give
  // it back).
  bool AnyRedeemed() const;
  const std::string& GiftRequestId() const { return stIdReqValePresente; }

 private:
  bool PrepaidCardTender(double& amount);
  bool GiftCardTender(TenderPayment& tender, double& amount);
  // The card's number from the host's keypad; "" when the operator gave none.
  std::string AskCardNumber();
  // The amount to take from a card with `balance`; false when the operator gave none or
  // it was refused.
  bool AskAmount(double balance, double& amount);
  // Redeems the card on the current row of cdsCartaoTodo; false abandons.
  bool RedeemCard();
  // The card's password, asked until given; false when the operator dismissed the keypad.
  bool AskPassword(std::string& password);
  bool Question(const std::string& text);
  void Notice(const std::string& text);
  void EndNotice();
  // An amount was taken: the button area as after the screen's own amount entry.
  void AmountTaken();
  // Ends the selection without a line, back to the tender grid, with `text` shown.
  void EndSelection(const std::string& text);

  ScreenScope& s_;
  // The prepaid cards entered: NRCARTAO, VRRESGATE, IDRESGATADO ("S" once redeemed).
  base::Dataset cdsCartaoTodo{"cdsCartaoTodo"};
  // The gift card: the redemption request of the sale, whether it was cancelled, the
  // sale's gift-card payments and the host's error and card records.
  std::string stIdReqValePresente;
  bool boCancelouValePresente = false;
  base::Dataset cdsValePresente{"cdsValePresente"}, cdsErros{"cdsErros"}, cdsCards{"cdsCards"};
};

}  // namespace recebimento::screen
