// Olga on its panel: the cashback of the consumer's phone offered as a discount, or a
// benefit coupon that discounts the sale ("CASH") or accumulates cashback on it
// ("CASHBACK_ACCUMULATE").
#include "base/text.h"
#include "host/runtime/messages.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/loyalty/host_loyalty_answers.h"
#include "screen/loyalty/host_loyalty_providers.h"

namespace recebimento::screen {

namespace {

constexpr int kLongestCouponCode = 40;

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
  if (used_olga_) return ShowKey("CASH_JA_UTIL");
  SetPanel("panFidelidadeOlga", true);
}

void HostLoyaltyProviders::btnCancelaOlgaClick() { SetPanel("panFidelidadeOlga", false); }

void HostLoyaltyProviders::btnCashBackOlgaClick() {
  SetPanel("panFidelidadeOlga", false);
  SaleState& sale = s_.sale;
  const std::string phone = OlgaPhone(s_);
  if (phone.empty()) {
    s_.ShowMessage(Msg("Tel_N_Inf", MessageComponent::msgPadrao2), runtime::kMsgBlocked);
    return;
  }
  base::Variant answer;
  if (!s_.ctx.host.loyalty || !s_.ctx.host.loyalty->FidelidadeOlga(
                                  "CONSULTA_CASHBACK", {base::Variant(phone), base::Variant(sale.doVrAPagar)}, answer))
    return ShowKey("FALHA_CONEXAO_OLGA");
  if (!AnswerAccepted(answer))
    return ShowKey("ERRO_CASH_OLGA", AnswerText(answer, 1).empty() ? "" : " " + AnswerText(answer, 1));
  const double balance = AnswerAmount(answer, 2);
  if (balance <= 0) return ShowKey("SALD_CASH_ZERO");
  const double amount = OfferBalance(balance);
  if (amount <= 0) return;
  Apply(amount, "VRTOTOLGA");
  sale.SetOnEveryItem("NRTELOLGA", base::Variant(phone));
  sale.SetOnEveryItem("IDBENEFOLGA", base::Variant(AnswerText(answer, 3)));
  used_olga_ = true;
  s_.ShowMessage(Msg("DESC_OLGA_OK"), runtime::kMsgPrompt);
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
  base::Variant answer;
  bool answered = false;
  dialogs->AtivaProcesso("frmRecebimento", "Aguarde, processando dados.");
  answered = s_.ctx.host.loyalty &&
             s_.ctx.host.loyalty->FidelidadeOlga(
                 "VALIDA_CUPOM", {base::Variant(phone), base::Variant(code), base::Variant(sale.doVrAPagar)}, answer);
  dialogs->DesativaProcesso();
  if (!answered) return ShowKey("FALHA_CONEXAO_OLGA");
  if (!AnswerAccepted(answer))
    return ShowKey("ERRO_CUPOM_OLGA", AnswerText(answer, 1).empty() ? "" : " " + AnswerText(answer, 1));
  const std::string kind = base::Trim(AnswerText(answer, 2));
  const std::string coupon = AnswerText(answer, 4);
  if (kind == "CASH") {
    const double amount = s_.parts.programs.AdmissibleDiscount(AnswerAmount(answer, 3));
    if (amount <= 0) return ShowKey("ERRO_CUP_OLGA");
    Apply(amount, "VRTOTOLGA");
    sale.SetOnEveryItem("NRTELOLGA", base::Variant(phone));
    sale.SetOnEveryItem("IDCUPOMOLGA", base::Variant(coupon));
    used_olga_ = true;
    s_.ShowMessage(Msg("DESC_OLGA_OK"), runtime::kMsgPrompt);
  } else if (kind == "CASHBACK_ACCUMULATE") {
    // Nothing off the sale: the consumer earns cashback on it.
    sale.SetOnEveryItem("NRTELOLGA", base::Variant(phone));
    sale.SetOnEveryItem("IDCUPOMOLGA", base::Variant(coupon));
    used_olga_ = true;
    s_.ShowMessage(Msg("CASH_OLGA_OK"), runtime::kMsgPrompt);
  } else {
    ShowKey("ERRO_CUP_OLGA");
  }
}

}  // namespace recebimento::screen
