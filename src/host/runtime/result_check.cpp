#include "host/runtime/result_check.h"

#include "base/text.h"
#include "host/runtime/messages.h"

namespace recebimento::runtime {

namespace {

std::string CodeLine(int code) { return code != 0 ? "\nCódigo: " + std::to_string(code) : ""; }

void Show(MessageDialogs* dialogs, const std::string& text) {
  ShowMessage(dialogs, {text, "", "N", "N", kMsgBlocked, "", "", 0, nullptr});
}

}  // namespace

std::string ResultFailureText(const base::Variant& result) {
  const std::string no_result = "Nenhum resultado foi devolvido.";
  if (result.IsString()) {
    const std::string trimmed = base::Trim(result.AsString());
    if (base::IEquals(trimmed, "OK")) return "";
    return trimmed.empty() ? no_result : result.AsString();
  }
  if (result.IsEmptyOrNull()) return no_result;
  if (result.kind() == base::Variant::Kind::Bool && !result.AsBoolean()) return "A operação não foi concluída.";
  return "";
}

base::Variant MensagemMetodo(const base::Variant& result, bool show, int code, const std::string& function,
                             const std::string& module, const std::string& key) {
  return MensagemMetodo(GetMessageDialogs(), result, show, code, function, module, key);
}

base::Variant MensagemMetodo(MessageDialogs* dialogs, const base::Variant& result, bool show, int code,
                             const std::string& function, const std::string& module, const std::string& key) {
  // Only an error text stands for a failure here; values and unassigned results of the
  // functions that may return them pass through as they are.
  if (!result.IsString() || !show) return result;
  const std::string failure = ResultFailureText(result);
  if (failure.empty()) return result;
  std::string text = failure + "\n\nMétodo: " + function;
  if (!module.empty()) text += " (" + module + ")";
  if (!key.empty()) text += "\nChave: " + key;
  Show(dialogs, text + CodeLine(code));
  return result;
}

bool CheckResultServ(const base::Variant& result, bool show, int code) {
  const std::string failure = ResultFailureText(result);
  if (failure.empty()) return true;
  if (show) Show(GetMessageDialogs(), failure + CodeLine(code));
  return false;
}

}  // namespace recebimento::runtime
