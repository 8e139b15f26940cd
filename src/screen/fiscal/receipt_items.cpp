// The items of the fiscal receipt: every sold item in stored order with its tax code, then
// the items cancelled from the tab (registered and cancelled at once), each marked once
// the printer took it, with the backup written after every item. An item the printer
// refuses is tried again while the operator asks; giving up records the sale as cancelled
// and leaves the screen.
#include <algorithm>
#include <string>
#include <vector>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/pos/fiscal_params.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/money.h"
#include "host/runtime/param_block.h"
#include "screen/fiscal/fiscal_receipt.h"
#include "screen/fiscal/receipt_support.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

namespace {

using base::ColumnNumber;
using base::ColumnText;
using base::ColumnTrimmed;
using base::Variant;

// The item's description for the printer: its NCM (without dots) and CEST between "#"
// marks, then its name.
std::string ItemDescription(const std::string& ncm, const std::string& cest, const std::string& name) {
  std::string ncm_digits;
  for (char c : ncm)
    if (c != '.') ncm_digits += c;
  std::string text = ncm_digits.empty() ? "#" : "#" + ncm_digits + "#";
  if (!cest.empty()) text += cest + "#";
  return text + name;
}

// The printer's sequence numbers of a row, "1;2;": `seq` is added once.
std::string WithSequence(const std::string& list, const std::string& seq) {
  for (const std::string& s : base::Split(list, ";"))
    if (s == seq) return list;
  return list + seq + ";";
}

// The question after a refused item; its default is "no".
bool AskRetry(const ScreenScope& s, base::Dataset& items) {
  const std::string text = Msg("ErroItem") + "\n" + ColumnTrimmed(items, "CDARVPROD") + " - " +
                           base::Utf8Left(ColumnText(items, "NMPRODUTO"), 20) + "\n" + Msg("Deseja");
  return runtime::ShowMessage(s.ctx.host.messages,
                              {text, "", "N", "N", runtime::kMsgQuestion, "", s.par.stIDESQUEMA, 0, nullptr});
}

// The packet of `ds` with every row carrying the branch: the cancelled sale is numbered
// in the branch of its items, which a host may leave out of them.
base::DataPacket WithBranch(const base::Dataset* ds, const std::string& branch) {
  base::DataPacket p = fiscal::PacketOf(ds);
  int column = p.FieldIndex("CDFILIAL");
  if (column < 0) {
    p.fields.push_back({"CDFILIAL", base::FieldType::String, 4});
    for (auto& row : p.rows) row.push_back(Variant::Null());
    column = static_cast<int>(p.fields.size()) - 1;
  }
  for (auto& row : p.rows) {
    Variant& v = row[static_cast<size_t>(column)];
    if (v.IsEmptyOrNull() || base::Trim(v.AsString()).empty()) v = Variant(branch);
  }
  return p;
}

}  // namespace

FiscalReceipt::ItemsOutcome FiscalReceipt::RegisterItems() {
  SaveItemsBackup();
  base::Dataset* items = s_.sale.cdsItensVenda;
  if (!items || !items->Active()) return ItemsOutcome::Registered;
  items->SetIndexFieldNames("");
  for (items->First(); !items->Eof() && s_.sale.boVendaOk; items->Next()) {
    const ItemsOutcome outcome = RegisterItem(*items, false);
    if (outcome != ItemsOutcome::Registered) return outcome;
  }
  return ItemsOutcome::Registered;
}

FiscalReceipt::ItemsOutcome FiscalReceipt::RegisterCancelledItems() {
  SaveCancelledItemsBackup();
  base::Dataset* items = s_.sale.cdsItensCancelados;
  if (!items || !items->Active()) return ItemsOutcome::Registered;
  for (items->First(); !items->Eof() && s_.sale.boVendaOk; items->Next()) {
    const ItemsOutcome outcome = RegisterItem(*items, true);
    if (outcome != ItemsOutcome::Registered) return outcome;
  }
  return ItemsOutcome::Registered;
}

FiscalReceipt::ItemsOutcome FiscalReceipt::RegisterItem(base::Dataset& items, bool cancelled) {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  pos::FiscalPrinter& printer = *s_.ctx.host.printer;

  std::string kind = ColumnTrimmed(items, "IDTPIMPOSFIS");
  if (kind.empty()) kind = "N";
  const double rate = (kind == "N" || kind == "F" || kind == "I") ? 0.0 : ColumnNumber(items, "VRPEALIMPFIS");
  base::Dataset& rates = sale.cdsAliqImpFis;
  if (!rates.Active() || rates.FieldIndex("IDALIQIMPFIS") < 0 || rates.FieldIndex("VRALIQIMPFIS") < 0 ||
      !rates.Locate("IDALIQIMPFIS;VRALIQIMPFIS", {Variant(kind), Variant(rate)})) {
    s_.ShowMessage(Msg("AliqNaoCad"), runtime::kMsgBlocked);
    return ItemsOutcome::Registered;
  }
  const std::string tax_code = ColumnTrimmed(rates, "CDALIQIMPFIS");

  const double price = ColumnNumber(items, "VRPRECCOMVEN");
  const double unit_surcharge = ColumnNumber(items, cancelled ? "VRUNITVENCLC" : "VRUNITVENDCL");
  if (runtime::ToCents(price + unit_surcharge) <= 0) return ItemsOutcome::Registered;  // nothing to print

  const std::string product = ColumnTrimmed(items, "CDPRODUTO");
  Variant codes;
  std::string cest, ncm;
  if (s_.ctx.host.fiscal->getProdCodCestNcm(product, codes) && codes.IsArray()) {
    if (codes.Size() > 0) cest = base::Trim(codes[0].AsString());
    if (codes.Size() > 1) ncm = base::Trim(codes[1].AsString());
  }
  const std::string own_code = ColumnTrimmed(items, "CDPRODIMPFIS");

  pos::SaleItemParams item;
  item.stIDESQUEMA = par.stIDESQUEMA;
  item.stNrComanda = sale.stNrComanda;
  item.code = own_code.empty() ? ColumnTrimmed(items, "CDARVPROD") : own_code;
  item.description = ItemDescription(ncm, cest, ColumnTrimmed(items, "NMPRODUTO"));
  item.tax_code = tax_code;
  item.tax_kind = kind;
  item.unit = ColumnTrimmed(items, "SGUNIDADE");
  item.rate_text = runtime::FormatFloat("0.00", rate);
  item.stIDUTILTEF = par.stIDUTILTEF;
  item.quantity = ColumnNumber(items, "QTPRODCOMVEN");
  item.unit_price = runtime::Trunc2(price + runtime::Trunc2(unit_surcharge));
  item.discount = ColumnNumber(items, "VRDESCCOMVEN");
  item.surcharge = ColumnNumber(items, "VRACRCOMVEN");
  item.integrated_tef = fiscal::IntegratedTefFlag(s_);
  const std::string cancel_key =
      cancelled ? "CdsVariavelVenda.data-CdsVariavelCancel.Data-" : "CdsVariavelVenda.data-cdsVendaCancelada.Data-";

  for (;;) {
    item.inIntTefErro = inIntTefErro;
    runtime::ParamBlock block = pos::Params_VendaItem_Gpe00000(item);
    if (printer.VendaItem(block)) {
      if (const Variant v = runtime::RecebeParams(block, "INTTEFERRO"); !v.IsEmptyOrNull())
        inIntTefErro = static_cast<int>(v.AsInteger());
      last_item_sequence_ = runtime::RecebeParams(block, "NRSEQITEM").AsString();
      break;
    }
    if (par.stIDUTILTEF == "T" && sale.boOperacaoEmCurso) {
      // The dedicated terminal's operation holds the printer: the sale is not done and the
      // operator is left to finish it there.
      sale.boVendaOk = false;
      sale.boProcessandoSaida = false;
      return ItemsOutcome::StoppedUnderTef;
    }
    if (AskRetry(s_, items)) continue;
    GiveUpSale(cancel_key);
    return ItemsOutcome::Abandoned;
  }

  if (cancelled) {
    // Registered, the item comes off the receipt at once. A cancellation the printer
    // refuses would leave it charged: it is tried again, or the sale given up, like the item.
    while (!printer.Cancela_UltimoItem(par.stIDESQUEMA)) {
      if (AskRetry(s_, items)) continue;
      GiveUpSale(cancel_key);
      return ItemsOutcome::Abandoned;
    }
  }

  items.Edit();
  base::SetColumn(items, "IDPRODIMPFIS", Variant("S"));
  base::SetColumn(items, "DTABERCAIX", Variant(par.dtDTABERCAIX));
  base::SetColumn(items, "NRCUPOMFIS", Variant(sale.stNrCupomFis));
  base::SetColumn(items, cancelled ? "CDORDALIQIMPRIC" : "CDORDALIQIMPR", Variant(tax_code));
  base::SetColumn(items, cancelled ? "VRALIQIMPRIC" : "VRALIQIMPR", Variant(rate));
  base::SetColumn(items, "NRCONTCUPOMFISC", Variant(sale.stNrContCupom));
  base::SetColumn(items, "NRSEQPRODCUP", Variant(WithSequence(ColumnText(items, "NRSEQPRODCUP"), last_item_sequence_)));
  items.Post();
  if (cancelled) {
    SaveCancelledItemsBackup();
  } else {
    registered_rows_.insert(items.GetBookmark());
    SaveItemsBackup();
  }
  sale.boVendaOk = true;
  return ItemsOutcome::Registered;
}

void FiscalReceipt::GiveUpSale(const std::string& cancel_key) {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  sale.boVendaOk = false;
  s_.ShowMessage(Msg("CupomCan"), runtime::kMsgBlocked);
  if (sale.stNrCupomFis != "ERRO") {
    // The sale is recorded with what the printer registered.
    if (base::Dataset* items = sale.cdsItensVenda; items && items->Active()) {
      items->First();
      while (!items->Eof()) {
        if (ColumnTrimmed(*items, "IDPRODIMPFIS") == "S" || registered_rows_.count(items->GetBookmark()))
          items->Next();
        else
          items->Delete();
      }
    }
    const std::string table = sale.ItemText("NRMESA");
    const Variant number = s_.ctx.rdm.setCancelaVendas(
        Variant(WithBranch(sale.cdsItensVenda, par.stCDFILIAL)),
        Variant(WithBranch(sale.cdsItensCancelados, par.stCDFILIAL)), par.stCDCAIXA, par.dtDTABERCAIX, par.stCDEMPRESA,
        sale.stNrCupomFis, sale.stNrContCupom, table, "", par.inIDTIPOIMPFIS, par.stNRSERIEIMP);
    const std::string text = number.AsString();
    const bool recorded =
        !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (recorded) {
      s_.ctx.log.LogRev00000("ImprimeCupom - venda cancelada " + text + " registrada");
    } else if (!text.empty()) {
      s_.CheckResult(number, "setCancelaVendas",
                     cancel_key + par.stCDCAIXA + "-" + par.dtDTABERCAIX.Format("dd/mm/yyyy") + "-" +
                         sale.stCdOperador + "-" + sale.stNrCupomFis + "-" + sale.stNrContCupom + "-" + table,
                     0, "Cli_Res02000");
    }
  }
  // The store holds the sale as cancelled: so must the printer, or its open receipt
  // would be closed by whatever the register sells next.
  const std::vector<Variant> args = {
      Variant(par.stIDESQUEMA), Variant(false),         Variant(false),           Variant(true),
      Variant(par.stCDFILIAL),  Variant(par.stCDCAIXA), Variant(par.stNRSERIEIMP)};
  if (s_.ctx.host.printer->Cancela_Cupom_Imp(args, sale.oleRetorno))
    sale.boCupomCancelado = true;
  else
    s_.ShowMessage(Msg("CUP_FIS_N_CANC"), runtime::kMsgBlocked);
  abandoned_ = true;
  sale.boProcessandoSaida = false;
  s_.parts.exit.Leave();
}

}  // namespace recebimento::screen
