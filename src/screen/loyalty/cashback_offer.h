#pragma once
// The one road of a cashback balance on the screen, whoever provides it: the balance
// offered to the operator, the accepted amount applied as the sale's discount under the
// common rule (never more than what is still to pay less one cent a unit) and recorded
// on every item, and a provider used once a sale.
#include <functional>
#include <string>

#include "integrations/cashback/cashback_provider.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_scope.h"

namespace recebimento::screen {

// How a provider's balance is offered.
struct BalanceOffer {
  // Told when there is no balance; null: offered all the same.
  const char* zero_key = "SALD_CASH_ZERO";
  // Told when the provider holds the balance.
  const char* blocked_key = "SALDO_BLOQ";
  // Told when the sale admits nothing of the balance ("": nothing told); null: offered
  // all the same.
  const char* nothing_key = "";
  // The amount is limited to the sale's total too.
  bool within_sale_total = false;
  // The question, with the balance and the amount the sale admits; it may lower the
  // amount. Unset: "SALD_FID_4ALL" with the balance.
  std::function<bool(const integrations::CashbackBalance&, double& amount)> ask;
  // The provider takes the amount as soon as it is accepted (else at the close, or the
  // host settles it from the items).
  bool take_now = true;
  // The item column that records the amount ("": none).
  std::string column;
};

enum class OfferOutcome {
  kFailed,    // the provider failed; told
  kNothing,   // no balance the sale could use; told
  kDeclined,  // the operator declined, or the consumer may not use the balance
  kApplied,
};

class CashbackOffer {
 public:
  explicit CashbackOffer(ScreenScope& s) : s_(s) {}

  // False, with the provider's already-used key told, when it was used in this sale.
  bool FirstUse(bool used, const char* used_key);
  // Consults `provider` and offers the balance found; `applied` receives the discount.
  OfferOutcome Redeem(integrations::CashbackProvider& provider, const BalanceOffer& how, double* applied = nullptr);
  // Offers a balance already consulted.
  OfferOutcome Offer(integrations::CashbackProvider& provider, const integrations::CashbackBalance& balance,
                     const BalanceOffer& how, double* applied = nullptr);
  // A provider's failure: the message of `key` followed by the provider's own words;
  // nothing when both are empty.
  void TellFailure(const std::string& key, const std::string& reason,
                   MessageComponent table = MessageComponent::msgPadrao);

 private:
  ScreenScope& s_;
};

}  // namespace recebimento::screen
