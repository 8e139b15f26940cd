#pragma once
// The card tenders of tender selection: credit and debit cards and the digital wallet
// through the card terminal (TEF), and the CHART card by file exchange.
#include <string>

#include "screen/frame/screen_scope.h"
#include "screen/payment/payment_lines.h"

namespace recebimento::screen {

class CardTenders {
 public:
  explicit CardTenders(ScreenScope& s) : s_(s) {}

  // The amount of a card tender of kind "1", "2", "F", "G" or "H" and what the card
  // terminal returned for it; false when the selection ended without a line.
  bool CardTender(const std::string& kind, TenderPayment& tender, double& amount);
  // The amount of a CHART card tender (kind "E").
  bool ChartTender(TenderPayment& tender, double& amount);

 private:
  ScreenScope& s_;
};

}  // namespace recebimento::screen
