#include "screen/payment/typed_amount.h"

#include <cstdlib>

#include "host/runtime/format.h"

namespace recebimento::screen {

double TypedAmount(const std::string& text) {
  const runtime::NumberLocale& loc = runtime::GetNumberLocale();
  std::string plain;
  for (const char ch : text) {
    if (ch >= '0' && ch <= '9')
      plain += ch;
    else if (ch == loc.decimal_separator)
      plain += '.';
    else if (ch == '-' && plain.empty())
      plain += ch;
    else if (ch != loc.thousand_separator && ch != ' ')
      return 0;
  }
  if (plain.empty() || plain == "-" || plain == ".") return 0;
  char* end = nullptr;
  const double v = std::strtod(plain.c_str(), &end);
  return end && *end == '\0' ? v : 0;
}

}  // namespace recebimento::screen
