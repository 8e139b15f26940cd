#pragma once
// Writing and reading the host's payment lines by column name. The host decides which
// columns its payment dataset has; a column it does not carry is skipped on writing and
// reads as empty.
#include <string>

#include "base/dataset.h"

namespace recebimento::screen {

inline void PoeCampo(base::Dataset& ds, const char* field, const base::Variant& value) {
  if (ds.FieldIndex(field) >= 0) ds.FieldByName(field).SetValue(value);
}

inline std::string TextoCampo(base::Dataset& ds, const char* field) {
  return ds.Active() && ds.FieldIndex(field) >= 0 ? ds.FieldByName(field).AsString() : "";
}

inline double ValorCampo(base::Dataset& ds, const char* field) {
  return ds.Active() && ds.FieldIndex(field) >= 0 ? ds.FieldByName(field).AsFloat() : 0;
}

}  // namespace recebimento::screen
