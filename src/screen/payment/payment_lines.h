#pragma once
// The payment lines in the host's payment dataset (cdsMoviVenda), the change, and the
// payment list on the screen with the amounts paid and still to pay.
#include <string>

#include "base/dataset.h"
#include "screen/frame/screen_scope.h"

namespace recebimento::screen {

// What the card terminal (or a wallet) returned for the tender being paid, in the
// columns of the payment line.
struct CardData {
  std::string NRCARTBANCO, CDNSUHOSTTEF, CDNSUTEF, NRCONTROLTEF, NMBANDTEF, NRAUTORIZATEF, DSCARTDIGITAL;
  std::string CDBANCARTCR, CDINSTCAR, CDTIPORECEORIG, NMTIPORECEORIG, IDTRANSAME;
  std::string IDFILAPAGMFE, CDAUTORIZMFE, CDBINCARTMFE, NMINSTFINMFE, CDPAGAMENMFE;
  int QTPARCRECEB = 0;  // installments the terminal returned
};

// The tender being paid, as tender selection hands it to the payment line. The tender
// itself is the current row of cdsReceb.
struct TenderPayment {
  int installments = 0;  // asked of the operator (0: none)
  double doVrTef = 0;    // amount the card terminal approved
  CardData card;
  double foreign_amount = 0;  // the amount in the foreign currency
  double rate = 1.0;          // the foreign currency's rate
  // A top-up of a bonus type also records the bonus in the type's own tender.
  base::Dataset* bonus_tender = nullptr;
  double bonus_amount = 0;
};

// A tender name in its 20-character column, a blank and the amount right-aligned in 14.
std::string PaymentListLine(const std::string& name, double amount);

// A label and an amount right-aligned to a display `width` characters wide.
std::string DisplayLine(const std::string& label, double amount, int width);

class PaymentLines {
 public:
  explicit PaymentLines(ScreenScope& s) : s_(s) {}

  // Adds the first 35 characters of `text` as a line of `memo`, and of memListaAux when `aux`.
  void Linha(Control& memo, const std::string& text, bool aux);

  // Lists the payments the host brought (mobile and delivery orders, change lines).
  void ListHostPayments();
  // Empties the host's payment dataset; one without fields gets the payment columns.
  void ResetPaymentDataset();

  // Writes the payment line of `amount` (cash merges into the open cash line) and its
  // list line; refuses it (boFalhaReceb) above the payment limit.
  void WritePaymentLine(double amount, const TenderPayment& tender);
  void UpdatePaidAmounts(double amount);
  // The change step; false when the operator refused to take the excess back.
  bool SettleChange();
  // Redraws the payment list from the sale's own lines and the payment lines.
  void RedrawList();
  void ShowTotalsOnPosKeyboard();

 private:
  // The consumer charged and the dates, written into the line being inserted.
  void FillConsumerColumns(base::Dataset& movi);

  ScreenScope& s_;
};

}  // namespace recebimento::screen
