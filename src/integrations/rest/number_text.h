#pragma once
// Amounts in the integrations' request and response texts.
#include <stdexcept>
#include <string>

namespace recebimento::integrations {

// A text that is not a number.
class NumberConversionError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// The number of `Text`, whichever of "." or "," it uses as decimal separator; an empty
// text is 0. NumberConversionError for anything else (a text with both, or with
// thousands separators, is not a number here).
double ToFloat(const std::string& Text);

// `Value` with two decimals and "." as separator, whatever the locale: 1234.5 gives
// "1234.50", 0 gives "0.00".
std::string FormataFloat(double Value);

}  // namespace recebimento::integrations
