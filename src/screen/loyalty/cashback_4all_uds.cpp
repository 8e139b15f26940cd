// 4All and UDS cashback by the consumer's CPF: the balance offered as a discount of the
// sale (4All also takes a promotion code first), once a sale each.
#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/documents.h"
#include "host/runtime/money.h"
#include "integrations/cashback/host_answers.h"
#include "integrations/uds/uds_cashback.h"
#include "screen/frame/screen_parts.h"
#include "screen/loyalty/host_loyalty_providers.h"

namespace recebimento::screen {

namespace {

constexpr size_t kCpfLength = 11;

bool LooksLikeCpf(const std::string& cpf) { return runtime::DocumentDigits(cpf).size() == kCpfLength; }

}  // namespace

void HostLoyaltyProviders::sbtCashbackUDSClick() {
  SaleState& sale = s_.sale;
  if (!offer_.FirstUse(used_uds_ || sale.doVrDescCashUDS > 0, "CASH_JA_UTIL")) return;
  const std::string cpf = Cpf("NRCPFFIDUDS", "CPF do consumidor");
  if (cpf.empty()) return;
  if (!LooksLikeCpf(cpf)) return ShowKey("CPF_INV");
  const std::string name = base::Trim(sale.charged.name).empty() ? "CONSUMIDOR FINAL" : base::Trim(sale.charged.name);
  integrations::UdsCashback uds(s_.ctx.host.loyalty, cpf, name);
  BalanceOffer how;
  how.column = "VRDESCCASHUDS";
  // UDS takes the amount off the balance before the sale counts it.
  how.take_now = true;
  double applied = 0;
  integrations::CashbackBalance balance;
  std::string problem;
  if (!uds.ConsultBalance(balance, problem)) return offer_.TellFailure(problem, uds.Reason());
  if (!balance.blocked && balance.balance > 0) sale.SetOnEveryItem("NRCPFFIDUDS", base::Variant(cpf));
  if (offer_.Offer(uds, balance, how, &applied) != OfferOutcome::kApplied) return;
  sale.doVrDescCashUDS = applied;
  used_uds_ = true;
}

bool HostLoyaltyProviders::PromotionCode4All(integrations::FourAllCashback& provider, const std::string& cpf) {
  SaleState& sale = s_.sale;
  if (!provider.HasPromotions()) return true;
  base::Variant typed;
  if (!s_.ctx.host.dialogs->CriaInfAdicional({base::Variant(std::string("Código promocional"))}, typed)) return true;
  const std::string code = base::Utf8Upper(base::Trim(integrations::AnswerText(typed, 0)));
  if (code.empty()) return true;
  base::Variant items;
  if (sale.HasItems()) items = base::Variant(sale.cdsItensVenda->Data());
  integrations::FourAllPromotion promotion;
  std::string problem;
  if (!provider.ValidatePromotionCode(code, s_.par.stNRINSJURFILI, sale.doVrAPagar, items, promotion, problem)) {
    offer_.TellFailure(problem, provider.Reason());
    return false;
  }
  LoyaltyPrograms& programs = s_.parts.programs;
  // A percentage of the largest discount the sale admits; the result is then limited.
  const double largest = s_.parts.discounts.LargestDiscount();
  const double wanted = promotion.percentage
                            ? runtime::FromCents(runtime::ToCents(largest) * runtime::ToCents(promotion.value) / 10000)
                            : runtime::Trunc2(promotion.value);
  const double amount = programs.AdmissibleDiscount(wanted);
  if (amount <= 0) return true;
  s_.parts.discounts.Apply(amount);
  sale.SetOnEveryItem("VRDESCPROMO4ALL", base::Variant(amount));
  sale.SetOnEveryItem("NRCPFFID4ALL", base::Variant(cpf));
  sale.SetOnEveryItem("CDPROMOFID4ALL", base::Variant(code));
  used_4all_ = true;
  return true;
}

void HostLoyaltyProviders::sbtCashbackClick() {
  SaleState& sale = s_.sale;
  if (!offer_.FirstUse(used_4all_ || sale.doVrDescCash4All > 0, "CASH_JA_UTIL")) return;
  const std::string cpf = Cpf("NRCPFFID4ALL", "CPF do consumidor");
  if (cpf.empty()) return;
  if (!LooksLikeCpf(cpf)) return ShowKey("CPF_INV");
  integrations::FourAllCashback fourall(s_.ctx.host.loyalty, cpf);
  integrations::CashbackBalance balance;
  std::string problem;
  if (!fourall.ConsultBalance(balance, problem)) return offer_.TellFailure(problem, fourall.Reason());
  sale.SetOnEveryItem("NRCPFFID4ALL", base::Variant(cpf));
  if (!PromotionCode4All(fourall, cpf)) return;
  BalanceOffer how;
  how.column = "VRDESCCASH4ALL";
  how.blocked_key = "";
  double applied = 0;
  if (offer_.Offer(fourall, balance, how, &applied) != OfferOutcome::kApplied) return;
  sale.doVrDescCash4All = applied;
  used_4all_ = true;
}

}  // namespace recebimento::screen
