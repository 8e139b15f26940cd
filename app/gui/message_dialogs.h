#pragma once
// The runtime's message dialogs on the touch screen: one button for prompts, warnings
// and blocked operations; "Sim"/"Não" for questions, with the caller's default answer on
// Enter.
#include "host/runtime/messages.h"

namespace recebimento::gui {

class QtMessageDialogs : public runtime::MessageDialogs {
 public:
  bool Show(const runtime::MessageRequest& request) override;
};

}  // namespace recebimento::gui
