#pragma once
// Number display patterns ("0.00", "#,##0.00", "0", "0.0000", "0.00%") under the
// configured number locale. Brazilian by default: decimal ",", thousands ".".
//
// Pattern characters: "0" a digit always shown, "#" a digit shown when significant,
// "." the decimal separator, "," (before the decimal separator) thousands grouping,
// "%" multiplies by 100 and is shown. Text in quotes and any other character is shown
// as it stands, before or after the number. Up to three sections separated by ";"
// format positive; negative (shown without its sign); zero values. Values are rounded
// half away from zero on their decimal value; a value that rounds to zero carries no
// minus sign. An empty pattern gives the shortest text that reads back the same value.
#include <string>
#include <string_view>

namespace recebimento::runtime {

struct NumberLocale {
  char decimal_separator = ',';
  char thousand_separator = '.';
};

NumberLocale BrazilianNumberLocale();
NumberLocale EnglishNumberLocale();

void SetNumberLocale(const NumberLocale& locale);
const NumberLocale& GetNumberLocale();

// Installs a locale for the lifetime of the object (tests), then restores the old one.
class ScopedNumberLocale {
 public:
  explicit ScopedNumberLocale(const NumberLocale& locale) : saved_(GetNumberLocale()) { SetNumberLocale(locale); }
  ~ScopedNumberLocale() { SetNumberLocale(saved_); }
  ScopedNumberLocale(const ScopedNumberLocale&) = delete;
  ScopedNumberLocale& operator=(const ScopedNumberLocale&) = delete;

 private:
  NumberLocale saved_;
};

std::string FormatFloat(std::string_view pattern, double value);
std::string FormatFloat(std::string_view pattern, double value, const NumberLocale& locale);

}  // namespace recebimento::runtime
