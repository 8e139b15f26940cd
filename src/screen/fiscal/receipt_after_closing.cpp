// What follows the receipt: the dedicated terminal's last transactions handed to its
// folder, the consumer-debit and personal-credit vouchers, the card receipts of either
// terminal, and the final backup of the sale.
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/messages.h"
#include "host/runtime/result_check.h"
#include "screen/fiscal/fiscal_receipt.h"
#include "screen/fiscal/receipt_support.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

namespace {

using base::ColumnNumber;
using base::ColumnTrimmed;
using base::Variant;

// The host's wait notice around a voucher, closed whatever the printing does.
class ProgressNotice {
 public:
  ProgressNotice(pos::HostDialogs& dialogs, const std::string& text) : dialogs_(dialogs) {
    dialogs_.AtivaProcesso("frmRecebimento", text);
  }
  ~ProgressNotice() { dialogs_.DesativaProcesso(); }
  ProgressNotice(const ProgressNotice&) = delete;
  ProgressNotice& operator=(const ProgressNotice&) = delete;

 private:
  pos::HostDialogs& dialogs_;
};

}  // namespace

void FiscalReceipt::KeepLastCardTransactions() {
  const std::string file = fiscal::ReferenceFile(s_, "ultTef.cds");
  std::error_code ec;
  if (file.empty() || !std::filesystem::exists(file, ec)) return;
  s_.ctx.log.LogRev00000("ImprimeCupom - atualiza arquivo Tef - Ok");
  const std::string tender =
      s_.sale.cdsMoviVenda && s_.sale.cdsMoviVenda->Active() ? ColumnTrimmed(*s_.sale.cdsMoviVenda, "CDTIPORECE") : "";
  const std::string folder = s_.ctx.host.tef_dedicated->Variables().DsDirTef;
  try {
    cdsUltTef.LoadFromFile(file);
    for (cdsUltTef.First(); !cdsUltTef.Eof(); cdsUltTef.Next()) {
      cdsUltTef.Edit();
      base::SetColumn(cdsUltTef, "CDTIPORECE", Variant(tender));
      cdsUltTef.Post();
    }
    if (!folder.empty()) {
      std::filesystem::create_directories(folder);
      cdsUltTef.SaveToFile((std::filesystem::path(folder) / "ultTef.cds").string());
    }
  } catch (const std::exception& e) {
    s_.ShowMessage(std::string("Arquivo das últimas transações TEF não atualizado: ") + e.what(), runtime::kMsgWarning);
  }
}

void FiscalReceipt::PrintConsumerVouchers() {
  const ParametrosZem& par = s_.par;
  const pos::HostServices& host = s_.ctx.host;
  pos::HostDialogs& dialogs = *host.dialogs;
  fiscal::ForEachPayment(s_, [&](base::Dataset& movi) {
    pos::ConsumerVoucher voucher;
    voucher.stIDESQUEMA = par.stIDESQUEMA;
    voucher.VRMOVIVEND = ColumnNumber(movi, "VRMOVIVEND");
    voucher.DSIMPFISCAL = ColumnTrimmed(movi, "DSIMPFISCAL");
    voucher.CDCONSUMIDOR = ColumnTrimmed(movi, "CDCONSUMIDOR");
    voucher.NMCONSUMIDOR = ColumnTrimmed(movi, "NMCONSUMIDOR");
    voucher.CDCLIENTE = ColumnTrimmed(movi, "CDCLIENTE");
    voucher.NMFANTCLIE = closing_.NMFANTCLIE;

    if (par.stIDIMPVENDCON == "S" && ColumnTrimmed(movi, "IDTIPOMOVIVE") == "T") {
      s_.ctx.log.LogRev00000("ImprimeCupom - comprovante debito consumidor");
      // The month's consumption, as of the payment, goes with the voucher.
      base::DateTime day = s_.ctx.clock.Now().Date();
      if (movi.FieldIndex("DTMOVIMCAIXA") >= 0 && !movi.FieldByName("DTMOVIMCAIXA").IsNull())
        day = movi.FieldByName("DTMOVIMCAIXA").AsDateTime();
      const Variant consumption = s_.CheckResult(
          s_.ctx.rdm.getVrSaldConsumi(par.stCDFILIAL, voucher.CDCLIENTE, voucher.CDCONSUMIDOR,
                                      base::DateTime::FromYMD(day.Year(), day.Month(), 1), day),
          "getVrSaldConsumi", par.stCDFILIAL + "-" + voucher.CDCLIENTE + "-" + voucher.CDCONSUMIDOR, 0, "Cli_Rev00000");
      if (runtime::IsResultPacket(consumption)) cdsVrSaldConsumi.SetData(consumption);
      s_.parts.consumer.MostraSaldoCons("1", voucher.CDCLIENTE, voucher.CDCONSUMIDOR, "");
      voucher.saldo = s_.parts.consumer.Balance();
      bool printed = false;
      {
        ProgressNotice notice(dialogs, Msg("Imp_Deb_Cons") + "...");
        if (par.boUTILIZAIMPFIS) {
          printed = host.printer->Comp_DebitoCons(voucher);
        } else {
          const std::vector<Variant> args = {Variant(voucher.VRMOVIVEND),   Variant(voucher.DSIMPFISCAL),
                                             Variant(voucher.CDCONSUMIDOR), Variant(voucher.NMCONSUMIDOR),
                                             Variant(voucher.CDCLIENTE),    Variant(voucher.NMFANTCLIE),
                                             Variant(voucher.saldo),        Variant(MonthConsumption())};
          printed = host.fiscal->Comp_DebitoCons_Bematech_NaoFiscal(args, s_.sale.oleRetorno);
        }
      }
      if (!printed) s_.ctx.log.LogRev00000("ImprimeCupom - comprovante debito consumidor nao impresso");
    }

    if (ColumnTrimmed(movi, "IDTIPORECE") == "9") {
      s_.ctx.log.LogRev00000("ImprimeCupom - comprovante credito pessoal");
      s_.parts.consumer.MostraSaldoCons("2", voucher.CDCLIENTE, voucher.CDCONSUMIDOR, "");
      voucher.saldo = s_.parts.consumer.Balance();
      bool printed = false;
      {
        ProgressNotice notice(dialogs, Msg("Imp_Cred_Cons") + "...");
        printed =
            par.boUTILIZAIMPFIS ? host.printer->Imp_CompVenCred(voucher) : host.fiscal->ImpCompVenCredNFCeSAT(voucher);
      }
      if (!printed) s_.ctx.log.LogRev00000("ImprimeCupom - comprovante credito pessoal nao impresso");
    }
  });
}

double FiscalReceipt::MonthConsumption() {
  if (!cdsVrSaldConsumi.Active() || cdsVrSaldConsumi.IsEmpty()) return 0;
  return ColumnNumber(cdsVrSaldConsumi, "VALCONSUMMES");
}

void FiscalReceipt::PrintDedicatedCardReceipts() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  if (par.stIDUTILTEF != "T" || !sale.boOperacaoEmCurso || !sale.boVendaOk || inIntTefErro == 3) return;
  ControlRegistry& c = s_.controls;
  c.SetVisible("panImpTef", true);
  c.SetVisible("lblImpTef", true);
  try {
    if (par.boUTILIZAIMPFIS) {
      int rows = 0;
      fiscal::ForEachPayment(s_, [&rows](base::Dataset&) { ++rows; });
      pos::DedicatedTef& tef = *s_.ctx.host.tef_dedicated;
      tef.ImprimeCupomTef(cdsUltTef, sale.stFormaPagTef, inIntTefErro, rows);
      if (s_.parts.loyalty.DotzReceiptsPending())
        tef.ImprimeComprovanteDotz(par.inIDTIPOIMPFIS, par.stIDIMPRCUPTEFRED, "F", sale.doVrTotalTef);
    }
  } catch (const std::exception& e) {
    // The sale is done; a card receipt that failed is told and printed again by the host.
    s_.ShowMessage(e.what(), runtime::kMsgBlocked);
  }
  c.SetVisible("panImpTef", false);
}

void FiscalReceipt::PrintIntegratedCardReceipts() {
  const SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  if (!fiscal::IntegratedTefFlag(s_) || !sale.boVendaOk) return;
  pos::CardReceiptsRequest request;
  request.inQtdeTef = sale.inQtdeTef;
  request.inIDTIPOIMPFIS = par.inIDTIPOIMPFIS;
  request.stNrCupomFis = sale.stNrCupomFis;
  request.stIDESQUEMA = par.stIDESQUEMA;
  request.stCDFILIAL = par.stCDFILIAL;
  request.stCDCAIXA = par.stCDCAIXA;
  request.IDIMPRCUPTEFRED = par.stIDIMPRCUPTEFRED;
  request.fiscal_flag = par.boUTILIZAIMPFIS ? "F" : "N";
  request.stIDTIPOIMPNF3 = par.stIDTIPOIMPNF3;
  request.stCDPORTIMPNF3 = par.stCDPORTIMPNF3;
  request.vr_tef = sale.doVrTotalTef;
  pos::FiscalPrinter& printer = *s_.ctx.host.printer;
  if (!printer.ImprCupons(request)) s_.ctx.log.LogRev00000("ImprimeCupom - comprovantes TEF nao impressos");
  printer.CancelaPendencia(s_.parts.card.PendingRequest());
}

void FiscalReceipt::FinalBackup() {
  const SaleState& sale = s_.sale;
  const base::DateTime today = s_.ctx.clock.Now().Date();
  fiscal::ForEachPayment(s_, [&](base::Dataset& movi) {
    if (ColumnTrimmed(movi, "IDTIPOMOVIVE") != "S") return;
    movi.Edit();
    base::SetColumn(movi, "NRCONTRAVALE", Variant(sale.stNrCupomFis));
    if (movi.FieldIndex("DTMOVIMCAIXA") >= 0 && movi.FieldByName("DTMOVIMCAIXA").IsNull())
      base::SetColumn(movi, "DTMOVIMCAIXA", Variant(today));
    movi.Post();
  });
  SaveItemsBackup();
}

}  // namespace recebimento::screen
