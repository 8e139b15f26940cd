// The drawer before a sale is confirmed: through the fiscal printer when there is one,
// through the host's third printer for NFC-e and SAT registers that ask it.
#include <string>

#include "host/runtime/messages.h"
#include "screen/fiscal/fiscal_receipt.h"
#include "screen/frame/message_table.h"

namespace recebimento::screen {

bool FiscalReceipt::VerificaEstadoGaveta(const std::string& tipo) {
  const ParametrosZem& par = s_.par;
  if (tipo.empty() || tipo == "0") return true;
  bool open = false;
  if (par.boUTILIZAIMPFIS) {
    // Kind "1" reads "00" as open; kind "2" is wired the other way round.
    std::string state;
    s_.ctx.host.drawer->Estado_Gaveta_Imp(par.stIDESQUEMA, state);
    open = tipo == "1" ? state == "00" : tipo == "2" && state != "00";
  } else if ((par.boSISTEMAZEMNFCE || par.boSISTEMAZEMSAT) && par.stIDVERGAVETANFIS == "S") {
    open = s_.ctx.host.drawer->VerificaStatusGaveta(par.stIDTIPOIMPNF3, par.stCDPORTIMPNF3) == 1;
  }
  if (!open) return true;
  s_.ShowMessage(Msg("Gaveta_Aberta"), runtime::kMsgWarning);
  return false;
}

}  // namespace recebimento::screen
