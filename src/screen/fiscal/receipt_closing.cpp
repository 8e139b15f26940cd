// The net adjustment of the receipt, its closing (the closing record, the exchange coupon
// of a counter sale, the grand totals, the receipt number of printer model 26) and what
// a refused closing undoes: the card transactions, the receipt, the CHART transaction.
#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "base/dataset.h"
#include "host/pos/fiscal_params.h"
#include "host/runtime/messages.h"
#include "host/runtime/money.h"
#include "host/runtime/param_block.h"
#include "screen/fiscal/fiscal_receipt.h"
#include "screen/fiscal/receipt_support.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

namespace {

using base::Variant;
using runtime::ToCents;

// Element `i` of the printer's answer as an integer; `fallback` when it carries none.
int AnswerNumber(const Variant& answer, size_t i, int fallback) {
  if (!answer.IsArray() || answer.Size() <= i || answer[i].IsEmptyOrNull()) return fallback;
  try {
    return static_cast<int>(answer[i].AsInteger());
  } catch (const std::exception&) {
    return fallback;
  }
}

}  // namespace

void FiscalReceipt::NetAdjustment() {
  const SaleState& sale = s_.sale;
  // The service fee gives way to a surcharge applied on the screen.
  const double service = sale.doVrAcrescimo > 0 ? 0 : sale.doVrServico;
  const int64_t up = ToCents(service) + ToCents(sale.doVrAcrComanda) + ToCents(sale.doVrAcrescimo);
  const int64_t down = ToCents(sale.doVrDescComanda) + ToCents(sale.doVrDesconto);
  int64_t surcharge = std::max<int64_t>(0, up - down);
  const int64_t discount = std::max<int64_t>(0, down - up);
  // The items' own surcharges went with the items.
  if (sale.stModoVenda != "DLV" && s_.par.boUTILIZAIMPFIS && surcharge > 0)
    surcharge = std::max<int64_t>(0, surcharge - ToCents(sale.doAcrItem));
  closing_.discount = runtime::FromCents(discount);
  closing_.surcharge = runtime::FromCents(surcharge);
}

void FiscalReceipt::CloseReceipt() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  pos::FiscalPrinter& printer = *s_.ctx.host.printer;
  const std::vector<std::string> first_copy = s_.ctx.host.tef_dedicated->Variables().stlPriVia;
  sale.boVendaOk = printer.FechaCupom(first_copy, ClosingRecord(), sale.oleRetorno);
  inIntTefErro = AnswerNumber(sale.oleRetorno, 0, inIntTefErro);
  if (sale.oleRetorno.IsArray() && sale.oleRetorno.Size() > 2 && !sale.oleRetorno[2].IsEmptyOrNull())
    sale.stRetImpressora = sale.oleRetorno[2].AsString();

  // The exchange coupon of a counter sale follows its receipt; a receipt refused sold
  // nothing to exchange.
  if (sale.boVendaOk && sale.stIdTipoVenda == "B" && par.stIDIMPCUPTROCA == "S") PrintExchangeCoupon();

  runtime::ParamBlock totals = pos::Params_Atu_TotGeral_Gpe00000(par.stCDFILIAL, par.stCDCAIXA, par.stNRSERIEIMP,
                                                                 par.stIDESQUEMA, "N", false, "", "", "", "", 0, 0);
  if (!printer.Atu_TotGeral(totals)) s_.ctx.log.LogRev00000("ImprimeCupom - totalizador geral nao atualizado");

  if (par.inIDTIPOIMPFIS == 26) {
    std::string number;
    if (printer.Nr_Cupom(par.stCDPORTAIMPFIS, par.stIDESQUEMA, number))
      sale.stNrCupomFis = number;
    else
      s_.ctx.log.LogRev00000("ImprimeCupom - numero do cupom nao lido da impressora");
  }
}

void FiscalReceipt::ClosingRefused() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  const pos::HostServices& host = s_.ctx.host;
  if (par.stIDUTILTEF == "S" && sale.boTemPagtoTef) host.printer->CheckIntPosFiles(par.stIDESQUEMA, true);
  if (par.stIDUTILTEF == "T") {
    const std::string file = fiscal::ReferenceFile(s_, "ultTef.cds");
    std::error_code ec;
    if (!file.empty() && std::filesystem::exists(file, ec)) {
      s_.ctx.log.LogRev00000("ImprimeCupom - arquivo Tef - vendaOk false");
      try {
        cdsUltTef.LoadFromFile(file);
        if (!cdsUltTef.IsEmpty())
          host.tef_dedicated->CancelaTefDed(par.stDSENDIPSITEF, par.stCDLOJATEF, par.stCDTERTEF, cdsUltTef,
                                            par.stCDFILIAL, "", "", par.stIDTPTEF);
        cdsUltTef.Close();
        std::filesystem::remove(file, ec);
      } catch (const std::exception& e) {
        // A damaged file stays for the host to look at; nothing is cancelled blindly.
        s_.ShowMessage(std::string("Arquivo de TEF pendente ilegível: ") + e.what(), runtime::kMsgBlocked);
      }
      s_.controls.SetEnabled("spbSair", true);
    }
  }
  s_.ShowMessage(Msg("ERRO_FECH_CUP"), runtime::kMsgBlocked);
  const std::vector<Variant> args = {
      Variant(par.stIDESQUEMA), Variant(false),         Variant(false),           Variant(true),
      Variant(par.stCDFILIAL),  Variant(par.stCDCAIXA), Variant(par.stNRSERIEIMP)};
  if (host.printer->Cancela_Cupom_Imp(args, sale.oleRetorno)) {
    sale.boCupomCancelado = true;
    host.printer->CancelaPendencia(s_.parts.card.PendingRequest());
  } else {
    s_.ShowMessage(Msg("CUP_FIS_N_CANC"), runtime::kMsgBlocked);
  }
  std::error_code ec;
  if (std::filesystem::exists(CardReceiptFile(), ec)) ImprimeCupomCHART(false);
}

}  // namespace recebimento::screen
