#include "host/runtime/dates.h"

namespace recebimento::runtime {

base::DateTime UltimoDiaMes(const base::DateTime& date) {
  // December is fixed; any other month ends the day before the next one starts.
  if (date.Month() == 12) return base::DateTime::FromYMD(date.Year(), 12, 31);
  return base::DateTime::FromYMD(date.Year(), date.Month() + 1, 1).AddDays(-1);
}

}  // namespace recebimento::runtime
