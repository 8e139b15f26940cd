#pragma once
// The globals the package exports, by owner. The screen and its results and the
// input-step tables are the screen's; the integrations keep their own module state.
#include "screen/frame/input_steps.h"
#include "screen/frame/screen_globals.h"

namespace recebimento::package {

using screen::arLabels;
using screen::arValLabels;
using screen::doAcrItem;
using screen::doSaldoRest;
using screen::doValorDesc;
using screen::frmRecebimento;
using screen::MsgInputStep;
using screen::NRCNPJLOJA;
using screen::oleProdCestNcm;
using screen::oleRetImposto;
using screen::oleRetorno;
using screen::rdmRecebimento;
using screen::stCNPJFil;
using screen::stOBSFINVEN;
using screen::TeclMsgInputStep;

// The package's finalisation (also run when the library unloads): frees a screen and
// data module left behind and clears every exported global.
void ClearGlobals() noexcept;

}  // namespace recebimento::package
