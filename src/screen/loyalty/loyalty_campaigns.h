#pragma once
// The store's loyalty campaigns on the screen: the Dotz the consumer earns with the sale
// (campaign points and the products' extra points, listed for the operator), the loyalty
// discount of the sale (a delivery's redeemed campaign or the points the sale generates)
// and the discount paid with the consumer's loyalty balance.
#include <string>
#include <vector>

#include "base/dataset.h"
#include "screen/frame/screen_scope.h"

namespace recebimento::screen {

class LoyaltyCampaigns {
 public:
  explicit LoyaltyCampaigns(ScreenScope& s) : s_(s) {}

  // --- Dotz.
  // The host identifies the consumer's Dotz account; with one, the button hides and the
  // sale's Dotz are worked out.
  void spbDotzClick();
  // The campaign Dotz of the amount to pay and the products' extra Dotz, listed on
  // memLista; nothing without the consumer's Dotz account.
  void CalculoDotz();
  // The Dotz of the sale forgotten; the button available when the branch runs Dotz.
  void LimpaDotz();
  double DotzTotal() const { return doTotalDotz; }
  double DotzExtras() const { return doDotzExtras; }

  // --- Loyalty discounts (each at most once a sale).
  // A delivery's campaign redeemed for this tab, else the discount the consumer's points
  // give on this sale, offered. True when a discount was applied.
  bool DescontoVendaFidelidade();
  // The consumer's loyalty balance, from the host's loyalty service, offered as a
  // discount. True when applied.
  bool DescontoSaldoFidelidade();
  bool LoyaltyDiscountGranted() const { return boDescFidelidade; }
  // Before the first tender, once until the payments are discarded, where the store runs
  // its own loyalty (and not 4All's, UDS's or the banking core's): the loyalty discount of
  // the sale, else, with the online loyalty service named, the one paid with the balance.
  void OffersBeforeTender();
  // The payments and the discount were discarded: the Dotz and the loyalty discount are
  // forgotten with them, and may be given again.
  void PaymentsDiscarded();

 private:
  // Adds a line to the payment list, remembered so that it can be taken back.
  void ListLine(const std::string& line);
  // A data-module packet into `ds`; false (the failure shown, naming `method`) otherwise.
  bool Load(base::Dataset& ds, const base::Variant& packet, const std::string& method, const std::string& key);
  // The Dotz lines taken off the payment list.
  void LimpaDotzLines();
  // `discount` added to the sale's, its kind ("E" or "S"), campaign and points for the host.
  void Grant(double discount, const std::string& kind, const std::string& campaign, const std::string& points);
  bool Question(const std::string& text);

  ScreenScope& s_;
  std::string stIdConsDotz;  // the consumer's Dotz account, given by the host
  double doTotalDotz = 0, doDotzExtras = 0;
  std::vector<std::string> dotz_lines_;
  bool boDescFidelidade = false;
  bool offered_before_tender_ = false;
  base::Dataset cdsCampanha{"cdsCampanha"}, cdsProdCampanha{"cdsProdCampanha"}, cdsResgDelivery{"cdsResgDelivery"},
      cdsDescVendaFid{"cdsDescVendaFid"};
};

}  // namespace recebimento::screen
