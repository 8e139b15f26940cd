#include "screen/setup/sale_state.h"

#include "base/dataset_columns.h"
#include "host/pos/sale_dataset_layouts.h"

namespace recebimento::screen {

SaleState::SaleState() {
  cdsEmprestimoFam.SetFields(*pos::FixedDatasetLayout("cdsEmprestimoFamHost"));
  cdsEmprestimoFam.CreateDataSet();
}

bool SaleState::HasItems() const { return cdsItensVenda && cdsItensVenda->Active() && !cdsItensVenda->IsEmpty(); }

std::string SaleState::ItemText(const std::string& column) const {
  return HasItems() ? base::ColumnText(*cdsItensVenda, column) : std::string();
}

double SaleState::ItemNumber(const std::string& column) const {
  return HasItems() ? base::ColumnNumber(*cdsItensVenda, column) : 0;
}

void SaleState::SetOnEveryItem(const std::string& column, const base::Variant& value) {
  if (!cdsItensVenda || !cdsItensVenda->Active() || cdsItensVenda->FieldIndex(column) < 0) return;
  for (cdsItensVenda->First(); !cdsItensVenda->Eof(); cdsItensVenda->Next()) {
    cdsItensVenda->Edit();
    cdsItensVenda->FieldByName(column).SetValue(value);
    cdsItensVenda->Post();
  }
}

bool SaleState::HasPaymentWith(const std::string& column, const std::string& value) const {
  return cdsMoviVenda && base::AnyRowWith(*cdsMoviVenda, column, value);
}

bool SaleState::NoPayments() const {
  if (!cdsMoviVenda || !cdsMoviVenda->Active()) return true;
  return cdsMoviVenda->Filtered() ? cdsMoviVenda->Data().rows.empty() : cdsMoviVenda->IsEmpty();
}

}  // namespace recebimento::screen
