#pragma once
// How deep the frame lets a JSON text nest before it calls it unreadable: replies from
// outside are read by walks that must end, whatever they are sent.
#include <string_view>

namespace recebimento::integrations {

inline constexpr int kMaxJsonNesting = 256;

// True when no list or object of `text` (outside strings) opens deeper than the limit.
bool WithinJsonNesting(std::string_view text, int limit = kMaxJsonNesting);

}  // namespace recebimento::integrations
