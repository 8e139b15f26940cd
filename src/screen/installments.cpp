// Number of installments of a tender: asked on the host's numeric keypad, bounded by the
// tender's maximum and checked against the minimum value of one installment.
#include <cstdlib>
#include <string>

#include "base/text.h"
#include "host/pos/host_services.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "screen/frm_recebimento.h"
#include "screen/message_table.h"

namespace recebimento::screen {

namespace {

// The keypad answers digits (a comma at most); anything unreadable counts as 0, which
// the check refuses with a message instead of taking a number nobody typed.
double NumeroDigitado(const std::string& text) {
  std::string plain = base::Trim(text);
  for (char& ch : plain)
    if (ch == ',') ch = '.';
  if (plain.empty()) return 0;
  char* end = nullptr;
  const double n = std::strtod(plain.c_str(), &end);
  return end && *end == '\0' ? n : 0;
}

// One keypad round: the proposal stays when the operator cancels; "0" (and an empty
// answer) mean one installment.
std::string PedeParcelas(const std::string& proposta) {
  std::string texto = proposta;
  std::string digitado = proposta;
  if (pos::Host().dialogs->TecladoNumerico(digitado, Msg("PARCELAS"), Msg("INF_PARCELAS"), Msg("INF_N_PARCELAS"),
                                           10))
    texto = digitado;
  if (base::Trim(texto) == "0" || base::Trim(texto).empty()) texto = "1";
  return texto;
}

}  // namespace

double TfrmRecebimento::SolicitaQuantidadeParcelas(double maximo) {
  // A tender that asks for installments without a maximum allows one; otherwise no
  // number could ever pass and the keypad would come back forever.
  if (!(maximo >= 1)) maximo = 1;
  std::string texto = PedeParcelas("1");
  double numero = NumeroDigitado(texto);
  while (numero > maximo) {
    MostraMensagem(Msg("QTMAXPARC") + runtime::FormatFloat("", maximo), runtime::kMsgBlocked);
    texto = PedeParcelas(texto);
    numero = NumeroDigitado(texto);
  }
  return numero;
}

bool TfrmRecebimento::ValidaQuantidadeParcelas(double minimo, double valor, double quantidade,
                                               std::string& mensagem) {
  mensagem.clear();
  if (quantidade <= 0) {
    mensagem = Msg("Qtparc_inf");
  } else if (quantidade > 1 && runtime::RoundDec(valor / quantidade, 6) < minimo) {
    mensagem = Msg("VRMINPARC1") + runtime::FormatFloat("0.00", valor / quantidade) + ".  " + Msg("VRMINPARC2") +
               " " + runtime::FormatFloat("0.00", minimo);
  }
  if (mensagem.empty()) return true;

  MostraMensagem(mensagem, runtime::kMsgBlocked);
  if (Control* sair = Controls().FindComponent("spbSair")) sair->enabled = true;
  // The amount goes back on the keypad and its Enter takes the screen out of the step.
  const std::string texto_valor = runtime::FormatFloat("0.00", valor);
  if (Control* entrada = Controls().FindComponent("lblInputReceb2")) entrada->caption = texto_valor;
  stValorDigitado = texto_valor;
  sbtEnterClick();
  return false;
}

}  // namespace recebimento::screen
