#pragma once
// Fixed-width text for displays and receipts. Widths count characters (UTF-8 code
// points), never bytes: TamFixo("Café", 6) is "Café  ".
#include <string>
#include <string_view>

namespace recebimento::runtime {

// True when `s` is empty or holds only blanks (spaces, tabs, line breaks).
bool EmptyString(std::string_view s);

// Left-aligned in exactly `n` characters: padded with spaces, longer text cut.
std::string TamFixo(std::string_view s, int n);
// Right-aligned in exactly `n` characters: spaces in front; longer text keeps its first
// `n` characters.
std::string TamFixoR(std::string_view s, int n);

// The same column rules under the names the older code uses.
inline std::string Ajusta(std::string_view s, int n) { return TamFixo(s, n); }
inline std::string AjustaL(std::string_view s, int n) { return TamFixo(s, n); }
inline std::string AjustaR(std::string_view s, int n) { return TamFixoR(s, n); }

// Spaces in front up to `n` characters; a longer text is returned whole (never cut).
std::string PadL(std::string_view s, int n);

// Centred in exactly `width` characters (the odd space goes to the right); longer text cut.
std::string Centraliza(std::string_view s, int width);

// Zeros in front up to `n` characters ("42", 6 -> "000042"; "-42", 6 -> "-00042"). A
// longer text is returned whole: cutting a number would change it.
std::string AjustaZero(std::string_view s, int n);

}  // namespace recebimento::runtime
