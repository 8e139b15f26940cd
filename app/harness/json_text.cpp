#include "json_text.h"

#include "base/text.h"
#include "json_values.h"

namespace recebimento::harness {

using json = nlohmann::ordered_json;

namespace {

// Offset where the nesting first goes past `limit`, or npos. Brackets inside strings
// do not count.
std::size_t TooDeepAt(std::string_view text, int limit) {
  int depth = 0;
  bool in_string = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (in_string) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        in_string = false;
      }
    } else if (c == '"') {
      in_string = true;
    } else if (c == '[' || c == '{') {
      if (++depth > limit) return i;
    } else if ((c == ']' || c == '}') && depth > 0) {
      --depth;
    }
  }
  return std::string_view::npos;
}

}  // namespace

json ParseJsonText(std::string_view text) {
  if (const std::size_t at = TooDeepAt(text, kMaxJsonDepth); at != std::string_view::npos) {
    throw InputError("nested more than " + std::to_string(kMaxJsonDepth) + " levels deep (at byte " +
                     std::to_string(at + 1) + ")");
  }
  return json::parse(text);
}

std::string JsonExcerpt(const json& value, std::size_t max_chars) {
  return base::Excerpt(value.dump(-1, ' ', false, json::error_handler_t::replace), max_chars);
}

}  // namespace recebimento::harness
