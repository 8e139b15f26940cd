#pragma once
// Reading the rows of the tender table (cdsReceb) for the grid: colours as Windows colour
// values, the arrow buttons, the sale-type filter, and the cursor kept across a scan.
#include <cstdint>
#include <optional>
#include <string>

#include "base/dataset.h"
#include "screen/frame/controls.h"

namespace recebimento::screen {

// A colour column; empty leaves the GUI's own colour.
inline int64_t ColourColumn(base::Dataset& ds, const char* column) {
  auto f = ds.FindField(column);
  return f && !f->IsNull() ? static_cast<int64_t>(f->AsFloat()) : Control::kDefaultColor;
}

// "G" next-page and "H" previous-page arrows.
inline bool IsArrow(const std::string& idTpButton) { return idTpButton == "G" || idTpButton == "H"; }

// Whether a consumer of sale type `tipoVendaCons` may pay with a tender of kind
// `idTipoRece` ("9" consumer credit, "A" consumer debit); nullopt leaves it as it is.
inline std::optional<bool> SaleTypeAllowsTender(const std::string& tipoVendaCons, const std::string& idTipoRece) {
  const bool consumer_account = idTipoRece == "9" || idTipoRece == "A";
  if (tipoVendaCons.empty() || tipoVendaCons == "7") return true;
  if (tipoVendaCons == "1") return idTipoRece == "A";
  if (tipoVendaCons == "2" || tipoVendaCons == "4") return consumer_account;
  if (tipoVendaCons == "3") return !consumer_account;
  if (tipoVendaCons == "5") return idTipoRece != "9";
  if (tipoVendaCons == "6") return idTipoRece != "A";
  return std::nullopt;
}

// Keeps the tender the cursor stands on (by its code) and goes back to it at the end.
class KeepTenderCursor {
 public:
  explicit KeepTenderCursor(base::Dataset& ds) : ds_(ds) {
    if (!ds_.Active() || ds_.IsEmpty()) return;
    if (auto f = ds_.FindField("CDTIPORECE")) code_ = f->Value();
  }
  ~KeepTenderCursor() {
    if (!code_ || !ds_.Active()) return;
    try {
      ds_.Locate("CDTIPORECE", *code_);
    } catch (const base::DatasetError&) {
    }
  }
  KeepTenderCursor(const KeepTenderCursor&) = delete;
  KeepTenderCursor& operator=(const KeepTenderCursor&) = delete;

 private:
  base::Dataset& ds_;
  std::optional<base::Variant> code_;
};

}  // namespace recebimento::screen
