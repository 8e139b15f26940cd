#include "integrations/olga/olga_loyalty.h"

#include <utility>

#include "base/text.h"
#include "integrations/cashback/host_answers.h"

namespace recebimento::integrations {

OlgaLoyalty::OlgaLoyalty(pos::LoyaltyServices* host, std::string phone, double amount_to_pay)
    : host_(host), phone_(std::move(phone)), amount_to_pay_(amount_to_pay) {}

void OlgaLoyalty::KeepReason(const base::Variant& answer) {
  const std::string text = AnswerText(answer, 1);
  reason_ = text.empty() ? "" : " " + text;
}

bool OlgaLoyalty::ConsultBalance(CashbackBalance& balance, std::string& problem) {
  reason_.clear();
  base::Variant answer;
  if (!host_ ||
      !host_->FidelidadeOlga("CONSULTA_CASHBACK", {base::Variant(phone_), base::Variant(amount_to_pay_)}, answer)) {
    problem = "FALHA_CONEXAO_OLGA";
    return false;
  }
  if (!AnswerAccepted(answer)) {
    problem = "ERRO_CASH_OLGA";
    KeepReason(answer);
    return false;
  }
  balance.balance = AnswerAmount(answer, 2);
  balance.reference = AnswerText(answer, 3);
  return true;
}

bool OlgaLoyalty::ValidateCoupon(const std::string& code, OlgaCoupon& coupon, std::string& problem) {
  reason_.clear();
  base::Variant answer;
  if (!host_ ||
      !host_->FidelidadeOlga("VALIDA_CUPOM",
                             {base::Variant(phone_), base::Variant(code), base::Variant(amount_to_pay_)}, answer)) {
    problem = "FALHA_CONEXAO_OLGA";
    return false;
  }
  if (!AnswerAccepted(answer)) {
    problem = "ERRO_CUPOM_OLGA";
    KeepReason(answer);
    return false;
  }
  coupon.kind = base::Trim(AnswerText(answer, 2));
  coupon.value = AnswerAmount(answer, 3);
  coupon.id = AnswerText(answer, 4);
  return true;
}

}  // namespace recebimento::integrations
