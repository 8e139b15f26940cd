#pragma once
// What a consumer may buy and how: the tenders a consumer type may use, the daily
// quantities of a product (per consumer or per balance family), the products and amounts
// of each meal service, the basic daily subsidy the client company pays, and the ticket
// a recharge must cover. Each check shows its own message and answers whether the sale
// may go on.
#include <string>

#include "base/dataset.h"
#include "screen/frame/screen_scope.h"

namespace recebimento::screen {

class ConsumerRestrictions {
 public:
  explicit ConsumerRestrictions(ScreenScope& s) : s_(s) {}

  // The tender (its CDTIPORECE) may be used: with a consumer, when the consumer's type
  // allows it (a type with no list allows every tender); without one, unless it is tied
  // to some consumer type.
  bool Vd_TipoConsReceb(const std::string& cdTipoRece);

  // The items checked so far in the payment being taken (cdsItProdVend): what "already
  // in this sale" means to the quantity and service checks.
  void StartItemChecks();
  void ItemChecked(const std::string& product, double quantity, double amount);

  // The store's daily quantity of a product for the consumer (or the family), with the
  // items checked so far; false (message shown) unless it answers "QTDE_OK".
  bool CheckDailyQuantity(const std::string& client, const std::string& consumer, const std::string& family,
                          const std::string& product, double quantity);
  // The product may be sold in the consumer's current meal service, within the service's
  // daily quantity and amount limits.
  bool Valida_Produtos_Servico(const std::string& product, double quantity, double price, double extra,
                               double discount);
  // `services` is the service table positioned on the product's row.
  bool Servico_Consu_Qtde(const std::string& branch, const std::string& client, const std::string& consumer,
                          const std::string& type, const std::string& service, const std::string& product,
                          double quantity, double amount, base::Dataset& services);
  // The meal service of the last product checked.
  const std::string& Service() const { return service_; }

  // The basic subsidy: offered on a debit tender ("Sub_Rest"), the amount it covers or 0.
  double OfferBasicSubsidy();
  // The subsidy that covers the current item of the sale's items (subsidised products
  // only), added to what the sale applies.
  void VerifProdSubsBasico();
  // The part of `amount` (of subsidised items) the consumer's remaining subsidy covers.
  void VerifVrSubsBasico(double& amount);
  // The confirmation's step: the subsidy the sale applies, item by item.
  void VerifVrSubsBasico();
  // What the confirmation worked out.
  double BasicSubsidy() const { return subsidy_in_sale_; }

  // A recharge covers the ticket of the consumer's type; false (message shown) when the
  // ticket costs more.
  bool Vd_Ingresso();

 private:
  // The consumer of the sale: the call's, else the items'.
  void SaleConsumer(std::string& client, std::string& consumer) const;
  // Positions `table` on the row of `product` (and the consumer's `type`) for this
  // register, in a service open now; false when there is none.
  bool FindServiceRow(base::Dataset& table, const std::string& product, const std::string& type);
  // The consumer's basic subsidy left today before this sale; 0 when none.
  double SubsidyLeftToday();
  bool Subsidised(const std::string& product);

  ScreenScope& s_;
  std::string service_;
  bool subsidy_read_ = false;
  double subsidy_left_today_ = 0;
  double subsidy_in_sale_ = 0;
  bool subsidy_declined_ = false, subsidy_accepted_ = false;
  base::Dataset cdsTipoConsReceb{"cdsTipoConsReceb"}, cdsProdSubsidiado{"cdsProdSubsidiado"},
      cdsIngresso{"cdsIngresso"};
};

}  // namespace recebimento::screen
