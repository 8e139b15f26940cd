#pragma once
// The CHART card (tender kind "E"): the card is read by the CHART software beside the
// point of sale, which the screen talks to through request and answer files in the
// exchange folders. The screen writes the request, waits for the software to take it,
// then waits for its answer; the operator may give up the wait, which cancels the
// transaction with the software.
#include <cstdint>
#include <functional>
#include <string>

#include "host/pos/chart_exchange.h"
#include "screen/frame/screen_scope.h"
#include "screen/payment/payment_lines.h"

namespace recebimento::screen {

class ChartCard {
 public:
  // How long the software has to take a request, and how often its answer is looked for.
  static constexpr int64_t kTakeUpMs = 5000;
  static constexpr int64_t kPollMs = 500;

  explicit ChartCard(ScreenScope& s) : s_(s) {}

  // The amount of a CHART card tender and the numbers of its approval; false when the
  // selection ended without a line.
  bool ChartTender(TenderPayment& tender, double& amount);

  // The operator pressed the panel's cancel button while the answer is awaited.
  void RequestAbandon() { abandon_requested_ = true; }

 private:
  enum class Outcome { Approved, Cancelled, NotTaken, Abandoned };
  // The exchange with the software for `amount`: request, take-up, answer.
  Outcome Exchange(double amount, pos::ChartAnswer& answer);
  // Waits up to `ms` on the pump's clock, the operator free to act, or until `done`.
  void WaitFor(int64_t ms, const std::function<bool()>& done);
  // Asks the operator to confirm giving up; on yes, unless the software `answered` in the
  // meantime, it is told to cancel.
  bool AbandonConfirmed(const std::function<bool()>& answered);
  // The selection fails with `text` (when not empty) and the grid is offered again.
  void Fail(const std::string& text);

  ScreenScope& s_;
  bool abandon_requested_ = false;
};

}  // namespace recebimento::screen
