#pragma once
// SCRIPT.jsonl: one operator action per line, taken in order each time the screen waits
// ({"click"}, {"key"}, {"type"}, {"wait"}); {"answer"} lines answer the dialog that is
// open; {"snapshot"} lines record the screen's state without using up a wait.
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "base/clock.h"
#include "base/event_pump.h"
#include "host/pos/dialogs_sim.h"

namespace recebimento::harness {

// A script that cannot go on: the message names the line.
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ScriptLine {
  int number = 0;    // 1-based line in the file
  std::string kind;  // "click", "key", "type", "answer", "wait", "snapshot"
  nlohmann::ordered_json action;
};

// An action the screen let pass, as it would a real operator's: a press on a visible but
// disabled control. The run goes on.
struct IgnoredAction {
  int line = 0;
  nlohmann::ordered_json action;
  std::string why;
};

// Windows virtual-key code and the character a key name gives ("Enter" -> 13, '\r').
struct KeyStroke {
  int code = 0;
  char32_t ch = 0;  // 0: the key types nothing
};
// InputError-style std::invalid_argument for an unknown key name.
KeyStroke KeyNamed(const std::string& name, bool shift);

class OperatorScript : public pos::DialogAnswerSource {
 public:
  using SnapshotFn = std::function<void(const std::string& name)>;

  // ScriptError naming the line for a malformed one.
  static OperatorScript Parse(const std::string& text);
  static OperatorScript Load(const std::string& path);

  void Attach(base::VirtualClock* clock, std::function<void()> process_messages, SnapshotFn snapshot);
  // How a "wait" line lets its milliseconds pass, instead of moving the clock at once:
  // a scripted pump passes them timer by timer, so each timer fires at its own moment.
  void OnWait(std::function<void(int64_t)> pass_time) { pass_time_ = std::move(pass_time); }
  // Runs just before a script error is raised, while the screen still stands as the
  // error found it.
  void OnFailure(std::function<void()> hook) { on_failure_ = std::move(hook); }

  // Performs the next operator action; false when the script has none left.
  bool RunNext();
  bool HasAction() const;
  // Records the snapshot lines that come next (the screen calls it when it closes).
  void TakeSnapshots();
  int LinesUsed() const { return static_cast<int>(cursor_); }
  size_t Size() const { return lines_.size(); }
  // The first line not yet taken, if any (after the screen closed: a line left over).
  std::optional<ScriptLine> NextLine() const;
  const std::vector<IgnoredAction>& Ignored() const { return ignored_; }

  std::optional<pos::DialogAnswer> Next(const pos::DialogRecord& dialog) override;
  [[noreturn]] void Unanswered(const pos::DialogRecord& dialog) override;

 private:
  void Perform(const ScriptLine& line);
  void Press(const ScriptLine& line);
  std::string Where() const;
  [[noreturn]] void Fail(const std::string& message);

  std::vector<ScriptLine> lines_;
  size_t cursor_ = 0;
  base::VirtualClock* clock_ = nullptr;
  std::function<void()> process_messages_;
  std::function<void(int64_t)> pass_time_;
  SnapshotFn snapshot_;
  std::function<void()> on_failure_;
  std::vector<IgnoredAction> ignored_;
};

}  // namespace recebimento::harness
