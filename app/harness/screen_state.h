#pragma once
// The screen's state as the scripted run reports it: every named control and the
// shared amounts and steps.
#include <nlohmann/json.hpp>

#include "screen/frame/frm_recebimento.h"

namespace recebimento::harness {

nlohmann::ordered_json ScreenStateJson(const screen::TfrmRecebimento& frm);

}  // namespace recebimento::harness
