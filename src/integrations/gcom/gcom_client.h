#pragma once
// GCOM cashback: the balance of the consumer's phone (getConsumerBalance) and the
// reservation of the amount taken at the sale's confirmation (balanceReserve). XML over
// the flat form of the request module, the shop's token as bearer, time-out 15 s; the
// steps go to logGCOM.
#include <string>

#include "base/dataset.h"
#include "integrations/cashback/cashback_provider.h"
#include "integrations/gcom/gcom_messages.h"
#include "integrations/integration_context.h"
#include "integrations/rest/loggers.h"

namespace recebimento::integrations {

// The GCOM state of a sale.
struct GcomState {
  GcomState();
  base::Dataset cdsGetConsumerGCOM{"cdsGetConsumerGCOM"};
  bool consulted = false;      // the balance was consulted on the screen
  double reserved_amount = 0;  // the amount the consumer took, reserved at confirmation
  std::string phone;
  std::string error_message;  // the service's message of a refused reservation

  // Recreated empty.
  void ResetConsumer();
};

class GcomClient : public CashbackProvider {
 public:
  GcomClient(const IntegrationContext& context, const Loggers& log, GcomState& state, const GcomSettings& settings);

  // ResgataCashBackGCOM("getConsumerBalance"): the consumer record of the phone.
  bool ConsultBalance(CashbackBalance& balance, std::string& problem) override;
  // ResgataCashBackGCOM("balanceReserve") of `amount`: RESERVEID.
  bool Reserve(double amount, std::string& problem) override;
  // The service's message of a refused reservation, after ": ".
  std::string Reason() const override;

 private:
  // Posts `body` to the endpoint; the reply as read.
  GcomReply Post(const std::string& endpoint, const std::string& body);

  const IntegrationContext& context_;
  const Loggers& log_;
  GcomState& state_;
  const GcomSettings& settings_;
};

}  // namespace recebimento::integrations
