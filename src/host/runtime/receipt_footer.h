#pragma once
// The general footer line that screens and receipts show (the screen-code label).
#include <string>

namespace recebimento::runtime {

// "<screen code> - v<version>[ - ECF]": the screen code as given, the package version when
// `with_version` is "S", and the mark "ECF" when the register prints through a fiscal
// printer. Empty parts are left out with their separator:
//   MontaRodapeGeral(true, "REV00000", "S")  -> "REV00000 - v0.1 - ECF"
//   MontaRodapeGeral(false, "REV00000", "N") -> "REV00000"
std::string MontaRodapeGeral(bool uses_fiscal_printer, const std::string& screen_code, const std::string& with_version);

// The version the footer shows.
const char* PackageVersion();

}  // namespace recebimento::runtime
