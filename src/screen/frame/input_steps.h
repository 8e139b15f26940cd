#pragma once
// What the keypad is collecting (the input step), the keyboard kinds, and the exported
// tables that give each its message keys and label names.
#include <array>
#include <string>

namespace recebimento::screen {

enum TInputStep : int {
  isNone,
  isTroco,
  isCredito3,
  isDebito3,
  isCheque6,
  isDinheiro1,
  isMoeda1,
  isMoeda2,
  isConvenio1,
  isConvenio2,
  isTicket1,
  isPagSite,
  isChartECP,
  isAme,
  isMp,
  isPrePago
};
constexpr int kInputStepCount = 16;

enum TTipoTecl : int { ttNone, ttvalor };
constexpr int kTipoTeclCount = 2;

const char* InputStepName(TInputStep step);  // "isNone", "isTroco", ...

// Message keys of an input step's prompt on the screen and on the POS keyboard ("" when
// the step has none), and the names of the components that show, for a keyboard kind, the
// caption and the value. The exported tables below hold the same texts for the host.
std::string InputStepMessageKey(TInputStep step);
std::string InputStepPosKeyboardKey(TInputStep step);
std::string KeyboardCaptionLabel(TTipoTecl kind);
std::string KeyboardValueLabel(TTipoTecl kind);

// Message keys of each input step's prompt: for the screen and for the POS keyboard.
extern std::array<std::string, kInputStepCount> MsgInputStep;
extern std::array<std::string, kInputStepCount> TeclMsgInputStep;
// Names of the components that show, for a keyboard kind, the caption and the value.
extern std::array<std::string, kTipoTeclCount> arLabels;
extern std::array<std::string, kTipoTeclCount> arValLabels;

// Fills the four tables with their fixed contents (done when the module loads).
void InitInputStepTables();
// Empties them (the module's finalisation).
void ClearInputStepTables();

}  // namespace recebimento::screen
