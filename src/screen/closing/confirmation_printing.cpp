// The printing step of the confirmation: the fiscal receipt, the host's printing of the
// whole sale (printer models 16, 21 and 30), or a sale without a fiscal printer with its
// sale number, the non-fiscal receipt and the drawer.
#include <string>
#include <tuple>
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

// The amount a label of the screen shows, read back under the number locale.
double CaptionAmount(const ControlRegistry& c, const char* name) {
  const std::string caption = c.CaptionOf(name);
  if (base::Trim(caption).empty()) return 0;
  std::string plain;
  for (char ch : caption) {
    if (ch == runtime::GetNumberLocale().decimal_separator)
      plain += '.';
    else if ((ch >= '0' && ch <= '9') || ch == '-')
      plain += ch;
  }
  try {
    return plain.empty() ? 0 : std::stod(plain);
  } catch (const std::exception&) {
    return 0;
  }
}

}  // namespace

bool Confirmation::PrintSale() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  if (par.boUTILIZAIMPFIS && !PrinterPrintsWholeSale(par.inIDTIPOIMPFIS)) {
    if (s_.parts.fiscal.ImprimeCupom()) return true;
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
  PreencheParamImpCupNF();
  const std::vector<Variant> args = {Variant(std::string("CUPOM")), Variant(cdsParamImpCupNF.Data()),
                                     Variant(PacketOf(sale.cdsItensVenda)), Variant(PacketOf(sale.cdsMoviVenda))};
  host.fiscal->DisparaImpressaoNaoFiscal(args, sale.oleRetorno);
  s_.parts.fiscal.ImprimeCupom();
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

void Confirmation::PreencheParamImpCupNF() {
  base::Dataset& p = cdsParamImpCupNF;
  const ParametrosZem& par = s_.par;
  const SaleState& sale = s_.sale;
  p.Close();
  p.SetFields({});
  using base::FieldType;
  const std::vector<std::tuple<const char*, FieldType, int>> columns = {
      {"CDIDCONSUMID", FieldType::String, 25},
      {"NMCONSUMIDOR", FieldType::String, 50},
      {"NRSEQVENDA", FieldType::String, 50},
      {"NRNAOFISCAL", FieldType::String, 50},
      {"BOIMPREDZEPSON", FieldType::Boolean, 0},
      {"VENDAREALIZADA", FieldType::String, 2},
      {"TOTALPAGO", FieldType::Float, 0},
      {"DOVALACR", FieldType::Float, 0},
      {"DSCOMANDA", FieldType::String, 50},
      {"VRCOUVERT", FieldType::Float, 0},
      {"VRCONSUMACA", FieldType::Float, 0},
      {"VRTXSERVICO", FieldType::Float, 0},
      {"CDPRODCOUVER", FieldType::String, 10},
      {"CDPRODCONSUM", FieldType::String, 10},
      {"stIdTipoImpNF1", FieldType::String, 5},
      {"stIdTipoImpNF2", FieldType::String, 5},
      {"stCdPortImpNF1", FieldType::String, 5},
      {"stCdPortImpNF2", FieldType::String, 5},
      {"stIdVendImpNF1", FieldType::String, 5},
      {"stIdVendImpNF2", FieldType::String, 5},
      {"STIDPAISINTEGRA", FieldType::String, 2},
      {"stRedZLeituraX", FieldType::String, 1},
      {"stImpFechaCaixa", FieldType::String, 1},
      {"stImpRelProduto", FieldType::String, 1},
      {"stImpRedZLeituX", FieldType::String, 1},
      {"stNrSerieECF", FieldType::String, 50},
      {"DTABERTURACAIXA", FieldType::DateTime, 0},
      {"stRelProdutoDia", FieldType::String, 1},
      {"NRMESA", FieldType::String, 4},
      {"BUSCANRPESSOAS", FieldType::String, 1},
      {"NRPESMESAALT", FieldType::String, 5},
      {"NMVENDEDOR", FieldType::String, 50},
      {"AGRUPADO", FieldType::String, 1},
      {"COBRATAXA_FECHAMENTO", FieldType::String, 1},
      {"COBRACOUVER_FECHAMENTO", FieldType::String, 1},
      {"COBRACONSUMACAO_FECHAMENTO", FieldType::String, 1},
      {"NRPESSOAS", FieldType::String, 5},
      {"CDCLIENTE", FieldType::String, 21},
      {"TIPOCONTA", FieldType::String, 50},
      {"VRBASECONSUM", FieldType::Float, 0},
      {"STIMPPOSOBS", FieldType::String, 1},
      {"TIPOVENDA", FieldType::String, 1},
      {"IDIMPCOMPCUPVEN", FieldType::String, 1},
      {"IDAMBTRABNFCE", FieldType::String, 1},
      {"stIdTipoImpNF3", FieldType::String, 5},
      {"stCdPortImpNF3", FieldType::String, 5},
      {"stIdVendImpNF3", FieldType::String, 5},
  };
  for (const auto& [name, type, size] : columns) p.AddField(name, type, size);
  p.CreateDataSet();
  p.Append();
  auto text = [&p](const char* column, const std::string& v) { p.FieldByName(column).SetAsString(v); };
  auto number = [&p](const char* column, double v) { p.FieldByName(column).SetAsFloat(v); };
  for (const auto& [name, type, size] : columns) {
    if (type == FieldType::Float)
      number(name, 0);
    else if (type == FieldType::Boolean)
      p.FieldByName(name).SetAsBoolean(false);
    else if (type == FieldType::String)
      text(name, "");
  }
  text("CDPRODCONSUM", par.stCDPRODCONSUM);
  text("CDPRODCOUVER", par.stCDPRODCOUVER);
  number("VRTXSERVICO", CaptionAmount(s_.controls, "lblServico"));
  number("VRCONSUMACA", CaptionAmount(s_.controls, "lblVrConsumacao"));
  number("VRCOUVERT", CaptionAmount(s_.controls, "lblVrCouver"));
  if (const Control* nr = s_.controls.FindComponent("lblNrVenda")) text("DSCOMANDA", nr->caption);
  text("CDIDCONSUMID", sale.stCDIDCONSUMID);
  text("NRNAOFISCAL", sale.stNrVenda);
  text("VENDAREALIZADA", "A");
  text("NMCONSUMIDOR", sale.stNmConsCupom);
  number("DOVALACR", sale.doVrAcrComanda);
  number("TOTALPAGO", sale.doVrPago);
  text("stIdTipoImpNF1", par.stIDTIPOIMPNF1);
  text("stIdTipoImpNF2", par.stIDTIPOIMPNF2);
  text("stIdTipoImpNF3", par.stIDTIPOIMPNF3);
  text("stCdPortImpNF1", par.stCDPORTIMPNF1);
  text("stCdPortImpNF2", par.stCDPORTIMPNF2);
  text("stCdPortImpNF3", par.stCDPORTIMPNF3);
  text("stIdVendImpNF1", par.stIDTPVENDIMPNF1);
  text("stIdVendImpNF2", par.stIDTPVENDIMPNF2);
  text("stIdVendImpNF3", par.stIDTPVENDIMPNF3);
  text("STIDPAISINTEGRA", par.stIDPAISINTEGRA);
  p.FieldByName("DTABERTURACAIXA").SetAsDateTime(par.dtDTABERCAIX);
  text("IDIMPCOMPCUPVEN", par.stIDIMPCOMPCUPVEN);
  text("IDAMBTRABNFCE", par.stIDAMBTRABNFCE);
  p.Post();
}

}  // namespace recebimento::screen
