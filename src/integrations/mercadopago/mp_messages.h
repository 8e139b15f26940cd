#pragma once
// The Mercado Pago order's body and the readers of Mercado Pago's replies.
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "base/datetime.h"
#include "integrations/mercadopago/mp_state.h"

namespace recebimento::integrations {

// "order-id-" + the time as mmddyyyyhhnnss.
std::string MercadoPagoExternalReference(const base::DateTime& now);
// An amount as the shortest text that reads back the same, "." as separator: 12.5 stays
// "12.5".
std::string MercadoPagoAmount(double amount);
// The UTC offset of the store server's time text (year-month-day "T" time, then the sign
// and hours:minutes of the offset: characters 20 to 25); "-03:00" when it has none.
std::string ServerUtcOffset(const std::string& server_time);
// The in-store order for doValorMP, expiring 0.007 day (10 min 4.8 s) after `now`, with
// the server's UTC offset; members in Mercado Pago's order.
std::string MercadoPagoOrderBody(const MercadoPagoState& state, const base::DateTime& now,
                                 const std::string& server_time);

// A merchant order of a search reply, as the payment loop reads it: only its first
// payment is looked at, and the payment id is kept only when that payment is approved.
struct MerchantOrderSeen {
  std::string id;
  std::string order_status;
  std::string payment_status;
  std::string payment_id;
};
// The merchant orders of a search reply (its JSON reader's document: root/elements/item).
std::vector<MerchantOrderSeen> ReadMerchantOrders(const pugi::xml_document& doc);

// From the reply of a merchant order looked up by id: the first approved payment, when
// the order is paid; "" otherwise.
std::string ApprovedPaymentOfPaidOrder(const std::string& stMpResult);

}  // namespace recebimento::integrations
