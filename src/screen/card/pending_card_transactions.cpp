#include "screen/card/pending_card_transactions.h"

#include <filesystem>
#include <string>
#include <vector>

#include "base/dataset.h"
#include "base/text.h"
#include "host/pos/tef_exchange_folder.h"
#include "host/runtime/messages.h"

namespace recebimento::screen {

namespace {

constexpr const char* kLeftOverResolved =
    "Havia transação de cartão pendente de uma venda interrompida: ela foi resolvida com o TEF (confirmada se a "
    "venda foi registrada, desfeita se não foi).";
constexpr const char* kLeftOverStands =
    "Há transação de cartão pendente de uma venda interrompida que o TEF não resolveu. Verifique o terminal antes "
    "de cobrar o cartão novamente.";

}  // namespace

int PendingCardTransactions::AnswerFilesWaiting() const {
  const std::string folder = s_.ctx.paths.ConfiguredFolder(s_.par.stDSDIRPENTEF);
  if (folder.empty()) return 0;
  int waiting = 0;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder, ec)) {
    // A write in progress ("intpos.001.tmp-...") is not an answer yet.
    if (pos::IsIntPosName(e.path().filename().string())) ++waiting;
  }
  return waiting;
}

pos::PendingTefRequest PendingCardTransactions::CancelRequest(int transactions) const {
  const ParametrosZem& par = s_.par;
  pos::PendingTefRequest request;
  request.stCDFILIAL = par.stCDFILIAL;
  request.stCDCAIXA = par.stCDCAIXA;
  request.stIDESQUEMA = par.stIDESQUEMA;
  request.inQtdeTef = transactions;
  request.inIDTIPOIMPFIS = par.inIDTIPOIMPFIS;
  request.fiscal_flag = par.boUTILIZAIMPFIS ? "F" : "N";
  request.stIDTIPOIMPNF3 = par.stIDTIPOIMPNF3;
  request.stCDPORTIMPNF3 = par.stCDPORTIMPNF3;
  return request;
}

bool PendingCardTransactions::SettleLeftOver() {
  const ParametrosZem& par = s_.par;
  if (par.stIDUTILTEF != "S" && par.stIDUTILTEF != "T") return true;
  if (s_.ctx.paths.ConfiguredFolder(par.stDSDIRPENTEF).empty()) return true;
  const pos::HostServices& host = s_.ctx.host;
  host.printer->CheckIntPosFiles(par.stIDESQUEMA, false);
  const int waiting = AnswerFilesWaiting();
  if (waiting == 0) return true;
  s_.ctx.log.LogRev00000("TEF pendente de venda interrompida: " + std::to_string(waiting) + " transacao(oes)");
  if (!host.printer->CancelaPendencia(CancelRequest(waiting))) {
    s_.ctx.log.LogRev00000("TEF pendente de venda interrompida nao resolvido");
    s_.ShowMessage(kLeftOverStands, runtime::kMsgWarning);
    return false;
  }
  s_.ctx.log.LogRev00000("TEF pendente de venda interrompida resolvido");
  s_.ShowMessage(kLeftOverResolved, runtime::kMsgPrompt);
  return true;
}

PendingCardTransactions::OnExit PendingCardTransactions::CancelOnExit(int receipt_tries) {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  if (sale.inQtdeTef <= 0) return OnExit::None;
  const pos::HostServices& host = s_.ctx.host;
  host.printer->CheckIntPosFiles(par.stIDESQUEMA, false);
  if (AnswerFilesWaiting() == 0) return OnExit::None;
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

pos::PendingTefRequest PendingCardTransactions::PendingRequest() const { return CancelRequest(s_.sale.inQtdeTef); }

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
