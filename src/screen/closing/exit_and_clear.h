#pragma once
// Leaving the screen (the exit button, Escape) and discarding every payment entered on it
// (the clear button), back to the sale as the entry handed it over.
#include <string>
#include <vector>

#include "base/data_packet.h"
#include "screen/frame/screen_scope.h"

namespace recebimento::screen {

class ExitAndClear {
 public:
  explicit ExitAndClear(ScreenScope& s) : s_(s) {}

  // The exit button: the keypad's own exit first, then the card terminal's pending
  // transactions, the AME order, and the close.
  void Leave();
  // Escape with the keypad hidden: refunds, pending card transactions, closing.
  void LeaveByEscape();
  // The clear button. Its first run, by the entry before the screen shows, keeps the sale
  // as it came; every later one goes back to it.
  void Clear();
  // The pay label's caption as the screen opened it.
  void RestorePayCaption();
  // The host's payments and their list lines as they stand now become what a later clear
  // goes back to (a remote payment the checks refused is no payment of the sale).
  void KeepHostPaymentsAsTheyAre();

 private:
  // Puts back the payment lines the host handed over, dropping those entered here.
  void RestoreHostPayments();

  ScreenScope& s_;
  // The sale as the entry handed it over.
  struct InitialSale {
    bool kept = false;
    base::DataPacket items, payments;
    double paid = 0;
    std::vector<std::string> list, list_aux;
  } initial_;
  std::string pay_caption_;  // lblPagar's caption as the screen opened it
};

}  // namespace recebimento::screen
