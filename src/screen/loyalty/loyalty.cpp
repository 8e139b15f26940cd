// Points and prepaid-card tenders are not taken until their flows land here.
#include "screen/loyalty/loyalty.h"

#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

bool Loyalty::StepsBeforeTender() { return s_.parts.identification.DocumentGivenForAmount(); }

bool Loyalty::LoyaltyTender(const std::string& /*kind*/, TenderPayment& /*tender*/, double& /*amount*/) {
  s_.parts.selection.Refuse("N_FORMA");
  return false;
}

}  // namespace recebimento::screen
