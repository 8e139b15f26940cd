#include "integrations/olga/olga_loyalty.h"

#include <utility>

#include "base/text.h"
#include "integrations/cashback/host_answers.h"

namespace recebimento::integrations {

OlgaLoyalty::OlgaLoyalty(pos::LoyaltyServices* host, std::string phone, double amount_to_pay)
    : host_(host), phone_(std::move(phone)), amount_to_pay_(amount_to_pay) {}

bool OlgaLoyalty::Ask(const std::string& action, const std::vector<base::Variant>& args, const std::string& refused,
                      base::Variant& answer, std::string& problem) {
  reason_.clear();
  if (!host_ || !host_->FidelidadeOlga(action, args, answer)) {
    problem = "FALHA_CONEXAO_OLGA";
    return false;
  }
  if (!AnswerAccepted(answer)) {
    problem = refused;
    const std::string text = AnswerText(answer, 1);
    reason_ = text.empty() ? "" : " " + text;
    return false;
  }
  return true;
}

bool OlgaLoyalty::ConsultBalance(CashbackBalance& balance, std::string& problem) {
  base::Variant answer;
  if (!Ask("CONSULTA_CASHBACK", {base::Variant(phone_), base::Variant(amount_to_pay_)}, "ERRO_CASH_OLGA", answer,
           problem))
    return false;
  balance.balance = AnswerAmount(answer, 2);
  balance.reference = AnswerText(answer, 3);
  return true;
}

bool OlgaLoyalty::ValidateCoupon(const std::string& code, OlgaCoupon& coupon, std::string& problem) {
  base::Variant answer;
  if (!Ask("VALIDA_CUPOM", {base::Variant(phone_), base::Variant(code), base::Variant(amount_to_pay_)},
           "ERRO_CUPOM_OLGA", answer, problem))
    return false;
  coupon.kind = base::Trim(AnswerText(answer, 2));
  coupon.value = AnswerAmount(answer, 3);
  coupon.id = AnswerText(answer, 4);
  return true;
}

}  // namespace recebimento::integrations
