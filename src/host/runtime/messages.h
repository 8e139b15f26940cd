#pragma once
// Message dialogs of the runtime library. The host (the GUI, or the simulators in tests
// and scripted runs) installs the implementation once; the screen calls Mensagem.
#include <string>

#include "base/dataset.h"
#include "base/variant.h"

namespace recebimento::runtime {

// Dialog kinds as the call sites use them.
enum MessageKind : int {
  kMsgPrompt = 0,    // one button: prompts and limits
  kMsgQuestion = 1,  // yes/no; the answer is the result
  kMsgWarning = 2,   // one button: warnings (open drawer, missing consumer)
  kMsgBlocked = 3,   // one button: blocked operations
};

// What a dialog of that kind means to the operator: "information", "question",
// "warning" or "error" (blocked operations).
const char* MessageTypeName(int kind);

struct MessageRequest {
  std::string text;
  std::string title;
  std::string answer_a;  // "N" or "S"; for a question the default answer
  std::string answer_b;
  int kind = kMsgBlocked;
  std::string extra_a;
  std::string context;  // the screen's message-context string
  int number = 0;
  base::Dataset* dataset = nullptr;
};

class MessageDialogs {
 public:
  virtual ~MessageDialogs() = default;
  // Shows the dialog modally. For kind 1 returns true for yes; the other kinds' result
  // is not relied on.
  virtual bool Show(const MessageRequest& request) = 0;
};

// The installed implementation (none: every message is written to stderr and a question
// takes its default answer).
void SetMessageDialogs(MessageDialogs* dialogs);
MessageDialogs* GetMessageDialogs();

// Shows the request with `dialogs`; without dialogs the text goes to stderr and a
// question takes its default answer.
bool ShowMessage(MessageDialogs* dialogs, const MessageRequest& request);

// Through the installed implementation.
bool Mensagem(const std::string& text, const std::string& title, const std::string& answer_a,
              const std::string& answer_b, int kind, const std::string& extra_a, const std::string& context, int number,
              base::Dataset* dataset);

}  // namespace recebimento::runtime
