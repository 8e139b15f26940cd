// The card exchange files: whatever the bytes, the CHART answer reader gives values of at
// most 10 characters without an error, the request reader never fails, and the card
// terminal's answer files either read as one, written back and read again unchanged, or
// are refused.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/text.h"
#include "host/pos/chart_exchange.h"
#include "host/pos/tef_exchange_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace recebimento;
  const std::string text(reinterpret_cast<const char*>(data), size);

  const pos::ChartAnswer answer = pos::ReadChartAnswer(text);
  for (const std::string* value :
       {&answer.authorization, &answer.card_number, &answer.client_code, &answer.external_code})
    if (base::Utf8Length(*value) > 10) std::abort();
  (void)pos::ReadChartRequest(text);

  const auto file = pos::ReadIntPos(text);
  if (!file) return 0;
  const std::string written = pos::WriteIntPos(*file);
  const auto again = pos::ReadIntPos(written);
  if (!again || again->header != file->header || again->id != file->id || again->document != file->document ||
      again->amount != file->amount || again->brand != file->brand || again->host_nsu != file->host_nsu)
    std::abort();
  return 0;
}
