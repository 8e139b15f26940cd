#include "host/runtime/base64.h"

#include <array>
#include <cstdint>

namespace recebimento::runtime {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<int8_t, 256> MakeReverseTable() {
  std::array<int8_t, 256> table{};
  for (auto& entry : table) entry = -1;
  for (int i = 0; i < 64; ++i) table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<int8_t>(i);
  return table;
}

constexpr auto kReverse = MakeReverseTable();

bool IsSkippable(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::string encodeBase64(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    uint32_t group = (static_cast<unsigned char>(bytes[i]) << 16) | (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                     static_cast<unsigned char>(bytes[i + 2]);
    out += kAlphabet[(group >> 18) & 63];
    out += kAlphabet[(group >> 12) & 63];
    out += kAlphabet[(group >> 6) & 63];
    out += kAlphabet[group & 63];
  }
  size_t rest = bytes.size() - i;
  if (rest > 0) {
    uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
    if (rest == 2) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kAlphabet[(group >> 18) & 63];
    out += kAlphabet[(group >> 12) & 63];
    out += rest == 2 ? kAlphabet[(group >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::optional<std::string> decodeBase64(std::string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3);
  uint32_t group = 0;
  int filled = 0;   // sextets in the current group
  int padding = 0;  // "=" seen; only more padding or blanks may follow
  for (char c : text) {
    if (IsSkippable(c)) continue;
    if (c == '=') {
      ++padding;
      continue;
    }
    int8_t value = kReverse[static_cast<unsigned char>(c)];
    if (value < 0 || padding > 0) return std::nullopt;
    group = (group << 6) | static_cast<uint32_t>(value);
    if (++filled == 4) {
      out += static_cast<char>((group >> 16) & 0xFF);
      out += static_cast<char>((group >> 8) & 0xFF);
      out += static_cast<char>(group & 0xFF);
      group = 0;
      filled = 0;
    }
  }
  // A lone sextet cannot carry a byte; padding must complete the last group exactly.
  if (filled == 1) return std::nullopt;
  if (padding > 0 && (filled == 0 || filled + padding != 4)) return std::nullopt;
  if (filled == 2) {
    out += static_cast<char>((group >> 4) & 0xFF);
  } else if (filled == 3) {
    out += static_cast<char>((group >> 10) & 0xFF);
    out += static_cast<char>((group >> 2) & 0xFF);
  }
  return out;
}

}  // namespace recebimento::runtime
