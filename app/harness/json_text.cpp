#include "json_text.h"

#include "base/json_nesting.h"
#include "base/text.h"
#include "json_values.h"

namespace recebimento::harness {

using json = nlohmann::ordered_json;

json ParseJsonText(std::string_view text) {
  if (const std::size_t at = base::JsonTooDeepAt(text, kMaxJsonDepth); at != std::string_view::npos) {
    throw InputError("nested more than " + std::to_string(kMaxJsonDepth) + " levels deep (at byte " +
                     std::to_string(at + 1) + ")");
  }
  return json::parse(text);
}

std::string JsonExcerpt(const json& value, std::size_t max_chars) {
  return base::Excerpt(value.dump(-1, ' ', false, json::error_handler_t::replace), max_chars);
}

}  // namespace recebimento::harness
