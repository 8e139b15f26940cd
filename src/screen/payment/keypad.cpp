// The on-screen keypad: digits, separator and correction typed as keys, the Enter with
// its guard and the receipt limit, and the way back to the tender grid.
#include <string>

#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/payment/keyboard.h"
#include "screen/payment/typed_amount.h"

namespace recebimento::screen {

namespace {

// Sets a flag for as long as the handler runs.
struct Busy {
  bool& flag;
  explicit Busy(bool& f) : flag(f) { flag = true; }
  ~Busy() { flag = false; }
};

}  // namespace

void Keyboard::PressDigit(const std::string& sender) {
  const Control* b = s_.controls.FindComponent(sender);
  if (!b || b->tag < '0' || b->tag > '9') return;
  PostText(std::string(1, static_cast<char>(b->tag)), false, true);
}

void Keyboard::PressDoubleZero() { PostText("00", false, true); }

void Keyboard::PressTripleZero() { PostText("000", false, true); }

void Keyboard::PressSeparator() { PostText(std::string(1, runtime::GetNumberLocale().decimal_separator), false, true); }

void Keyboard::PressCorrect() { PostText("\b", false, false); }

void Keyboard::PressEnter() {
  if (boProcessandoEnter) return;
  Busy busy(boProcessandoEnter);
  if (Control* value = TypedValueLabel()) stValorDigitado = value->caption;
  const bool typed = !stValorDigitado.empty();
  doVrDigitado = typed ? TypedAmount(stValorDigitado) : 0;
  if (AboveLimit(doVrDigitado) || AboveLimit(doVrDigitado + s_.sale.doVrPago)) {
    s_.ShowMessage(Msg("Lim_Pag"), runtime::kMsgPrompt);
    s_.parts.grid.CtrlBotoes("D", 1);
    return;
  }
  // The button area changes before the Enter is handled, as it did when the key was
  // only queued to the window: the tender waiting for it sets its own mode afterwards.
  if (typed && doVrDigitado != 0) s_.parts.grid.CtrlBotoes("P", 1);
  PostText("", true, true);
}

void Keyboard::BackToGrid() { s_.parts.grid.CtrlBotoes("D", 1); }

}  // namespace recebimento::screen
