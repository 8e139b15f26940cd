#include "base/text.h"

#include <algorithm>

namespace recebimento::base {

namespace {

// Bytes taken by the character at p; 1 for a stray or malformed byte.
size_t CharLength(std::string_view s, size_t p) {
  const auto b = static_cast<unsigned char>(s[p]);
  size_t len = 1;
  if (b >= 0xC2 && b <= 0xDF) {
    len = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    len = 3;
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4;
  } else {
    return 1;
  }
  if (p + len > s.size()) return 1;
  for (size_t i = 1; i < len; ++i) {
    if ((static_cast<unsigned char>(s[p + i]) & 0xC0) != 0x80) return 1;
  }
  return len;
}

// Code point at p (a stray byte reads as itself, outside the valid range).
char32_t Decode(std::string_view s, size_t p, size_t len) {
  const auto b0 = static_cast<unsigned char>(s[p]);
  if (len == 1) return b0 < 0x80 ? b0 : 0x110000 + b0;
  char32_t cp = len == 2 ? (b0 & 0x1F) : len == 3 ? (b0 & 0x0F) : (b0 & 0x07);
  for (size_t i = 1; i < len; ++i) cp = (cp << 6) | (static_cast<unsigned char>(s[p + i]) & 0x3F);
  return cp;
}

void Encode(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Byte offset of character number n (or the end).
size_t ByteOffset(std::string_view s, size_t n) {
  size_t p = 0;
  while (n > 0 && p < s.size()) {
    p += CharLength(s, p);
    --n;
  }
  return p;
}

std::string_view FirstChar(std::string_view fill) {
  if (fill.empty()) return " ";
  return fill.substr(0, CharLength(fill, 0));
}

std::string Repeat(std::string_view unit, size_t n) {
  std::string out;
  out.reserve(unit.size() * n);
  for (size_t i = 0; i < n; ++i) out += unit;
  return out;
}

// Applies a code-point mapping; malformed bytes are copied unchanged.
template <typename Map>
std::string MapChars(std::string_view s, Map map) {
  std::string out;
  out.reserve(s.size());
  for (size_t p = 0; p < s.size();) {
    const size_t len = CharLength(s, p);
    const char32_t cp = Decode(s, p, len);
    if (cp >= 0x110000) {
      out += s[p];
    } else {
      map(cp, out);
    }
    p += len;
  }
  return out;
}

char32_t UpperOf(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  if (c == 0xFF) return 0x178;
  return c;
}

char32_t LowerOf(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c == 0x178) return 0xFF;
  return c;
}

bool IsSpaceByte(char c) { return static_cast<unsigned char>(c) <= ' '; }

const char* AsciiFold(char32_t c) {
  static const char* const kLatin1[] = {
      // U+00C0 .. U+00FF
      "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I",  "I",   //
      "D", "N", "O", "O", "O", "O", "O",  "x", "O", "U", "U", "U", "U", "Y", "TH", "ss",  //
      "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",   //
      "d", "n", "o", "o", "o", "o", "o",  "/", "o", "u", "u", "u", "u", "y", "th", "y"};
  if (c >= 0xC0 && c <= 0xFF) return kLatin1[c - 0xC0];
  switch (c) {
    case 0xA0: return " ";
    case 0xAA: return "a";  // ª
    case 0xBA: return "o";  // º
    case 0xB0: return "o";  // °
    case 0x2018:
    case 0x2019: return "'";
    case 0x201C:
    case 0x201D: return "\"";
    case 0x2013:
    case 0x2014: return "-";
    case 0x2026: return "...";
    case 0x20AC: return "EUR";
    default: return "?";
  }
}

}  // namespace

size_t Utf8Length(std::string_view s) {
  size_t n = 0;
  for (size_t p = 0; p < s.size(); p += CharLength(s, p)) ++n;
  return n;
}

std::string Utf8Left(std::string_view s, size_t n) { return std::string(s.substr(0, ByteOffset(s, n))); }

std::string Utf8Right(std::string_view s, size_t n) {
  const size_t len = Utf8Length(s);
  return len <= n ? std::string(s) : std::string(s.substr(ByteOffset(s, len - n)));
}

std::string Utf8Mid(std::string_view s, size_t start, size_t n) {
  const size_t b = ByteOffset(s, start);
  const std::string_view rest = s.substr(b);
  return n == std::string_view::npos ? std::string(rest) : std::string(rest.substr(0, ByteOffset(rest, n)));
}

std::string Utf8Copy(std::string_view s, long long index, long long count) {
  if (count <= 0) return {};
  const size_t start = index < 1 ? 0 : static_cast<size_t>(index - 1);
  return Utf8Mid(s, start, static_cast<size_t>(count));
}

std::string Utf8Truncate(std::string_view s, size_t n, std::string_view suffix) {
  if (Utf8Length(s) <= n) return std::string(s);
  const size_t suffix_len = Utf8Length(suffix);
  if (suffix_len >= n) return Utf8Left(suffix, n);
  return Utf8Left(s, n - suffix_len) + std::string(suffix);
}

std::string Utf8PadRight(std::string_view s, size_t n, std::string_view fill) {
  const size_t len = Utf8Length(s);
  return len >= n ? std::string(s) : std::string(s) + Repeat(FirstChar(fill), n - len);
}

std::string Utf8PadLeft(std::string_view s, size_t n, std::string_view fill) {
  const size_t len = Utf8Length(s);
  return len >= n ? std::string(s) : Repeat(FirstChar(fill), n - len) + std::string(s);
}

std::string Utf8Center(std::string_view s, size_t n, std::string_view fill) {
  const size_t len = Utf8Length(s);
  if (len >= n) return Utf8Left(s, n);
  const size_t left = (n - len) / 2;
  const std::string_view unit = FirstChar(fill);
  return Repeat(unit, left) + std::string(s) + Repeat(unit, n - len - left);
}

std::string Utf8Upper(std::string_view s) {
  return MapChars(s, [](char32_t c, std::string& out) { Encode(UpperOf(c), out); });
}

std::string Utf8Lower(std::string_view s) {
  return MapChars(s, [](char32_t c, std::string& out) { Encode(LowerOf(c), out); });
}

bool IEquals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;  // the mapped letters keep their byte length
  return Utf8Upper(a) == Utf8Upper(b);
}

std::string TrimLeft(std::string_view s) {
  size_t b = 0;
  while (b < s.size() && IsSpaceByte(s[b])) ++b;
  return std::string(s.substr(b));
}

std::string TrimRight(std::string_view s) {
  size_t e = s.size();
  while (e > 0 && IsSpaceByte(s[e - 1])) --e;
  return std::string(s.substr(0, e));
}

std::string Trim(std::string_view s) { return TrimLeft(TrimRight(s)); }

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

bool EndsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

bool IStartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && IEquals(s.substr(0, prefix.size()), prefix);
}

std::vector<std::string> Split(std::string_view s, std::string_view separator) {
  std::vector<std::string> out;
  if (separator.empty()) {
    out.emplace_back(s);
    return out;
  }
  size_t from = 0;
  for (;;) {
    const size_t at = s.find(separator, from);
    if (at == std::string_view::npos) {
      out.emplace_back(s.substr(from));
      return out;
    }
    out.emplace_back(s.substr(from, at - from));
    from = at + separator.size();
  }
}

bool IsValidUtf8(std::string_view s) {
  for (size_t p = 0; p < s.size();) {
    const size_t len = CharLength(s, p);
    if (len == 1 && static_cast<unsigned char>(s[p]) >= 0x80) return false;
    if (len > 1) {
      const char32_t cp = Decode(s, p, len);
      const bool overlong = (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000);
      if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    }
    p += len;
  }
  return true;
}

std::string Windows1252ToUtf8(std::string_view s) {
  // 0x80..0x9F differ from Latin-1; 0 marks the five unassigned bytes.
  static const char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                     0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  std::string out;
  out.reserve(s.size() + s.size() / 4);
  for (char ch : s) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x80) {
      out += ch;
    } else if (b < 0xA0) {
      Encode(kHigh[b - 0x80] ? kHigh[b - 0x80] : 0xFFFD, out);
    } else {
      Encode(b, out);
    }
  }
  return out;
}

std::string EnsureUtf8(std::string_view s) { return IsValidUtf8(s) ? std::string(s) : Windows1252ToUtf8(s); }

std::string Excerpt(std::string_view s, size_t max_chars) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  size_t chars = 0;
  for (size_t p = 0; p < s.size();) {
    if (chars == max_chars) {
      out += "...";
      break;
    }
    const size_t len = CharLength(s, p);
    const char32_t cp = Decode(s, p, len);
    const bool well_formed = len == 1 ? cp < 0x80 : IsValidUtf8(s.substr(p, len));
    if (well_formed && cp >= 0x20 && cp != 0x7F) {
      out.append(s.substr(p, len));
    } else {
      // A control character or a byte that is not UTF-8: shown, never passed on raw.
      for (size_t i = 0; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[p + i]);
        out += "\\x";
        out += kHex[b >> 4];
        out += kHex[b & 0xF];
      }
    }
    ++chars;
    p += len;
  }
  return out;
}

std::string RemoveAccents(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t p = 0; p < s.size();) {
    const size_t len = CharLength(s, p);
    const char32_t cp = Decode(s, p, len);
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else {
      out += AsciiFold(cp);
    }
    p += len;
  }
  return out;
}

}  // namespace recebimento::base
