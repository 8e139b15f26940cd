// Mercado Pago's replies as the payment loop reads them: the merchant orders of a search
// (through JSON to XML) and the approved payment of an order looked up by id. Any text
// ends in orders and payment ids, possibly none; a payment id comes only with an
// approved payment.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "integrations/mercadopago/mp_messages.h"
#include "integrations/rest/json_to_xml.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace recebimento::integrations;
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    for (const MerchantOrderSeen& order : ReadMerchantOrders(*JsonToXML(text)))
      if (!order.payment_id.empty() && order.payment_status != "approved") std::abort();
  } catch (const JsonToXmlError&) {
  }
  ApprovedPaymentOfPaidOrder(text);
  return 0;
}
