#pragma once
// Number of installments of a tender: asked on the host's numeric keypad, bounded by the
// tender's maximum and checked against the minimum value of one installment.
#include <string>

#include "screen/frame/screen_scope.h"

namespace recebimento::screen {

class Installments {
 public:
  explicit Installments(ScreenScope& s) : s_(s) {}

  // Asks the number of installments (1 when not typed), at most `maximo`.
  double SolicitaQuantidadeParcelas(double maximo);
  // Checks the number against the minimum value of one installment; on refusal fills
  // `mensagem`, puts the amount back on the keypad and replays its Enter.
  bool ValidaQuantidadeParcelas(double minimo, double valor, double quantidade, std::string& mensagem);

 private:
  // One keypad round: the proposal stays when the operator cancels; "0" (and an empty
  // answer) mean one installment.
  std::string AskInstallments(const std::string& proposal);

  ScreenScope& s_;
};

}  // namespace recebimento::screen
