#pragma once
// Standard Base64 (RFC 4648 alphabet, "=" padding), as the wallet credentials need it.
#include <optional>
#include <string>
#include <string_view>

namespace recebimento::runtime {

std::string encodeBase64(std::string_view bytes);

// The bytes encoded in `text`. Line breaks and blanks are skipped and missing padding is
// tolerated; any other character outside the alphabet, or padding in the middle, gives
// an empty optional rather than a half-decoded result.
std::optional<std::string> decodeBase64(std::string_view text);

}  // namespace recebimento::runtime
