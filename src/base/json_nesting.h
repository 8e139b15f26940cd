#pragma once
// How deep a JSON text nests, read before any parser walks it: texts from outside (sale
// files, replies of the integrations) must not send a recursive reader past its stack.
#include <cstddef>
#include <string_view>

namespace recebimento::base {

// Offset of the bracket where the nesting of `text` first goes past `limit`, or npos.
// Brackets inside strings do not count.
std::size_t JsonTooDeepAt(std::string_view text, int limit);

}  // namespace recebimento::base
