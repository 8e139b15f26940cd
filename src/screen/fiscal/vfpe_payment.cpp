// The MF-e payment check of a card tender. The validator's exchange lands with the fiscal
// receipt's MF-e work; until then the card tender goes on without MF-e payment data.
#include "screen/fiscal/fiscal_receipt.h"

namespace recebimento::screen {

bool FiscalReceipt::FuncoesVFPe(CardData& /*payment*/) { return true; }

}  // namespace recebimento::screen
