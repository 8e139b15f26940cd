// The request log's masking: whatever a body, URL or header holds, masking ends, in time
// proportional to the text, and never fails.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/runtime/secret_masking.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace recebimento::runtime;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  MaskSecrets(text);
  MaskUrl(text);
  // A header: the name up to the first colon, the value after it.
  const size_t colon = text.find(':');
  if (colon != std::string_view::npos) MaskHeaderValue(text.substr(0, colon), text.substr(colon + 1));
  return 0;
}
