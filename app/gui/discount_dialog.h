#pragma once
// The host's discount entry: an amount or a percentage of the sale's total, with an
// optional reason. Amounts are kept in cents so no cent is lost on the way.
#include <optional>
#include <string>
#include <variant>

#include <QString>

class QWidget;

namespace recebimento::gui {

struct DiscountAnswer {
  long long cents = 0;    // the discount in money
  long long percent = 0;  // hundredths of a percent when typed as a percentage; 0 otherwise
  std::string reason;
};

// What the operator typed, checked against the total: the discount, or the message that
// tells what is wrong (nothing typed, not an amount, zero, more than the total, more than
// 100%).
std::variant<DiscountAnswer, QString> EvaluateDiscount(bool as_percentage, const QString& typed, long long total_cents);

std::optional<DiscountAnswer> AskDiscount(const std::string& title, long long total_cents, QWidget* parent = nullptr);

}  // namespace recebimento::gui
