#pragma once
// `recebimento-gui`: a sale paid on the touch screen. The host is the simulated one of
// the scripted run (devices, card terminal, services) with real time on Qt's loop and
// Qt dialogs; with a script, the operator's actions are played on the window and its
// snapshot lines become PNG pictures of the screen.
#include <functional>
#include <string>
#include <vector>

#include "base/data_packet.h"

namespace recebimento::gui {

class ScreenWindow;
class QtEventPump;

struct GuiSaleOptions {
  std::string host_dir = ".";
  std::string sale_path;
  std::string db;               // empty: the embedded store under the host folder
  bool windowed = false;        // a window of the screen's size instead of full screen
  std::string script_path;      // operator actions to play; empty: a person operates
  std::string screenshots_dir;  // snapshot lines of the script write NAME.png here
  // Writes "first paint" on standard output once the screen has painted itself for the
  // first time: what a start-up measure waits for.
  bool report_first_paint = false;
  // Called once the window shows, before the sale starts: lets a test drive the window
  // with real clicks and keys.
  std::function<void(ScreenWindow&, QtEventPump&)> on_window_shown;
};

struct GuiSaleOutcome {
  // As `recebimento run`: 0 the call returned, 2 an exception reached the host, 1 usage
  // or script errors.
  int exit_code = 0;
  bool result = false;
  std::string message;                // the error, when there was one
  std::vector<std::string> printed;   // what the printers printed
  std::vector<std::string> pictures;  // PNG files written
  base::DataPacket payments;          // the host's payment lines (cdsMoviVenda) after the call
};

// Needs a QApplication.
GuiSaleOutcome RunSaleOnScreen(const GuiSaleOptions& options);

}  // namespace recebimento::gui
