#pragma once
// Showing, enabling and pressing the screen's controls by name. A name the registry does
// not hold is left alone (read as hidden and disabled), as the handlers expect.
#include "screen/controls.h"

namespace recebimento::screen {

inline void Habilita(ControlRegistry& c, const char* name, bool enabled) {
  if (Control* ctl = c.FindComponent(name)) ctl->enabled = enabled;
}

inline void Mostra(ControlRegistry& c, const char* name, bool visible) {
  if (Control* ctl = c.FindComponent(name)) ctl->visible = visible;
}

inline bool Habilitado(const ControlRegistry& c, const char* name) {
  const Control* ctl = c.FindComponent(name);
  return ctl && ctl->enabled;
}

inline bool Visivel(const ControlRegistry& c, const char* name) {
  const Control* ctl = c.FindComponent(name);
  return ctl && ctl->visible;
}

// Runs a button's action as its click would, whatever its state (the caller checked what
// it needs). The handler is copied first: it may rebind the button while it runs.
inline void Aciona(ControlRegistry& c, const char* name) {
  Control* ctl = c.FindComponent(name);
  if (!ctl || !ctl->on_click) return;
  auto handler = ctl->on_click;
  handler();
}

}  // namespace recebimento::screen
