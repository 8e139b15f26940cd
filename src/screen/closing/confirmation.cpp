// The confirmation of a paid sale (spbOk): observation, sale summary, drawer check, fee
// items, printing, drawer, consumer record, the integrations' captures and the close.
#include "screen/closing/confirmation.h"

#include <string>
#include <vector>

#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "screen/frame/message_format.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

void Confirmation::Confirm() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  ScreenParts& parts = s_.parts;
  // One confirmation at a time: a second press while one runs, or after the sale was
  // closed, does nothing.
  if (sale.boProcessandoSaida || s_.window.Closed() || sale_closed_) return;
  sale.boProcessandoSaida = true;
  ControlRegistry& c = s_.controls;
  s_.ctx.log.LogRev00000("confirma recebimento");
  c.SetEnabled("spbOk", false);
  s_.ctx.log.LogRev00000("spbOk desabilitado");

  bool done = false;
  bool exit_free = true;
  try {
    done = AskSaleObservation() && ConfirmSaleSummary() && parts.loyalty.RedeemPrepaidCards() &&
           parts.programs.CapturesBeforeReceipt();
    if (done) {
      sale.SetOnEveryItem("DSOBSFINVEN", base::Variant(sale.stOBSFINVEN));
      if (par.boUTILIZAIMPFIS && !parts.fiscal.VerificaEstadoGaveta(par.stIDTIPOGAVETA)) done = false;
    }
    if (done) {
      CreateFeeItems();
      if (!sale.boVendaOk && (sale.stTipoTela == "N" || sale.stTipoTela == "C") &&
          sale.HasPaymentWith("IDTIPOMOVIVE", "T") && par.stIDCONSUBDESFOL == "S")
        parts.restrictions.VerifVrSubsBasico();
      done = PrintSale();
      // From here the sale is on record: its wallet payments are the sale's.
      if (done && sale.boVendaOk) parts.wallets.SaleRecorded();
    }
    if (done) {
      if (sale.stModoVenda == "CHK") {
        parts.restrictions.Vd_Ingresso();
        sale.boVendaOk = true;
      }
      if (!OpenDrawerForTenders(par.boUTILIZAIMPFIS))
        s_.ShowMessage(MsgFmt("Erro_Gaveta", {"002"}), runtime::kMsgBlocked);
      if (!sale.boVendaOk) s_.ShowMessage(Msg("CupomCan"), runtime::kMsgBlocked);
      parts.consumer.WriteConsumerRecord();
      if (sale.boVendaOk && !sale_closed_) {
        exit_free = CloseSale();
      } else if (!sale.boOperacaoEmCurso) {
        s_.ctx.log.LogRev00000("confirma recebimento - postmessage2");
        s_.window.Close();
      }
    }
  } catch (...) {
    sale.boProcessandoSaida = false;
    throw;
  }
  if (!done && !parts.fiscal.Abandoned()) {
    // The sale stays open and may be confirmed again.
    c.SetEnabled("panFundoConfirma", true);
    c.SetEnabled("spbOk", true);
  }
  sale.boProcessandoSaida = false;
  if (exit_free) c.SetEnabled("spbSair", !sale.boOperacaoEmCurso);
  parts.exit.RestorePayCaption();
}

bool Confirmation::AskSaleObservation() {
  SaleState& sale = s_.sale;
  if (s_.par.stIDSOLOBSFINVEN != "S" || !sale.HasItems()) return true;
  const std::vector<base::Variant> args = {base::Variant(std::string("Informe a observação da Venda")),
                                           base::Variant(sale.stOBSFINVEN), base::Variant(std::string("DSOBSFINVEN"))};
  s_.ctx.host.dialogs->Observacao(args, sale.oleRetorno);
  const std::string answer = sale.oleRetorno.IsString() ? sale.oleRetorno.AsString() : std::string();
  if (answer == "erro") return false;
  sale.stOBSFINVEN = answer;
  return true;
}

bool Confirmation::ConfirmSaleSummary() {
  const SaleState& sale = s_.sale;
  if (s_.par.stIDIMPCUPMEI != "S" || base::Trim(sale.stNmConsCupom).empty()) return true;
  Control& panel = s_.controls.Require("panDadosVenda");
  auto amount = [](double v) { return runtime::FormatFloat("#,##0.00", v); };
  const std::vector<std::string> lines = {
      s_.ctx.clock.Now().Format("dd/mm/yyyy hh:nn:ss"),
      "Total: " + amount(sale.doVrTotal - sale.doVrDesconto),
      "Desconto: " + amount(sale.doVrDesconto),
      "Acréscimo: " + amount(sale.doVrAcrescimo),
  };
  std::string text;
  for (const auto& l : lines) text += (text.empty() ? "" : "\n") + l;
  s_.controls.SetCaption("lblDadosVenda", text);
  panel.left = (800 - panel.width) / 2;
  panel.top = (600 - panel.height) / 2;
  panel.tag = 0;
  panel.visible = true;
  panel.enabled = true;
  s_.ctx.pump.RunUntil([&] { return !panel.visible || s_.window.Closed(); }, "sale summary");
  panel.visible = false;
  return panel.tag == 1;
}

void Confirmation::AnswerSaleSummary(bool confirmed) {
  if (Control* panel = s_.controls.FindComponent("panDadosVenda")) {
    panel->tag = confirmed ? 1 : 2;
    panel->visible = false;
  }
}

void Confirmation::CreateFeeItems() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  if (sale.stTipoTela == "S" || sale.stTipoTela == "A" || sale.stTipoTela == "D") return;
  sale.SetOnEveryItem("VRTXSERVICO", base::Variant(sale.doVrServico));
  if ((par.stIDCOMISVENDA == "S" || par.stIDCOMISVENDA == "G") && par.stIDTRATTAXASERV == "P" &&
      !par.stCDPRODTAXASERV.empty() && sale.stIdTipoVenda != "B" && sale.doVrServico > 0)
    s_.parts.fiscal.CriaItemTaxaServ();
  const double delivery_fee = sale.HasItems() ? sale.ItemNumber("VRACRCOMANDA") : 0;
  if (sale.stModoVenda == "DLV" && par.stIDTRATTAXAENTR == "P" && !par.stCDPRODTAXAENTR.empty() && delivery_fee > 0)
    s_.parts.fiscal.CriaItemTaxaEntr();
}

bool Confirmation::CloseSale() {
  s_.parts.programs.RedeemPointsAtClose();
  s_.ctx.log.LogRev00000("confirma recebimento - postmessage1");
  if (!s_.parts.wallets.CaptureAtClose() || !s_.parts.programs.ReportsAtClose() || !s_.parts.loyalty.CaptureAtClose()) {
    // A cashback reservation failed: the operator may confirm again without it.
    s_.controls.SetEnabled("spbSair", false);
    s_.controls.SetEnabled("spbOk", true);
    return false;
  }
  sale_closed_ = true;
  s_.window.Close();
  return true;
}

}  // namespace recebimento::screen
