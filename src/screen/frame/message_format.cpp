#include "screen/frame/message_format.h"

#include <fmt/format.h>

#include "host/runtime/format.h"

namespace recebimento::screen {

namespace {

constexpr std::string_view kTextPlaceholder = "%s";
constexpr std::string_view kMoneyPlaceholder = "%.2m";

// The currency symbol sits in the pattern so a negative amount reads "-R$ 0,50".
constexpr std::string_view kMoneyPattern = "\"R$ \"#,##0.00";

}  // namespace

std::string MessageArg::AsText() const {
  if (const auto* text = std::get_if<std::string>(&value_)) return *text;
  if (const auto* number = std::get_if<int64_t>(&value_)) return fmt::format("{}", *number);
  return runtime::FormatFloat("0.00", std::get<double>(value_));
}

std::string MessageArg::AsMoney() const {
  if (const auto* text = std::get_if<std::string>(&value_)) return *text;
  if (const auto* number = std::get_if<int64_t>(&value_)) return FormatMoney(static_cast<double>(*number));
  return FormatMoney(std::get<double>(value_));
}

std::string FormatMoney(double amount) { return runtime::FormatFloat(kMoneyPattern, amount); }

std::string FormatMsg(std::string_view text, const std::vector<MessageArg>& args) {
  std::string out;
  out.reserve(text.size());
  size_t next_arg = 0;
  size_t i = 0;
  while (i < text.size()) {
    const std::string_view rest = text.substr(i);
    if (rest.substr(0, kTextPlaceholder.size()) == kTextPlaceholder) {
      if (next_arg < args.size()) out += args[next_arg].AsText();
      ++next_arg;
      i += kTextPlaceholder.size();
    } else if (rest.substr(0, kMoneyPlaceholder.size()) == kMoneyPlaceholder) {
      if (next_arg < args.size()) out += args[next_arg].AsMoney();
      ++next_arg;
      i += kMoneyPlaceholder.size();
    } else {
      out += text[i];
      ++i;
    }
  }
  return out;
}

std::string FormatMsg(std::string_view text, std::initializer_list<MessageArg> args) {
  return FormatMsg(text, std::vector<MessageArg>(args));
}

std::string MsgFmt(std::string_view key, std::initializer_list<MessageArg> args, MessageComponent component) {
  return FormatMsg(Msg(key, component), args);
}

}  // namespace recebimento::screen
