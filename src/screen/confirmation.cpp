// The confirmation of a paid sale (spbOk): observation, sale summary, drawer check, fee
// items, printing, drawer, consumer record, the integrations' captures and the close.
#include <string>
#include <vector>

#include "base/text.h"
#include "host/pos/host_services.h"
#include "host/runtime/current_pump.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/strings.h"
#include "screen/control_state.h"
#include "screen/frm_recebimento.h"
#include "screen/message_format.h"
#include "screen/message_table.h"
#include "screen/screen_globals.h"
#include "screen/screen_log.h"

namespace recebimento::screen {

namespace {

// A payment line of the sale with that movement kind ("E", "T", "S").
bool TemMovimento(base::Dataset* movi, const std::string& tipo) {
  if (!movi || !movi->Active()) return false;
  const base::DataPacket p = movi->Data();
  const int i = p.FieldIndex("IDTIPOMOVIVE");
  if (i < 0) return false;
  for (const auto& row : p.rows)
    if (base::Trim(row[i].AsString()) == tipo) return true;
  return false;
}

// Sets a column on every row of the sale's items that has it.
void GravaEmTodosItens(base::Dataset* itens, const std::string& coluna, const base::Variant& valor) {
  if (!itens || !itens->Active() || itens->FieldIndex(coluna) < 0) return;
  for (itens->First(); !itens->Eof(); itens->Next()) {
    itens->Edit();
    itens->FieldByName(coluna).SetValue(valor);
    itens->Post();
  }
}

}  // namespace

void TfrmRecebimento::spbOkClick() {
  // One confirmation at a time: a second press while one runs, or after the sale was
  // closed, does nothing.
  if (boProcessandoSaida || Closed() || boVendaFechada) return;
  boProcessandoSaida = true;
  ControlRegistry& c = Controls();
  LogRev00000("confirma recebimento");
  Habilita(c, "spbOk", false);
  LogRev00000("spbOk desabilitado");

  bool concluida = false;
  bool sair_liberado = true;
  try {
    concluida = PedeObservacaoVenda() && ConfirmaDadosVenda() && ResgataCartoesPrePagos();
    if (concluida) {
      GravaEmTodosItens(cdsItensVenda, "DSOBSFINVEN", base::Variant(stOBSFINVEN));
      if (boUTILIZAIMPFIS && !VerificaEstadoGaveta(stIDTIPOGAVETA)) concluida = false;
    }
    if (concluida) {
      CriaItensTaxas();
      if (!boVendaOk && (stTipoTela == "N" || stTipoTela == "C") && TemMovimento(cdsMoviVenda, "T") &&
          stIDCONSUBDESFOL == "S")
        VerifVrSubsBasico();
      concluida = ImprimeVenda();
    }
    if (concluida) {
      if (stModoVenda == "CHK") {
        Vd_Ingresso();
        boVendaOk = true;
      }
      if (!AbreGavetaRecebimentos(boUTILIZAIMPFIS)) MostraMensagem(MsgFmt("Erro_Gaveta", {"002"}), runtime::kMsgBlocked);
      if (!boVendaOk) MostraMensagem(Msg("CupomCan"), runtime::kMsgBlocked);
      GravaConsumidor();
      if (boVendaOk && !boVendaFechada) {
        sair_liberado = FechaVenda();
      } else if (!boOperacaoEmCurso) {
        LogRev00000("confirma recebimento - postmessage2");
        PostaFechamento();
      }
    }
  } catch (...) {
    boProcessandoSaida = false;
    throw;
  }
  if (!concluida) {
    // The sale stays open and may be confirmed again.
    Habilita(c, "panFundoConfirma", true);
    Habilita(c, "spbOk", true);
  }
  boProcessandoSaida = false;
  if (sair_liberado) Habilita(c, "spbSair", !boOperacaoEmCurso);
  if (Control* pagar = c.FindComponent("lblPagar"); pagar && !stLegendaPagar.empty()) pagar->caption = stLegendaPagar;
}

bool TfrmRecebimento::PedeObservacaoVenda() {
  if (stIDSOLOBSFINVEN != "S" || !TemItens()) return true;
  const std::vector<base::Variant> args = {base::Variant(std::string("Informe a observação da Venda")),
                                           base::Variant(stOBSFINVEN), base::Variant(std::string("DSOBSFINVEN"))};
  pos::Host().dialogs->Observacao(args, oleRetorno);
  const std::string resposta = oleRetorno.IsString() ? oleRetorno.AsString() : std::string();
  if (resposta == "erro") return false;
  stOBSFINVEN = resposta;
  return true;
}

bool TfrmRecebimento::ConfirmaDadosVenda() {
  if (stIDIMPCUPMEI != "S" || base::Trim(stNmConsCupom).empty()) return true;
  Control& painel = Ctl("panDadosVenda");
  auto valor = [](double v) { return runtime::FormatFloat("#,##0.00", v); };
  const std::vector<std::string> linhas = {
      runtime::GetClock().Now().Format("dd/mm/yyyy hh:nn:ss"),
      "Total: " + valor(doVrTotal - doVrDesconto),
      "Desconto: " + valor(doVrDesconto),
      "Acréscimo: " + valor(doVrAcrescimo),
  };
  std::string texto;
  for (const auto& l : linhas) texto += (texto.empty() ? "" : "\n") + l;
  if (Control* l = Controls().FindComponent("lblDadosVenda")) l->caption = texto;
  painel.left = (800 - painel.width) / 2;
  painel.top = (600 - painel.height) / 2;
  painel.tag = 0;
  painel.visible = true;
  painel.enabled = true;
  runtime::GetEventPump().RunUntil([&] { return !painel.visible || Closed(); }, "sale summary");
  painel.visible = false;
  return painel.tag == 1;
}

void TfrmRecebimento::CriaItensTaxas() {
  if (stTipoTela == "S" || stTipoTela == "A" || stTipoTela == "D") return;
  GravaEmTodosItens(cdsItensVenda, "VRTXSERVICO", base::Variant(doVrServico));
  if ((stIDCOMISVENDA == "S" || stIDCOMISVENDA == "G") && stIDTRATTAXASERV == "P" && !stCDPRODTAXASERV.empty() &&
      stIdTipoVenda != "B" && doVrServico > 0)
    CriaItemTaxaServ();
  const double taxa_entrega = TemItens() ? ValorItem("VRACRCOMANDA") : 0;
  if (stModoVenda == "DLV" && stIDTRATTAXAENTR == "P" && !stCDPRODTAXAENTR.empty() && taxa_entrega > 0)
    CriaItemTaxaEntr();
}

bool TfrmRecebimento::FechaVenda() {
  if (!CapturaIntegracoes()) {
    // A cashback reservation failed: the operator may confirm again without it.
    Habilita(Controls(), "spbSair", false);
    Habilita(Controls(), "spbOk", true);
    return false;
  }
  boVendaFechada = true;
  PostaFechamento();
  return true;
}

void TfrmRecebimento::PostaFechamento() {
  // The modal wait ends once the handler returns to it, as a posted close would.
  FormClose();
}

}  // namespace recebimento::screen
