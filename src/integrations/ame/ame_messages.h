#pragma once
// The AME requests' bodies and the readers of AME's replies.
#include <string>

#include "base/datetime.h"

namespace recebimento::integrations {

// An amount written in cents as AME takes it: 12.34 gives "1234", 10 gives "1000".
std::string AmeCents(double amount);

// The payment order of `amount` (members in AME's order, no blanks): title
// "Venda_Brisova", description (the time as dd/mm/yyyy-hh:nn:ss), amount in cents, type
// "PAYMENT", and the attributes: the cashback (`cashback_percent` of the amount, rounded
// to the cent, in cents), the callback address (`callback_base` + "/callbackaut") and
// paymentOnce.
std::string AmeOrderBody(double amount, double cashback_percent, const std::string& callback_base,
                         const base::DateTime& now);

// What AME's replies carry, read in the order they stand in the reply with the
// consuming reader (the held text is consumed).
struct AmeOrderReply {
  std::string id;
  std::string qr_code_link;  // backslashes removed
};
AmeOrderReply ReadAmeOrderReply(std::string& stAmeResult);

struct AmeCallbackReply {
  std::string id;  // the payment made against the order
  std::string status;
  std::string type;
  // The consumer authorised the payment ("AUTHORIZED" in any case) and the reply names it.
  bool Authorized() const;
};
AmeCallbackReply ReadAmeCallbackReply(std::string& stAmeResult);

}  // namespace recebimento::integrations
