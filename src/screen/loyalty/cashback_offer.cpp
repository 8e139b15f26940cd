#include "screen/loyalty/cashback_offer.h"

#include <algorithm>

#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/money.h"
#include "screen/frame/message_format.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

bool CashbackOffer::FirstUse(bool used, const char* used_key) {
  if (!used) return true;
  s_.ShowMessage(Msg(used_key), runtime::kMsgBlocked);
  return false;
}

void CashbackOffer::TellFailure(const std::string& key, const std::string& reason, MessageComponent table) {
  if (key.empty() && reason.empty()) return;
  s_.ShowMessage((key.empty() ? "" : Msg(key, table)) + reason, runtime::kMsgBlocked);
}

OfferOutcome CashbackOffer::Redeem(integrations::CashbackProvider& provider, const BalanceOffer& how, double* applied) {
  integrations::CashbackBalance balance;
  std::string problem;
  if (!provider.ConsultBalance(balance, problem)) {
    TellFailure(problem, provider.Reason());
    return OfferOutcome::kFailed;
  }
  return Offer(provider, balance, how, applied);
}

OfferOutcome CashbackOffer::Offer(integrations::CashbackProvider& provider,
                                  const integrations::CashbackBalance& balance, const BalanceOffer& how,
                                  double* applied) {
  SaleState& sale = s_.sale;
  if (applied) *applied = 0;
  const auto tell = [this](const char* key) {
    if (key && *key) s_.ShowMessage(Msg(key), runtime::kMsgBlocked);
  };
  if (balance.blocked) {
    tell(how.blocked_key);
    return OfferOutcome::kNothing;
  }
  if (balance.balance <= 0 && how.zero_key) {
    tell(how.zero_key);
    return OfferOutcome::kNothing;
  }
  double amount = balance.balance;
  if (balance.percentage > 0)
    amount = std::min(amount, runtime::Trunc2(sale.doVrTotal * balance.percentage / 100));
  else if (how.within_sale_total)
    amount = std::min(amount, sale.doVrTotal);
  LoyaltyPrograms& programs = s_.parts.programs;
  amount = programs.AdmissibleDiscount(amount);
  if (amount <= 0 && how.nothing_key) {
    tell(how.nothing_key);
    return OfferOutcome::kNothing;
  }
  const bool accepted =
      how.ask ? how.ask(balance, amount)
              : s_.ShowMessage(FormatMsg(Msg("SALD_FID_4ALL"), {runtime::FormatFloat("0.00", balance.balance)}),
                               runtime::kMsgQuestion);
  if (!accepted) return OfferOutcome::kDeclined;
  if (!balance.complete) {
    s_.ShowMessage(Msg("CLI_CAD_INCOM_GCOM", MessageComponent::msgPadrao2), runtime::kMsgBlocked);
    return OfferOutcome::kDeclined;
  }
  amount = programs.AdmissibleDiscount(amount);
  if (amount <= 0) return OfferOutcome::kDeclined;
  std::string problem;
  if (how.take_now && !provider.Reserve(amount, problem)) {
    TellFailure(problem, provider.Reason());
    return OfferOutcome::kFailed;
  }
  s_.parts.discounts.Apply(amount);
  // Every item line carries the sale's amount, as the other programmes record theirs.
  if (!how.column.empty()) sale.SetOnEveryItem(how.column, base::Variant(amount));
  if (applied) *applied = amount;
  return OfferOutcome::kApplied;
}

}  // namespace recebimento::screen
