#include "screen/card/tef_panel.h"

#include <string>

namespace recebimento::screen {

namespace {

std::string SecondsCaption(int seconds) { return "( " + std::to_string(seconds) + " )"; }

}  // namespace

TefPanel::TefPanel(ScreenScope& s) : s_(s), timCount(s.ctx.pump, 1000, [this] { timCountTimer(); }) {}

void TefPanel::Show(const std::string& text) {
  ControlRegistry& c = s_.controls;
  inSegundos = 0;
  c.SetCaption("lblSegundos", SecondsCaption(inSegundos));
  c.SetVisible("lblSegundos", true);
  c.SetCaption("lblTef", text);
  c.SetVisible("panTef", true);
  timCount.SetEnabled(true);
  s_.ctx.pump.ProcessMessages();
}

void TefPanel::Hide() {
  timCount.SetEnabled(false);
  s_.controls.SetVisible("panTef", false);
}

void TefPanel::timCountTimer() {
  ++inSegundos;
  s_.controls.SetCaption("lblSegundos", SecondsCaption(inSegundos));
}

}  // namespace recebimento::screen
