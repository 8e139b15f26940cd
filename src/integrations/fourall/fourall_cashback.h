#pragma once
// 4All cashback, reached through the host's loyalty services: the balance of the
// consumer's CPF with the promotions 4All offers the consumer, and the validation of
// the promotion code the consumer gives. The host settles the sale from the items'
// columns, so nothing is taken here when the balance is used.
//   IntegracaoFid4All "CONSULTA" [cpf] -> [ok, text, balance, promotions packet
//                                 (CDPROMOCAO, DSTIPPROMO, VRPROMOCAO)]
//                     "VALIDA_PROMOCODE" [code, branch CNPJ, amount to pay, items packet]
//                                 -> [ok, text]
#include <string>

#include "base/dataset.h"
#include "host/pos/loyalty_services.h"
#include "integrations/cashback/cashback_provider.h"

namespace recebimento::integrations {

// A validated promotion: a percentage of the largest discount the sale admits, or an
// amount.
struct FourAllPromotion {
  bool percentage = false;
  double value = 0;
};

class FourAllCashback : public CashbackProvider {
 public:
  FourAllCashback(pos::LoyaltyServices* host, std::string cpf);

  bool ConsultBalance(CashbackBalance& balance, std::string& problem) override;
  bool Reserve(double, std::string&) override { return true; }
  std::string Reason() const override { return reason_; }

  // The consultation offered promotions.
  bool HasPromotions() const { return cdsPromocao.Active() && !cdsPromocao.IsEmpty(); }
  // `code` validated by 4All and found among the offered promotions; false with
  // "FALHA_VAL_PROMOCODE" or "PROMOCODE_INV" (4All's text as the reason).
  bool ValidatePromotionCode(const std::string& code, const std::string& branch_cnpj, double amount_to_pay,
                             const base::Variant& items, FourAllPromotion& promotion, std::string& problem);

 private:
  pos::LoyaltyServices* host_;
  std::string cpf_, reason_;
  base::Dataset cdsPromocao{"cdsPromocao"};
};

}  // namespace recebimento::integrations
