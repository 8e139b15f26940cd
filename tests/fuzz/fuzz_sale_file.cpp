// The sale file and the operator script as `recebimento run` reads them: whatever the
// bytes, the reader ends with the sale or with a clear error of its own kind.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host_config.h"
#include "json_text.h"
#include "json_values.h"
#include "operator_script.h"
#include "sale_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace recebimento::harness;
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    const auto sale = ParseSale(ParseJsonText(text));
    ParseHostConfig(sale->host, "/nonexistent-host");
  } catch (const InputError&) {
  } catch (const nlohmann::json::parse_error&) {
  }
  try {
    OperatorScript::Parse(text);
  } catch (const ScriptError&) {
  }
  return 0;
}
