#pragma once
// The physical keyboard as the screen knows it: Windows virtual-key codes for key-downs
// and the character a key types.
#include <optional>

class QKeyEvent;

namespace recebimento::gui {

struct ScreenKey {
  int code = 0;     // Windows virtual-key code; 0 when the key has none
  char32_t ch = 0;  // the character typed; 0 when the key types nothing
  bool shift = false;
  bool alt = false;
  bool ctrl = false;
};

// The Windows virtual-key code of a Qt key (Qt::Key), or 0. `keypad` marks keys of the
// numeric keypad, which have their own codes.
int VirtualKeyOf(int qt_key, bool keypad);

// The key-down and character a key event gives the screen. A character comes with the
// key unless Alt or Ctrl make it a command; Enter, Backspace and Escape type 13, 8, 27.
ScreenKey ScreenKeyOf(const QKeyEvent& event);

}  // namespace recebimento::gui
