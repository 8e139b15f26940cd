#include "host/runtime/messages.h"

#include <cstdio>

namespace recebimento::runtime {

namespace {

MessageDialogs* g_dialogs = nullptr;

}  // namespace

const char* MessageTypeName(int kind) {
  switch (kind) {
    case kMsgQuestion: return "question";
    case kMsgWarning: return "warning";
    case kMsgBlocked: return "error";
    default: return "information";
  }
}

void SetMessageDialogs(MessageDialogs* dialogs) { g_dialogs = dialogs; }

MessageDialogs* GetMessageDialogs() { return g_dialogs; }

bool Mensagem(const std::string& text, const std::string& title, const std::string& answer_a,
              const std::string& answer_b, int kind, const std::string& extra_a, const std::string& context,
              int number, base::Dataset* dataset) {
  const MessageRequest request{text, title, answer_a, answer_b, kind, extra_a, context, number, dataset};
  if (g_dialogs != nullptr) return g_dialogs->Show(request);
  // Nobody to ask: the text must still reach someone, and a question takes its default.
  std::fprintf(stderr, "[mensagem %d] %s\n", kind, text.c_str());
  return kind == kMsgQuestion ? answer_a == "S" : true;
}

}  // namespace recebimento::runtime
