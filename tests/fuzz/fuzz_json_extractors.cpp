// The REST frame's field readers and amount reader over any reply text: each ends, in
// time proportional to the text, with a value or an empty one, and never fails.
#include <cstddef>
#include <cstdint>
#include <string>

#include "integrations/rest/json_extractors.h"
#include "integrations/rest/number_text.h"
#include "integrations/rest/request_sequence.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace recebimento::integrations;
  const std::string text(reinterpret_cast<const char*>(data), size);
  // A key of the text's own first bytes as well, so keys that occur in it are tried.
  const std::string own_key = text.substr(0, std::min<size_t>(8, text.find_first_of("\":,{}[]")));

  std::string held = text;
  for (const char* key : {"id", "qrCodeLink", "status", "type", "access_token"}) retornaCampoJSONAme(held, key);
  retornaCampoJSONAme(held, own_key);
  std::string crm = text;
  for (const char* key : {"\"ids_bonus\"", "\"status\"", "\"id\""}) retornaCampoJSONCRMBONUS(crm, key);
  retornaCampoJSONClubPetro(text, "saldo");
  retornaCampoJSONClubPetro(text, own_key);
  retornaCampoJSONMp(text, "order_status", "", 1);
  retornaCampoJSONMp(text, "payments", "id", 2);
  retornaCampoJSONMp(text, "", own_key, 0);
  ResponseCode(text);
  HasResponseCode(text, 200);
  try {
    ToFloat(text.substr(0, 40));
  } catch (const NumberConversionError&) {
  }
  return 0;
}
