#pragma once
// Reading the rows of the tender table (cdsReceb) for the grid: fixed-width texts come
// trimmed, colours as Windows colour values, and a column the host left out reads empty.
#include <cstdint>
#include <optional>
#include <string>

#include "base/dataset.h"
#include "base/text.h"
#include "screen/controls.h"

namespace recebimento::screen {

inline std::string CampoTexto(const base::RowView& r, const char* campo) {
  try {
    return base::Trim(r.AsString(campo));
  } catch (const base::DatasetError&) {
    return "";
  }
}

inline std::string CampoTexto(base::Dataset& ds, const char* campo) {
  auto f = ds.FindField(campo);
  return f ? base::Trim(f->AsString()) : std::string();
}

inline double CampoNumero(base::Dataset& ds, const char* campo) {
  auto f = ds.FindField(campo);
  return f && !f->IsNull() ? f->AsFloat() : 0.0;
}

// A colour column; empty leaves the GUI's own colour.
inline int64_t CampoCor(base::Dataset& ds, const char* campo) {
  auto f = ds.FindField(campo);
  return f && !f->IsNull() ? static_cast<int64_t>(f->AsFloat()) : Control::kDefaultColor;
}

// "G" next-page and "H" previous-page arrows.
inline bool EhSeta(const std::string& idTpButton) { return idTpButton == "G" || idTpButton == "H"; }

// Whether a consumer of sale type `tipoVendaCons` may pay with a tender of kind
// `idTipoRece` ("9" consumer credit, "A" consumer debit); nullopt leaves it as it is.
inline std::optional<bool> FiltroTipoVendaCons(const std::string& tipoVendaCons, const std::string& idTipoRece) {
  const bool conta_consumidor = idTipoRece == "9" || idTipoRece == "A";
  if (tipoVendaCons.empty() || tipoVendaCons == "7") return true;
  if (tipoVendaCons == "1") return idTipoRece == "A";
  if (tipoVendaCons == "2" || tipoVendaCons == "4") return conta_consumidor;
  if (tipoVendaCons == "3") return !conta_consumidor;
  if (tipoVendaCons == "5") return idTipoRece != "9";
  if (tipoVendaCons == "6") return idTipoRece != "A";
  return std::nullopt;
}

// Keeps the tender the cursor stands on (by its code) and goes back to it at the end.
class CursorReceb {
 public:
  explicit CursorReceb(base::Dataset& ds) : ds_(ds) {
    if (!ds_.Active() || ds_.IsEmpty()) return;
    if (auto f = ds_.FindField("CDTIPORECE")) codigo_ = f->Value();
  }
  ~CursorReceb() {
    if (!codigo_ || !ds_.Active()) return;
    try {
      ds_.Locate("CDTIPORECE", *codigo_);
    } catch (const base::DatasetError&) {
    }
  }
  CursorReceb(const CursorReceb&) = delete;
  CursorReceb& operator=(const CursorReceb&) = delete;

 private:
  base::Dataset& ds_;
  std::optional<base::Variant> codigo_;
};

}  // namespace recebimento::screen
