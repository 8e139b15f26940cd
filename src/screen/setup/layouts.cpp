// The screen's layout for the kind of screen (badge recharge, badge or account advance,
// sale) and for the sale's origin (tab, table, delivery, counter), the printer-dependent
// buttons and the card-recharge layout.
#include <string>

#include "base/text.h"
#include "host/runtime/format.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/setup/screen_setup.h"

namespace recebimento::screen {

namespace {

bool IsWholeNumber(const std::string& s) {
  if (s.empty()) return false;
  size_t i = (s[0] == '-' || s[0] == '+') ? 1 : 0;
  if (i == s.size()) return false;
  for (; i < s.size(); ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}

}  // namespace

bool ScreenSetup::ApplyScreenKindLayout() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  ControlRegistry& c = s_.controls;
  const bool badge = sale.stTipoTela == "S" || sale.stTipoTela == "A";
  const bool account_advance = sale.stTipoTela == "D";

  for (const char* name : {"panFundoVendaVista", "panKeyboard", "sbtVoltar"}) {
    c.Require(name).visible = true;
    c.Require(name).enabled = true;
  }
  auto clear_badge = [&c] {
    for (const char* name : {"lblCrachaNome", "lblFamilia", "lblSaldoFam", "lblTotalFam"})
      c.Require(name).caption.clear();
  };

  if (badge || account_advance) {
    for (const char* name : {"spbCNPJCPF", "spbDesconto", "spbAcrescimo", "spbTaxaServico", "spbDotz", "sbtCashback",
                             "sbtCashbackUDS", "sbtCashbackCore", "sbtFidelidadeOlga"})
      c.Require(name).visible = false;
    // The recharge panel takes the place of the cash-sale amounts.
    Control& background = c.Require("panFundoVendaVista");
    Control& recharge = c.Require("panCargaCredito");
    recharge.left = background.left;
    recharge.top = background.top;
    recharge.width = background.width;
    recharge.height = background.height;
    recharge.visible = true;
  }

  if (badge) {
    c.Require("lblNrVenda").caption = sale.stCdConsumidorFoto;
    c.Require("lblNomeCons").caption = sale.stNmClienteVenda;
    c.Require("lblCrachaNome").caption = sale.stCdConsumidorFoto + " - " + sale.stNmClienteVenda;
    c.Require("lblTotalCarga").caption = runtime::FormatFloat("0.00", sale.doVrPago);
    c.Require("lblTitulo").caption = Msg("CRACHA");
    if (sale.stTipoTela == "S") {
      c.Require("lblTipoTela").caption = Msg("Carga");
      c.Require("lblFamilia").caption = Msg("Saldo") + " " + sale.stNmClienteVenda;
      c.Require("lblSaldoFam").caption = runtime::FormatFloat("0.00", sale.doVrCarga);
      c.Require("lblTotalFam").caption = "Total Carga";
    } else {
      c.Require("lblTipoTela").caption = Msg("AdiantamentoEnc");
      c.Require("lblTotalFam").caption = "Total Adiantamento";
    }
    s_.parts.grid.BuildCurrentPage();
    if (sale.cdsMoviVenda && !sale.cdsMoviVenda->Active()) s_.parts.payments.ResetPaymentDataset();
    return true;
  }

  if (account_advance) {
    c.Require("lblTipoTela").caption = "Adiantamento de Conta";
    c.Require("lblNomeCons").caption = "Tipos de Recebimento";
    clear_badge();
    return false;
  }

  for (const char* name : {"spbCNPJCPF", "spbDesconto", "spbAcrescimo"}) c.Require(name).visible = true;
  for (const char* name : {"spbDotz", "spbTaxaServico"}) c.Require(name).visible = false;
  const bool counter = sale.stIdTipoVenda == "B" && sale.stIdTela != "S";
  c.Require("sbtCashback").visible = counter && par.stIDUTILFID4ALL == "S";
  c.Require("sbtCashbackUDS").visible = counter && par.stIDUTILFIDUDS == "S";
  c.Require("sbtCashbackCore").visible = counter && par.stIDUTICOREBANC == "S";
  c.Require("lblTipoTela").caption = Msg("TEXTO_PADRAO");
  c.Require("lblNomeCons").caption = Msg("tipo_rece_venda", MessageComponent::msgPadrao2);
  clear_badge();
  return false;
}

void ScreenSetup::ApplySaleOriginLayout() {
  SaleState& sale = s_.sale;
  ControlRegistry& c = s_.controls;
  auto show_fees = [&c] {
    for (const char* name :
         {"lblTxServico", "lblServico", "lblConsumacao", "lblVrConsumacao", "lblCouver", "lblVrCouver"})
      c.Require(name).visible = true;
  };
  const std::string dscomanda = sale.ItemText("DSCOMANDA");
  const std::string nrcomanda = sale.ItemText("NRCOMANDA");
  // The tab's own number, or four digits of the tab code when the description is a name.
  auto tab_number = [&] {
    if (IsWholeNumber(dscomanda)) {
      sale.stNrComanda = base::Utf8Right(dscomanda, 4);
      c.Require("lblNrVenda").caption = dscomanda;
    } else {
      sale.stNrComanda = base::Utf8Mid(nrcomanda, 6, 4);
      c.Require("lblNrVenda").caption = nrcomanda;
    }
    sale.stNrComandaCurto = sale.stNrComanda;
  };

  if (sale.stModoVenda == "CMD") {
    show_fees();
    tab_number();
  } else if (sale.stModoVenda == "RES" && sale.stIdTipoVenda != "B") {
    show_fees();
    // The table's number comes from the items as a tab's does; nothing else gives it.
    if (sale.stNrComanda.empty()) tab_number();
    c.Require("lblNrVenda").caption = sale.stNrComanda;
    sale.stNrComandaCurto = sale.stNrComanda;
  } else if (sale.stModoVenda == "DLV" && sale.stIdTipoVenda != "B") {
    c.Require("lblNrVenda").caption = nrcomanda;
    sale.stNrComanda = sale.stNrComandaCurto = base::Utf8Right(dscomanda, 4);
  } else if (sale.stTipoTela == "N") {
    c.Require("lblNrVenda").caption = sale.stNrComanda;
  } else {
    c.Require("lblTitulo").caption = Msg("CRACHA");
    c.Require("lblTipoTela").caption = Msg("VENDA_VISTA_CONS");
    c.Require("lblNrVenda").caption = sale.stCdConsumidorFoto;
  }
}

void ScreenSetup::ApplyPrinterButtons() {
  const SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  ControlRegistry& c = s_.controls;
  if (!par.boUTILIZAIMPFIS) return;
  const bool locked =
      par.inIDTIPOIMPFIS == 16 || par.inIDTIPOIMPFIS == 21 || par.inIDTIPOIMPFIS == 30 || sale.stIdTela == "T";
  if (locked) {
    for (const char* name :
         {"spbDesconto", "spbAcrescimo", "spbTaxaServico", "sbtCashback", "sbtCashbackUDS", "sbtCashbackCore"})
      c.Require(name).enabled = false;
    return;
  }
  c.Require("spbDesconto").enabled = sale.stPodeDesconto != "N";
  c.Require("spbAcrescimo").enabled = sale.stPodeAcrescimo != "N";
  c.Require("spbTaxaServico").enabled = sale.stPodeRetTaxaServ != "N";
  for (const char* name : {"sbtCashback", "sbtCashbackUDS", "sbtCashbackCore"}) c.Require(name).enabled = true;
}

void ScreenSetup::ApplyRechargeLayout() {
  ControlRegistry& c = s_.controls;
  if (s_.sale.stTextoTitulo != "RECARGAVAVOZUZED") return;
  c.Require("lblTitulo").caption = "Recarga Cartão Vavozuzed";
  for (const char* name : {"lblCPFCliente", "lblNomeCliente", "lblCPFCons", "lblFamilia", "lblSaldoFam"})
    c.Require(name).visible = false;
  c.Require("lblNomeCons").caption = "Tipos de recebimento";
}

}  // namespace recebimento::screen
