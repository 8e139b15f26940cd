// The payment list on the screen: its lines, and the payments already present when the
// screen opens (mobile and delivery orders, change lines).
#include <string>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/pos/sale_dataset_layouts.h"
#include "host/runtime/format.h"
#include "host/runtime/strings.h"
#include "screen/frame/message_table.h"
#include "screen/payment/payment_lines.h"

namespace recebimento::screen {

namespace {

constexpr size_t kLineWidth = 35;

}  // namespace

std::string PaymentListLine(const std::string& name, double amount) {
  return runtime::AjustaL(name, 20) + " " + runtime::AjustaR(runtime::FormatFloat("0.00", amount), 14);
}

std::string DisplayLine(const std::string& label, double amount, int width) {
  const int rest = width - static_cast<int>(base::Utf8Length(label));
  return label + runtime::TamFixoR(runtime::FormatFloat("0.00", amount), rest > 0 ? rest : 0);
}

void PaymentLines::Linha(Control& memo, const std::string& text, bool aux) {
  const std::string line = base::Utf8Left(text, kLineWidth);
  memo.lines.push_back(line);
  if (aux) s_.controls.Require("memListaAux").lines.push_back(line);
}

void PaymentLines::ResetPaymentDataset() {
  base::Dataset* movi = s_.sale.cdsMoviVenda;
  if (!movi) return;
  if (movi->Active()) movi->Close();
  if (movi->Fields().empty()) movi->SetFields(pos::PaymentDatasetLayout());
  movi->CreateDataSet();
}

void PaymentLines::ListHostPayments() {
  SaleState& sale = s_.sale;
  if (!sale.cdsMoviVenda || !sale.cdsMoviVenda->Active()) {
    ResetPaymentDataset();
    return;
  }
  base::Dataset& movi = *sale.cdsMoviVenda;
  Control& list = s_.controls.Require("memLista");
  Control& delivery_list = s_.controls.Require("memDelivery");
  list.lines.clear();
  movi.First();
  const bool delivery = sale.stModoVenda == "DLV";
  delivery_list.visible = delivery && !movi.IsEmpty();
  s_.controls.Require("panLista").height = delivery_list.visible ? 180 : 252;

  std::string last_nsu;
  while (!movi.Eof()) {
    const double amount = base::ColumnNumber(movi, "VRMOVIVEND");
    if (amount == 0) {
      movi.Delete();  // the cursor moves on to the next row
      continue;
    }
    const bool change = base::ColumnText(movi, "IDTIPOMOVIVE") == "S";
    const std::string description = base::ColumnText(movi, "DSMOVIVEND");
    const std::string tender = base::ColumnText(movi, "NMTIPORECE");
    if (!delivery) {
      if (description == "PAGAMENTO MOBILE") sale.boPagouMobile = true;
      if (change) {
        Linha(list, "", true);
        Linha(list, PaymentListLine(Msg("TROCO") + ": ", amount), true);
      } else {
        Linha(list, PaymentListLine(tender, amount), true);
      }
    } else {
      if (description == "PAGAMENTO DELIVERY") sale.boPagouDelivery = true;
      if (change) {
        Linha(delivery_list, PaymentListLine(Msg("TROCO") + "-->>" + tender, amount), false);
        Linha(delivery_list, PaymentListLine(Msg("TROCOPARA"), amount), false);
      } else {
        Linha(list, PaymentListLine(tender, amount), false);
        Linha(delivery_list, PaymentListLine(tender, amount), false);
      }
    }
    last_nsu = base::ColumnText(movi, "CDNSUHOSTTEF");
    movi.Next();
  }
  // A delivery not yet paid: its lines only say what the courier collects; the screen
  // records the real payments.
  if (delivery && !sale.boPagouDelivery) {
    sale.stCdNsuHostTef = last_nsu;
    ResetPaymentDataset();
  }
}

}  // namespace recebimento::screen
