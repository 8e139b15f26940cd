// The on-screen keypad: digits, separator and correction typed as keys, the Enter with
// its guard and the receipt limit, the way back to the tender grid, and the texts of the
// card terminal's return codes.
#include <map>
#include <string>

#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "screen/frm_recebimento.h"
#include "screen/message_table.h"
#include "screen/typed_amount.h"

namespace recebimento::screen {

namespace {

// Clears a flag however the handler leaves.
struct Guarda {
  bool& flag;
  explicit Guarda(bool& f) : flag(f) { flag = true; }
  ~Guarda() { flag = false; }
};

}  // namespace

void TfrmRecebimento::LigaBotoesEntradaValor() {
  ControlRegistry& c = Controls();
  auto liga = [&](const std::string& name, std::function<void()> handler) {
    if (Control* b = c.FindComponent(name)) b->on_click = std::move(handler);
  };
  for (int d = 0; d <= 9; ++d) {
    const std::string name = "sbt" + std::to_string(d);
    if (Control* b = c.FindComponent(name)) b->tag = '0' + d;
    liga(name, [this, name] { sbt1Click(name); });
  }
  liga("sbt00", [this] { sbt00Click(); });
  liga("sbt000", [this] { sbt000Click(); });
  liga("sbtVirgula", [this] { sbtVirgulaClick(); });
  liga("sbtCorrigir", [this] { sbtCorrigirClick(); });
  liga("sbtEnter", [this] { sbtEnterClick(); });
  liga("sbtVoltar", [this] { sbtVoltarClick(); });
  liga("spbOk", [this] { spbOkClick(); });
  liga("spbSair", [this] { ExecutaSaida(); });
  liga("spbClear", [this] { LimpaRecebimentos(); });

  // The sale summary is answered on its own panel: the tag carries the answer (1 yes,
  // 2 no) to the confirmation that waits for the panel to close.
  if (c.FindComponent("panDadosVenda")) {
    for (const auto& [name, caption, answer, left] :
         {std::tuple{"btnConfDadosVenda", "Confirmar", 1, 100}, std::tuple{"btnCancDadosVenda", "Cancelar", 2, 210}}) {
      Control* b = c.FindComponent(name);
      if (!b) b = &c.Add(name, "button", caption, left, 190, 90, 50, "panDadosVenda");
      b->on_click = [this, answer = answer] {
        Control& painel = Ctl("panDadosVenda");
        painel.tag = answer;
        painel.visible = false;
      };
    }
  }
}

void TfrmRecebimento::sbt1Click(const std::string& sender) {
  const Control* b = Controls().FindComponent(sender);
  if (!b || b->tag < '0' || b->tag > '9') return;
  PostText(std::string(1, static_cast<char>(b->tag)), false, true);
}

void TfrmRecebimento::sbt00Click() { PostText("00", false, true); }

void TfrmRecebimento::sbt000Click() { PostText("000", false, true); }

void TfrmRecebimento::sbtVirgulaClick() {
  PostText(std::string(1, runtime::GetNumberLocale().decimal_separator), false, true);
}

void TfrmRecebimento::sbtCorrigirClick() { PostText("\b", false, false); }

void TfrmRecebimento::sbtEnterClick() {
  if (boProcessandoEnter) return;
  Guarda guarda(boProcessandoEnter);
  if (Control* valor = ValorDigitadoLabel()) stValorDigitado = valor->caption;
  const bool digitado = !stValorDigitado.empty();
  doVrDigitado = digitado ? ValorDigitado(stValorDigitado) : 0;
  if (AcimaDoLimite(doVrDigitado) || AcimaDoLimite(doVrDigitado + doVrPago)) {
    MostraMensagem(Msg("Lim_Pag"), runtime::kMsgPrompt);
    CtrlBotoes("D", 1);
    return;
  }
  // The button area changes before the Enter is handled, as it did when the key was
  // only queued to the window: the tender waiting for it sets its own mode afterwards.
  if (digitado && doVrDigitado != 0) CtrlBotoes("P", 1);
  PostText("", true, true);
}

void TfrmRecebimento::sbtVoltarClick() { CtrlBotoes("D", 1); }

std::string TfrmRecebimento::MsgErro(const std::string& codigo) {
  static const std::map<std::string, std::string> textos = {
      {"00", "Execução OK"},
      {"-1", "Operação Cancelada ! "},
      {"-2", "Transação Negada ! "},
      {"01", "Time out da transação"},
      {"02", "Apitef não inicializada"},
      {"04", "Erro nos parâmetros/erro de integração"},
      {"05", "Transação não autorizada"},
      {"06", "Transação cancelada pelo operador/cliente"},
      {"09", "Autorizadora offline"},
      {"10", "Erro de comunicação da Apitef"},
      {"11", "Erro no CTF"},
      {"12", "Erro na camada de Intertef da Apitef"},
      {"13", "Transação confirmada, mas ainda existem outras transações a confirmar"},
      {"15", "Erro de formatação comprovante"},
      {"18", "Transação desfeita"},
      {"19", "Documento inexistente para cancelar"},
      {"20", "Dados inválidos da integração"},
      {"21", "Não há transações para consolidar"},
      {"22", "Não há comprovantes para imprimir"},
      {"25", "Erro interno do CTFClient"},
      {"26", "Erro retornado pelo pinpad"},
      {"27", "Erro de integração"},
      {"50", "Biblioteca de Automação Comercia l não foi inicializada"},
      {"51", "Erro de alocação de memória"},
      {"53", "Erro carregando bibliotecas de criptografia"},
      {"54", "Erro ao estabelecer conexão"},
      {"55", "Erro ao enviar dados pela conexão"},
      {"56", "Erro ao ler dados da conexão"},
      {"57", "Mensagem com formato inválido recebida do CTF Client"},
      {"58", "Chamada de rotina inválida"},
      {"59", "Variável de ambiente CTFCLIENT_HOME não está configurada"},
      {"98", "Erro interno desconhecido"},
      {"99", "O comando devolvido deve ser executado pela AC, e o resultado deve ser enviado em nova chamada da "
             "rotina continuaTransacaoCTF"},
  };
  const auto it = textos.find(base::Trim(codigo));
  return it == textos.end() ? "Erro não documentado" : it->second;
}

}  // namespace recebimento::screen
