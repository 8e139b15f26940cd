#include "host/runtime/strings.h"

#include "base/text.h"

namespace recebimento::runtime {

namespace {

size_t Width(int n) { return n > 0 ? static_cast<size_t>(n) : 0; }

}  // namespace

bool EmptyString(std::string_view s) {
  for (const char c : s) {
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\v' && c != '\f') return false;
  }
  return true;
}

std::string TamFixo(std::string_view s, int n) { return base::Utf8PadRight(base::Utf8Left(s, Width(n)), Width(n)); }

std::string TamFixoR(std::string_view s, int n) { return base::Utf8PadLeft(base::Utf8Left(s, Width(n)), Width(n)); }

std::string PadL(std::string_view s, int n) { return base::Utf8PadLeft(s, Width(n)); }

std::string Centraliza(std::string_view s, int width) { return base::Utf8Center(s, Width(width)); }

std::string AjustaZero(std::string_view s, int n) {
  // The sign stays in front of the zeros.
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    return std::string(1, s.front()) + base::Utf8PadLeft(s.substr(1), Width(n - 1), "0");
  }
  return base::Utf8PadLeft(s, Width(n), "0");
}

}  // namespace recebimento::runtime
