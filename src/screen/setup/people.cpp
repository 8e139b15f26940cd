// What the screen shows about who pays: the customer display line, the client and
// consumer lines; and the operator's rights.
#include <string>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/format.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/setup/screen_setup.h"

namespace recebimento::screen {

void ScreenSetup::ShowOnCustomerDisplay() {
  ControlRegistry& c = s_.controls;
  if (!s_.par.boDisplayOK) return;
  const std::string amount = c.Require("lblValorPagar").caption;
  const long width = static_cast<long>(s_.par.inTAMDISPLAY) - static_cast<long>(base::Utf8Length(amount));
  const std::string line = base::Utf8PadRight("A PAGAR:", width > 0 ? static_cast<size_t>(width) : 0) + amount;
  s_.ctx.host.display->LimpaDisplay();
  s_.ctx.host.display->DisplayEnviaTexto(line, 1, 1);
}

void ScreenSetup::ShowClientAndConsumer() {
  SaleState& sale = s_.sale;
  ControlRegistry& c = s_.controls;
  // Client of the sale.
  const std::string client = sale.ItemText("CDCLIENTE");
  const bool found = !client.empty() && sale.cdsCliente.Active() && sale.cdsCliente.FieldIndex("CDCLIENTE") >= 0 &&
                     sale.cdsCliente.Locate("CDCLIENTE", base::Variant(client));
  if (found) {
    c.Require("lblCPFCliente").caption = base::ColumnText(sale.cdsCliente, "NRINSJURCLIE");
    c.Require("lblNomeCliente").caption = base::ColumnText(sale.cdsCliente, "NMRAZSOCCLIE");
  } else {
    c.Require("lblCPFCliente").caption = Msg("Cliente", MessageComponent::msgPadrao2);
    c.Require("lblNomeCliente").caption = Msg("nm_cliente", MessageComponent::msgPadrao2);
  }

  // Consumer document and name for the receipt.
  if (!sale.stNrDocConsCupom.empty()) {
    c.Require("lblCPFCons").caption = sale.stNrDocConsCupom;
    c.Require("lblCPFCons").visible = true;
    c.Require("bltPesquisar").enabled = false;
    if (!sale.stNmConsCupom.empty()) c.Require("lblNomeCons").caption = sale.stNmConsCupom;
  } else {
    c.Require("lblCPFCons").visible = false;
    if (!sale.stNmClienteVenda.empty()) c.Require("lblNomeCons").caption = sale.stNmClienteVenda;
  }

  // Codes of the consumer account the sale may be charged to.
  if (sale.stTipoTela == "C") {
    sale.stCdClienteCons = sale.stCdClienteVenda;
    sale.stCdConsumidorCons = sale.stCdConsumidorVenda;
  } else if (sale.stTipoTela == "N") {
    sale.stCdClienteCons = client;
    sale.stCdConsumidorCons = sale.ItemText("CDCONSUMIDOR");
  } else {
    sale.stCdClienteCons.clear();
    sale.stCdConsumidorCons.clear();
  }
}

void ScreenSetup::ApplyOperatorRights() {
  SaleState& sale = s_.sale;
  ControlRegistry& c = s_.controls;
  pos::AccessControl& access = *s_.ctx.host.access;
  sale.stPodeAcrescimo = access.ControleAcess(s_.par.inCTACRESCIMO, sale.stCdOperador);
  sale.stPodeRetTaxaServ = access.ControleAcess(s_.par.inCTRETTAXASERV, sale.stCdOperador);
  sale.stPodeDesconto = access.ControleAcess(s_.par.inCTCUPDESCONTO, sale.stCdOperador);
  sale.stPodeSelecCliCons = access.ControleAcess(s_.par.inCTSELECCLICONS, sale.stCdOperador);
  c.Require("spbAcrescimo").enabled = sale.stPodeAcrescimo != "N";
  c.Require("spbTaxaServico").enabled = sale.stPodeRetTaxaServ != "N";
  c.Require("spbDesconto").enabled = sale.stPodeDesconto != "N";
}

}  // namespace recebimento::screen
