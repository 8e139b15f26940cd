// Leaving the screen (spbSair) and discarding every payment entered on it (spbClear).
#include <filesystem>
#include <string>
#include <vector>

#include "base/packet_file.h"
#include "base/path.h"
#include "base/text.h"
#include "host/pos/host_services.h"
#include "screen/control_state.h"
#include "screen/frm_recebimento.h"
#include "screen/screen_globals.h"
#include "screen/screen_log.h"

namespace recebimento::screen {

namespace {

// A folder of the configuration: absolute as given, else under the host's folder.
std::string PastaDaConfiguracao(const std::string& pasta) {
  const std::string p = base::Trim(pasta);
  if (p.empty()) return {};
  if (p[0] == '/') return p;
  try {
    return base::JoinSpecPath(pos::Host().host_dir.empty() ? "." : pos::Host().host_dir, p);
  } catch (const base::PathError&) {
    return {};
  }
}

}  // namespace

void TfrmRecebimento::ExecutaSaida() {
  if (boProcessandoSaida) return;
  LogRev00000("aciona botao voltar");
  ControlRegistry& c = Controls();
  if (Control* pagar = c.FindComponent("lblPagar"); pagar && !stLegendaPagar.empty()) pagar->caption = stLegendaPagar;
  if (const Control* digito = c.FindComponent("sbt1"); digito && digito->enabled) {
    int escape = 27;
    FormKeyDown(escape, false, false, false);
    if (Closed()) return;  // the keyboard's own exit already closed the screen
  }
  boProcessandoSaida = true;
  struct Libera {
    bool& flag;
    ~Libera() { flag = false; }
  } libera{boProcessandoSaida};

  switch (CancelaTefPendenteNaSaida(1)) {
    case TefPendenteNaSaida::Mantido:
      return;  // card transactions still stand: the screen stays open
    case TefPendenteNaSaida::Cancelado:
      break;
    case TefPendenteNaSaida::Nenhum:
      if (inQtdeTef == 0) CancelaOrdemAmePendente();
      break;
  }
  PostaFechamento();
}

void TfrmRecebimento::LimpaRecebimentos() {
  ControlRegistry& c = Controls();
  if (!vendaInicial.gravada) {
    // The entry's own clear, before the screen shows: the sale as it came is what any
    // later clear goes back to.
    vendaInicial.gravada = true;
    if (cdsItensVenda && cdsItensVenda->Active()) vendaInicial.itens = cdsItensVenda->Data();
    if (cdsMoviVenda && cdsMoviVenda->Active()) vendaInicial.pagamentos = cdsMoviVenda->Data();
    vendaInicial.doVrPago = doVrPago;
    vendaInicial.lista = Ctl("memLista").lines;
    vendaInicial.lista_aux = Ctl("memListaAux").lines;
    if (const Control* pagar = c.FindComponent("lblPagar")) stLegendaPagar = pagar->caption;
  } else {
    LogRev00000("Limpa recebimentos");
    CancelaTefDedicadoPendente();
    CancelaPagamentosMP();
    EstornaPagamentosCarteiras();
    if (cdsItensVenda && cdsItensVenda->Active() && !vendaInicial.itens.fields.empty())
      cdsItensVenda->SetData(vendaInicial.itens);
    RestauraPagamentosDoHost();
    doVrPago = vendaInicial.doVrPago;
    doVrDesconto = doVrAcrescimo = doVrTroco = doVrRepique = doVrDigitado = 0;
    doPercDesconto = doPercAcrescimo = 0;
    boTemPagtoTef = false;
    CalculaTotais();
    Ctl("memLista").lines = vendaInicial.lista;
    Ctl("memListaAux").lines = vendaInicial.lista_aux;
    if (Control* pagar = c.FindComponent("lblPagar"); pagar && !stLegendaPagar.empty())
      pagar->caption = stLegendaPagar;
    MostraTotaisTecladoPOS();
  }
  stValorDigitado.clear();
  stlRetorno.clear();
  tpInputStep = isNone;
  CtrlBotoes("P", 1);
}

void TfrmRecebimento::RestauraPagamentosDoHost() {
  if (cdsMoviVenda && !vendaInicial.pagamentos.fields.empty()) cdsMoviVenda->SetData(vendaInicial.pagamentos);
}

void TfrmRecebimento::CancelaTefDedicadoPendente() {
  const std::string pasta = PastaDaConfiguracao(stDSDIRCAD);
  if (pasta.empty()) return;
  const std::string arquivo = pasta + "/ultTef.cds";
  std::error_code ec;
  if (!std::filesystem::exists(arquivo, ec)) return;
  LogRev00000("Limpa recebimentos - trata Tef pendente");
  base::Dataset ult("cdsUltTef");
  try {
    ult.LoadFromFile(arquivo);
  } catch (const std::exception& e) {
    // A damaged file is kept for the host to look at; nothing is cancelled blindly.
    MostraMensagem(std::string("Arquivo de TEF pendente ilegível: ") + e.what(), 3);
    return;
  }
  if (ult.IsEmpty()) return;
  if (pos::Host().tef_dedicated->CancelaTefDed(stDSENDIPSITEF, stCDLOJATEF, stCDTERTEF, ult, stCDFILIAL, "", "",
                                                stIDTPTEF))
    std::filesystem::remove(arquivo, ec);
}

}  // namespace recebimento::screen
