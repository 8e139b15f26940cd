#pragma once
// The banking core's wallets, reached through the host's loyalty services: the balance
// of one of the consumer's three wallets (cashback "001", corporate card "002", quality
// card "003"). The request is created ("POST"), then its answer read ("GET"); the host
// settles the sale from the items' columns, so nothing is taken here when the balance
// is used.
//   CoreBancario "CONSULTA" [method "POST"/"GET", cpf, wallet code(, request id for "GET")]
//                -> [ok, request id, wallets packet (CDWALLET, VRSALDO, BLOQUEADO, IDCARTAO),
//                    errors packet (CDERRO, DSERROCONS, IDSUCCESS, CDRETORNO, DSRETCONS)]
#include <string>

#include "base/variant.h"
#include "host/pos/loyalty_services.h"
#include "integrations/cashback/cashback_provider.h"

namespace recebimento::integrations {

class CoreBankingCashback : public CashbackProvider {
 public:
  CoreBankingCashback(pos::LoyaltyServices* host, std::string cpf, std::string wallet_code);

  // The wallet's balance (0 when the core does not list it) with the request id as its
  // reference. A core that did not answer fails with "FALHA_CONSULTA_CASH"; one that
  // answered a refusal fails with no key: its error records tell why.
  bool ConsultBalance(CashbackBalance& balance, std::string& problem) override;
  bool Reserve(double, std::string&) override { return true; }

  // The error records of the failed consultation, when the core gave any.
  bool HasErrors() const { return has_errors_; }
  const base::Variant& Errors() const { return errors_; }
  // The card of the wallet consulted.
  const std::string& Card() const { return card_; }

 private:
  pos::LoyaltyServices* host_;
  std::string cpf_, wallet_code_, card_;
  bool has_errors_ = false;
  base::Variant errors_;
};

}  // namespace recebimento::integrations
