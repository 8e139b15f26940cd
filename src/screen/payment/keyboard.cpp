// The keyboard: keys and characters from the PC keyboard and the POS keyboard, the value
// being typed, the Enter procedure, the shortcuts to the function buttons.
#include "screen/payment/keyboard.h"

#include <cstdlib>
#include <string>

#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/payment/typed_amount.h"

namespace recebimento::screen {

namespace {

constexpr int kBackspace = 8, kEnter = 13, kEscape = 27, kDelete = 46;
constexpr int kKeyC = 67, kKeyD = 68, kKeyL = 76, kKeyO = 79, kKeyV = 86;
constexpr int kF1 = 112, kF4 = 115;

// Removes the last character (not byte) of `s`.
void RemoveLastCharacter(std::string& s) {
  const size_t n = base::Utf8Length(s);
  if (n > 0) s = base::Utf8Left(s, n - 1);
}

// The code point of a text of one UTF-8 character.
char32_t FirstCodePoint(const std::string& c) {
  const auto b = [&](size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(c[i])); };
  if (c.empty()) return 0;
  if (b(0) < 0x80 || c.size() == 1) return b(0);
  if (c.size() == 2) return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
  if (c.size() == 3) return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
  return ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
}

}  // namespace

void Keyboard::KeybEnabled(bool enabled) {
  for (const char* n : {"sbt1", "sbt2", "sbt3", "sbt4", "sbt5", "sbt6", "sbt7", "sbt8", "sbt9", "sbt0", "sbt00",
                        "sbt000", "sbtCorrigir", "sbtVirgula"})
    s_.controls.SetEnabled(n, enabled);
}

void Keyboard::PostText(const std::string& text, bool enter, bool as_chars) {
  const size_t n = base::Utf8Length(text);
  for (size_t i = 0; i < n; ++i) {
    const char32_t ch = FirstCodePoint(base::Utf8Mid(text, i, 1));
    if (as_chars) {
      KeyPress(ch);
    } else {
      int key = static_cast<int>(ch);
      KeyDown(key, false, false, false);
    }
  }
  if (enter) {
    int key = kEnter;
    KeyDown(key, false, false, false);
  }
}

Control* Keyboard::TypedValueLabel() {
  const std::string label = KeyboardValueLabel(s_.sale.tpTeclado);
  return label.empty() ? nullptr : s_.controls.FindComponent(label);
}

void Keyboard::KeyDown(int& key, bool shift, bool alt, bool ctrl) {
  ControlRegistry& c = s_.controls;
  SaleState& sale = s_.sale;
  ScreenParts& parts = s_.parts;
  if (Control* value = TypedValueLabel()) stValorDigitado = value->caption;
  const bool only_alt = alt && !shift && !ctrl;
  bool show_value = false;

  switch (key) {
    case kF1:
      if (sale.stIdTipoVenda != "B") s_.ctx.host.fiscal->RelFiscais();
      break;
    case kBackspace:
      if (sale.tpInputStep != isTroco && c.IsEnabled("sbtCorrigir")) {
        RemoveLastCharacter(stValorDigitado);
        boLimpaEntrada = false;
      }
      show_value = true;
      break;
    case kDelete:
      if (s_.ctx.host.keyboard->Teclado_OK()) break;
      if (sale.tpInputStep != isTroco && c.IsEnabled("sbtCorrigir")) {
        stValorDigitado.clear();
        c.SetCaption("lblInputReceb2", "");
        boLimpaEntrada = false;
      }
      show_value = true;
      break;
    case kEscape:
      if (parts.wallets.CancelWaitOnEscape()) break;  // a wallet's wait for the consumer ends
      if (sale.boOperacaoEmCurso || sale.boProcessandoSaida) break;
      if (c.IsVisible("panKeyboard"))
        parts.grid.CtrlBotoes("D", 1);
      else
        parts.exit.LeaveByEscape();
      show_value = true;
      break;
    case kEnter: show_value = Enter(); break;
    case kKeyC:
      if (only_alt && sale.stIdTipoVenda != "B") c.Press("spbCNPJCPF");
      break;
    case kF4:
      if (only_alt) key = 0;  // Alt+F4 must not close the payment screen
      break;
    case kKeyV:
      if (c.IsEnabled("spbSair")) parts.exit.Leave();
      break;
    case kKeyL:
      if (c.IsEnabled("spbClear")) parts.exit.Clear();
      break;
    case kKeyO:
      if (c.IsEnabled("spbDesconto")) c.Press("spbDesconto");
      break;
    case kKeyD:
      if (only_alt && c.IsEnabled("spbDotz")) parts.loyalty.Dotz();
      break;
    default: break;
  }
  // The label is looked up again in case a handler above rebuilt the layout.
  if (show_value)
    if (Control* value = TypedValueLabel()) value->caption = stValorDigitado;
}

bool Keyboard::Enter() {
  ControlRegistry& c = s_.controls;
  SaleState& sale = s_.sale;
  doVrDigitado = stValorDigitado.empty() ? 0 : TypedAmount(stValorDigitado);
  if (sale.tpInputStep != isNone && (AboveLimit(doVrDigitado) || AboveLimit(doVrDigitado + sale.doVrPago))) {
    s_.ShowMessage(Msg("Lim_Pag"), runtime::kMsgPrompt);
    s_.parts.grid.CtrlBotoes("D", 1);
    return false;
  }
  if (c.IsVisible("panDadosVenda")) s_.parts.confirmation.AnswerSaleSummary(true);

  if (doVrDigitado != 0 || boEntradaGorjeta) {
    switch (sale.tpInputStep) {
      case isNone: sale.tpInputStep = isTroco; break;
      case isMoeda1: sale.tpInputStep = isMoeda2; break;
      case isConvenio1: sale.tpInputStep = isConvenio2; break;
      default: sale.tpInputStep = isNone; break;
    }
  } else if (c.IsVisible("panKeyboard")) {
    s_.ShowMessage(Msg("Dig_Val"), runtime::kMsgBlocked);
    s_.parts.grid.CtrlBotoes("D", 1);
    return false;
  }

  if (c.IsEnabled("panFundoConfirma") && c.IsEnabled("spbOk")) {
    if (sale.stTipoTela == "N" || sale.stTipoTela == "C" || !c.IsVisible("panKeyboard")) c.Press("spbOk");
  }
  boLimpaEntrada = false;
  return true;
}

void Keyboard::KeyPress(char32_t ch) {
  SaleState& sale = s_.sale;
  if (sale.tpTeclado == ttNone) return;
  ControlRegistry& c = s_.controls;
  if (Control* value = TypedValueLabel()) stValorDigitado = value->caption;

  // Two digits choose a tender button while the grid is offered.
  if (s_.parts.grid.Offered() && ch >= U'0' && ch <= U'9') {
    if (stCodTipoDigitado.size() >= 2) stCodTipoDigitado.clear();
    stCodTipoDigitado += static_cast<char>(ch);
    if (stCodTipoDigitado.size() == 2) {
      const int n = std::atoi(stCodTipoDigitado.c_str());
      const std::string name = "tcbBalcao" + stCodTipoDigitado;
      const Control* b = c.FindComponent(name);
      // Only a button the operator could press: a tender the grid shows disabled (the
      // consumer's sale type) is not reachable from the keyboard either.
      if (n < 25 && b && !b->caption.empty() && b->visible && b->enabled) {
        stCodTipoDigitado.clear();
        s_.parts.grid.PressTender(name);
        return;
      }
      s_.ShowMessage(Msg("TIP_INV"), runtime::kMsgBlocked);
    }
  }

  // A to F choose a group.
  const char32_t upper = (ch >= U'a' && ch <= U'f') ? ch - U'a' + U'A' : ch;
  if (upper >= U'A' && upper <= U'F') {
    const std::string name = "tcbGrupo0" + std::string(1, static_cast<char>('1' + (upper - U'A')));
    const Control* g = c.FindComponent(name);
    if (g && g->visible && g->enabled) s_.parts.grid.PressGroup(name);
  }

  if (sale.tpTeclado != ttvalor) return;
  const char sep = runtime::GetNumberLocale().decimal_separator;
  if (ch == U',' || ch == U'.') ch = static_cast<char32_t>(sep);
  if (sale.tpInputStep == isTroco) return;

  const bool digits = c.IsEnabled("sbt1");
  if (boLimpaEntrada && digits) stValorDigitado.clear();
  const bool is_separator = ch == static_cast<char32_t>(sep);
  const bool is_digit = ch >= U'0' && ch <= U'9';
  bool accepted = is_digit || is_separator;
  if (is_separator) {
    if (stValorDigitado.empty()) {
      stValorDigitado = "0";
      c.SetCaption("lblInputReceb2", "0");
    } else if (stValorDigitado.find(sep) != std::string::npos) {
      accepted = false;
    }
  }
  if (accepted && c.IsVisible("panKeyboard") && digits) {
    const size_t separator_at = stValorDigitado.find(sep);
    const bool decimals_full = separator_at != std::string::npos && stValorDigitado.size() - separator_at - 1 >= 2;
    if (!decimals_full) stValorDigitado += static_cast<char>(ch);
  }
  if (ch == U'\r' && (!stValorDigitado.empty() || boEntradaGorjeta) && c.IsEnabled("panFundoConfirma") &&
      c.IsEnabled("panKeyboard"))
    s_.parts.grid.CtrlBotoes("P", 1);
  boLimpaEntrada = false;
  if (Control* value = TypedValueLabel()) value->caption = stValorDigitado;
}

}  // namespace recebimento::screen
