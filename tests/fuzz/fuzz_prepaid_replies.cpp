// The prepaid-card service's reply as its client reads it: any text ends in a result,
// never in an exception, and a success always comes with a finite balance and a
// <root> the reader found.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "integrations/prepaid/prepaid_card.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace recebimento::integrations;
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string root;
  const PrepaidCardResult result = ReadPrepaidCardReply(text, root);
  if (result.success && (root.empty() || !std::isfinite(result.balance))) std::abort();
  if (!result.success && result.message.empty()) std::abort();
  // The same text behind the request module's status.
  ReadPrepaidCardReply("[{\"response_code\":200}," + text + "]", root);
  return 0;
}
