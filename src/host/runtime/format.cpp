#include "host/runtime/format.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "host/runtime/numbers.h"

namespace recebimento::runtime {

namespace {

NumberLocale g_locale{',', '.'};  // Brazilian until the host says otherwise

// The longest fraction a pattern may ask for: beyond it a double has no exact cents left.
constexpr int kMaxDecimals = 15;

struct NumberPattern {
  std::string prefix;
  std::string suffix;
  int min_integer_digits = 0;
  int min_decimals = 0;
  int max_decimals = 0;
  bool grouping = false;
  bool percent = false;
  bool has_digits = false;
};

// Splits the pattern into its ";" sections, quotes respected.
std::vector<std::string_view> Sections(std::string_view pattern) {
  std::vector<std::string_view> sections;
  char quote = 0;
  size_t start = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      sections.push_back(pattern.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(pattern.substr(start));
  return sections;
}

NumberPattern Parse(std::string_view section) {
  NumberPattern p;
  bool in_fraction = false;
  for (size_t i = 0; i < section.size(); ++i) {
    const char c = section[i];
    std::string& literal = p.has_digits ? p.suffix : p.prefix;
    if (c == '"' || c == '\'') {
      const size_t end = section.find(c, i + 1);
      const size_t stop = end == std::string_view::npos ? section.size() : end;
      literal += section.substr(i + 1, stop - i - 1);
      i = stop;
    } else if (c == '0' || c == '#') {
      p.has_digits = true;
      if (in_fraction) {
        ++p.max_decimals;
        if (c == '0') p.min_decimals = p.max_decimals;
      } else if (c == '0') {
        ++p.min_integer_digits;
      }
    } else if (c == '.' && !in_fraction) {
      in_fraction = true;
    } else if (c == ',' && !in_fraction) {
      p.grouping = true;
    } else {
      if (c == '%') p.percent = true;
      literal += c;
    }
  }
  p.max_decimals = std::min(p.max_decimals, kMaxDecimals);
  p.min_decimals = std::min(p.min_decimals, p.max_decimals);
  return p;
}

std::string Group(const std::string& digits, char separator) {
  std::string out;
  const size_t n = digits.size();
  for (size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return out;
}

// Formats a non-negative value already rounded to the pattern's decimals.
std::string FormatMagnitude(const NumberPattern& p, double magnitude, const NumberLocale& locale) {
  // The value is the double nearest to a decimal with max_decimals places, so printing
  // with that many places gives back exactly its digits.
  const std::string plain = fmt::format("{:.{}f}", magnitude, p.max_decimals);
  const size_t point = plain.find('.');
  std::string integer = plain.substr(0, point);
  std::string fraction = point == std::string::npos ? "" : plain.substr(point + 1);

  while (static_cast<int>(fraction.size()) > p.min_decimals && fraction.back() == '0') fraction.pop_back();
  if (integer == "0" && p.min_integer_digits == 0) integer.clear();
  if (static_cast<int>(integer.size()) < p.min_integer_digits) {
    integer.insert(0, static_cast<size_t>(p.min_integer_digits) - integer.size(), '0');
  }
  if (p.grouping) integer = Group(integer, locale.thousand_separator);

  std::string text = integer;
  if (!fraction.empty()) text += locale.decimal_separator + fraction;
  return text;
}

std::string ShortestText(double value, const NumberLocale& locale) {
  std::string text = fmt::format("{}", value);
  std::replace(text.begin(), text.end(), '.', locale.decimal_separator);
  return text;
}

double RoundedMagnitude(const NumberPattern& p, double value) {
  return RoundDec(std::fabs(p.percent ? value * 100 : value), p.max_decimals);
}

std::string Render(const NumberPattern& p, double value, const NumberLocale& locale, bool with_sign) {
  const double magnitude = RoundedMagnitude(p, value);
  const std::string number = p.has_digits ? FormatMagnitude(p, magnitude, locale) : "";
  const bool sign = with_sign && value < 0 && magnitude != 0;
  return (sign ? "-" : "") + p.prefix + number + p.suffix;
}

}  // namespace

NumberLocale BrazilianNumberLocale() { return NumberLocale{',', '.'}; }
NumberLocale EnglishNumberLocale() { return NumberLocale{'.', ','}; }

void SetNumberLocale(const NumberLocale& locale) { g_locale = locale; }
const NumberLocale& GetNumberLocale() { return g_locale; }

std::string FormatFloat(std::string_view pattern, double value) { return FormatFloat(pattern, value, g_locale); }

std::string FormatFloat(std::string_view pattern, double value, const NumberLocale& locale) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  const std::vector<std::string_view> sections = Sections(pattern);

  if (sections.size() == 1 && sections[0].empty()) return ShortestText(value, locale);

  const NumberPattern positive = Parse(sections[0]);
  if (sections.size() >= 3 && !sections[2].empty() && RoundedMagnitude(positive, value) == 0) {
    return Render(Parse(sections[2]), 0, locale, false);
  }
  // The negative section writes its own marks instead of the minus sign.
  if (value < 0 && sections.size() >= 2 && !sections[1].empty())
    return Render(Parse(sections[1]), value, locale, false);
  return Render(positive, value, locale, true);
}

}  // namespace recebimento::runtime
