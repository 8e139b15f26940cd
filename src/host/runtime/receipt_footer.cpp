#include "host/runtime/receipt_footer.h"

#include <vector>

#include "base/text.h"

namespace recebimento::runtime {

// The build passes the project version, so the footer never disagrees with the package.
const char* PackageVersion() { return RECEBIMENTO_VERSION; }

std::string MontaRodapeGeral(bool uses_fiscal_printer, const std::string& screen_code,
                             const std::string& with_version) {
  std::vector<std::string> parts;
  if (!base::Trim(screen_code).empty()) parts.push_back(base::Trim(screen_code));
  if (base::IEquals(base::Trim(with_version), "S")) parts.push_back(std::string("v") + PackageVersion());
  if (uses_fiscal_printer) parts.push_back("ECF");
  std::string footer;
  for (const std::string& part : parts) footer += (footer.empty() ? "" : " - ") + part;
  return footer;
}

}  // namespace recebimento::runtime
