// The tender press and the modes of the button area (tender choice, amount entry,
// confirmation) with the function buttons around the grid.
#include <cmath>
#include <string>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/payment/tender_grid.h"
#include "screen/payment/tender_rows.h"

namespace recebimento::screen {

namespace {

constexpr const char* kCashbacks[] = {"sbtCashback", "sbtCashbackUDS", "sbtCashbackCore", "sbtFidelidadeOlga"};

// Clears a flag however the handler leaves.
struct ClearOnExit {
  bool* flag = nullptr;
  ~ClearOnExit() {
    if (flag) *flag = false;
  }
};

}  // namespace

void TenderGrid::PressTender(const std::string& sender) {
  ScreenParts& parts = s_.parts;
  SaleState& sale = s_.sale;
  base::Dataset& receb = sale.cdsReceb;
  if (!parts.loyalty.StepsBeforeTender()) return;
  parts.programs.OffersBeforeTender();
  receb.SetFiltered(false);
  const Control* b = s_.controls.FindComponent(sender);
  if (!b || (b->caption.empty() && b->glyph.empty())) return;
  const std::string glyph = b->glyph;
  const std::string position = base::Utf8Right(sender, 2);
  if (!FindButtonRow(position)) return;
  const std::string cdTipoRece = base::ColumnTrimmed(receb, "CDTIPORECE");
  if (!parts.restrictions.Vd_TipoConsReceb(cdTipoRece)) {
    s_.ShowMessage(Msg("RECEB_N_PERM"), runtime::kMsgBlocked);
    return;
  }

  const bool arrow = IsArrow(base::ColumnTrimmed(receb, "IDTPBUTTON"));
  ClearOnExit release;
  if (!arrow) {
    CtrlBotoes("E", 2);
    if (boProcessandoBotao) return;  // a press is already being handled
    boProcessandoBotao = true;
    release.flag = &boProcessandoBotao;
    CtrlBotoes("H", 1);
  }

  if (!FindButtonRow(position)) return;
  const std::string kind = base::ColumnTrimmed(receb, "IDTIPORECE");
  if (s_.par.boSISTEMAZEMSAT && (kind == "1" || kind == "2" || kind == "F" || kind == "G") &&
      base::ColumnTrimmed(receb, "CDCREDENCCAR").empty()) {
    CtrlBotoes("D", 1);
    s_.ShowMessage("Tipo de recebimento não possui código de credenciadora parametrizado.", runtime::kMsgBlocked);
    return;
  }

  const std::string button_kind = base::ColumnTrimmed(receb, "IDTPBUTTON");
  if (button_kind == "G" || button_kind == "H") {
    if (button_kind == "G")
      ++inPaginaBotoes;
    else if (inPaginaBotoes > 1)
      --inPaginaBotoes;
    MontaBotoes(stGrupoBotoes, std::to_string(inPaginaBotoes));
    return;
  }

  if (s_.par.stIDUTILINTEPROMO == "S" && (sale.stIdTipoVenda == "B" || sale.stModoVenda == "RES") &&
      sale.stIdTela != "S")
    parts.loyalty.QueryPromotions();
  chosen_tender_ = cdTipoRece;
  chosen_glyph_ = glyph;
  parts.selection.DoMenuRecebimentoClick(cdTipoRece, glyph);

  ControlRegistry& c = s_.controls;
  if (sale.stTipoTela == "S" || sale.stTipoTela == "A")
    c.SetEnabled("spbOk", std::fabs(runtime::RoundDec(sale.doVrPago - sale.doVrAPagar, 2)) > 0);
  if (sale.boFalhaReceb) {
    const bool card_paid = sale.HasPaymentWith("IDTIPORECE", "1") || sale.HasPaymentWith("IDTIPORECE", "2");
    c.SetEnabled("spbOk", !c.IsVisible("lblValorPagar") && sale.doVrPago >= sale.doVrTotal);
    c.SetEnabled("spbSair", !(s_.par.stIDUTILTEF == "S" && card_paid));
    c.SetEnabled("spbClear", sale.stIdTela != "S");
  }
  if (sale.boOperacaoEmCurso) {
    c.SetEnabled("spbClear", false);
    if (s_.par.stIDUTILTEF == "T") {
      c.SetEnabled("spbSair", false);
      c.SetEnabled("spbClear", true);
    }
  } else {
    c.SetEnabled("spbClear", sale.stIdTela != "S");
  }
  // Only a tender that was taken confirms by itself: a refused one leaves the sale open.
  const bool taken = !sale.boFalhaReceb && !boSelecionandoTipo;
  if (taken && (sale.stTipoTela == "D" || (sale.stIDFECHRECAUT == "S" && sale.stTipoTela == "S"))) c.Press("spbOk");
}

void TenderGrid::CtrlBotoes(const std::string& mode, int option) {
  ControlRegistry& c = s_.controls;
  const SaleState& sale = s_.sale;
  const bool no_payments = sale.NoPayments();
  const bool nothing_paid = c.CaptionOf("lblValorPagar") == c.CaptionOf("lblValorTotal");
  const int printer = s_.par.inIDTIPOIMPFIS;
  const bool fee_printer = printer == 16 || printer == 21 || printer == 30;
  const bool exchange = sale.stIdTela == "T";
  auto exit_rule = [&] { c.SetEnabled("spbSair", no_payments || sale.stIdTela == "S"); };
  // Discount, surcharge, fee and cashback buttons after a tender step (modes "E" and "C").
  auto enable_functions = [&] {
    c.SetEnabled("spbClear", sale.stIdTela != "S");
    c.SetEnabled("spbDesconto", !exchange && sale.stPodeDesconto != "N");
    c.SetEnabled("spbAcrescimo", !exchange && sale.stPodeAcrescimo != "N");
    c.SetEnabled("spbTaxaServico", !exchange && sale.stPodeRetTaxaServ != "N");
    for (const char* n : kCashbacks) c.SetEnabled(n, !exchange);
    exit_rule();
  };
  auto disable_functions = [&] {
    for (const char* n : {"spbClear", "spbCNPJCPF", "spbDesconto", "spbAcrescimo", "spbTaxaServico"})
      c.SetEnabled(n, false);
    for (const char* n : kCashbacks) c.SetEnabled(n, false);
  };

  if (mode == "H") {
    if (option == 2) {
      VisibleBotoes(true);
      EnabledBotoes(false);
    } else {
      VisibleBotoes(false);
    }
    c.SetEnabled("sbtVoltar", true);
    boSelecionandoTipo = false;
    c.SetEnabled("spbCNPJCPF", no_payments || sale.stIdTela == "S");
    c.SetEnabled("spbSair", no_payments);
  } else if (mode == "D") {
    VisibleBotoes(true);
    c.SetVisible("panKeyboard", false);
    exit_rule();
    c.SetEnabled("spbClear", sale.stIdTela != "S");
    const bool free = nothing_paid && !fee_printer && !exchange;
    const bool discount = free && sale.stPodeDesconto != "N";
    const bool surcharge = free && sale.stPodeAcrescimo != "N";
    c.SetEnabled("spbDesconto", discount);
    c.SetVisible("spbDesconto", discount);
    c.SetEnabled("spbAcrescimo", surcharge);
    c.SetVisible("spbAcrescimo", surcharge);
    c.SetEnabled("spbTaxaServico", free && sale.stPodeRetTaxaServ != "N");
    for (const char* n : kCashbacks) c.SetEnabled(n, free);
    c.SetEnabled("sbtVoltar", false);
    boSelecionandoTipo = true;
    c.SetCaption("lblInputReceb2", "");
    if (Control* img = c.FindComponent("imgReceb")) img->glyph.clear();
  } else if (mode == "P") {
    VisibleBotoes(true);
    EnabledBotoes(true);
    c.SetVisible("panKeyboard", false);
    c.SetEnabled("sbtVoltar", false);
    c.SetEnabled("spbCNPJCPF", true);
    boSelecionandoTipo = false;
    exit_rule();
  } else if (mode == "E") {
    if (option == 2) {
      EnabledBotoes(true);
      enable_functions();
    } else {
      EnabledBotoes(false);
      disable_functions();
    }
  } else if (mode == "C") {
    if (option == 2) {
      EnabledBotoes(!c.IsEnabled("spbOk"));
      enable_functions();
      if (!(sale.stIdTipoVenda == "B" && s_.par.boUTILIZAIMPFIS)) c.SetEnabled("spbCNPJCPF", true);
      c.SetEnabled("spbDotz", s_.par.stIDEXISTECAMPDOTZ == "S" && sale.stCdCampanha.empty());
      c.SetEnabled("bltPesquisar", sale.stConsPesquisado != "S");
    } else {
      EnabledBotoes(false);
      disable_functions();
      for (const char* n : {"spbDotz", "bltPesquisar", "spbSair"}) c.SetEnabled(n, false);
    }
  }
}

}  // namespace recebimento::screen
