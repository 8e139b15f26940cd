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

bool ShowMessage(MessageDialogs* dialogs, const MessageRequest& request) {
  if (dialogs != nullptr) return dialogs->Show(request);
  // Nobody to ask: the text must still reach someone, and a question takes its default.
  std::fprintf(stderr, "[mensagem %d] %s\n", request.kind, request.text.c_str());
  return request.kind == kMsgQuestion ? request.answer_a == "S" : true;
}

bool Mensagem(const std::string& text, const std::string& title, const std::string& answer_a,
              const std::string& answer_b, int kind, const std::string& extra_a, const std::string& context, int number,
              base::Dataset* dataset) {
  return ShowMessage(g_dialogs, {text, title, answer_a, answer_b, kind, extra_a, context, number, dataset});
}

}  // namespace recebimento::runtime
