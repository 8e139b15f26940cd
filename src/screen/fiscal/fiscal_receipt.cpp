// The fiscal receipt of a confirmed sale, step by step: the drawer by tender, the opening
// and the items (sales other than counter sales, whose receipt the host opened), the net
// adjustment, the closing with its record, what follows a closing or its refusal, the
// card receipts and the final backup.
#include "screen/fiscal/fiscal_receipt.h"

#include <filesystem>
#include <system_error>

#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

bool FiscalReceipt::ImprimeCupom() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  s_.ctx.log.LogRev00000("inicio ImprimeCupom");
  sale.boCupomCancelado = false;
  inIntTefErro = 1;
  abandoned_ = false;
  backup_failure_shown_ = false;
  last_item_sequence_.clear();
  registered_rows_.clear();
  closing_ = ClosingContext{};
  const bool printer = par.boUTILIZAIMPFIS;
  const bool counter_sale = sale.stIdTipoVenda == "B";

  if ((par.stIDTIPOGAVETA == "1" || par.stIDTIPOGAVETA == "2") && printer)
    s_.parts.confirmation.OpenDrawerForTenders(true);

  bool opened = true;
  if (printer && !counter_sale) {
    if (par.stIDIMPCUPTROCA == "S") PrintExchangeCoupon();
    opened = OpenReceipt();
    if (opened) {
      ItemsOutcome items = RegisterItems();
      if (items == ItemsOutcome::Registered) items = RegisterCancelledItems();
      if (items == ItemsOutcome::Abandoned) return false;
      if (items == ItemsOutcome::Registered) s_.ctx.log.LogRev00000("ImprimeCupom - vendaOk true");
    }
  } else if (printer) {
    // A counter sale comes with its receipt opened, and its items registered, by the
    // host: the screen closes that receipt, so the closing does not wait on an opening
    // this run never made.
    sale.boVendaOk = true;
  }

  bool closing_ran = false;
  if (opened) {
    NetAdjustment();
    if (sale.boVendaOk) {
      closing_ran = true;
      GatherClosingContext();
      if (printer) CloseReceipt();
      if (sale.boVendaOk) {
        KeepLastCardTransactions();
        std::error_code ec;
        if (std::filesystem::exists(CardReceiptFile(), ec)) ImprimeCupomCHART(true);
        PrintConsumerVouchers();
      } else {
        ClosingRefused();
      }
    }
  }

  bool result = opened;
  if (closing_ran) {
    if (counter_sale && par.stIDUTILTEF == "T" && sale.boTemPagtoTef && inIntTefErro == 3) sale.boVendaOk = false;
    result = sale.boVendaOk;
  }
  PrintDedicatedCardReceipts();
  PrintIntegratedCardReceipts();
  FinalBackup();
  s_.ctx.log.LogRev00000("fim ImprimeCupom");
  return result;
}

}  // namespace recebimento::screen
