// The files an interrupted sale is restored from: the sale's items ("cdsVenda.cds") and
// its cancelled items ("cdsItensCancelados.cds") in the reference folder, each written
// whole or not at all, and the CHART card receipt the card software leaves.
#include <filesystem>
#include <string>

#include "base/dataset.h"
#include "host/runtime/messages.h"
#include "screen/fiscal/fiscal_receipt.h"

namespace recebimento::screen {

namespace {

// Writes the dataset to the reference file `name`; false (the trace says why) when it
// could not. The old file stays whole until the new one replaces it.
bool SaveBackup(const ScreenScope& s, const base::Dataset* ds, const std::string& name, std::string& error) {
  if (!ds || !ds->Active()) return true;
  try {
    const std::filesystem::path file = s.ctx.paths.Reference(s.par.stDSDIRCAD, name);
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
    ds->SaveToFile(file.string());
    return true;
  } catch (const std::exception& e) {
    error = e.what();
    s.ctx.log.LogRev00000("ImprimeCupom - " + name + " nao gravado: " + error);
    return false;
  }
}

}  // namespace

void FiscalReceipt::SaveItemsBackup() {
  std::string error;
  if (!SaveBackup(s_, s_.sale.cdsItensVenda, "cdsVenda.cds", error) && !backup_failure_shown_) {
    // Once a sale: the printing goes on, but the operator knows the sale could not be kept.
    backup_failure_shown_ = true;
    s_.ShowMessage("Não foi possível gravar a cópia de segurança da venda (cdsVenda.cds): " + error,
                   runtime::kMsgWarning);
  }
}

void FiscalReceipt::SaveCancelledItemsBackup() {
  std::string error;
  if (!SaveBackup(s_, s_.sale.cdsItensCancelados, "cdsItensCancelados.cds", error) && !backup_failure_shown_) {
    backup_failure_shown_ = true;
    s_.ShowMessage("Não foi possível gravar a cópia de segurança da venda (cdsItensCancelados.cds): " + error,
                   runtime::kMsgWarning);
  }
}

std::string FiscalReceipt::CardReceiptFile() const {
  return (std::filesystem::path(s_.ctx.paths.CardAnswerFolder()) / "cupom.tef").string();
}

}  // namespace recebimento::screen
