#include "screen/frame/screen_scope.h"

#include "host/runtime/messages.h"
#include "host/runtime/result_check.h"

namespace recebimento::screen {

bool ScreenScope::ShowMessage(const std::string& text, int kind) const {
  const bool question = kind == runtime::kMsgQuestion;
  return runtime::ShowMessage(
      ctx.host.messages, {text, "", question ? "S" : "N", question ? "S" : "N", kind, "", par.stIDESQUEMA, 0, nullptr});
}

base::Variant ScreenScope::CheckResult(const base::Variant& result, const std::string& function, const std::string& key,
                                       int code, const std::string& module) const {
  return runtime::MensagemMetodo(ctx.host.messages, result, true, code, function, module, key);
}

}  // namespace recebimento::screen
