#include "screen/input_steps.h"

namespace recebimento::screen {

namespace {
constexpr const char* kStepNames[kInputStepCount] = {
    "isNone",      "isTroco",     "isCredito3", "isDebito3", "isCheque6", "isDinheiro1", "isMoeda1", "isMoeda2",
    "isConvenio1", "isConvenio2", "isTicket1",  "isPagSite", "isChartECP", "isAme",      "isMp",     "isPrePago"};

}  // namespace

const char* InputStepName(TInputStep step) {
  return step >= 0 && step < kInputStepCount ? kStepNames[step] : "?";
}

void InitInputStepTables() {
  MsgInputStep.fill("");
  TeclMsgInputStep.fill("");
  // Every amount step prompts like the credit step.
  for (TInputStep s : {isCredito3, isDebito3, isCheque6, isDinheiro1, isMoeda2, isTicket1}) {
    MsgInputStep[s] = "isCredito3";
    TeclMsgInputStep[s] = "TeclisCredito3";
  }
  for (TInputStep s : {isMoeda1, isConvenio1, isConvenio2}) {
    MsgInputStep[s] = kStepNames[s];
    TeclMsgInputStep[s] = std::string("Tecl") + kStepNames[s];
  }
  arLabels = {"", "lblNrCupom"};
  arValLabels = {"", "lblInputReceb2"};
}

void ClearInputStepTables() {
  MsgInputStep.fill("");
  TeclMsgInputStep.fill("");
  arLabels.fill("");
  arValLabels.fill("");
}

}  // namespace recebimento::screen
