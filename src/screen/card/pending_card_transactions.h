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

  // Card-terminal answer files ("intpos.NNN") waiting in the pending folder DSDIRPENTEF.
  int AnswerFilesWaiting() const;
  bool AnswerFileWaiting() const { return AnswerFilesWaiting() > 0; }

  // At the start of a sale: transactions an interrupted call left neither confirmed nor
  // undone are found (the host's check moves them to the pending folder) and resolved
  // by the host, which confirms those of a sale that closed and undoes the others. False
  // (and the operator told) when they still stand.
  bool SettleLeftOver();

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
  // The host's request to resolve `transactions` pending transactions.
  pos::PendingTefRequest CancelRequest(int transactions) const;

  ScreenScope& s_;
};

}  // namespace recebimento::screen
