#pragma once
// What every cashback provider offers the screen: the balance of the sale's consumer,
// which the screen may turn into a discount, and the reservation of the amount taken.
// A provider answers its failures with a message key of the screen's table (and, where
// it has them, its own words) and leaves the sale as it was.
#include <string>

namespace recebimento::integrations {

struct CashbackBalance {
  std::string campaign;
  std::string consumer_name;
  double balance = 0;
  double percentage = 0;  // the part of the sale the balance may pay, in %; 0: no limit
  bool complete = true;   // the consumer's registration lets the balance be used
  bool blocked = false;   // the provider holds the balance: nothing may be taken
  std::string reference;  // what the provider names the balance by (benefit, request)
};

class CashbackProvider {
 public:
  virtual ~CashbackProvider() = default;
  // The consumer's balance; false with the message key of the failure in `problem`
  // (empty when the failure is only in the provider's log or in its own words).
  virtual bool ConsultBalance(CashbackBalance& balance, std::string& problem) = 0;
  // Takes `amount` of the balance for the sale; false with the message key in
  // `problem`. Providers whose sale is settled by the host from the items' columns
  // take nothing here.
  virtual bool Reserve(double amount, std::string& problem) = 0;
  // The provider's own words on its last failure, as they follow the message of the
  // key (with their separator); empty when it gave none.
  virtual std::string Reason() const { return {}; }
};

}  // namespace recebimento::integrations
