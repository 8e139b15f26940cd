// The printing step of the confirmation: the fiscal receipt, the host's printing of the
// whole sale (printer models 16, 21 and 30), or a sale without a fiscal printer with its
// sale number, the non-fiscal receipt and the drawer.
#include <string>
#include <vector>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/pos/fiscal_params.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/result_check.h"
#include "screen/closing/confirmation.h"
#include "screen/frame/message_format.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

namespace {

using base::Variant;

bool PrinterPrintsWholeSale(int model) { return model == 16 || model == 21 || model == 30; }

base::DataPacket PacketOf(const base::Dataset* ds) { return ds && ds->Active() ? ds->Data() : base::DataPacket{}; }

// A sale number as the store hands it out: digits only. Anything else is an error text.
bool ValidNumber(const Variant& v) {
  if (!v.IsString() || v.AsString().empty()) return false;
  for (unsigned char ch : v.AsString())
    if (ch < '0' || ch > '9') return false;
  return true;
}

}  // namespace

bool Confirmation::PrintSale() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  if (par.boUTILIZAIMPFIS && !PrinterPrintsWholeSale(par.inIDTIPOIMPFIS)) {
    if (s_.parts.fiscal.ImprimeCupom()) return true;
    // A sale given up at its items has left the screen already.
    if (s_.parts.fiscal.Abandoned()) return false;
    if (par.stIDUTILTEF == "S") {
      // The exit runs now, not after this handler: its own guard must not see ours.
      sale.boProcessandoSaida = false;
      s_.parts.exit.Leave();
      sale.boProcessandoSaida = true;
    }
    return false;
  }
  if (par.boUTILIZAIMPFIS) return PrintSaleThroughHost();
  if (!ReserveSaleNumber()) return false;
  RecordSaleWithoutPrinter();
  return true;
}

bool Confirmation::PrintSaleThroughHost() {
  SaleState& sale = s_.sale;
  pos::SalePrintParams print;
  print.stIDESQUEMA = s_.par.stIDESQUEMA;
  print.stIDIMPSALDOCUPOM = s_.par.stIDIMPSALDOCUPOM;
  print.items = PacketOf(sale.cdsItensVenda);
  print.payments = PacketOf(sale.cdsMoviVenda);
  print.tenders = PacketOf(&sale.cdsReceb);
  print.tax_rates = PacketOf(&sale.cdsAliqImpFis);
  print.consumer_balance = s_.parts.fiscal.FamilyBalancesOfAccountPayment();
  print.family_balances = PacketOf(sale.cdsSaldoFamilia);
  print.family_loans = PacketOf(&sale.cdsEmprestimoFam);
  bool credit = false, debit = false;
  for (const auto& row : print.payments.rows) {
    const std::string kind = base::ColumnTrimmed(print.payments, row, "IDTIPORECE");
    credit = credit || kind == "1";
    debit = debit || kind == "2";
  }
  print.card_kind = credit ? "1" : debit ? "2" : "0";
  runtime::ParamBlock block = pos::Params_ImpressaoVenda_Gpe00000(print);
  const bool ok = s_.ctx.host.printer->ImpressaoVenda(block);
  const std::string answer = runtime::RecebeParams(block, "RETORNO").AsString();
  if (!ok || answer == "Erro" || answer.empty()) {
    // The sale stays open to be confirmed again; the operator must know why.
    s_.ShowMessage(Msg("ErroComando"), runtime::kMsgBlocked);
    return false;
  }
  sale.stNrCupomFis = answer;
  sale.boVendaOk = true;
  return true;
}

bool Confirmation::ReserveSaleNumber() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  datamodule::TrdmRecebimento& rdm = s_.ctx.rdm;
  Variant number;
  std::string prefix;
  if (!base::Trim(par.stCDPREFINTGCOL).empty()) {
    prefix = base::Trim(par.stCDPREFINTGCOL);
    number =
        rdm.getPrxVendaColombia(par.stCDFILIAL, par.stCDCAIXA, prefix, par.stNRCUPINIINTGCOL, par.stNRCUPFININTGCOL);
    if (!ValidNumber(number)) {
      s_.ShowMessage(Msg("Cup_inv"), runtime::kMsgBlocked);
      if (number.AsString() != "CUPINV") s_.ShowMessage(number.AsString(), runtime::kMsgBlocked);
      return false;
    }
  } else if (par.boSISTEMAZEMNFCE) {
    const std::string series = s_.ctx.host.fiscal->getNumeroSerieNFCe(par.stCDFILIAL, par.stCDCAIXA);
    number = rdm.setNumeroNFCe(par.stCDFILIAL, par.stCDCAIXA, series, par.stIDAMBTRABNFCE, false);
  } else {
    number = rdm.setNrVendaNFisc(par.stCDFILIAL, par.stCDCAIXA, sale.stIdTipoVenda == "C" ? "C" : "V");
  }
  // A sale is never recorded under an error text in place of its number.
  if (!ValidNumber(number)) {
    s_.ShowMessage(number.AsString().empty() ? Msg("Cup_inv") : number.AsString(), runtime::kMsgBlocked);
    return false;
  }
  sale.stNrVenda = prefix + number.AsString();
  return true;
}

void Confirmation::RecordSaleWithoutPrinter() {
  SaleState& sale = s_.sale;
  const pos::HostServices& host = s_.ctx.host;
  if (!OpenDrawerForTenders(false)) s_.ShowMessage(MsgFmt("Erro_Gaveta", {"002"}), runtime::kMsgBlocked);
  host.fiscal->LogImpNFiscal(NonFiscalLogLine());
  sale.boVendaOk = true;
  // The sale is recorded: its number stops being only reserved.
  s_.ctx.log.LogRev00000("confirma recebimento - venda " + sale.stNrVenda + " registrada");
  if (const std::string error = s_.ctx.rdm.MarkNumberUsed(s_.par.stCDFILIAL, s_.par.stCDCAIXA, sale.stNrVenda);
      !error.empty())
    s_.ctx.log.LogRev00000("numero " + sale.stNrVenda + " nao marcado como usado: " + error);
  FiscalReceipt& fiscal = s_.parts.fiscal;
  fiscal.PreencheParamImpCupNF();
  const std::vector<Variant> args = {Variant(std::string("CUPOM")), Variant(fiscal.ParamImpCupNF().Data()),
                                     Variant(PacketOf(sale.cdsItensVenda)), Variant(PacketOf(sale.cdsMoviVenda))};
  host.fiscal->DisparaImpressaoNaoFiscal(args, sale.oleRetorno);
  fiscal.ImprimeCupom();
  s_.ctx.log.LogRev00000("confirma recebimento - saida Imprimecupom");
}

std::string Confirmation::NonFiscalLogLine() const {
  const SaleState& sale = s_.sale;
  auto amount = [](double v) { return runtime::FormatFloat("0.00", v); };
  std::string tenders;
  const base::DataPacket p = PacketOf(sale.cdsMoviVenda);
  for (const auto& row : p.rows) {
    if (base::ColumnTrimmed(p, row, "IDTIPOMOVIVE") == "S") continue;
    const std::string name = base::ColumnTrimmed(p, row, "NMTIPORECE");
    tenders += (tenders.empty() ? "" : "/") + (name.empty() ? base::ColumnTrimmed(p, row, "CDTIPORECE") : name);
  }
  return "Recebimento ---  Valor Venda: " + amount(sale.doVrTotal) + " Tipo Rec: " + tenders +
         " Valor Pago: " + amount(sale.doVrPago) + " Troco: " + amount(sale.doVrTroco);
}

bool Confirmation::OpenDrawerForTenders(bool through_printer) {
  SaleState& sale = s_.sale;
  if (!sale.cdsMoviVenda || !sale.cdsMoviVenda->Active() || sale.cdsMoviVenda->IsEmpty()) return true;
  const Variant kinds = s_.ctx.rdm.getTipoRecebimento();
  if (!runtime::IsResultPacket(kinds)) {
    s_.CheckResult(kinds, "getTipoRecebimento", "");
    return true;
  }
  cdsTipoRecebimento.SetData(kinds);
  const base::DataPacket payments = PacketOf(sale.cdsMoviVenda);
  for (const auto& row : payments.rows) {
    const std::string tender = base::ColumnTrimmed(payments, row, "CDTIPORECE");
    if (tender.empty() || cdsTipoRecebimento.FieldIndex("IDABGAVTPRECE") < 0) continue;
    if (!cdsTipoRecebimento.Locate("CDTIPORECE", Variant(tender))) continue;
    if (base::ColumnTrimmed(cdsTipoRecebimento, "IDABGAVTPRECE") != "S") continue;
    pos::CashDrawer& drawer = *s_.ctx.host.drawer;
    return through_printer ? drawer.Abre_Gaveta_Imp(s_.par.stCDPORTAIMPFIS, s_.par.stIDESQUEMA, !sale.boOperacaoEmCurso)
                           : drawer.AbreGaveta(s_.par.stIDTIPOIMPNF1, s_.par.stCDPORTIMPNF1);
  }
  return true;
}

}  // namespace recebimento::screen
