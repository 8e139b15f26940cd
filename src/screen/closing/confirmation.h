#pragma once
// The confirmation of a paid sale (the OK button): observation, sale summary, drawer
// check, fee items, printing, drawer, consumer record, the integrations' captures and the
// close of the screen.
#include <string>

#include "base/dataset.h"
#include "screen/frame/screen_scope.h"

namespace recebimento::screen {

class Confirmation {
 public:
  explicit Confirmation(ScreenScope& s) : s_(s) {}

  // The whole confirmation; a refused step leaves the sale open to be confirmed again.
  void Confirm();
  // The sale-summary panel's answer: the confirmation waiting on it goes on or stops.
  void AnswerSaleSummary(bool confirmed);
  // Opens the drawer for the tenders that ask it; through the printer or the host.
  bool OpenDrawerForTenders(bool through_printer);

 private:
  bool AskSaleObservation();
  bool ConfirmSaleSummary();
  void CreateFeeItems();
  // The printing step: the fiscal receipt, the host's printing of the whole sale, or a
  // sale without a fiscal printer.
  bool PrintSale();
  bool PrintSaleThroughHost();
  // The sale number of a sale without a fiscal printer; false (message shown) when none.
  bool ReserveSaleNumber();
  void RecordSaleWithoutPrinter();
  // Captures of the integrations and the close; false when the screen must stay open.
  bool CloseSale();
  // The line of the non-fiscal log: amounts of the sale and of each payment.
  std::string NonFiscalLogLine() const;

  ScreenScope& s_;
  bool sale_closed_ = false;                               // the integrations were captured and the close posted
  base::Dataset cdsTipoRecebimento{"cdsTipoRecebimento"};  // tender kinds: which open the drawer
};

}  // namespace recebimento::screen
