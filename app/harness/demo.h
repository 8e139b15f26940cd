#pragma once
// `recebimento demo`: the bundled example sale, run on a fresh embedded store in a copy
// of the example host folder. Prints the receipt and the result.
#include <ostream>
#include <string>

namespace recebimento::harness {

struct DemoOptions {
  std::string examples_dir;  // the folder holding host/, sales/, scripts/
  std::string keep_dir;      // where to leave the host folder; empty: a temporary one, removed
};

// Exit status as `recebimento run` gives it.
int RunDemo(const DemoOptions& options, std::ostream& out, std::ostream& err);

}  // namespace recebimento::harness
