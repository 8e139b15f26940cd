#pragma once
// The screen's message table. Every text the screen shows or prints from its own
// vocabulary lives in one of two message components, each a list of "key|text" lines
// kept in their stored order. Texts may hold "%s" and "%.2m" placeholders, filled in
// order with FormatMsg (screen/message_format.h); texts that end in a space or a colon
// are labels the caller appends a value to.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace recebimento::screen {

// A message component: "key|text" lines, looked up by key.
class TMessages {
 public:
  TMessages() = default;
  // Each line is a key, a bar and the text; a line without a bar is a key with an
  // empty text.
  explicit TMessages(std::vector<std::string> lines);

  // The text after the bar of the first line whose key equals `key` (exact, case
  // included). An unknown key gives an empty text, as the host library does; use Find
  // to tell the two apart.
  std::string Msg(std::string_view key) const;
  std::optional<std::string> Find(std::string_view key) const;
  bool Contains(std::string_view key) const { return Find(key).has_value(); }

  // The same lookup ignoring ASCII letter case ("MESA" finds "Mesa").
  std::optional<std::string> FindIgnoringCase(std::string_view key) const;

  int Count() const { return static_cast<int>(lines_.size()); }
  const std::vector<std::string>& Lines() const { return lines_; }
  std::string KeyAt(int index) const;   // empty outside 0..Count()-1
  std::string TextAt(int index) const;  // empty outside 0..Count()-1

 private:
  std::vector<std::string> lines_;
};

// The screen's two components (built once, on first use).
const TMessages& msgPadrao();
const TMessages& msgPadrao2();

// Texts of keys the screen's flows name but neither component holds (the TEF return
// text, the drawer failure, service quotas, zero prices). Consulted only by Msg below.
const TMessages& msgComplementar();

enum class MessageComponent { msgPadrao, msgPadrao2 };

// The screen's lookup. The chosen component answers first (exact key, then ignoring
// letter case, since callers spell some title keys in capitals); a key it lacks is then
// looked up in the other component and in msgComplementar, so the operator never gets
// an empty dialog for a known key. A key found nowhere gives an empty text.
std::string Msg(std::string_view key, MessageComponent component = MessageComponent::msgPadrao);

}  // namespace recebimento::screen
