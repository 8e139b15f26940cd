#include "key_codes.h"

#include <QKeyEvent>

namespace recebimento::gui {

int VirtualKeyOf(int qt_key, bool keypad) {
  if (keypad) {
    if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) return 0x60 + (qt_key - Qt::Key_0);  // VK_NUMPAD0..9
    switch (qt_key) {
      case Qt::Key_Asterisk: return 0x6A;
      case Qt::Key_Plus: return 0x6B;
      case Qt::Key_Minus: return 0x6D;
      case Qt::Key_Period:
      case Qt::Key_Comma: return 0x6E;  // the keypad's decimal key, whatever it prints
      case Qt::Key_Slash: return 0x6F;
      default: break;  // Enter, arrows, Delete... share the main keys' codes
    }
  }
  if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) return 'A' + (qt_key - Qt::Key_A);
  if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) return '0' + (qt_key - Qt::Key_0);
  if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F24) return 0x70 + (qt_key - Qt::Key_F1);
  switch (qt_key) {
    case Qt::Key_Backspace: return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 0x0D;
    case Qt::Key_Shift: return 0x10;
    case Qt::Key_Control: return 0x11;
    case Qt::Key_Alt: return 0x12;
    case Qt::Key_Pause: return 0x13;
    case Qt::Key_CapsLock: return 0x14;
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_Space: return 0x20;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    case Qt::Key_Semicolon: return 0xBA;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return 0xBB;
    case Qt::Key_Comma: return 0xBC;
    case Qt::Key_Minus: return 0xBD;
    case Qt::Key_Period: return 0xBE;
    case Qt::Key_Slash: return 0xBF;
    default: return 0;
  }
}

ScreenKey ScreenKeyOf(const QKeyEvent& event) {
  ScreenKey k;
  const Qt::KeyboardModifiers mods = event.modifiers();
  k.shift = mods.testFlag(Qt::ShiftModifier);
  k.alt = mods.testFlag(Qt::AltModifier);
  k.ctrl = mods.testFlag(Qt::ControlModifier);
  k.code = VirtualKeyOf(event.key(), mods.testFlag(Qt::KeypadModifier));
  if (k.alt || k.ctrl) return k;
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: k.ch = U'\r'; return k;
    case Qt::Key_Backspace: k.ch = 8; return k;
    case Qt::Key_Escape: k.ch = 27; return k;
    case Qt::Key_Delete: return k;
    default: break;
  }
  const QString text = event.text();
  if (!text.isEmpty()) {
    const char32_t cp = text.toUcs4().value(0, 0);
    // Other control characters (arrows on some platforms) type nothing.
    if (cp >= 0x20 && cp != 0x7F) k.ch = cp;
  }
  return k;
}

}  // namespace recebimento::gui
