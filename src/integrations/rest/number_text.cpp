#include "integrations/rest/number_text.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "host/runtime/format.h"

namespace recebimento::integrations {

double ToFloat(const std::string& Text) {
  std::string text = Text.empty() ? "0" : Text;
  std::replace(text.begin(), text.end(), ',', '.');
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(begin, &end);
  // strtod also reads hexadecimal, "inf" and "nan", and skips leading blanks: none of
  // them is an amount.
  const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
  });
  if (!plain || end != begin + text.size() || errno == ERANGE || !std::isfinite(value))
    throw NumberConversionError("'" + Text + "' is not a valid floating point value");
  return value;
}

std::string FormataFloat(double Value) {
  std::string text = runtime::FormatFloat("0.00", Value);
  std::replace(text.begin(), text.end(), ',', '.');
  return text;
}

}  // namespace recebimento::integrations
