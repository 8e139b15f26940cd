// JSON to XML over any text: a document in the .NET reader's mapping or JsonToXmlError,
// never a crash, whatever the nesting.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "integrations/rest/json_to_xml.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace recebimento::integrations;
  try {
    const auto doc = JsonToXML(std::string_view(reinterpret_cast<const char*>(data), size));
    XmlText(*doc);
  } catch (const JsonToXmlError&) {
  }
  return 0;
}
