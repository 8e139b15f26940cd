#include "screen/card/pending_card_transactions.h"

#include <filesystem>
#include <string>
#include <vector>

#include "base/dataset.h"
#include "base/text.h"
#include "host/runtime/messages.h"

namespace recebimento::screen {

bool PendingCardTransactions::AnswerFileWaiting() const {
  const std::string folder = s_.ctx.paths.ConfiguredFolder(s_.par.stDSDIRPENTEF);
  if (folder.empty()) return false;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder, ec)) {
    if (base::IStartsWith(e.path().filename().string(), "intpos.")) return true;
  }
  return false;
}

PendingCardTransactions::OnExit PendingCardTransactions::CancelOnExit(int receipt_tries) {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  if (sale.inQtdeTef <= 0) return OnExit::None;
  const pos::HostServices& host = s_.ctx.host;
  host.printer->CheckIntPosFiles(par.stIDESQUEMA, false);
  if (!AnswerFileWaiting()) return OnExit::None;
  if (!sale.boCupomCancelado) {
    const std::vector<base::Variant> args = {base::Variant(par.stIDESQUEMA), base::Variant(false),
                                             base::Variant(false),           base::Variant(true),
                                             base::Variant(par.stCDFILIAL),  base::Variant(par.stCDCAIXA),
                                             base::Variant(par.stNRSERIEIMP)};
    for (int attempt = 0; attempt < receipt_tries && !sale.boCupomCancelado; ++attempt)
      sale.boCupomCancelado = host.printer->Cancela_Cupom_Imp(args, sale.oleRetorno);
  }
  s_.controls.SetEnabled("spbSair", false);
  const bool cancelled = host.printer->CancelaPendencia(PendingRequest());
  s_.controls.SetEnabled("spbSair", true);
  return cancelled ? OnExit::Cancelled : OnExit::Kept;
}

pos::PendingTefRequest PendingCardTransactions::PendingRequest() const {
  const ParametrosZem& par = s_.par;
  pos::PendingTefRequest request;
  request.stCDFILIAL = par.stCDFILIAL;
  request.stCDCAIXA = par.stCDCAIXA;
  request.stIDESQUEMA = par.stIDESQUEMA;
  request.inQtdeTef = s_.sale.inQtdeTef;
  request.inIDTIPOIMPFIS = par.inIDTIPOIMPFIS;
  request.fiscal_flag = par.boUTILIZAIMPFIS ? "F" : "N";
  request.stIDTIPOIMPNF3 = par.stIDTIPOIMPNF3;
  request.stCDPORTIMPNF3 = par.stCDPORTIMPNF3;
  return request;
}

void PendingCardTransactions::CancelDedicatedLeftOver() {
  const ParametrosZem& par = s_.par;
  const std::string folder = s_.ctx.paths.ConfiguredFolder(par.stDSDIRCAD);
  if (folder.empty()) return;
  const std::string file = folder + "/ultTef.cds";
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return;
  s_.ctx.log.LogRev00000("Limpa recebimentos - trata Tef pendente");
  base::Dataset last("cdsUltTef");
  try {
    last.LoadFromFile(file);
  } catch (const std::exception& e) {
    // A damaged file is kept for the host to look at; nothing is cancelled blindly.
    s_.ShowMessage(std::string("Arquivo de TEF pendente ilegível: ") + e.what(), runtime::kMsgBlocked);
    return;
  }
  if (last.IsEmpty()) return;
  if (s_.ctx.host.tef_dedicated->CancelaTefDed(par.stDSENDIPSITEF, par.stCDLOJATEF, par.stCDTERTEF, last,
                                               par.stCDFILIAL, "", "", par.stIDTPTEF))
    std::filesystem::remove(file, ec);
}

}  // namespace recebimento::screen
