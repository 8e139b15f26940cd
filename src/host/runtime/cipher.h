#pragma once
// The reversible cipher of stored fields (the fiscal identification file's digest). It
// keeps a value from being read or edited at a glance; it is not a security measure.
#include <string>
#include <string_view>

namespace recebimento::runtime {

// `text` (any bytes, UTF-8 in practice) enciphered with `key` as upper-case hexadecimal.
std::string Cripto(std::string_view text, int key);

// The plain text of a value made by Cripto with the same key. Text that is not such a
// value (not hexadecimal, wrong length, wrong key, damaged) gives "".
std::string Uncripto(std::string_view text, int key);

}  // namespace recebimento::runtime
