#include "integrations/fourall/fourall_cashback.h"

#include <utility>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "integrations/cashback/host_answers.h"

namespace recebimento::integrations {

FourAllCashback::FourAllCashback(pos::LoyaltyServices* host, std::string cpf) : host_(host), cpf_(std::move(cpf)) {}

bool FourAllCashback::ConsultBalance(CashbackBalance& balance, std::string& problem) {
  reason_.clear();
  base::Variant answer;
  if (!host_ || !host_->IntegracaoFid4All("CONSULTA", {base::Variant(cpf_)}, answer) || !AnswerAccepted(answer)) {
    problem = "FALHA_CONEXAO_4ALL";
    return false;
  }
  if (!AnswerPacket(answer, 3, cdsPromocao)) cdsPromocao.Close();
  balance.balance = AnswerAmount(answer, 2);
  return true;
}

bool FourAllCashback::ValidatePromotionCode(const std::string& code, const std::string& branch_cnpj,
                                            double amount_to_pay, const base::Variant& items,
                                            FourAllPromotion& promotion, std::string& problem) {
  reason_.clear();
  base::Variant answer;
  if (!host_ || !host_->IntegracaoFid4All(
                    "VALIDA_PROMOCODE",
                    {base::Variant(code), base::Variant(branch_cnpj), base::Variant(amount_to_pay), items}, answer)) {
    problem = "FALHA_VAL_PROMOCODE";
    return false;
  }
  if (!AnswerAccepted(answer) || !HasPromotions() || !cdsPromocao.Locate("CDPROMOCAO", base::Variant(code))) {
    problem = "PROMOCODE_INV";
    reason_ = AnswerText(answer, 1);
    return false;
  }
  promotion.percentage = base::Utf8Upper(base::ColumnTrimmed(cdsPromocao, "DSTIPPROMO")) == "PERCENTUAL";
  promotion.value = base::ColumnNumber(cdsPromocao, "VRPROMOCAO");
  return true;
}

}  // namespace recebimento::integrations
