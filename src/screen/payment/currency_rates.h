#pragma once
// The day's foreign-currency rates live with the host's other data files.
#include <string>

#include "screen/frame/screen_scope.h"

namespace recebimento::screen {

inline std::string CurrencyRatesFile(const ScreenScope& s) {
  return s.ctx.paths.Reference(s.par.stDSDIRCAD, "cdsMoedas.cds");
}

}  // namespace recebimento::screen
