#pragma once
// The sale's adjustments: the discount (typed by the operator or granted by an
// integration), the surcharge and the service fee, all guarded by the host's access
// control; the tip kept from the change; and the item discounts by product subgroup.
#include <string>

#include "base/dataset.h"
#include "screen/frame/screen_scope.h"

namespace recebimento::screen {

class Adjustments {
 public:
  explicit Adjustments(ScreenScope& s) : s_(s) {}

  // The discount, surcharge and service-fee buttons.
  void Discount();
  void Surcharge();
  void ServiceFee();
  // Shows a discount an integration already placed in doVrDesconto.
  void AplicaDesconto();
  // The tip kept from the change, for the tender on the current row of `tender`.
  void Controla_Repique(base::Dataset& tender);
  // Item discounts by product subgroup and the quantity sold of it.
  void CalculaDescSubGrupo(base::Dataset& itens);
  // memLista from memListaAux plus the discount, surcharge and subtotal lines in force.
  void ShowAdjustmentsList();

  // The reason of the manual discount and its group, as the operator gave them.
  const std::string& DiscountReason() const { return discount_reason_; }

 private:
  // The access control for `access_code`; on success the supervisor who authorised it
  // becomes the screen's supervisor.
  bool AuthorizeAdjustment(int access_code);
  // The host's value-or-percentage dialog into cdsDesconto; false when dismissed.
  bool AskAdjustment(const std::string& title, double total, std::string& kind, double& value);
  // lblValorPagar and the customer display after a discount or surcharge.
  void ShowAdjustedAmount(const std::string& display_label, double amount);
  // The message that refuses the discount now in doVrDesconto; "" when it may stand.
  std::string DiscountRefusal();
  // Reason and supervisor of the manual discount on every item line.
  void MarkItemsWithDiscount();
  // The surcharge's limit message for `surcharge` on `base` with `fee` kept; "" when allowed.
  std::string SurchargeRefusal(double base, double surcharge, double percent, double fee);
  // The tip typed on the keypad (cash input step); 0 when none.
  double TypeTip(const std::string& idTipoRece);

  ScreenScope& s_;
  std::string discount_reason_, discount_reason_group_;
  base::Dataset cdsDesconto{"cdsDesconto"};  // the host dialog's answer: TIPO ("V"/"P"), VALOR
};

}  // namespace recebimento::screen
