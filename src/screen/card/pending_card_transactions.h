#pragma once
// Card transactions the card terminal left pending: found through its answer files,
// cancelled with the host when the operator leaves the sale, and the dedicated terminal's
// last transaction of a cleared sale.
#include <string>

#include "host/pos/fiscal_printer.h"
#include "screen/frame/screen_scope.h"

namespace recebimento::screen {

class PendingCardTransactions {
 public:
  explicit PendingCardTransactions(ScreenScope& s) : s_(s) {}

  // A card-terminal answer file ("intpos.*") waits in the pending folder DSDIRPENTEF.
  bool AnswerFileWaiting() const;

  enum class OnExit { None, Cancelled, Kept };
  // On leaving a sale that made card transactions: when the terminal left some pending,
  // the receipt is cancelled (unless it already was; up to `receipt_tries` tries) and the
  // host cancels them, with the exit button locked meanwhile. Kept: they still stand.
  OnExit CancelOnExit(int receipt_tries);

  // The dedicated card transaction left in "ultTef.cds" of a cleared sale.
  void CancelDedicatedLeftOver();

  // What the host needs to cancel the card transactions left pending.
  pos::PendingTefRequest PendingRequest() const;

 private:
  ScreenScope& s_;
};

}  // namespace recebimento::screen
