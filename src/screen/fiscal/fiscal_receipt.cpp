// Until the fiscal printer is driven from here, a sale without one stands as the
// confirmation recorded it and a sale with one is refused rather than reported as printed.
#include "screen/fiscal/fiscal_receipt.h"

#include "host/runtime/messages.h"
#include "screen/frame/message_table.h"

namespace recebimento::screen {

bool FiscalReceipt::ImprimeCupom() {
  s_.ctx.log.LogRev00000("inicio ImprimeCupom");
  if (!s_.par.boUTILIZAIMPFIS) return true;
  s_.ShowMessage(Msg("ErroComando"), runtime::kMsgBlocked);
  s_.sale.boVendaOk = false;
  return false;
}

// The drawer is not tested until the receipt reads the printer's state.
bool FiscalReceipt::VerificaEstadoGaveta(const std::string& /*tipo*/) { return true; }

// The fees stay in the sale's columns until their items are built.
void FiscalReceipt::CriaItemTaxaServ() {}
void FiscalReceipt::CriaItemTaxaEntr() {}

}  // namespace recebimento::screen
