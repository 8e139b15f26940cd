#include "operator_script.h"

#include <fstream>
#include <map>
#include <sstream>

#include "base/text.h"
#include "host_config.h"
#include "json_text.h"
#include "json_values.h"
#include "screen/frame/frm_recebimento.h"
#include "screen/frame/screen_globals.h"

namespace recebimento::harness {

using json = nlohmann::ordered_json;

namespace {

std::string Line(int n) { return "script line " + std::to_string(n); }

// A day: longer waits mean nothing at a register, and keep the virtual clock in range.
constexpr uint64_t kLongestWait = 86'400'000;

// UTF-8 text to code points (a stray byte counts as one character).
std::vector<char32_t> CodePoints(const std::string& s) {
  std::vector<char32_t> out;
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
    if (i + len > s.size()) len = 1;
    char32_t cp = len == 1 ? c : c & (0xFF >> (len + 1));
    for (size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    out.push_back(cp);
    i += len;
  }
  return out;
}

void CheckMembers(const json& action, int number, const std::string& kind, std::initializer_list<const char*> extra) {
  for (const auto& [key, v] : action.items()) {
    if (key == kind) continue;
    bool known = false;
    for (const char* e : extra) known = known || key == e;
    if (!known)
      throw ScriptError(Line(number) + ": unknown member \"" + base::Excerpt(key) + "\" in a " + kind + " line");
  }
}

ScriptLine ParseLine(const std::string& text, int number) {
  json action;
  try {
    action = ParseJsonText(text);
  } catch (const json::parse_error& e) {
    throw ScriptError(Line(number) + ": not valid JSON (" + e.what() + ")");
  } catch (const InputError& e) {
    throw ScriptError(Line(number) + ": " + e.what());
  }
  if (!action.is_object()) throw ScriptError(Line(number) + ": an action is one JSON object");
  static const char* kinds[] = {"click", "key", "type", "answer", "wait", "snapshot"};
  std::string kind;
  for (const char* k : kinds)
    if (action.contains(k)) {
      if (!kind.empty()) throw ScriptError(Line(number) + ": one action per line (" + kind + " and " + k + ")");
      kind = k;
    }
  if (kind.empty()) throw ScriptError(Line(number) + ": expected one of click, key, type, answer, wait, snapshot");
  const json& v = action[kind];
  if (kind == "click" || kind == "type" || kind == "snapshot") {
    if (!v.is_string() || (kind != "type" && v.get<std::string>().empty()))
      throw ScriptError(Line(number) + ": \"" + kind + "\" takes a text");
    CheckMembers(action, number, kind, {});
  } else if (kind == "key") {
    if (!v.is_string()) throw ScriptError(Line(number) + ": \"key\" takes a key name");
    CheckMembers(action, number, kind, {"alt", "shift", "ctrl"});
    for (const char* m : {"alt", "shift", "ctrl"})
      if (action.contains(m) && !action[m].is_boolean())
        throw ScriptError(Line(number) + ": \"" + m + "\" takes true or false");
    try {
      KeyNamed(v.get<std::string>(), false);
    } catch (const std::invalid_argument& e) {
      throw ScriptError(Line(number) + ": " + e.what());
    }
  } else if (kind == "wait") {
    // Parsed whole numbers that are not negative are the unsigned ones.
    if (!v.is_number_unsigned())
      throw ScriptError(Line(number) + ": \"wait\" takes milliseconds (a whole number, not negative)");
    if (v.get<uint64_t>() > kLongestWait)
      throw ScriptError(Line(number) + ": \"wait\" takes at most " + std::to_string(kLongestWait) +
                        " milliseconds (a day); got " + JsonExcerpt(v));
    CheckMembers(action, number, kind, {});
  } else {
    CheckMembers(action, number, kind, {});
  }
  return {number, kind, action};
}

}  // namespace

KeyStroke KeyNamed(const std::string& name, bool shift) {
  static const std::map<std::string, KeyStroke> named = {
      {"Enter", {13, U'\r'}}, {"Escape", {27, 27}},  {"Backspace", {8, 8}},  {"Tab", {9, U'\t'}},
      {"Delete", {46, 0}},    {"Space", {32, U' '}}, {"Left", {37, 0}},      {"Up", {38, 0}},
      {"Right", {39, 0}},     {"Down", {40, 0}},     {"Home", {36, 0}},      {"End", {35, 0}},
      {",", {188, U','}},     {".", {190, U'.'}},    {"Comma", {188, U','}}, {"Period", {190, U'.'}}};
  auto it = named.find(name);
  if (it != named.end()) return it->second;
  if (name.size() >= 2 && name[0] == 'F') {
    try {
      size_t used = 0;
      const int n = std::stoi(name.substr(1), &used);
      if (used == name.size() - 1 && n >= 1 && n <= 12) return {111 + n, 0};
    } catch (const std::exception&) {
    }
  }
  if (name.size() == 1) {
    const char c = name[0];
    if (c >= 'a' && c <= 'z') return {c - 'a' + 65, static_cast<char32_t>(shift ? c - 'a' + 'A' : c)};
    if (c >= 'A' && c <= 'Z') return {c, static_cast<char32_t>(shift ? c : c - 'A' + 'a')};
    if (c >= '0' && c <= '9') return {c, static_cast<char32_t>(c)};
  }
  throw std::invalid_argument("unknown key \"" + name + "\"");
}

OperatorScript OperatorScript::Parse(const std::string& text) {
  OperatorScript script;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (base::Trim(line).empty()) continue;
    script.lines_.push_back(ParseLine(line, number));
  }
  return script;
}

OperatorScript OperatorScript::Load(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw ScriptError(path + ": cannot read the script");
  std::stringstream text;
  text << in.rdbuf();
  try {
    return Parse(text.str());
  } catch (const ScriptError& e) {
    throw ScriptError(path + ": " + e.what());
  }
}

void OperatorScript::Attach(base::VirtualClock* clock, std::function<void()> process_messages, SnapshotFn snapshot) {
  clock_ = clock;
  process_messages_ = std::move(process_messages);
  snapshot_ = std::move(snapshot);
}

void OperatorScript::TakeSnapshots() {
  while (cursor_ < lines_.size() && lines_[cursor_].kind == "snapshot") {
    const ScriptLine& l = lines_[cursor_++];
    if (snapshot_) snapshot_(l.action["snapshot"].get<std::string>());
  }
}

bool OperatorScript::HasAction() const {
  for (size_t i = cursor_; i < lines_.size(); ++i)
    if (lines_[i].kind != "snapshot") return true;
  return false;
}

std::optional<ScriptLine> OperatorScript::NextLine() const {
  if (cursor_ >= lines_.size()) return std::nullopt;
  return lines_[cursor_];
}

void OperatorScript::Fail(const std::string& message) {
  if (on_failure_) on_failure_();
  throw ScriptError(message);
}

std::string OperatorScript::Where() const {
  return cursor_ < lines_.size() ? Line(lines_[cursor_].number) : "the end of the script";
}

bool OperatorScript::RunNext() {
  TakeSnapshots();
  if (cursor_ >= lines_.size()) return false;
  const ScriptLine line = lines_[cursor_++];
  // Snapshots after this line wait for the next turn (or the screen's close), so they see
  // the state once the action's handlers have finished, also those resumed by it.
  Perform(line);
  return true;
}

void OperatorScript::Perform(const ScriptLine& line) {
  const json& a = line.action;
  if (line.kind == "answer") Fail(Line(line.number) + ": an answer, but no dialog is open");
  if (line.kind == "wait") {
    if (pass_time_) {
      pass_time_(a["wait"].get<int64_t>());
      return;
    }
    if (clock_) clock_->Advance(a["wait"].get<int64_t>());
    if (process_messages_) process_messages_();
    return;
  }
  screen::TfrmRecebimento* frm = screen::frmRecebimento;
  if (!frm || !frm->Showing()) Fail(Line(line.number) + ": no screen is waiting for the operator");
  if (line.kind == "click") {
    Press(line);
  } else if (line.kind == "key") {
    const bool shift = a.value("shift", false), alt = a.value("alt", false), ctrl = a.value("ctrl", false);
    const KeyStroke k = KeyNamed(a["key"].get<std::string>(), shift);
    int code = k.code;
    frm->FormKeyDown(code, shift, alt, ctrl);
    // The character follows its key unless Alt or Ctrl make it a command.
    if (k.ch != 0 && !alt && !ctrl && screen::frmRecebimento == frm && frm->Showing()) frm->FormKeyPress(k.ch);
  } else if (line.kind == "type") {
    for (char32_t ch : CodePoints(a["type"].get<std::string>())) {
      if (screen::frmRecebimento != frm || !frm->Showing()) break;
      frm->FormKeyPress(ch);
    }
  }
}

void OperatorScript::Press(const ScriptLine& line) {
  screen::ControlRegistry& controls = screen::frmRecebimento->Controls();
  const std::string name = line.action["click"].get<std::string>();
  const screen::PressCheck check = controls.CheckPress(name);
  switch (check.outcome) {
    case screen::PressCheck::kReaches: controls.Click(name); return;
    case screen::PressCheck::kDisabled:
      // A real press on a disabled button does nothing either; the output tells of it.
      ignored_.push_back({line.number, line.action, check.why});
      return;
    case screen::PressCheck::kUnknown: Fail(Line(line.number) + ": unknown control \"" + base::Excerpt(name) + "\"");
    case screen::PressCheck::kHidden:
    case screen::PressCheck::kNoAction:
      // Nobody could press it: the actions after it would land somewhere unintended.
      Fail(Line(line.number) + ": cannot press \"" + base::Excerpt(name) + "\": " + check.why);
  }
}

std::optional<pos::DialogAnswer> OperatorScript::Next(const pos::DialogRecord& dialog) {
  TakeSnapshots();
  if (cursor_ >= lines_.size() || lines_[cursor_].kind != "answer") return std::nullopt;
  const ScriptLine& l = lines_[cursor_++];
  try {
    return ParseDialogAnswer(l.action["answer"], Line(l.number) + ".answer", dialog.kind);
  } catch (const InputError& e) {
    Fail(e.what());
  }
}

void OperatorScript::Unanswered(const pos::DialogRecord& dialog) {
  const std::string what = dialog.kind + " \"" + (dialog.title.empty() ? dialog.text : dialog.title) + "\"";
  if (cursor_ >= lines_.size())
    Fail("the dialog " + what + " opened and needs an answer, but the script has no more lines");
  Fail(Where() + ": the dialog " + what + " opened and needs an answer, but this line is a " + lines_[cursor_].kind);
}

}  // namespace recebimento::harness
