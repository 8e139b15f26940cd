#include "integrations/uds/uds_cashback.h"

#include <utility>

#include "base/text.h"
#include "integrations/cashback/host_answers.h"

namespace recebimento::integrations {

UdsCashback::UdsCashback(pos::LoyaltyServices* host, std::string cpf, std::string consumer_name)
    : host_(host), cpf_(std::move(cpf)), consumer_name_(std::move(consumer_name)) {}

bool UdsCashback::Ask(const std::string& action, std::vector<base::Variant> more, base::Variant& answer,
                      std::string& problem) {
  reason_.clear();
  std::vector<base::Variant> args{base::Variant(cpf_), base::Variant(consumer_name_)};
  for (auto& v : more) args.push_back(std::move(v));
  if (!host_ || !host_->IntegracaoFidUds(action, args, answer)) {
    problem = "FALHA_CONEXAO_UDS";
    return false;
  }
  if (!AnswerAccepted(answer)) {
    problem = "ERRO_UDS";
    reason_ = " " + AnswerText(answer, 1);
    return false;
  }
  return true;
}

bool UdsCashback::ConsultBalance(CashbackBalance& balance, std::string& problem) {
  base::Variant answer;
  if (!Ask("CONSULTA", {}, answer, problem)) return false;
  balance.blocked = base::Trim(AnswerText(answer, 3)) == "S";
  balance.balance = AnswerAmount(answer, 2);
  return true;
}

bool UdsCashback::Reserve(double amount, std::string& problem) {
  base::Variant answer;
  return Ask("BAL_ZEM", {base::Variant(amount)}, answer, problem);
}

}  // namespace recebimento::integrations
