#include "screen/payment/installments.h"

#include <cstdlib>
#include <string>

#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

namespace {

// The keypad answers digits (a comma at most); anything unreadable counts as 0, which
// the check refuses with a message instead of taking a number nobody typed.
double TypedNumber(const std::string& text) {
  std::string plain = base::Trim(text);
  for (char& ch : plain)
    if (ch == ',') ch = '.';
  if (plain.empty()) return 0;
  char* end = nullptr;
  const double n = std::strtod(plain.c_str(), &end);
  return end && *end == '\0' ? n : 0;
}

}  // namespace

std::string Installments::AskInstallments(const std::string& proposal) {
  std::string text = proposal;
  std::string typed = proposal;
  if (s_.ctx.host.dialogs->TecladoNumerico(typed, Msg("PARCELAS"), Msg("INF_PARCELAS"), Msg("INF_N_PARCELAS"), 10))
    text = typed;
  if (base::Trim(text) == "0" || base::Trim(text).empty()) text = "1";
  return text;
}

double Installments::SolicitaQuantidadeParcelas(double maximo) {
  // A tender that asks for installments without a maximum allows one; otherwise no
  // number could ever pass and the keypad would come back forever.
  if (!(maximo >= 1)) maximo = 1;
  std::string text = AskInstallments("1");
  double number = TypedNumber(text);
  while (number > maximo) {
    s_.ShowMessage(Msg("QTMAXPARC") + runtime::FormatFloat("", maximo), runtime::kMsgBlocked);
    text = AskInstallments(text);
    number = TypedNumber(text);
  }
  return number;
}

bool Installments::ValidaQuantidadeParcelas(double minimo, double valor, double quantidade, std::string& mensagem) {
  mensagem.clear();
  if (quantidade <= 0) {
    mensagem = Msg("Qtparc_inf");
  } else if (quantidade > 1 && runtime::RoundDec(valor / quantidade, 6) < minimo) {
    mensagem = Msg("VRMINPARC1") + runtime::FormatFloat("0.00", valor / quantidade) + ".  " + Msg("VRMINPARC2") + " " +
               runtime::FormatFloat("0.00", minimo);
  }
  if (mensagem.empty()) return true;

  s_.ShowMessage(mensagem, runtime::kMsgBlocked);
  s_.controls.SetEnabled("spbSair", true);
  // The amount goes back on the keypad and its Enter takes the screen out of the step.
  const std::string amount = runtime::FormatFloat("0.00", valor);
  s_.controls.SetCaption("lblInputReceb2", amount);
  s_.parts.keyboard.SetTypedText(amount);
  s_.parts.keyboard.PressEnter();
  return false;
}

}  // namespace recebimento::screen
