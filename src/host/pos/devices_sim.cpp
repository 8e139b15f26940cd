#include "host/pos/devices_sim.h"

#include <algorithm>

#include "base/text.h"

namespace recebimento::pos {

using base::Variant;

bool SimulatedDrawer::Open(const char* operation) {
  if (failures_.NextCallFails(operation)) return false;
  ++opened_;
  open_ = !config_.closes_itself;
  record_.Print("drawer", "GAVETA ABERTA");
  return true;
}

bool SimulatedDrawer::Abre_Gaveta_Imp(const std::string& port, const std::string& stIDESQUEMA, bool wait) {
  record_.Call("Abre_Gaveta_Imp", {Variant(port), Variant(stIDESQUEMA), Variant(wait)});
  return Open("Abre_Gaveta_Imp");
}

bool SimulatedDrawer::Estado_Gaveta_Imp(const std::string& stIDESQUEMA, std::string& state) {
  record_.Call("Estado_Gaveta_Imp", {Variant(stIDESQUEMA)});
  if (failures_.NextCallFails("Estado_Gaveta_Imp")) return false;
  state = open_ ? "00" : "01";
  return true;
}

bool SimulatedDrawer::AbreGaveta(const std::string& printer_kind, const std::string& port) {
  record_.Call("AbreGaveta", {Variant(printer_kind), Variant(port)});
  return Open("AbreGaveta");
}

int SimulatedDrawer::VerificaStatusGaveta(const std::string& printer_kind, const std::string& port) {
  record_.Call("VerificaStatusGaveta", {Variant(printer_kind), Variant(port)});
  return open_ ? 1 : 0;
}

SimulatedDisplays::SimulatedDisplays(DisplayConfig config, HostRecord& record)
    : config_(config), record_(record), customer_(static_cast<size_t>(std::max(1, config.lines))), keyboard_(2) {}

// Writes text at (line, column), 1-based, within the display's width in characters.
void SimulatedDisplays::Put(std::vector<std::string>& lines, int width, int line, int column, const std::string& text) {
  if (line < 1 || line > static_cast<int>(lines.size()) || column < 1) return;
  std::string& l = lines[static_cast<size_t>(line - 1)];
  l = base::Utf8PadRight(l, static_cast<size_t>(column - 1));
  std::string before = base::Utf8Left(l, static_cast<size_t>(column - 1));
  std::string after = base::Utf8Mid(l, static_cast<size_t>(column - 1) + base::Utf8Length(text), std::string::npos);
  l = base::Utf8Left(before + text + after, static_cast<size_t>(width));
}

void SimulatedDisplays::LimpaDisplay() {
  record_.Call("LimpaDisplay");
  for (auto& l : customer_) l.clear();
}

void SimulatedDisplays::DisplayEnviaTexto(const std::string& text, int line, int column) {
  record_.Call("DisplayEnviaTexto", {Variant(text), Variant(line), Variant(column)});
  Put(customer_, config_.width, line, column, text);
}

bool SimulatedDisplays::Teclado_OK() {
  record_.Call("Teclado_OK");
  return config_.keyboard_present;
}

void SimulatedDisplays::ProcTeclFormFeed() {
  record_.Call("ProcTeclFormFeed");
  for (auto& l : keyboard_) l.clear();
  kb_line_ = kb_column_ = 1;
}

void SimulatedDisplays::ProcTeclGoToXY(int column, int line) {
  record_.Call("ProcTeclGoToXY", {Variant(column), Variant(line)});
  kb_column_ = column;
  kb_line_ = line;
}

void SimulatedDisplays::ProcTeclDispStr(const std::string& text) {
  record_.Call("ProcTeclDispStr", {Variant(text)});
  Put(keyboard_, 40, kb_line_, kb_column_, text);
  kb_column_ += static_cast<int>(base::Utf8Length(text));
}

void SimulatedDisplays::ProcTeclDispClrLn2() {
  record_.Call("ProcTeclDispClrLn2");
  keyboard_[1].clear();
}

}  // namespace recebimento::pos
