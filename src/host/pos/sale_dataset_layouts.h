#pragma once
// The columns of the sale's datasets as the host contract fixes them: what the host
// passes in the dataset arguments of Recebimento and what the screen writes back. A
// host (or a scripted run) that passes such a dataset empty gets these columns, and
// the screen gives them to a payment dataset that arrives without any.
#include <string>
#include <vector>

#include "base/data_packet.h"

namespace recebimento::pos {

// cdsMoviVenda: one row per payment line ("E"), consumer-debit payment ("T") or change
// given back ("S").
const std::vector<base::FieldDef>& PaymentDatasetLayout();

// The layout of a dataset argument by its name ("cdsMoviVenda", "cdsItensVenda",
// "cdsRecebHost", ...); nullptr for those whose columns the host chooses
// (cdsClienteHost) or that nobody reads (cdsVendaHost, cdsAuxHost).
const std::vector<base::FieldDef>* FixedDatasetLayout(const std::string& argument);

// The names of the dataset arguments that have a fixed layout, in argument order.
std::vector<std::string> DatasetsWithFixedLayout();

}  // namespace recebimento::pos
