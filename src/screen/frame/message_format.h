#pragma once
// Fills the placeholders of a message text, the way the screen's callers compose them:
// "%s" takes a text and "%.2m" an amount as money: the currency symbol, a blank and two
// decimals ("R$ 1.234,56" under the Brazilian number locale), which is how the texts
// that carry "%.2m" read ("Saldo pessoal de R$ 12,00 insuficiente ..."). Placeholders
// are filled in order. Any other "%" is part of the text ("10% do valor"). Missing values
// leave their placeholders empty; extra values are ignored.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "screen/frame/message_table.h"

namespace recebimento::screen {

// One value for a placeholder. A number given to "%s" is written with two decimals
// (the only numbers the screen puts in its texts are amounts) and an integer as its
// digits; a text given to "%.2m" is taken as already formatted.
class MessageArg {
 public:
  MessageArg(std::string text) : value_(std::move(text)) {}                // NOLINT: implicit on purpose
  MessageArg(std::string_view text) : value_(std::string(text)) {}         // NOLINT
  MessageArg(const char* text) : value_(std::string(text ? text : "")) {}  // NOLINT
  MessageArg(double amount) : value_(amount) {}                            // NOLINT
  MessageArg(int number) : value_(static_cast<int64_t>(number)) {}         // NOLINT
  MessageArg(int64_t number) : value_(number) {}                           // NOLINT

  std::string AsText() const;   // for "%s"
  std::string AsMoney() const;  // for "%.2m"

 private:
  std::variant<std::string, double, int64_t> value_;
};

// An amount as money with two decimals: "R$ 1.234,56", "-R$ 0,50", under the configured
// number locale (runtime::GetNumberLocale).
std::string FormatMoney(double amount);

std::string FormatMsg(std::string_view text, const std::vector<MessageArg>& args);
std::string FormatMsg(std::string_view text, std::initializer_list<MessageArg> args);

// Looks the key up with Msg and fills its placeholders.
std::string MsgFmt(std::string_view key, std::initializer_list<MessageArg> args,
                   MessageComponent component = MessageComponent::msgPadrao);

}  // namespace recebimento::screen
