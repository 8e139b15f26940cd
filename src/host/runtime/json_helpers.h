#pragma once
// Small JSON helpers of the runtime library, used by the integrations' request frames.
#include <string>
#include <string_view>
#include <vector>

namespace recebimento::runtime {

// A JSON object built from "name=value" entries, members in list order. A value that is
// a JSON number literal ("12", "-1.5", "2e3") or true/false/null is written unquoted and
// verbatim (no digits lost to re-formatting); any other value - including "007" and
// "1,5", which are not JSON numbers - is written as an escaped JSON string. Blank
// entries are skipped; an entry without "=" is a member with an empty text; a repeated
// name keeps its last value in the place of its first.
std::string retornaJSON(const std::vector<std::string>& entries);

// `text` as a JSON string literal, quotes included. Invalid UTF-8 bytes become U+FFFD
// instead of failing.
std::string JsonQuote(std::string_view text);

// True when `text` is exactly one JSON number literal.
bool IsJsonNumberLiteral(std::string_view text);

}  // namespace recebimento::runtime
