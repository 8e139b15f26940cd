#pragma once
// The online loyalty service, reached through the host's consumer services: the loyalty
// balance of the consumer the sale charges. The host settles the sale from the items'
// columns, so nothing is taken here when the balance is used.
//   ExtratoConsOnline "CONSULTA_SALDO_FID" (the consumer query) -> [balance]
#include "host/pos/consumer_services.h"
#include "integrations/cashback/cashback_provider.h"

namespace recebimento::integrations {

class OnlineLoyaltyCashback : public CashbackProvider {
 public:
  // `consumer` names the service's address, the branch, shop, client, consumer and date.
  OnlineLoyaltyCashback(pos::ConsumerServices* host, pos::ConsumerQuery consumer);

  bool ConsultBalance(CashbackBalance& balance, std::string& problem) override;
  bool Reserve(double, std::string&) override { return true; }

 private:
  pos::ConsumerServices* host_;
  pos::ConsumerQuery query_;
};

}  // namespace recebimento::integrations
