#pragma once
// UDS cashback, reached through the host's loyalty services: the balance of the
// consumer's CPF, and the amount the consumer takes, which UDS takes off the balance at
// once.
//   IntegracaoFidUds "CONSULTA" [cpf, consumer name] -> [ok, text, balance, blocked "S"/"N"]
//                    "BAL_ZEM"  [cpf, consumer name, amount] -> [ok, text]
#include <string>

#include "host/pos/loyalty_services.h"
#include "integrations/cashback/cashback_provider.h"

namespace recebimento::integrations {

class UdsCashback : public CashbackProvider {
 public:
  // `host` may be null: the provider then answers as an unreachable one.
  UdsCashback(pos::LoyaltyServices* host, std::string cpf, std::string consumer_name);

  bool ConsultBalance(CashbackBalance& balance, std::string& problem) override;
  bool Reserve(double amount, std::string& problem) override;
  std::string Reason() const override { return reason_; }

 private:
  // Asks `action` with the consumer and `more`; false with the failure's key.
  bool Ask(const std::string& action, std::vector<base::Variant> more, base::Variant& answer, std::string& problem);

  pos::LoyaltyServices* host_;
  std::string cpf_, consumer_name_, reason_;
};

}  // namespace recebimento::integrations
