// Olga on its panel: the cashback of the consumer's phone offered as a discount, or a
// benefit coupon that discounts the sale ("CASH") or accumulates cashback on it
// ("CASHBACK_ACCUMULATE").
#include "base/text.h"
#include "host/runtime/messages.h"
#include "integrations/olga/olga_loyalty.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/loyalty/host_loyalty_providers.h"

namespace recebimento::screen {

namespace {

constexpr int kLongestCouponCode = 40;
constexpr const char* kTransmissionQuestion = "Transmitir a venda para a Olga?";

// The consumer's phone, asked on the host's keypad when the sale has none.
std::string OlgaPhone(ScreenScope& s) {
  SaleState& sale = s.sale;
  if (base::Trim(sale.stTelefoneCons).empty()) {
    std::string phone;
    if (s.ctx.host.dialogs->TecladoNumerico(phone, Msg("Tel_Cons", MessageComponent::msgPadrao2),
                                            Msg("Inf_Tel", MessageComponent::msgPadrao2),
                                            Msg("Tel_N_Inf", MessageComponent::msgPadrao2)))
      sale.stTelefoneCons = base::Trim(phone);
  }
  return base::Trim(sale.stTelefoneCons);
}

}  // namespace

void HostLoyaltyProviders::sbtFidelidadeOlgaClick() {
  if (!offer_.FirstUse(used_olga_, "CASH_JA_UTIL")) return;
  SetPanel("panFidelidadeOlga", true);
}

void HostLoyaltyProviders::btnCancelaOlgaClick() { SetPanel("panFidelidadeOlga", false); }

void HostLoyaltyProviders::AskTransmission() {
  ControlRegistry& c = s_.controls;
  TenderGrid& grid = s_.parts.grid;
  Control& panel = c.Require("panFidelidadeOlga");
  const std::string caption = panel.caption;
  const auto question = [&c](bool shown) {
    for (const char* b : {"btnBeneficioOlga", "btnCashBackOlga", "btnCancelaOlga"}) c.SetVisible(b, !shown);
    for (const char* b : {"btnTransVenda", "btnNTransVenda"}) c.SetVisible(b, shown);
  };
  trans_answered_ = trans_answer_ = false;
  panel.caption = kTransmissionQuestion;
  question(true);
  grid.CtrlBotoes("C", 1);
  SetPanel("panFidelidadeOlga", true);
  s_.ctx.pump.RunUntil([&] { return trans_answered_ || s_.window.Closed(); }, "Olga sale transmission");
  SetPanel("panFidelidadeOlga", false);
  grid.CtrlBotoes("C", 2);
  question(false);
  panel.caption = caption;
  // The host reads the answer with Olga's columns of the items; unanswered, nothing.
  if (trans_answered_)
    s_.sale.SetOnEveryItem("IDTRANSVENDAOLGA", base::Variant(std::string(trans_answer_ ? "S" : "N")));
}

void HostLoyaltyProviders::btnCashBackOlgaClick() {
  SetPanel("panFidelidadeOlga", false);
  SaleState& sale = s_.sale;
  const std::string phone = OlgaPhone(s_);
  if (phone.empty()) {
    s_.ShowMessage(Msg("Tel_N_Inf", MessageComponent::msgPadrao2), runtime::kMsgBlocked);
    return;
  }
  integrations::OlgaLoyalty olga(s_.ctx.host.loyalty, phone, sale.doVrAPagar);
  integrations::CashbackBalance balance;
  std::string problem;
  if (!olga.ConsultBalance(balance, problem)) return offer_.TellFailure(problem, olga.Reason());
  BalanceOffer how;
  how.blocked_key = "";
  how.column = "VRTOTOLGA";
  if (offer_.Offer(olga, balance, how) != OfferOutcome::kApplied) return;
  sale.SetOnEveryItem("NRTELOLGA", base::Variant(phone));
  sale.SetOnEveryItem("IDBENEFOLGA", base::Variant(balance.reference));
  used_olga_ = true;
  s_.ShowMessage(Msg("DESC_OLGA_OK"), runtime::kMsgPrompt);
  AskTransmission();
}

void HostLoyaltyProviders::btnBeneficioOlgaClick() {
  SetPanel("panFidelidadeOlga", false);
  SaleState& sale = s_.sale;
  pos::HostDialogs* dialogs = s_.ctx.host.dialogs;
  const std::string phone = OlgaPhone(s_);
  if (phone.empty()) {
    s_.ShowMessage(Msg("Tel_N_Inf", MessageComponent::msgPadrao2), runtime::kMsgBlocked);
    return;
  }
  std::string code;
  if (!dialogs->TecladoAlfaNumerico("Informe o código do benefício", true, kLongestCouponCode, code)) return;
  code = base::Trim(code);
  if (code.empty()) return;
  integrations::OlgaLoyalty olga(s_.ctx.host.loyalty, phone, sale.doVrAPagar);
  integrations::OlgaCoupon coupon;
  std::string problem;
  dialogs->AtivaProcesso("frmRecebimento", "Aguarde, processando dados.");
  const bool valid = olga.ValidateCoupon(code, coupon, problem);
  dialogs->DesativaProcesso();
  if (!valid) return offer_.TellFailure(problem, olga.Reason());
  if (coupon.kind == "CASH") {
    const double amount = s_.parts.programs.AdmissibleDiscount(coupon.value);
    if (amount <= 0) return ShowKey("ERRO_CUP_OLGA");
    s_.parts.discounts.Apply(amount);
    sale.SetOnEveryItem("VRTOTOLGA", base::Variant(amount));
    sale.SetOnEveryItem("NRTELOLGA", base::Variant(phone));
    sale.SetOnEveryItem("IDCUPOMOLGA", base::Variant(coupon.id));
    used_olga_ = true;
    s_.ShowMessage(Msg("DESC_OLGA_OK"), runtime::kMsgPrompt);
    AskTransmission();
  } else if (coupon.kind == "CASHBACK_ACCUMULATE") {
    // Nothing off the sale: the consumer earns cashback on it.
    sale.SetOnEveryItem("NRTELOLGA", base::Variant(phone));
    sale.SetOnEveryItem("IDCUPOMOLGA", base::Variant(coupon.id));
    used_olga_ = true;
    s_.ShowMessage(Msg("CASH_OLGA_OK"), runtime::kMsgPrompt);
    AskTransmission();
  } else {
    ShowKey("ERRO_CUP_OLGA");
  }
}

}  // namespace recebimento::screen
