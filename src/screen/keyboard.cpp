// The keyboard: keys and characters from the PC keyboard, the POS keyboard and the
// on-screen keypad, the value being typed, the Enter and Escape procedures.
#include <filesystem>
#include <string>

#include "base/path.h"
#include "base/text.h"
#include "host/pos/host_services.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "screen/control_state.h"
#include "screen/frm_recebimento.h"
#include "screen/message_table.h"
#include "screen/screen_globals.h"
#include "screen/typed_amount.h"

namespace recebimento::screen {

namespace {

constexpr int kBackspace = 8, kEnter = 13, kEscape = 27, kDelete = 46;
constexpr int kTeclaC = 67, kTeclaD = 68, kTeclaL = 76, kTeclaO = 79, kTeclaV = 86;
constexpr int kF1 = 112, kF4 = 115;

// Removes the last character (not byte) of `s`.
void RemoveUltimoCaractere(std::string& s) {
  const size_t n = base::Utf8Length(s);
  if (n > 0) s = base::Utf8Left(s, n - 1);
}

// The sale-summary panel's yes. The confirmation waiting on the panel reads the answer
// from its tag once the panel is hidden; the panel itself comes with the confirmation.
void RespondeDadosVenda(ControlRegistry& c) {
  if (Control* p = c.FindComponent("panDadosVenda")) {
    p->tag = 1;
    p->visible = false;
  }
}

// The answer of a Mercado Pago refund.
struct RespostaEstornoMP {
  bool ok = true;
  std::string error;  // the answer's "error" field on failure
};

// The Mercado Pago refund of the first payment listed in stPAYMENTID. Payments through
// Mercado Pago come with the wallet; until then there is never one to refund.
RespostaEstornoMP estornoMP(TfrmRecebimento& frm) {
  frm.stPAYMENTIDestorno = frm.stPAYMENTID.substr(0, frm.stPAYMENTID.find(','));
  return {};
}

// The code point of a text of one UTF-8 character.
char32_t PrimeiroCaractere(const std::string& c) {
  const auto b = [&](size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(c[i])); };
  if (c.empty()) return 0;
  if (b(0) < 0x80 || c.size() == 1) return b(0);
  if (c.size() == 2) return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
  if (c.size() == 3) return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
  return ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
}

}  // namespace

void TfrmRecebimento::KeybEnabled(bool enabled) {
  for (const char* n : {"sbt1", "sbt2", "sbt3", "sbt4", "sbt5", "sbt6", "sbt7", "sbt8", "sbt9", "sbt0", "sbt00",
                        "sbt000", "sbtCorrigir", "sbtVirgula"})
    if (Control* b = Controls().FindComponent(n)) b->enabled = enabled;
}

void TfrmRecebimento::PostText(const std::string& text, bool enter, bool as_chars) {
  const size_t n = base::Utf8Length(text);
  for (size_t i = 0; i < n; ++i) {
    const char32_t ch = PrimeiroCaractere(base::Utf8Mid(text, i, 1));
    if (as_chars) {
      FormKeyPress(ch);
    } else {
      int key = static_cast<int>(ch);
      FormKeyDown(key, false, false, false);
    }
  }
  if (enter) {
    int key = kEnter;
    FormKeyDown(key, false, false, false);
  }
}

Control* TfrmRecebimento::ValorDigitadoLabel() {
  const int kind = static_cast<int>(tpTeclado);
  if (kind < 0 || kind >= kTipoTeclCount || arValLabels[kind].empty()) return nullptr;
  return Controls().FindComponent(arValLabels[kind]);
}

void TfrmRecebimento::FormKeyDown(int& key, bool shift, bool alt, bool ctrl) {
  ControlRegistry& c = Controls();
  Control* valor = ValorDigitadoLabel();
  if (valor) stValorDigitado = valor->caption;
  const bool so_alt = alt && !shift && !ctrl;
  bool mostra_valor = false;

  switch (key) {
    case kF1:
      if (stIdTipoVenda != "B" && pos::HostServicesInstalled()) pos::Host().fiscal->RelFiscais();
      break;
    case kBackspace:
      if (tpInputStep != isTroco && Habilitado(c, "sbtCorrigir")) {
        RemoveUltimoCaractere(stValorDigitado);
        boLimpaEntrada = false;
      }
      mostra_valor = true;
      break;
    case kDelete:
      if (pos::HostServicesInstalled() && pos::Host().keyboard->Teclado_OK()) break;
      if (tpInputStep != isTroco && Habilitado(c, "sbtCorrigir")) {
        stValorDigitado.clear();
        if (Control* l = c.FindComponent("lblInputReceb2")) l->caption.clear();
        boLimpaEntrada = false;
      }
      mostra_valor = true;
      break;
    case kEscape:
      if (boOperacaoEmCurso || boProcessandoSaida) break;
      if (Visivel(c, "panKeyboard"))
        CtrlBotoes("D", 1);
      else
        SaidaPorEscape();
      mostra_valor = true;
      break;
    case kEnter:
      mostra_valor = TeclaEnter();
      break;
    case kTeclaC:
      if (so_alt && stIdTipoVenda != "B") Aciona(c, "spbCNPJCPF");
      break;
    case kF4:
      if (so_alt) key = 0;  // Alt+F4 must not close the payment screen
      break;
    case kTeclaV:
      if (Habilitado(c, "spbSair")) spbSairClick();
      break;
    case kTeclaL:
      if (Habilitado(c, "spbClear")) spbClearClick();
      break;
    case kTeclaO:
      if (Habilitado(c, "spbDesconto")) Aciona(c, "spbDesconto");
      break;
    case kTeclaD:
      if (so_alt && Habilitado(c, "spbDotz")) spbDotzClick();
      break;
    default:
      break;
  }
  // The handlers above may have closed and freed nothing of ours, but the label is looked
  // up again in case a layout rebuilt it.
  if (mostra_valor)
    if (Control* v = ValorDigitadoLabel()) v->caption = stValorDigitado;
}

bool TfrmRecebimento::TeclaEnter() {
  ControlRegistry& c = Controls();
  doVrDigitado = stValorDigitado.empty() ? 0 : ValorDigitado(stValorDigitado);
  if (tpInputStep != isNone && (AcimaDoLimite(doVrDigitado) || AcimaDoLimite(doVrDigitado + doVrPago))) {
    MostraMensagem(Msg("Lim_Pag"), runtime::kMsgPrompt);
    CtrlBotoes("D", 1);
    return false;
  }
  if (Visivel(c, "panDadosVenda")) RespondeDadosVenda(c);

  if (doVrDigitado != 0 || boEntradaGorjeta) {
    switch (tpInputStep) {
      case isNone: tpInputStep = isTroco; break;
      case isMoeda1: tpInputStep = isMoeda2; break;
      case isConvenio1: tpInputStep = isConvenio2; break;
      default: tpInputStep = isNone; break;
    }
  } else if (Visivel(c, "panKeyboard")) {
    MostraMensagem(Msg("Dig_Val"), runtime::kMsgBlocked);
    CtrlBotoes("D", 1);
    return false;
  }

  if (Habilitado(c, "panFundoConfirma") && Habilitado(c, "spbOk")) {
    if (stTipoTela == "N" || stTipoTela == "C" || !Visivel(c, "panKeyboard")) Aciona(c, "spbOk");
  }
  boLimpaEntrada = false;
  return true;
}

void TfrmRecebimento::FormKeyPress(char32_t ch) {
  if (tpTeclado == ttNone) return;
  ControlRegistry& c = Controls();
  Control* valor = ValorDigitadoLabel();
  if (valor) stValorDigitado = valor->caption;

  // Two digits choose a tender button while the grid is offered.
  if (boBotoesVisiveis && boBotoesHabilitados && ch >= U'0' && ch <= U'9') {
    if (stCodTipoDigitado.size() >= 2) stCodTipoDigitado.clear();
    stCodTipoDigitado += static_cast<char>(ch);
    if (stCodTipoDigitado.size() == 2) {
      const int n = std::atoi(stCodTipoDigitado.c_str());
      const std::string nome = "tcbBalcao" + stCodTipoDigitado;
      const Control* b = c.FindComponent(nome);
      // Only a button the operator could press: a tender the grid shows disabled (the
      // consumer's sale type) is not reachable from the keyboard either.
      if (n < 25 && b && !b->caption.empty() && b->visible && b->enabled) {
        stCodTipoDigitado.clear();
        tcbBalcao01Click(nome);
        return;
      }
      MostraMensagem(Msg("TIP_INV"), runtime::kMsgBlocked);
    }
  }

  // A to F choose a group.
  const char32_t upper = (ch >= U'a' && ch <= U'f') ? ch - U'a' + U'A' : ch;
  if (upper >= U'A' && upper <= U'F') {
    const std::string nome = "tcbGrupo0" + std::string(1, static_cast<char>('1' + (upper - U'A')));
    const Control* g = c.FindComponent(nome);
    if (g && g->visible && g->enabled) tcbGrupo01Click(nome);
  }

  if (tpTeclado != ttvalor) return;
  const char sep = runtime::GetNumberLocale().decimal_separator;
  if (ch == U',' || ch == U'.') ch = static_cast<char32_t>(sep);
  if (tpInputStep == isTroco) return;

  const bool digitos = Habilitado(c, "sbt1");
  if (boLimpaEntrada && digitos) stValorDigitado.clear();
  const bool eh_separador = ch == static_cast<char32_t>(sep);
  const bool eh_digito = ch >= U'0' && ch <= U'9';
  bool aceita = eh_digito || eh_separador;
  if (eh_separador) {
    if (stValorDigitado.empty()) {
      stValorDigitado = "0";
      if (Control* l = c.FindComponent("lblInputReceb2")) l->caption = "0";
    } else if (stValorDigitado.find(sep) != std::string::npos) {
      aceita = false;
    }
  }
  if (aceita && Visivel(c, "panKeyboard") && digitos) {
    const size_t pos_sep = stValorDigitado.find(sep);
    const bool casas_completas = pos_sep != std::string::npos && stValorDigitado.size() - pos_sep - 1 >= 2;
    if (!casas_completas) stValorDigitado += static_cast<char>(ch);
  }
  if (ch == U'\r' && (!stValorDigitado.empty() || boEntradaGorjeta) && Habilitado(c, "panFundoConfirma") &&
      Habilitado(c, "panKeyboard"))
    CtrlBotoes("P", 1);
  boLimpaEntrada = false;
  if (Control* v = ValorDigitadoLabel()) v->caption = stValorDigitado;
}

bool TfrmRecebimento::ExisteTefPendente() const {
  std::string pasta = base::Trim(stDSDIRPENTEF);
  if (pasta.empty()) return false;
  try {
    if (pasta[0] != '/') pasta = base::JoinSpecPath(pos::HostServicesInstalled() ? pos::Host().host_dir : ".", pasta);
  } catch (const base::PathError&) {
    return false;
  }
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(pasta, ec)) {
    if (base::IStartsWith(e.path().filename().string(), "intpos.")) return true;
  }
  return false;
}

TfrmRecebimento::TefPendenteNaSaida TfrmRecebimento::CancelaTefPendenteNaSaida(int tentativas_cupom) {
  if (inQtdeTef <= 0) return TefPendenteNaSaida::Nenhum;
  const pos::HostServices& host = pos::Host();
  host.printer->CheckIntPosFiles(stIDESQUEMA, false);
  if (!ExisteTefPendente()) return TefPendenteNaSaida::Nenhum;
  if (!boCupomCancelado) {
    const std::vector<base::Variant> args = {base::Variant(stIDESQUEMA), base::Variant(false),
                                             base::Variant(false),       base::Variant(true),
                                             base::Variant(stCDFILIAL),  base::Variant(stCDCAIXA),
                                             base::Variant(stNRSERIEIMP)};
    for (int tentativa = 0; tentativa < tentativas_cupom && !boCupomCancelado; ++tentativa)
      boCupomCancelado = host.printer->Cancela_Cupom_Imp(args, oleRetorno);
  }
  Habilita(Controls(), "spbSair", false);
  pos::PendingTefRequest pedido;
  pedido.stCDFILIAL = stCDFILIAL;
  pedido.stCDCAIXA = stCDCAIXA;
  pedido.stIDESQUEMA = stIDESQUEMA;
  pedido.inQtdeTef = inQtdeTef;
  pedido.inIDTIPOIMPFIS = inIDTIPOIMPFIS;
  pedido.fiscal_flag = boUTILIZAIMPFIS ? "F" : "N";
  pedido.stIDTIPOIMPNF3 = stIDTIPOIMPNF3;
  pedido.stCDPORTIMPNF3 = stCDPORTIMPNF3;
  const bool cancelou = host.printer->CancelaPendencia(pedido);
  Habilita(Controls(), "spbSair", true);
  return cancelou ? TefPendenteNaSaida::Cancelado : TefPendenteNaSaida::Mantido;
}

void TfrmRecebimento::CancelaPagamentosMP() {
  while (!stPAYMENTID.empty()) {
    const RespostaEstornoMP r = estornoMP(*this);
    if (r.ok) {
      stPAYMENTIDestorno.clear();
    } else {
      MostraMensagem(r.error == "unauthorized" ? "Sem permissão para cancelar a transação no Mercado Pago."
                                               : "Erro ao cancelar a transação no Mercado Pago.",
                     runtime::kMsgBlocked);
    }
    // The payment leaves the list either way, so the loop always ends.
    const size_t virgula = stPAYMENTID.find(',');
    stPAYMENTID = virgula == std::string::npos ? "" : stPAYMENTID.substr(virgula + 1);
  }
}

void TfrmRecebimento::SaidaPorEscape() {
  CancelaPagamentosMP();
  boVendaOk = false;
  if (inQtdeTef == 0) boOperacaoEmCurso = false;

  // Card transactions the host could not cancel still stand: the screen stays.
  if (CancelaTefPendenteNaSaida(3) == TefPendenteNaSaida::Mantido) return;

  // Closing the payment dataset here would hand the host back no payments at all, not
  // even the ones it brought (a paid delivery or mobile order): give back what it brought.
  RestauraPagamentosDoHost();
  // The amount paid goes with the payments: a sale left unpaid must not report the
  // payments it dropped as paid.
  if (vendaInicial.gravada) doVrPago = vendaInicial.doVrPago;
  stlRetorno.clear();
  doVrTroco = doVrRepique = doVrDigitado = 0;
  boVendaOk = false;
  if (boDisplayOK && pos::HostServicesInstalled()) pos::Host().display->LimpaDisplay();
  FormClose();
}

}  // namespace recebimento::screen
