#include "integrations/cashback/host_answers.h"

#include <exception>

#include "base/text.h"
#include "host/runtime/money.h"

namespace recebimento::integrations {

std::string AnswerText(const base::Variant& answer, size_t i) {
  if (!answer.IsArray() || i >= answer.Size()) return {};
  try {
    return answer[i].AsString();
  } catch (const std::exception&) {
    return {};
  }
}

double AnswerAmount(const base::Variant& answer, size_t i) {
  if (!answer.IsArray() || i >= answer.Size()) return 0;
  try {
    const base::Variant& v = answer[i];
    if (v.IsNumber()) return runtime::Trunc2(v.AsFloat());
    std::string text = base::Trim(v.AsString());
    for (char& ch : text)
      if (ch == ',') ch = '.';
    return runtime::Trunc2(std::stod(text));
  } catch (const std::exception&) {
    return 0;  // an amount nobody can read offers nothing
  }
}

bool AnswerAccepted(const base::Variant& answer) {
  if (!answer.IsArray() || answer.Size() == 0) return false;
  try {
    const base::Variant& v = answer[0];
    if (v.IsString()) return base::Trim(v.AsString()) == "S" || base::Trim(v.AsString()) == "true";
    return v.AsBoolean();
  } catch (const std::exception&) {
    return false;
  }
}

bool AnswerPacket(const base::Variant& answer, size_t i, base::Dataset& into) {
  if (!answer.IsArray() || i >= answer.Size() || !answer[i].IsPacket()) return false;
  into.SetData(answer[i]);
  return into.Active();
}

}  // namespace recebimento::integrations
