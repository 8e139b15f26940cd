#pragma once
// Simulated cash drawer, customer display and POS keyboard: they keep their state and
// contents so a test or the scripted run can see what the operator and customer saw.
#include <string>
#include <vector>

#include "host/pos/cash_drawer.h"
#include "host/pos/displays.h"
#include "host/pos/failure_script.h"
#include "host/pos/host_record.h"

namespace recebimento::pos {

struct DrawerConfig {
  bool open = false;          // state at start
  bool closes_itself = true;  // the operator shuts it right after it opens
};

class SimulatedDrawer : public CashDrawer {
 public:
  SimulatedDrawer(DrawerConfig config, HostRecord& record) : config_(config), open_(config.open), record_(record) {}
  FailureScript& Failures() { return failures_; }

  bool Abre_Gaveta_Imp(const std::string& port, const std::string& stIDESQUEMA, bool wait) override;
  // "00" when open, "01" when closed (the drawer kind "1" wiring).
  bool Estado_Gaveta_Imp(const std::string& stIDESQUEMA, std::string& state) override;
  bool AbreGaveta(const std::string& printer_kind, const std::string& port) override;
  int VerificaStatusGaveta(const std::string& printer_kind, const std::string& port) override;

  bool IsOpen() const { return open_; }
  int TimesOpened() const { return opened_; }
  void SetOpen(bool open) { open_ = open; }

 private:
  bool Open(const char* operation);
  DrawerConfig config_;
  bool open_;
  int opened_ = 0;
  HostRecord& record_;
  FailureScript failures_;
};

struct DisplayConfig {
  int width = 20;
  int lines = 2;
  bool keyboard_present = false;  // Teclado_OK
};

class SimulatedDisplays : public CustomerDisplay, public PosKeyboard {
 public:
  SimulatedDisplays(DisplayConfig config, HostRecord& record);

  void LimpaDisplay() override;
  void DisplayEnviaTexto(const std::string& text, int line, int column) override;

  bool Teclado_OK() override;
  void ProcTeclFormFeed() override;
  void ProcTeclGoToXY(int column, int line) override;
  void ProcTeclDispStr(const std::string& text) override;
  void ProcTeclDispClrLn2() override;

  const std::vector<std::string>& CustomerLines() const { return customer_; }
  const std::vector<std::string>& KeyboardLines() const { return keyboard_; }

 private:
  static void Put(std::vector<std::string>& lines, int width, int line, int column, const std::string& text);
  DisplayConfig config_;
  HostRecord& record_;
  std::vector<std::string> customer_;
  std::vector<std::string> keyboard_;
  int kb_line_ = 1;
  int kb_column_ = 1;
};

}  // namespace recebimento::pos
