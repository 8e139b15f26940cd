#include "host/runtime/receipt_footer.h"

#include <vector>

#include "base/text.h"

namespace recebimento::runtime {

const char* PackageVersion() { return "0.1"; }

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
