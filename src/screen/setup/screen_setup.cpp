// The initialisation's steps in their order, and the per-sale state it starts from.
#include "screen/setup/screen_setup.h"

#include <string>

#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/receipt_footer.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

void ScreenSetup::Initialise(const InicializaFormArgs& a) {
  SaleState& sale = s_.sale;
  ControlRegistry& c = s_.controls;
  ScreenParts& parts = s_.parts;
  datamodule::TrdmRecebimento& rdm = s_.ctx.rdm;

  // 1-2. The data module, the working set and the lists.
  rdm.SetClock(&s_.ctx.clock);
  rdm.Open();
  TrimAppMemorySize();
  for (const char* list : {"memLista", "memListaAux", "memDelivery"}) c.Require(list).lines.clear();

  // 3. Per-sale state and the arguments.
  ResetSaleState();
  CopyArguments(a);

  // 4. Message line.
  c.Require("lblMens").caption = sale.stMensagem;
  c.Require("lblMens").visible = !sale.stMensagem.empty();
  c.Require("panImpTef").visible = !sale.stMensagem.empty();
  c.Require("panFidelidadeOlga").enabled = false;

  // 5-7. Configuration, size, default pictures.
  s_.par = LoadParametrosZem(s_.ctx.paths);
  const ParametrosZem& par = s_.par;
  // Card transactions an interrupted call left behind are settled before a new sale.
  parts.card.SettleLeftOver();
  Control& list = c.Require("memLista");
  c.Require("memListaAux").width = list.width;
  c.Require("memListaAux").height = list.height;
  c.Require("imgFotoConsumidor").stretch = false;
  c.Require("imgFotoConsumidor").glyph = c.Require("imgLogoPadrao").glyph;
  c.Require("dbgPromocao").color = 0x00FFFFFF;
  c.Require("dbgPromocao").font_color = 0x00000000;

  // 8. Mobile orders name the consumer in the items.
  if (sale.stIdTipoVenda == "M" && sale.stCdConsumidorFoto.empty() && sale.stCdClienteVenda.empty() &&
      sale.HasItems()) {
    sale.stCdConsumidorFoto = sale.ItemText("CDCONSUMIDOR");
    sale.stCdClienteVenda = sale.ItemText("CDCLIENTE");
  }

  // 9. Loyalty and cashback discounts the sale brings.
  const bool restaurant = sale.stModoVenda == "RES" || sale.stModoVenda == "DLV";
  base::Dataset* loyalty = sale.cdsDescFidelidade;
  if (par.stIDEXTCONSONLINE == "S" && restaurant && par.stIDUTILFID4ALL == "N" && par.stIDUTILFIDUDS == "N" &&
      par.stIDUTICOREBANC == "N" && loyalty && loyalty->Active() && !loyalty->IsEmpty())
    sale.doVrDescFid = loyalty->FieldByName("VRDESCFID").AsFloat();
  if (par.stIDUTILFID4ALL == "S" && restaurant && sale.stIdTipoVenda != "B" && sale.HasItems())
    sale.doVrDescCash4All = sale.cdsItensVenda->FieldByName("VRDESCCASH4ALL").AsFloat();
  if (par.stIDUTILFIDUDS == "S" && restaurant && sale.stIdTipoVenda != "B" && sale.HasItems())
    sale.doVrDescCashUDS = sale.cdsItensVenda->FieldByName("VRDESCCASHUDS").AsFloat();

  // 10-11. Product logo and the screen code.
  c.Require("imgTalvora").glyph = c.Require(par.boSISTEMAVANTOMI ? "imgVantomi" : "imgBrisova").glyph;
  c.Require("lblCodTela").caption = runtime::MontaRodapeGeral(par.boUTILIZAIMPFIS, "REV00000", "S");

  // 12-18. Photograph, identification, operator, tenders, limits, tax rates, client.
  LoadReferenceData(a);

  // 19-23.
  sale.stTextoCupom = a.stTextoCupom;
  parts.grid.ResetPage();
  sale.doVrConsumacao = sale.doVrCouver = sale.doVrAcrescimo = 0;
  std::string title = Msg("BALCAO", MessageComponent::msgPadrao2);
  if (sale.stModoVenda == "CMD")
    title = Msg("COMANDA", MessageComponent::msgPadrao2);
  else if (sale.stModoVenda == "RES" && sale.stIdTipoVenda != "B")
    title = Msg("MESA", MessageComponent::msgPadrao2);
  else if (sale.stModoVenda == "DLV")
    title = Msg("DELIVERY", MessageComponent::msgPadrao2);
  c.Require("lblTitulo").caption = title;
  if (sale.stIdTipoVenda != "B")
    sale.stIdTpVendaCons = rdm.getTipoVendaCons(sale.stCdClienteVenda, sale.stCdConsumidorFoto);
  const bool search = sale.stModoVenda == "RES" && sale.stIdTipoVenda == "B" && sale.stTipoTela == "N" &&
                      (par.boSISTEMAZEMNFCE || par.boSISTEMAZEMSAT);
  c.Require("bltPesquisar").visible = c.Require("bltPesquisar").enabled = search;
  c.Require("spbClear").enabled = sale.stIdTela != "S";

  // 24-36. Layouts, totals, lists; the badge layouts skip the sale's own lines.
  if (!ApplyScreenKindLayout()) {
    ApplySaleOriginLayout();
    try {
      ApplyPrinterButtons();
      if (!AcceptItems()) return;
      ComputeTotals();
      if (!AcceptTotal()) return;
      parts.payments.ListHostPayments();
      ShowOnCustomerDisplay();
      ShowClientAndConsumer();
      parts.consumer.ShowAccountBalance();
      if (!sale.stNmGarcom.empty())
        parts.payments.Linha(c.Require("memLista"), Msg("GARCOM") + "  " + sale.stNmGarcom, true);
      if (sale.stIdTela == "T")
        parts.payments.Linha(c.Require("memLista"),
                             Msg("TROCA") + "  " + runtime::FormatFloat("0.00", sale.ItemNumber("VRDESCOMANDA")), true);
      parts.grid.BuildCurrentPage();
      c.Require("panKeyboard").visible = false;
      c.Require("sbtVoltar").enabled = false;
    } catch (const std::exception& e) {
      // The screen still opens; what was computed before the failure stays.
      runtime::ShowMessage(s_.ctx.host.messages, {e.what(), "", "N", "N", runtime::kMsgBlocked, "", "", 0, nullptr});
    }
  }

  // 37-38. Fiscal date and the operator's rights.
  if (par.boUTILIZAIMPFIS) sale.dtMoviFiscal = s_.ctx.host.printer->DataMoviFiscal(par.stIDESQUEMA);
  ApplyOperatorRights();

  // 39-43. Recharge layout, consumer name on the sale, integrations, Dotz, branch flags.
  ApplyRechargeLayout();
  if (sale.cdsItProdVend.Active()) sale.cdsItProdVend.EmptyDataSet();
  sale.boImpNomeConsumidor = rdm.getImpNomeConsumidorVenda(par.stCDFILIAL, par.stCDCAIXA);
  parts.wallets.LoadSettings();
  if (par.stIDEXISTECAMPDOTZ == "S" &&
      runtime::ShowMessage(s_.ctx.host.messages,
                           {Msg("UTI_DOTZ"), "", "N", "N", runtime::kMsgQuestion, "", "", 0, nullptr}))
    parts.loyalty.Dotz();
  sale.stIDFECHRECAUT = rdm.getIDFECHRECAUT(par.stCDFILIAL);
  sale.discount_coupon_used = false;
  sale.stIDUTCUPOMDESC = rdm.getIDUTCUPOMDESC();
}

void ScreenSetup::ResetSaleState() {
  SaleState& sale = s_.sale;
  sale.refused = false;
  sale.boVendaOk = sale.boPagouMobile = sale.boPagouDelivery = sale.boCupomCancelado = false;
  sale.doVrDescFid = sale.doVrDescCash4All = sale.doVrDescCashUDS = 0;
  sale.doAcrItem = 0;
  sale.stCdSupervisor.clear();
  sale.stNrDocConsCupom.clear();
  sale.stIdCPFCupom.clear();
  sale.stRetTender.clear();
  sale.stCdNsuHostTef.clear();
  sale.stIdTpVendaCons.clear();
  sale.stOrigemVenda.clear();
  sale.doVrTotal = sale.doVrAPagar = sale.doVrPago = sale.doVrTroco = sale.doVrDesconto = sale.doVrAcrescimo = 0;
  sale.doVrServico = sale.doVrServicoOrig = sale.doVrRepique = 0;
  sale.doVrAcrComanda = sale.doVrDescComanda = sale.doVrDescItens = 0;
  sale.doVrConsumacao = sale.doVrCouver = sale.doVrUnitVendCl = 0;
  sale.doSaldoCons = 0;
}

void ScreenSetup::CopyArguments(const InicializaFormArgs& a) {
  SaleState& sale = s_.sale;
  sale.stModoVenda = a.stModoVenda;
  sale.stCdClienteVenda = a.stCdClienteVenda;
  sale.stCdConsumidorVenda = a.stCdConsumidorVenda;
  sale.stTipoTela = a.stTipoTela;
  sale.stNmClienteVenda = a.stNmClienteVenda;
  sale.stCdConsumidorFoto = a.stCdConsumidorFoto;
  sale.stTextoTitulo = a.stTextoTitulo;
  sale.stNrDocConsCupom = a.stNrDocConsCupom;
  sale.stNmConsCupom = a.stNmConsCupom;
  sale.stNrIdEstrangeiro = a.stNrIdEstrangeiro;
  sale.doVrCarga = a.doVrCarga;
  sale.stTextoCupom = a.stTextoCupom;
  sale.stIdTipoVenda = a.stIdTipoVenda;
  sale.stParamCupom = a.stParamCupom;
  sale.stNmGarcom = a.stNmGarcom;
  sale.stNmFantCliente = a.stNmFantCliente;
  sale.stIdTela = a.stIdTela;
  sale.stMensagem = a.stMensagem;
  sale.stDsEndeVenda = sale.ItemText("DSENDEVENDA");
  sale.doVrPago = a.doVrPago && *a.doVrPago > 0 ? *a.doVrPago : 0;
  sale.stlRetorno.clear();
}

}  // namespace recebimento::screen
