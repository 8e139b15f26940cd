// Card tenders are not taken at this register until their flows land here.
#include "screen/card/card_tenders.h"

#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

bool CardTenders::CardTender(const std::string& /*kind*/, TenderPayment& /*tender*/, double& /*amount*/) {
  s_.parts.selection.Refuse("N_FORMA");
  return false;
}

bool CardTenders::ChartTender(TenderPayment& /*tender*/, double& /*amount*/) {
  s_.parts.selection.Refuse("N_FORMA");
  return false;
}

}  // namespace recebimento::screen
