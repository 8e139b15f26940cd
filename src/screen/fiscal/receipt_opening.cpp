// The opening of the fiscal receipt: the exchange coupon that goes before it, the
// opening with the consumer's document, and the record of the day's first receipt.
#include "base/variant.h"
#include "host/pos/fiscal_params.h"
#include "host/runtime/messages.h"
#include "host/runtime/param_block.h"
#include "screen/fiscal/fiscal_receipt.h"
#include "screen/fiscal/receipt_support.h"
#include "screen/frame/message_table.h"

namespace recebimento::screen {

void FiscalReceipt::PrintExchangeCoupon() {
  const SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  pos::ExchangeCoupon coupon;
  coupon.inIDTIPOIMPFIS = par.inIDTIPOIMPFIS;
  coupon.stIDESQUEMA = par.stIDESQUEMA;
  coupon.items = fiscal::PacketOf(sale.cdsItensVenda);
  coupon.stCDFILIAL = par.stCDFILIAL;
  coupon.stCDCAIXA = par.stCDCAIXA;
  coupon.consumer_name = sale.stNmConsCupom;
  coupon.consumer_document = sale.stNrDocConsCupom;
  coupon.stIdTipoVenda = sale.stIdTipoVenda;
  coupon.days = par.doNRDIASCUPTROCA;
  // A coupon the printer could not print costs the customer only the coupon: the sale goes on.
  if (!s_.ctx.host.printer->Cupom_Troca_Gpe00000(coupon))
    s_.ctx.log.LogRev00000("ImprimeCupom - cupom de troca nao impresso");
}

bool FiscalReceipt::OpenReceipt() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  runtime::ParamBlock block = pos::Params_AbreCupom_Gpe00000(par.stIDESQUEMA, sale.stNrDocConsCupom, sale.stNmConsCupom,
                                                             sale.stDsEndeVenda, sale.stNrCupomFis, sale.stNrContCupom,
                                                             par.stIDUTILTEF, fiscal::IntegratedTefFlag(s_));
  if (!s_.ctx.host.printer->AbreCupom(block)) {
    s_.ShowMessage(Msg("ErroComando"), runtime::kMsgBlocked);
    sale.boVendaOk = false;
    return false;
  }
  auto text = [&block](const char* key, std::string& into) {
    if (block.Has(key)) into = runtime::RecebeParams(block, key).AsString();
  };
  if (const base::Variant v = runtime::RecebeParams(block, "INTTEFERRO"); !v.IsEmptyOrNull())
    inIntTefErro = static_cast<int>(v.AsInteger());
  text("INCLUICPF", sale.stNrDocConsCupom);
  text("INCLUINOME", sale.stNmConsCupom);
  text("INCLUIENDERECO", sale.stDsEndeVenda);
  text("CUPNR", sale.stNrCupomFis);
  text("CONTCUPOM", sale.stNrContCupom);
  sale.boVendaOk = true;
  const base::DateTime business_day = s_.ctx.host.printer->DataMoviFiscal(par.stIDESQUEMA);
  // The day's first receipt is for the reports of the day; the sale goes on without it.
  if (const std::string error =
          s_.ctx.rdm.setGravaCupomInicial(par.stCDFILIAL, par.stCDCAIXA, sale.stNrCupomFis, business_day);
      !error.empty())
    s_.ctx.log.LogRev00000("ImprimeCupom - primeiro cupom do dia nao gravado: " + error);
  return true;
}

}  // namespace recebimento::screen
