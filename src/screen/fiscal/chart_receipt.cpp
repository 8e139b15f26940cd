// The CHART card receipt the card software leaves in its answer folder: printed twice on
// the third printer and the transaction confirmed, or the transaction cancelled.
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "base/atomic_file.h"
#include "host/runtime/messages.h"
#include "screen/fiscal/fiscal_receipt.h"

namespace recebimento::screen {

void FiscalReceipt::ImprimeCupomCHART(bool confirm) {
  const ParametrosZem& par = s_.par;
  const std::string receipt_file = CardReceiptFile();
  std::string text;
  {
    std::ifstream in(receipt_file);
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      text += (first ? "" : "\n") + line;
      first = false;
    }
  }
  text += par.stCDPORTIMPNF3 == "18" ? "\n\n\n\n" : "\n\n";
  if (confirm) {
    for (int copy = 0; copy < 2; ++copy)
      s_.ctx.host.fiscal->ImprimePadrao(par.stCDPORTIMPNF3, par.stIDTIPOIMPNF3, text);
  }

  // The request: written under a name the card software ignores, then renamed whole.
  const std::filesystem::path folder = s_.ctx.paths.CardRequestFolder();
  std::error_code ec;
  try {
    std::filesystem::create_directories(folder);
    const std::string request = std::string("[PARAMETROS]\nTIPOTRANSACAO=") + (confirm ? "IMP" : "CAN") + "\n";
    base::WriteFileAtomically((folder / "tefchart.tmp").string(), request);
    s_.ctx.clock.Sleep(50);
    std::filesystem::rename(folder / "tefchart.tmp", folder / "tefchart.ini");
  } catch (const std::exception& e) {
    s_.ShowMessage(std::string("Não foi possível enviar a resposta ao software da CHART: ") + e.what(),
                   runtime::kMsgBlocked);
  }
  // The receipt belongs to this transaction: left behind, the next sale would print and
  // confirm it as its own.
  std::filesystem::remove(receipt_file, ec);
  if (!confirm)
    s_.ShowMessage("Atenção! A Transação do Cartão CHART foi cancelada.\r\nO Saldo do Cliente não será alterado.",
                   runtime::kMsgWarning);
}

}  // namespace recebimento::screen
