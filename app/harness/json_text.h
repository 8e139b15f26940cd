#pragma once
// JSON texts that come from outside (sale files, script lines): parsed with a bounded
// nesting depth, so no input can exhaust the stack of whatever walks the value later,
// and quoted in messages by a short excerpt, never whole.
#include <cstddef>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace recebimento::harness {

// Deeper than this is refused; the deepest sale file has a handful of levels.
inline constexpr int kMaxJsonDepth = 64;

// InputError when the text nests arrays and objects deeper than kMaxJsonDepth;
// nlohmann::json::parse_error when it is not JSON.
nlohmann::ordered_json ParseJsonText(std::string_view text);

// The value as compact JSON for a message: at most `max_chars` characters, bytes that are
// not UTF-8 replaced by U+FFFD.
std::string JsonExcerpt(const nlohmann::ordered_json& value, std::size_t max_chars = 80);

}  // namespace recebimento::harness
