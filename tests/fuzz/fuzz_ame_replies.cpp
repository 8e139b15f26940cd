// AME's replies as the AME client reads them (the order's id and QR-code link, the
// callback service's payment, status and type): any text ends in values, possibly
// empty, and never counts as an authorisation without a payment named.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "integrations/ame/ame_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace recebimento::integrations;
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string order = text;
  ReadAmeOrderReply(order);
  std::string callback = text;
  const AmeCallbackReply reply = ReadAmeCallbackReply(callback);
  if (reply.Authorized() && reply.id.empty()) std::abort();
  return 0;
}
