#pragma once
// Olga, reached through the host's loyalty services: the cashback of the consumer's
// phone, and the benefit coupons the consumer gives, which discount the sale ("CASH")
// or accumulate cashback on it ("CASHBACK_ACCUMULATE"). The host settles the sale from
// the items' columns, so nothing is taken here when the cashback is used.
//   FidelidadeOlga "CONSULTA_CASHBACK" [phone, amount to pay] -> [ok, text, cashback, benefit id]
//                  "VALIDA_CUPOM" [phone, code, amount to pay] -> [ok, text, kind "CASH" /
//                                 "CASHBACK_ACCUMULATE", value, coupon id]
#include <string>
#include <vector>

#include "host/pos/loyalty_services.h"
#include "integrations/cashback/cashback_provider.h"

namespace recebimento::integrations {

struct OlgaCoupon {
  std::string kind;  // "CASH", "CASHBACK_ACCUMULATE"
  double value = 0;
  std::string id;
};

class OlgaLoyalty : public CashbackProvider {
 public:
  OlgaLoyalty(pos::LoyaltyServices* host, std::string phone, double amount_to_pay);

  // The cashback, with the benefit id as its reference.
  bool ConsultBalance(CashbackBalance& balance, std::string& problem) override;
  bool Reserve(double, std::string&) override { return true; }
  std::string Reason() const override { return reason_; }

  // The benefit coupon `code`; false with "FALHA_CONEXAO_OLGA" or "ERRO_CUPOM_OLGA".
  bool ValidateCoupon(const std::string& code, OlgaCoupon& coupon, std::string& problem);

 private:
  // Asks Olga `action` with `args`. False with "FALHA_CONEXAO_OLGA" when Olga is not
  // reached, or with `refused` and Olga's text (after a space) as the reason.
  bool Ask(const std::string& action, const std::vector<base::Variant>& args, const std::string& refused,
           base::Variant& answer, std::string& problem);

  pos::LoyaltyServices* host_;
  std::string phone_, reason_;
  double amount_to_pay_;
};

}  // namespace recebimento::integrations
