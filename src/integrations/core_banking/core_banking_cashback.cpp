#include "integrations/core_banking/core_banking_cashback.h"

#include <utility>

#include "base/dataset_columns.h"
#include "host/runtime/money.h"
#include "integrations/cashback/host_answers.h"

namespace recebimento::integrations {

namespace {

constexpr size_t kErrorsAt = 3;

}  // namespace

CoreBankingCashback::CoreBankingCashback(pos::LoyaltyServices* host, std::string cpf, std::string wallet_code)
    : host_(host), cpf_(std::move(cpf)), wallet_code_(std::move(wallet_code)) {}

bool CoreBankingCashback::ConsultBalance(CashbackBalance& balance, std::string& problem) {
  has_errors_ = false;
  errors_ = base::Variant();
  card_.clear();
  base::Variant created, answer;
  const bool answered =
      host_ &&
      host_->CoreBancario("CONSULTA", {base::Variant("POST"), base::Variant(cpf_), base::Variant(wallet_code_)},
                          created) &&
      AnswerAccepted(created) &&
      host_->CoreBancario("CONSULTA",
                          {base::Variant("GET"), base::Variant(cpf_), base::Variant(wallet_code_),
                           base::Variant(AnswerText(created, 1))},
                          answer);
  const auto keep_errors = [this](const base::Variant& from) {
    has_errors_ = from.IsArray() && from.Size() > kErrorsAt;
    if (has_errors_) errors_ = from[kErrorsAt];
  };
  if (!answered) {
    keep_errors(created.IsArray() && !AnswerAccepted(created) ? created : answer);
    problem = "FALHA_CONSULTA_CASH";
    return false;
  }
  if (!AnswerAccepted(answer)) {
    keep_errors(answer);
    problem.clear();
    return false;
  }
  balance.reference = AnswerText(answer, 1);
  base::Dataset wallets("cdsCarteiras");
  if (!AnswerPacket(answer, 2, wallets) || !wallets.Locate("CDWALLET", base::Variant(wallet_code_))) {
    balance.balance = 0;
    return true;
  }
  balance.blocked = base::ColumnTrimmed(wallets, "BLOQUEADO") != "false";
  balance.balance = runtime::Trunc2(base::ColumnNumber(wallets, "VRSALDO"));
  card_ = base::ColumnTrimmed(wallets, "IDCARTAO");
  return true;
}

}  // namespace recebimento::integrations
