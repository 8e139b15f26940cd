#pragma once
// Calendar helpers of the runtime library.
#include "base/datetime.h"

namespace recebimento::runtime {

// Midnight of the last day of the month of `date` (leap years included).
base::DateTime UltimoDiaMes(const base::DateTime& date);

}  // namespace recebimento::runtime
