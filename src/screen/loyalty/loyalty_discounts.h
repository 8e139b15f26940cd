#pragma once
// Discounts a sale gets from promotions and coupons: the host's promotions of the sale
// (for the consumer's wallet or for the chosen payment type), the list of the
// promotions shown on the panel panConsultaPromo, and the discount coupons typed by the
// operator. Every discount is limited by the same rule and ends in the discount routine
// of the adjustments.
#include <string>

#include "base/dataset.h"
#include "screen/frame/screen_scope.h"

namespace recebimento::screen {

class LoyaltyDiscounts {
 public:
  explicit LoyaltyDiscounts(ScreenScope& s);

  // --- The common rule.
  // The largest discount the sale still admits: its products' total less the discount
  // already given.
  double LargestDiscount() const;
  // The item units of the sale: the summed QTPRODCOMVEN, or the number of items when
  // that is larger.
  double ItemUnits() const;
  // `discount` cut to two decimals; one that reaches the largest admissible discount
  // becomes that maximum less one cent per item unit.
  double Limited(double discount) const;
  // Adds `discount` to the sale's discount and shows it.
  void Apply(double discount);

  // --- Promotions of the sale (the host's cdsPromoComanda).
  // Offers the unused wallet promotion, then the promotion of the payment type on the
  // current row of cdsReceb.
  void ConsultaPromo();
  // The panel listing the sale's percentage or value promotions, until the operator
  // closes it.
  void ListaPromo();
  void btnAnteriorClick();
  void btnProximoClick();
  void btnSairClick();
  const base::Dataset& Promotions() const { return cdsPromocaoInt; }

  // --- Discount coupons.
  // The panel panInformaDesconto until one of its buttons is pressed: "DESCONTO",
  // "CUPOM" or "SAIR" ("SAIR" also when the screen closes meanwhile).
  std::string CriaInformaDesconto();
  void btnAplicarDescClick() { stEscolhaDesconto = "DESCONTO"; }
  void btnAplicarCupomClick() { stEscolhaDesconto = "CUPOM"; }
  void btnCancelarDescClick() { stEscolhaDesconto = "SAIR"; }
  // Asks the coupon's code and applies its discount; false when none was applied.
  bool ValidaCupomDesconto();

 private:
  // Offers the promotion on the current row of cdsPromoComanda with the question of
  // `key` (formatted with the promotion's value and `name`); true when applied.
  bool OfferPromotion(const std::string& key, const std::string& name);
  // The promotion's value as the operator reads it: "R$ 5,00" or "10,00%" (the screen's number format).
  static std::string PromotionValue(const std::string& kind, double value);
  void ShowPromotionRow();
  // Centres a panel on the screen and shows it.
  void Centre(const std::string& panel);

  ScreenScope& s_;
  base::Dataset cdsPromocaoInt{"cdsPromocaoInt"};
  base::Dataset cdsCuponsValidos{"cdsCuponsValidos"};
  bool boPromocaoAberta = false;
  std::string stEscolhaDesconto;
};

}  // namespace recebimento::screen
