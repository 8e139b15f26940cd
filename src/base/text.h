#pragma once
// UTF-8 text helpers. Every length, cut and padding counts characters (code points),
// never bytes, so fixed-width columns and "first N characters" stay right for accented
// Portuguese text. Invalid UTF-8 never fails: each stray byte counts as one character.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace recebimento::base {

size_t Utf8Length(std::string_view s);

// Cuts by characters. Positions are 0-based; counts beyond the text are clamped.
std::string Utf8Left(std::string_view s, size_t n);
std::string Utf8Right(std::string_view s, size_t n);
std::string Utf8Mid(std::string_view s, size_t start, size_t n = std::string_view::npos);
// The older host code's Copy: 1-based index (values below 1 read as 1).
std::string Utf8Copy(std::string_view s, long long index, long long count);
// At most n characters; when the text is cut and `suffix` is given ("..."), the result
// ends with it and still has at most n characters.
std::string Utf8Truncate(std::string_view s, size_t n, std::string_view suffix = {});

// Pads to n characters with the first character of `fill`; a longer text is left as is.
std::string Utf8PadRight(std::string_view s, size_t n, std::string_view fill = " ");
std::string Utf8PadLeft(std::string_view s, size_t n, std::string_view fill = " ");
// Centres in n characters (the odd extra space goes to the right); longer text is cut.
std::string Utf8Center(std::string_view s, size_t n, std::string_view fill = " ");

// Case mapping of ASCII and the Latin-1 letters (á é í ó ú â ê ô ã õ ç à ü ...).
std::string Utf8Upper(std::string_view s);
std::string Utf8Lower(std::string_view s);
bool IEquals(std::string_view a, std::string_view b);  // equal ignoring case (accents kept)

// Removes control characters and spaces (anything up to ' ') at the ends.
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);

bool StartsWith(std::string_view s, std::string_view prefix);
bool EndsWith(std::string_view s, std::string_view suffix);
bool IStartsWith(std::string_view s, std::string_view prefix);

// Pieces between separators, empty pieces kept ("a;;b" -> "a", "", "b"; "" -> one "").
std::vector<std::string> Split(std::string_view s, std::string_view separator);

// True when every byte sequence is well-formed UTF-8.
bool IsValidUtf8(std::string_view s);
// Text in the Windows Western code page (what older Windows hosts write) to UTF-8.
std::string Windows1252ToUtf8(std::string_view s);
// UTF-8 as is; anything that is not valid UTF-8 is taken as Windows-1252.
std::string EnsureUtf8(std::string_view s);

// A text as an error message may quote it: valid UTF-8 kept, control characters and
// bytes that are not UTF-8 written as "\xNN", and at most `max_chars` characters (then
// "..."). Whatever the input, the result is valid UTF-8 of bounded length.
std::string Excerpt(std::string_view s, size_t max_chars = 80);

// ASCII folding for devices that cannot print accents: "Ação" -> "Acao". Typographic
// quotes and dashes become their ASCII forms; any other non-ASCII character becomes "?".
std::string RemoveAccents(std::string_view s);

}  // namespace recebimento::base
