// The tender press and the modes of the button area (tender choice, amount entry,
// confirmation) with the function buttons around the grid.
#include <cmath>
#include <string>

#include "base/text.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "screen/control_state.h"
#include "screen/frm_recebimento.h"
#include "screen/message_table.h"
#include "screen/tender_grid_rows.h"

namespace recebimento::screen {

namespace {

std::string Legenda(const ControlRegistry& c, const char* name) {
  const Control* ctl = c.FindComponent(name);
  return ctl ? ctl->caption : "";
}

constexpr const char* kCashbacks[] = {"sbtCashback", "sbtCashbackUDS", "sbtCashbackCore", "sbtFidelidadeOlga"};

// Every payment line of the host's dataset, filtered or not.
bool SemPagamentos(base::Dataset* movi) {
  if (!movi || !movi->Active()) return true;
  return movi->Filtered() ? movi->Data().rows.empty() : movi->IsEmpty();
}

// A card line (kind "1" or "2") among the payments, filtered or not.
bool TemPagamentoCartao(base::Dataset* movi) {
  if (!movi || !movi->Active()) return false;
  const base::DataPacket p = movi->Data();
  const int i = p.FieldIndex("IDTIPORECE");
  if (i < 0) return false;
  for (const auto& row : p.rows) {
    const std::string kind = base::Trim(row[i].AsString());
    if (kind == "1" || kind == "2") return true;
  }
  return false;
}

// Steps that run before any tender: loyalty, cashback and the consumer document the
// sale's amount may require. They come with those features; until then every tender
// goes on.
bool PassosAntesDoRecebimento(TfrmRecebimento&) { return true; }

// The restricted-products check of the consumer for a tender; until the product
// restrictions exist every tender is accepted.
bool Vd_TipoConsReceb(TfrmRecebimento&, const std::string& /*cdTipoRece*/) { return true; }

// The promotion query that runs before a tender when the branch uses the promotion
// integration; nothing to ask until that integration exists.
void ConsultaPromocao(TfrmRecebimento&) {}

}  // namespace

void TfrmRecebimento::tcbBalcao01Click(const std::string& sender) {
  if (!PassosAntesDoRecebimento(*this)) return;
  cdsReceb.SetFiltered(false);
  const Control* b = Controls().FindComponent(sender);
  if (!b || (b->caption.empty() && b->glyph.empty())) return;
  const std::string glyph = b->glyph;
  const std::string posicao = base::Utf8Right(sender, 2);
  if (!LocalizaBotao(posicao)) return;
  const std::string cdTipoRece = CampoTexto(cdsReceb, "CDTIPORECE");
  if (!Vd_TipoConsReceb(*this, cdTipoRece)) {
    MostraMensagem(Msg("RECEB_N_PERM"), runtime::kMsgBlocked);
    return;
  }

  const bool seta = EhSeta(CampoTexto(cdsReceb, "IDTPBUTTON"));
  struct Liberacao {
    bool* flag = nullptr;
    ~Liberacao() {
      if (flag) *flag = false;
    }
  } liberacao;
  if (!seta) {
    CtrlBotoes("E", 2);
    if (boProcessandoBotao) return;  // a press is already being handled
    boProcessandoBotao = true;
    liberacao.flag = &boProcessandoBotao;
    CtrlBotoes("H", 1);
  }

  if (!LocalizaBotao(posicao)) return;
  const std::string kind = CampoTexto(cdsReceb, "IDTIPORECE");
  if (boSISTEMAZEMSAT && (kind == "1" || kind == "2" || kind == "F" || kind == "G") &&
      CampoTexto(cdsReceb, "CDCREDENCCAR").empty()) {
    CtrlBotoes("D", 1);
    MostraMensagem("Tipo de recebimento não possui código de credenciadora parametrizado.", runtime::kMsgBlocked);
    return;
  }

  const std::string tipo = CampoTexto(cdsReceb, "IDTPBUTTON");
  if (tipo == "G" || tipo == "H") {
    if (tipo == "G")
      ++inPaginaBotoes;
    else if (inPaginaBotoes > 1)
      --inPaginaBotoes;
    MontaBotoes(stGrupoBotoes, std::to_string(inPaginaBotoes));
    return;
  }

  if (stIDUTILINTEPROMO == "S" && (stIdTipoVenda == "B" || stModoVenda == "RES") && stIdTela != "S")
    ConsultaPromocao(*this);
  DoMenuRecebimentoClick(cdTipoRece, glyph);

  ControlRegistry& c = Controls();
  if (stTipoTela == "S" || stTipoTela == "A")
    Habilita(c, "spbOk", std::fabs(runtime::RoundDec(doVrPago - doVrAPagar, 2)) > 0);
  if (boFalhaReceb) {
    Habilita(c, "spbOk", !Visivel(c, "lblValorPagar") && doVrPago >= doVrTotal);
    Habilita(c, "spbSair", !(stIDUTILTEF == "S" && TemPagamentoCartao(cdsMoviVenda)));
    Habilita(c, "spbClear", stIdTela != "S");
  }
  if (boOperacaoEmCurso) {
    Habilita(c, "spbClear", false);
    if (stIDUTILTEF == "T") {
      Habilita(c, "spbSair", false);
      Habilita(c, "spbClear", true);
    }
  } else {
    Habilita(c, "spbClear", stIdTela != "S");
  }
  if (stTipoTela == "D" || (stIDFECHRECAUT == "S" && stTipoTela == "S" && !boFalhaReceb && !boSelecionandoTipo))
    Aciona(c, "spbOk");
}

void TfrmRecebimento::CtrlBotoes(const std::string& mode, int option) {
  ControlRegistry& c = Controls();
  const bool sem_pagamentos = SemPagamentos(cdsMoviVenda);
  const bool nada_pago = Legenda(c, "lblValorPagar") == Legenda(c, "lblValorTotal");
  const bool impressora_taxa = inIDTIPOIMPFIS == 16 || inIDTIPOIMPFIS == 21 || inIDTIPOIMPFIS == 30;
  const bool troca = stIdTela == "T";
  auto regra_saida = [&] { Habilita(c, "spbSair", sem_pagamentos || stIdTela == "S"); };
  // Discount, surcharge, fee and cashback buttons after a tender step (modes "E" and "C").
  auto habilita_funcoes = [&] {
    Habilita(c, "spbClear", stIdTela != "S");
    Habilita(c, "spbDesconto", !troca && stPodeDesconto != "N");
    Habilita(c, "spbAcrescimo", !troca && stPodeAcrescimo != "N");
    Habilita(c, "spbTaxaServico", !troca && stPodeRetTaxaServ != "N");
    for (const char* n : kCashbacks) Habilita(c, n, !troca);
    regra_saida();
  };
  auto desabilita_funcoes = [&] {
    for (const char* n : {"spbClear", "spbCNPJCPF", "spbDesconto", "spbAcrescimo", "spbTaxaServico"})
      Habilita(c, n, false);
    for (const char* n : kCashbacks) Habilita(c, n, false);
  };

  if (mode == "H") {
    if (option == 2) {
      VisibleBotoes(true);
      EnabledBotoes(false);
    } else {
      VisibleBotoes(false);
    }
    Habilita(c, "sbtVoltar", true);
    boSelecionandoTipo = false;
    Habilita(c, "spbCNPJCPF", sem_pagamentos || stIdTela == "S");
    Habilita(c, "spbSair", sem_pagamentos);
  } else if (mode == "D") {
    VisibleBotoes(true);
    Mostra(c, "panKeyboard", false);
    regra_saida();
    Habilita(c, "spbClear", stIdTela != "S");
    const bool livre = nada_pago && !impressora_taxa && !troca;
    const bool desconto = livre && stPodeDesconto != "N";
    const bool acrescimo = livre && stPodeAcrescimo != "N";
    Habilita(c, "spbDesconto", desconto);
    Mostra(c, "spbDesconto", desconto);
    Habilita(c, "spbAcrescimo", acrescimo);
    Mostra(c, "spbAcrescimo", acrescimo);
    Habilita(c, "spbTaxaServico", livre && stPodeRetTaxaServ != "N");
    for (const char* n : kCashbacks) Habilita(c, n, livre);
    Habilita(c, "sbtVoltar", false);
    boSelecionandoTipo = true;
    if (Control* l = c.FindComponent("lblInputReceb2")) l->caption.clear();
    if (Control* img = c.FindComponent("imgReceb")) img->glyph.clear();
  } else if (mode == "P") {
    VisibleBotoes(true);
    EnabledBotoes(true);
    Mostra(c, "panKeyboard", false);
    Habilita(c, "sbtVoltar", false);
    Habilita(c, "spbCNPJCPF", true);
    boSelecionandoTipo = false;
    regra_saida();
  } else if (mode == "E") {
    if (option == 2) {
      EnabledBotoes(true);
      habilita_funcoes();
    } else {
      EnabledBotoes(false);
      desabilita_funcoes();
    }
  } else if (mode == "C") {
    if (option == 2) {
      EnabledBotoes(!Habilitado(c, "spbOk"));
      habilita_funcoes();
      if (!(stIdTipoVenda == "B" && boUTILIZAIMPFIS)) Habilita(c, "spbCNPJCPF", true);
      Habilita(c, "spbDotz", stIDEXISTECAMPDOTZ == "S" && stCdCampanha.empty());
      Habilita(c, "bltPesquisar", stConsPesquisado != "S");
    } else {
      EnabledBotoes(false);
      desabilita_funcoes();
      for (const char* n : {"spbDotz", "bltPesquisar", "spbSair"}) Habilita(c, n, false);
    }
  }
}

}  // namespace recebimento::screen
