#pragma once
// What every cashback provider offers the screen: the balance of the sale's consumer,
// which the screen may turn into a discount, and the reservation of the amount taken
// when the sale is confirmed. A provider answers its failures with a message key of the
// screen's table and leaves the sale as it was.
#include <string>

namespace recebimento::integrations {

struct CashbackBalance {
  std::string campaign;
  std::string consumer_name;
  double balance = 0;
  double percentage = 0;  // the part of the sale the balance may pay, in %; 0: no limit
  bool complete = true;   // the consumer's registration lets the balance be used
};

class CashbackProvider {
 public:
  virtual ~CashbackProvider() = default;
  // The consumer's balance; false with the message key of the failure in `problem`
  // (empty when the failure is only in the provider's log).
  virtual bool ConsultBalance(CashbackBalance& balance, std::string& problem) = 0;
  // Reserves `amount` of the balance for the sale; false with the message key in
  // `problem`.
  virtual bool Reserve(double amount, std::string& problem) = 0;
};

}  // namespace recebimento::integrations
