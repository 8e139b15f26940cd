// The amounts a sale must have for the screen to take it: every item amount a number and
// within what a payment line holds, and a total that is neither below zero nor beyond
// that limit. Negative item lines that leave a positive total stay allowed.
#include <cmath>
#include <string>

#include "base/dataset_columns.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "screen/frame/screen_parts.h"
#include "screen/payment/typed_amount.h"
#include "screen/setup/screen_setup.h"

namespace recebimento::screen {

namespace {

constexpr const char* kItemAmounts[] = {"VRPRECCOMVEN", "VRUNITVENDCL", "QTPRODCOMVEN", "VRDESCCOMVEN",
                                        "VRACRCOMVEN",  "VRTXSERVICO",  "VRACRCOMANDA", "VRDESCOMANDA"};

std::string Money(double amount) { return runtime::FormatFloat("#,##0.00", amount); }

// "o item 2 (1001 - PRODUTO 1001)".
std::string ItemName(int position, base::Dataset& items) {
  std::string name = base::ColumnTrimmed(items, "CDPRODUTO");
  const std::string description = base::ColumnTrimmed(items, "NMPRODUTO");
  if (!description.empty()) name += (name.empty() ? "" : " - ") + description;
  return "o item " + std::to_string(position) + (name.empty() ? "" : " (" + name + ")");
}

double LineAmount(base::Dataset& items) {
  const double price = base::ColumnNumber(items, "VRPRECCOMVEN"), unit = base::ColumnNumber(items, "VRUNITVENDCL");
  const double quantity = base::ColumnNumber(items, "QTPRODCOMVEN");
  return (price + unit) * quantity - base::ColumnNumber(items, "VRDESCCOMVEN") +
         base::ColumnNumber(items, "VRACRCOMVEN");
}

}  // namespace

void ScreenSetup::RefuseSale(const std::string& message) {
  s_.sale.refused = true;
  s_.ShowMessage("Venda recusada: " + message, runtime::kMsgBlocked);
}

bool ScreenSetup::AcceptItems() {
  SaleState& sale = s_.sale;
  if (!sale.HasItems()) return true;
  base::Dataset& items = *sale.cdsItensVenda;
  int position = 0;
  for (items.First(); !items.Eof(); items.Next()) {
    ++position;
    for (const char* column : kItemAmounts) {
      const double value = base::ColumnNumber(items, column);
      if (!std::isfinite(value)) {
        RefuseSale(ItemName(position, items) + " tem em " + column + " um valor que não é um número.");
        return false;
      }
      if (std::fabs(value) > kPaymentLimit) {
        RefuseSale(ItemName(position, items) + " tem em " + column + " um valor acima de " + Money(kPaymentLimit) +
                   ", o máximo de um pagamento.");
        return false;
      }
    }
    const double line = LineAmount(items);
    if (!std::isfinite(line) || std::fabs(line) > kPaymentLimit) {
      RefuseSale(ItemName(position, items) + " vale mais do que um pagamento comporta (" + Money(kPaymentLimit) + ").");
      return false;
    }
  }
  items.First();
  return true;
}

bool ScreenSetup::AcceptTotal() {
  SaleState& sale = s_.sale;
  const double total = runtime::Trunc2(sale.doVrTotal);
  if (total >= 0 && total <= kPaymentLimit) return true;
  if (total > kPaymentLimit) {
    RefuseSale("o total da venda (" + Money(total) + ") passa de " + Money(kPaymentLimit) +
               ", o máximo de um pagamento.");
    return false;
  }
  // Name the item that takes the total below zero: the first line worth less than nothing.
  std::string culprit;
  if (sale.HasItems()) {
    base::Dataset& items = *sale.cdsItensVenda;
    int position = 0;
    for (items.First(); !items.Eof() && culprit.empty(); items.Next()) {
      ++position;
      const double line = LineAmount(items);
      if (line < 0) culprit = "; " + ItemName(position, items) + " vale " + Money(line);
    }
    items.First();
  }
  RefuseSale("o total da venda é negativo (" + Money(total) + ")" + culprit + ".");
  return false;
}

}  // namespace recebimento::screen
