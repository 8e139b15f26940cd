#pragma once
// The text the simulated non-fiscal printer prints for a sale: the header with the
// receipt number and the tab, the items, the service fee, the total and the payments
// with their change, 40 columns wide.
#include <string>
#include <vector>

#include "base/variant.h"

namespace recebimento::pos {

// `args` as the screen hands them to DisparaImpressaoNaoFiscal: the document kind, the
// parameters packet (NRNAOFISCAL, DSCOMANDA, VRTXSERVICO, ...), the items and the
// payment lines. Missing or malformed packets leave their section out.
std::string FormatNonFiscalReceipt(const std::vector<base::Variant>& args);

}  // namespace recebimento::pos
