#include "screen/frame/input_steps.h"

namespace recebimento::screen {

namespace {
constexpr const char* kStepNames[kInputStepCount] = {
    "isNone",      "isTroco",     "isCredito3", "isDebito3", "isCheque6",  "isDinheiro1", "isMoeda1", "isMoeda2",
    "isConvenio1", "isConvenio2", "isTicket1",  "isPagSite", "isChartECP", "isAme",       "isMp",     "isPrePago"};

}  // namespace

const char* InputStepName(TInputStep step) { return step >= 0 && step < kInputStepCount ? kStepNames[step] : "?"; }

std::string InputStepMessageKey(TInputStep step) {
  switch (step) {
    // Every amount step prompts like the credit step.
    case isCredito3:
    case isDebito3:
    case isCheque6:
    case isDinheiro1:
    case isMoeda2:
    case isTicket1: return "isCredito3";
    case isMoeda1:
    case isConvenio1:
    case isConvenio2: return kStepNames[step];
    default: return "";
  }
}

std::string InputStepPosKeyboardKey(TInputStep step) {
  const std::string key = InputStepMessageKey(step);
  return key.empty() ? key : "Tecl" + key;
}

std::string KeyboardCaptionLabel(TTipoTecl kind) { return kind == ttvalor ? "lblNrCupom" : ""; }

std::string KeyboardValueLabel(TTipoTecl kind) { return kind == ttvalor ? "lblInputReceb2" : ""; }

void InitInputStepTables() {
  for (int s = 0; s < kInputStepCount; ++s) {
    MsgInputStep[s] = InputStepMessageKey(static_cast<TInputStep>(s));
    TeclMsgInputStep[s] = InputStepPosKeyboardKey(static_cast<TInputStep>(s));
  }
  for (int k = 0; k < kTipoTeclCount; ++k) {
    arLabels[k] = KeyboardCaptionLabel(static_cast<TTipoTecl>(k));
    arValLabels[k] = KeyboardValueLabel(static_cast<TTipoTecl>(k));
  }
}

void ClearInputStepTables() {
  MsgInputStep.fill("");
  TeclMsgInputStep.fill("");
  arLabels.fill("");
  arValLabels.fill("");
}

}  // namespace recebimento::screen
