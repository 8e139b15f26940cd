#pragma once
// The columns of the host's parameters file (PARAMETROSZEM.CDS) the screen reads.
#include <string>
#include <vector>

#include "base/data_packet.h"

namespace recebimento::screen {

struct ParametroColumn {
  std::string name;
  base::FieldType type;  // how the screen reads it
};

// Every column, once each, in the order the screen reads them.
std::vector<ParametroColumn> ParametrosZemColumns();

}  // namespace recebimento::screen
