#pragma once
// The amount the operator typed on the keypad or the keyboard, and the most one sale
// takes. The Enter key and the keypad's Enter read both the same way.
#include <string>

namespace recebimento::screen {

// The most the fiscal printers take for a sale.
constexpr double kPaymentLimit = 999999.99;

// The typed text ("1.234,5") as a number under the configured locale: digits, the
// decimal separator, thousands separators and blanks; anything else reads as 0, which
// Enter refuses like an empty value.
double TypedAmount(const std::string& text);

// Above the limit. The margin only absorbs the binary noise of a sum of two amounts,
// never a typed fraction of a cent (999999.991 is above).
inline bool AboveLimit(double amount) { return amount > kPaymentLimit + 5e-7; }

}  // namespace recebimento::screen
