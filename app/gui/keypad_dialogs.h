#pragma once
// The host's numeric and alphanumeric keypads, sized for fingers; the physical keyboard
// types into them as well.
#include <string>

class QWidget;

namespace recebimento::gui {

struct NumericEntry {
  std::string title;
  std::string caption;
  std::string prompt;
  int max_digits = 0;  // 0: no limit
};

// `value` is proposed and receives what was typed (digits and at most one comma). True
// when confirmed.
bool AskNumber(const NumericEntry& entry, std::string& value, QWidget* parent = nullptr);

// `text` receives what was typed, upper-cased when asked, cut to `max_length`
// characters. True when confirmed.
bool AskText(const std::string& prompt, bool upper_case, int max_length, std::string& text, QWidget* parent = nullptr);

}  // namespace recebimento::gui
