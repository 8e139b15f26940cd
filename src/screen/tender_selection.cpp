// Tender selection: the chosen tender is checked, its amount obtained by its kind, the
// payment line recorded, the change worked out, and the screen told whether the sale is
// fully paid.
#include <cmath>
#include <string>

#include "base/text.h"
#include "datamodule/trdm_recebimento.h"
#include "host/pos/host_services.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "host/runtime/result_check.h"
#include "screen/control_state.h"
#include "screen/frm_recebimento.h"
#include "screen/message_table.h"
#include "screen/payment_line_fields.h"
#include "screen/screen_globals.h"

namespace recebimento::screen {

namespace {

bool Em(const std::string& kind, std::initializer_list<const char*> kinds) {
  for (const char* k : kinds)
    if (kind == k) return true;
  return false;
}

// A payment line of that kind among the sale's payments (change lines aside).
bool ExisteLinhaDoTipo(base::Dataset* movi, const std::string& kind) {
  if (!movi || !movi->Active() || movi->FieldIndex("IDTIPORECE") < 0) return false;
  const base::DataPacket p = movi->Data();
  const int k = p.FieldIndex("IDTIPORECE"), m = p.FieldIndex("IDTIPOMOVIVE");
  for (const auto& row : p.rows)
    if (base::Trim(row[k].AsString()) == kind && (m < 0 || row[m].AsString() != "S")) return true;
  return false;
}

bool TemLinhas(base::Dataset* movi) { return movi && movi->Active() && !movi->Data().rows.empty(); }

constexpr const char* kBotoesBloqueados[] = {"spbSair",        "spbClear",    "spbDesconto",    "spbAcrescimo",
                                             "spbDotz",        "spbTaxaServico", "sbtCashback", "sbtCashbackUDS",
                                             "sbtCashbackCore", "sbtFidelidadeOlga"};

}  // namespace

void TfrmRecebimento::RecusaRecebimento(const std::string& key) {
  boFalhaReceb = true;
  CtrlBotoes("D", 1);
  MostraMensagem(Msg(key), runtime::kMsgBlocked);
}

void TfrmRecebimento::DoMenuRecebimentoClick(const std::string& cdTipoRece, const std::string& glyph) {
  const pos::HostServices& host = pos::Host();
  ControlRegistry& c = Controls();
  stTipoReceEscolhido = cdTipoRece;
  stGlyphReceEscolhido = glyph;

  // Start: a fresh selection, and the consumer the line will charge.
  boFalhaReceb = false;
  host.tef_dedicated->Variables().Rev_doTrocoTef = 0;
  stIdPagouTEF = "N";
  inQtParcReceb = 0;
  doVrTef = 0;
  dadosTefReceb = {};
  boDigitouValor = false;
  KeybEnabled(true);
  if (stTipoTela == "S") {
    const std::string cliente = stCdClienteVenda;
    const std::string consumidor = stCdConsumidorVenda.empty() ? stCdConsumidorFoto : stCdConsumidorVenda;
    const base::Variant tipo = runtime::MensagemMetodo(rdmRecebimento->GetTipoConsFili(cliente, consumidor), true, 0,
                                                       "GetTipoConsFili", "Cli_Rev00000", stCDFILIAL);
    if (runtime::IsResultPacket(tipo)) cdsTipoConsFili.SetData(tipo);
    stIdRecebeBonus = TextoCampo(cdsTipoConsFili, "IDRECEBEBONUS");
    doVrBonusCredito = ValorCampo(cdsTipoConsFili, "VRBONUSCREDITO");
    doVrCargaCredito = ValorCampo(cdsTipoConsFili, "VRCARGACREDITO");
  } else if (stTipoTela == "C") {
    stCdClienteReceb = stCdClienteVenda;
    stCdConsumidorReceb = stCdConsumidorVenda;
    stNmConsumidorReceb = stNmConsCupom.empty() ? stNmClienteVenda : stNmConsCupom;
  } else if (stIdTipoVenda != "B" && stConsPesquisado != "S" && TemItens()) {
    stCdClienteReceb = CampoItem("CDCLIENTE");
    stCdConsumidorReceb = CampoItem("CDCONSUMIDOR");
    stNrCerVendaRest = CampoItem("NRCERVENDAREST");
    stNrCooVendaRest = CampoItem("NRCOOVENDAREST");
  }

  // Refusals before any tender, in this order.
  const std::string kind = base::Trim(cdsReceb.Lookup("CDTIPORECE", {base::Variant(cdTipoRece)}, "IDTIPORECE").AsString());
  if (Em(kind, {"8", "9", "A", "C", "E"}) && stTipoTela == "S") return RecusaRecebimento("OPE_TIP_CRED");
  if (kind == "A" && stTipoTela == "C" && stModoVenda != "DLV" && stIDCONSUBDESFOL == "N")
    return RecusaRecebimento("OPE_TIP_AVIST");
  if ((stIDUTILTEF == "T" || stIDUTILTEF == "D") && !boUTILIZAIMPFIS && Em(kind, {"1", "2", "F", "G"}) &&
      !boSISTEMAZEMNFCE && !boSISTEMAZEMSAT)
    return RecusaRecebimento("OPE_TEF");
  if (stIDUTILTEF == "S" && boCupomCancelado && inQtdeTef > 0) return RecusaRecebimento("OPE_N_DISC");
  if (stIdTipoVenda == "B" && (kind == "A" || kind == "9") && stIDCONSUBDESFOL == "N") return RecusaRecebimento("N_DEB");

  if (!cdsReceb.Locate("CDTIPORECE", base::Variant(cdTipoRece))) return;
  if (TemLinhas(cdsMoviVenda)) {
    // Twenty card transactions is the most one sale may carry.
    const bool limite_tef = inQtdeTef >= 20;
    if (limite_tef && ((stIDUTILTEF == "T" && Em(kind, {"1", "2", "3"})) || stIDUTILTEF == "S"))
      return RecusaRecebimento("EXC_TED_DISC");
    if (kind == "9" && ExisteLinhaDoTipo(cdsMoviVenda, "9")) return RecusaRecebimento("N_FORMA_CRED");
  }

  // Preparation.
  if (host.keyboard->Teclado_OK()) {
    host.keyboard->ProcTeclFormFeed();
    host.keyboard->ProcTeclGoToXY(1, 1);
  }
  const bool bonus_fixo = stTipoTela == "S" && stIdRecebeBonus == "S";
  Mostra(c, "panKeyboard", !(kind == "8" || kind == "K" || bonus_fixo));
  for (const char* b : kBotoesBloqueados) Habilita(c, b, false);
  Mostra(c, "spbDesconto", false);
  Mostra(c, "spbAcrescimo", false);
  double valor = 0;
  doVrCotacao = 1.0;
  doVrMoedaEstrangeira = 0;
  boFalhaReceb = false;
  boSelecionandoTipo = false;  // a tender is being paid, not chosen
  stFuncoesTef = stIDBLOQIDCART == "S" || stIDBLOQIDCART.empty() ? "[29;" : "[";
  if (Control* img = c.FindComponent("imgReceb")) img->glyph = glyph;

  // Dispatch on the kind.
  bool obteve = false;
  if (kind == "4" || kind == "3" || kind == "7" || kind == "C") {
    const TInputStep passo = kind == "4" ? isDinheiro1 : kind == "3" ? isCheque6 : kind == "7" ? isTicket1 : isPagSite;
    obteve = ValorDoTeclado(passo, doVrAPagar, valor) && ConfereValorDigitado(valor, kind == "C");
  } else if (kind == "6") {
    obteve = RecebeMoedaEstrangeira(valor) && ConfereValorDigitado(valor, false);
  } else if (kind == "8") {
    obteve = RecebeConvenio(valor);
  } else {
    RecusaRecebimento("N_FORMA");  // this kind is not taken at this register
  }

  if (obteve && !boFalhaReceb) {
    GravaLinhaPagamento(valor);
    if (!boFalhaReceb) {
      AtualizaValoresPagos(valor);
      if ((stTipoTela == "N" || stTipoTela == "C") && !TrataTroco()) {
        if (Control* img = c.FindComponent("imgReceb")) img->glyph.clear();
        return;
      }
      FinalizaSelecao();
    }
  }

  if (Control* img = c.FindComponent("imgReceb")) img->glyph.clear();
  if (boFalhaReceb) {
    // A refused tender leaves what was paid as it was; only its own entry is undone.
    tpInputStep = isNone;
    boDigitouValor = false;
  }
}

void TfrmRecebimento::FinalizaSelecao() {
  ControlRegistry& c = Controls();
  const bool sem_linhas = !TemLinhas(cdsMoviVenda);
  if (stTipoTela != "N" && stTipoTela != "C") {
    Mostra(c, "panKeyboard", false);
    const bool ok = std::fabs(runtime::Trunc2(doVrPago - doVrAPagar)) > 0;
    Mostra(c, "spbOk", ok);
    Habilita(c, "spbOk", ok);
    Mostra(c, "spbCNPJCPF", false);
    Habilita(c, "spbSair", true);
    Habilita(c, "spbClear", stIdTela != "S");
    Habilita(c, "spbDesconto", false);
  } else {
    const double real = doVrAcrescimo > 0 ? doVrBaseAcrescimo + doVrAcrescimo : doVrTotal;
    const double devido = real - doVrDesconto;
    // A shortfall under one cent is rounding, not debt.
    const bool pago = std::fabs(runtime::Trunc2(doVrPago - devido)) < 0.01 || doVrPago > devido;
    Mostra(c, "spbOk", true);
    Habilita(c, "spbOk", pago);
    Habilita(c, "spbSair", sem_linhas || stIdTela == "S");
    Habilita(c, "spbClear", stIdTela != "S");
    if (pago) {
      CtrlBotoes("H", 2);
      if (boTemPagtoTef && doVrTroco <= 0) PostText("", true, true);
    } else if (boTemPagtoTef && stIDTPTEF == "B") {
      pos::Host().tef_dedicated->FinalizaTransTef(true);
    }
  }
}

}  // namespace recebimento::screen
