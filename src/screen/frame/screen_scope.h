#pragma once
// What every part of the payment screen works with: the context from outside, the
// configuration, the sale's shared state, the controls, the window's open or closed
// state, and its sibling parts for the few steps that cross from one concern to another.
#include <string>

#include "base/variant.h"
#include "screen/frame/controls.h"
#include "screen/frame/screen_context.h"
#include "screen/setup/parametros_zem.h"
#include "screen/setup/sale_state.h"

namespace recebimento::screen {

struct ScreenParts;

// Whether the screen is showing and whether it was closed.
class ScreenWindow {
 public:
  void SetShowing(bool showing) { showing_ = showing; }
  void Open() { closed_ = false; }
  // The modal wait ends once the handler that closes it returns to the wait.
  void Close() { closed_ = true; }
  bool Showing() const { return showing_; }
  bool Closed() const { return closed_; }

 private:
  bool showing_ = false;
  bool closed_ = false;
};

struct ScreenScope {
  ScreenContext& ctx;
  ParametrosZem& par;
  SaleState& sale;
  ControlRegistry& controls;
  ScreenWindow& window;
  ScreenParts& parts;

  // The runtime's message dialog of `kind` (runtime::MessageKind) with the screen's
  // scheme; the answer only counts for a question.
  bool ShowMessage(const std::string& text, int kind) const;
  // Shows the failure a data-module result carries, naming the function, the module and
  // the key, and returns the result untouched.
  base::Variant CheckResult(const base::Variant& result, const std::string& function, const std::string& key,
                            int code = 0, const std::string& module = "Cli_Rev00000") const;
};

}  // namespace recebimento::screen
