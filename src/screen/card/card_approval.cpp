// What an approved card transaction changes besides its line: the discount the card
// granted, and the move of the payment to the tender of the card's brand.
#include <string>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/numbers.h"
#include "screen/card/card_tenders.h"

namespace recebimento::screen {

void CardTenders::ApplyDiscount(double discount, double& amount) {
  if (!(discount > 0)) return;
  SaleState& sale = s_.sale;
  // A sale worth nothing has no percentage to raise.
  if (sale.doVrTotal > 0) sale.doPercDesconto += 100.0 * discount / sale.doVrTotal;
  sale.doVrDesconto = runtime::Trunc2(sale.doVrDesconto + discount);
  sale.doVrAPagar = runtime::Trunc2(sale.doVrAPagar - discount);
  amount = runtime::Trunc2(amount - discount);
}

void CardTenders::MoveToMatchingTender(const std::string& kind, const std::string& match, TenderPayment& tender) {
  const std::string wanted = base::Trim(match);
  if (wanted.empty()) return;
  base::Dataset& receb = s_.sale.cdsReceb;
  const bool wallet = kind == "H";
  const bool debit = kind == "2" || kind == "F" || kind == "G";
  const std::string chosen_code = base::ColumnText(receb, "CDTIPORECE");
  const std::string chosen_name = base::ColumnText(receb, "NMTIPORECE");
  // The first tender of the same family whose brand (or, for the wallet, fiscal text)
  // is the one returned, in the table's order.
  const char* column = wallet ? "DSIMPFISCAL" : "CDBANCARTCR";
  bool found = false;
  for (receb.First(); !receb.Eof(); receb.Next()) {
    const std::string k = base::ColumnTrimmed(receb, "IDTIPORECE");
    const bool family = wallet ? k == "H" : debit ? (k == "2" || k == "F" || k == "G") : k == "1";
    if (family && base::Trim(base::ColumnText(receb, column)) == wanted) {
      found = true;
      break;
    }
  }
  if (!found) receb.Locate("CDTIPORECE", base::Variant(chosen_code));
  if (debit) tender.card.CDBANCARTCR = wanted;
  if (debit || wallet) {
    tender.card.CDTIPORECEORIG = chosen_code;
    tender.card.NMTIPORECEORIG = chosen_name;
  }
}

}  // namespace recebimento::screen
