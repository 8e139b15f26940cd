#include "host/runtime/cipher.h"

#include <cstdint>

namespace recebimento::runtime {

namespace {

// Key stream: a 64-bit linear congruential generator seeded from the key; the high byte
// of each state is used.
class KeyStream {
 public:
  explicit KeyStream(int key) : state_(0x9E3779B97F4A7C15ULL ^ static_cast<uint64_t>(static_cast<uint32_t>(key))) {}
  uint8_t Next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<uint8_t>(state_ >> 56);
  }

 private:
  uint64_t state_;
};

// One check byte after the text tells a wrong key or damaged value from a real one.
uint8_t CheckByte(std::string_view plain) {
  uint8_t sum = 0x5A;
  for (const char c : plain) sum = static_cast<uint8_t>((sum * 31) + static_cast<uint8_t>(c));
  return sum;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string Cripto(std::string_view text, int key) {
  static const char kHex[] = "0123456789ABCDEF";
  KeyStream stream(key);
  std::string out;
  out.reserve((text.size() + 1) * 2);
  auto put = [&](uint8_t b) {
    const uint8_t c = b ^ stream.Next();
    out += kHex[c >> 4];
    out += kHex[c & 0x0F];
  };
  for (const char ch : text) put(static_cast<uint8_t>(ch));
  put(CheckByte(text));
  return out;
}

std::string Uncripto(std::string_view text, int key) {
  if (text.size() < 2 || text.size() % 2 != 0) return "";
  KeyStream stream(key);
  std::string plain;
  plain.reserve(text.size() / 2);
  for (size_t i = 0; i < text.size(); i += 2) {
    const int hi = HexValue(text[i]);
    const int lo = HexValue(text[i + 1]);
    if (hi < 0 || lo < 0) return "";
    plain += static_cast<char>(static_cast<uint8_t>((hi << 4) | lo) ^ stream.Next());
  }
  const auto check = static_cast<uint8_t>(plain.back());
  plain.pop_back();
  return CheckByte(plain) == check ? plain : "";
}

}  // namespace recebimento::runtime
