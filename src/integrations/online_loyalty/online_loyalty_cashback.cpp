#include "integrations/online_loyalty/online_loyalty_cashback.h"

#include <utility>
#include <vector>

#include "integrations/cashback/host_answers.h"

namespace recebimento::integrations {

OnlineLoyaltyCashback::OnlineLoyaltyCashback(pos::ConsumerServices* host, pos::ConsumerQuery consumer)
    : host_(host), query_(std::move(consumer)) {
  query_.operation = "CONSULTA_SALDO_FID";
}

bool OnlineLoyaltyCashback::ConsultBalance(CashbackBalance& balance, std::string& problem) {
  base::Variant answer;
  if (!host_ || !host_->ExtratoConsOnline(query_, answer)) {
    problem = "FALHA_CONEXAO_SRV_FID";
    return false;
  }
  // The host answers the balance alone or as the first value of an array.
  balance.balance = AnswerAmount(answer.IsArray() ? answer : base::Variant(std::vector<base::Variant>{answer}), 0);
  return true;
}

}  // namespace recebimento::integrations
