#pragma once
// Tender selection: the chosen tender is checked, its amount obtained by its kind, the
// payment line recorded, the change worked out, and the screen told whether the sale is
// fully paid.
#include <string>

#include "base/dataset.h"
#include "screen/frame/input_steps.h"
#include "screen/frame/screen_scope.h"
#include "screen/payment/payment_lines.h"

namespace recebimento::screen {

class TenderSelection {
 public:
  explicit TenderSelection(ScreenScope& s) : s_(s) {}

  // Tender selection for the chosen tender (its code and the button's glyph).
  void DoMenuRecebimentoClick(const std::string& cdTipoRece, const std::string& glyph);

  // The tender being paid: its amount and what the card terminal returned for it.
  const TenderPayment& Current() const { return current_; }
  // The amount of the current tender was asked of the keypad.
  bool AmountTyped() const { return boDigitouValor; }
  // The TEF function list of the current tender ("[29;" or "[").
  const std::string& TefFunctions() const { return tef_functions_; }

  // Refuses the current selection with the message of `key`.
  void Refuse(const std::string& key);

  // The keypad step with `proposed` shown; waits until the operator's Enter ends it.
  // False when the selection ended without an amount (refused, or back to the grid).
  bool AmountFromKeypad(TInputStep step, double proposed, double& amount);
  // The checks of a typed amount: advance limit, installments, the manual card path.
  bool CheckTypedAmount(double amount, bool paid_on_site);
  // An advance ("D") must stay below what is left of the sale; refused with "Ad_N_Per".
  bool AdvanceAllows(double amount);
  // The installments of a tender that asks them; false (spbSair enabled) when refused.
  bool AskInstallments(double amount);
  // A tender of the manual path on a simple-sale NFC-e or SAT store marks the sale as
  // paid through TEF.
  void MarkManualCardSale();

 private:
  // The consumer the lines will charge, and a top-up's bonus rules.
  void PrepareConsumer();
  // The whole amount, charged to a consumer chosen in the host's search.
  bool AgreementAmount(double& amount);
  // The amount in a foreign currency at the day's rate, confirmed in local money.
  bool ForeignCurrencyAmount(double& amount);
  // cdsMoedas from the rates file, rebuilt by the host when missing or not of today.
  bool LoadCurrencyRates();
  // Is the sale fully paid: spbOk, the button area and the automatic Enter after a card.
  void FinishSelection();

  ScreenScope& s_;
  TenderPayment current_;
  bool boDigitouValor = false;
  std::string tef_functions_;
  std::string stIdRecebeBonus;  // IDRECEBEBONUS of the consumer's type (credit top-up)
  double doVrBonusCredito = 0;  // VRBONUSCREDITO of the consumer's type
  double doVrCargaCredito = 0;  // VRCARGACREDITO: the fixed top-up of a bonus type
  base::Dataset cdsTipoConsFili{"cdsTipoConsFili"}, cdsMoedas{"cdsMoedas"};
};

}  // namespace recebimento::screen
