// Change: what was paid over the amount due, given back in the change tender of the last
// payment (a voucher, cash or a foreign currency), or taken back from the payments when
// no tender gives change.
#include <string>
#include <vector>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "host/runtime/strings.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/payment/currency_rates.h"
#include "screen/payment/payment_lines.h"

namespace recebimento::screen {

namespace {

using base::SetColumn;
using base::Variant;

bool IsChange(base::Dataset& movi) { return base::ColumnText(movi, "IDTIPOMOVIVE") == "S"; }

// Lines of the sale that count as payments, in stored order.
std::vector<base::Dataset::Bookmark> PaymentRows(base::Dataset& movi) {
  std::vector<base::Dataset::Bookmark> rows;
  for (movi.First(); !movi.Eof(); movi.Next())
    if (!IsChange(movi)) rows.push_back(movi.GetBookmark());
  return rows;
}

}  // namespace

bool PaymentLines::SettleChange() {
  SaleState& sale = s_.sale;
  if (!sale.cdsMoviVenda || !sale.cdsMoviVenda->Active()) return true;
  base::Dataset& movi = *sale.cdsMoviVenda;
  ControlRegistry& c = s_.controls;
  const double excess = runtime::Trunc2(sale.doVrPago - (runtime::Trunc2(sale.doVrTotal) - sale.doVrDesconto));
  if (excess < 0.01) return true;
  sale.doVrTroco = excess;

  const std::vector<base::Dataset::Bookmark> payments = PaymentRows(movi);
  bool gives_change = false;
  for (auto b : payments) {
    movi.GotoBookmark(b);
    if (!base::ColumnText(movi, "CDTIPOTROCO").empty() &&
        runtime::Trunc2(base::ColumnNumber(movi, "VRMOVIVEND")) >= sale.doVrTroco)
      gives_change = true;
  }

  if (!gives_change && s_.par.stSGESTADOFILI != "SC") {
    const std::string key = payments.size() == 1 ? "NoRecebTroco" : "RecebNoTroco";
    if (!s_.ShowMessage(Msg(key), runtime::kMsgQuestion)) {
      // The operator keeps the payments as they are; only clearing them goes on.
      c.SetEnabled("panKeyboard", false);
      c.SetEnabled("spbOk", false);
      c.SetEnabled("spbSair", true);
      c.SetEnabled("spbClear", sale.stIdTela != "S");
      s_.parts.grid.EnabledBotoes(false);
      return false;
    }
    // Take the excess back from the payments that give no change, oldest first.
    double rest = excess;
    for (auto b : payments) {
      if (rest < 0.01) break;
      if (!movi.BookmarkValid(b)) continue;
      movi.GotoBookmark(b);
      if (!base::ColumnText(movi, "CDTIPOTROCO").empty()) continue;
      const double value = runtime::Trunc2(base::ColumnNumber(movi, "VRMOVIVEND"));
      if (value > rest) {
        movi.Edit();
        SetColumn(movi, "VRMOVIVEND", Variant(runtime::Trunc2(value - rest)));
        movi.Post();
        rest = 0;
      } else {
        movi.Delete();
        rest = runtime::Trunc2(rest - value);
      }
    }
    sale.doVrPago = runtime::Trunc2(sale.doVrPago - (excess - rest));
    sale.doVrTroco = rest;
    RedrawList();
    c.SetCaption("lblValorPago", runtime::FormatFloat("0.00", sale.doVrPago));
    return true;
  }

  // The change tender is the one the last payment names.
  std::string change_tender;
  base::DateTime latest;
  for (auto b : payments) {
    movi.GotoBookmark(b);
    const base::DateTime when =
        movi.FieldIndex("DTHRINCMOV") >= 0 ? movi.FieldByName("DTHRINCMOV").AsDateTime() : base::DateTime();
    if (when >= latest) {
      latest = when;
      change_tender = base::ColumnText(movi, "CDTIPOTROCO");
    }
  }
  base::Dataset& troco = sale.cdsTroco;
  troco.SetFiltered(false);
  const bool found = !change_tender.empty() && troco.Locate("CDTIPORECE", Variant(change_tender));
  const std::string change_kind = found ? base::ColumnTrimmed(troco, "IDTIPORECE") : "";
  const std::string change_name = found ? base::ColumnText(troco, "NMTIPORECE") : "";
  double rate = 1.0;
  if (change_kind == "6") {
    base::Dataset rates("cdsMoedas");
    try {
      rates.LoadFromFile(CurrencyRatesFile(s_));
      if (!rates.Active()) rates.Open();
      if (rates.Locate("NMTIPORECE", Variant(change_name)) && base::ColumnNumber(rates, "VRCOTACAO") > 0)
        rate = base::ColumnNumber(rates, "VRCOTACAO");
    } catch (const std::exception& e) {
      // Without the rate the change is given in local money.
      s_.ShowMessage(e.what(), runtime::kMsgBlocked);
    }
  }

  sale.tpInputStep = isTroco;
  const bool voucher = change_kind == "5" || change_kind == "7";
  const std::string label = Msg(voucher ? "CONTRA-VALE" : "TROCO") + ": ";
  c.SetCaption("lblPagar", label);
  c.SetCaption("lblValorPagar", runtime::FormatFloat("0.00", sale.doVrTroco));
  const double shown_change = change_kind == "6" ? runtime::Trunc2(sale.doVrTroco / rate) : sale.doVrTroco;
  Linha(c.Require("memLista"), PaymentListLine(Msg("TROCO") + " (" + change_name + "):", shown_change), false);

  if (s_.par.stIDTPCONTRREPIQ != "N" && !voucher && found) s_.parts.adjustments.Controla_Repique(troco);

  const pos::HostServices& host = s_.ctx.host;
  if (host.keyboard->Teclado_OK()) {
    host.keyboard->ProcTeclDispClrLn2();
    host.keyboard->ProcTeclGoToXY(1, 2);
    host.keyboard->ProcTeclDispStr(label + runtime::FormatFloat("0.00", sale.doVrTroco));
  }
  if (s_.par.boDisplayOK) {
    const int width = s_.par.inTAMDISPLAY > 0 ? s_.par.inTAMDISPLAY : 20;
    host.display->LimpaDisplay();
    host.display->DisplayEnviaTexto(DisplayLine(Msg("TotalPago"), sale.doVrPago, width), 1, 1);
    host.display->DisplayEnviaTexto(DisplayLine(Msg("Troco_disp"), sale.doVrTroco, width), 2, 1);
  }

  // The change line.
  const bool tip_apart = sale.doVrTroco - sale.doVrRepique > 0 && s_.par.stIDTRATTAXASERV == "P" &&
                         sale.doVrServico > 0 && sale.stIdTipoVenda != "B";
  movi.Append();
  FillConsumerColumns(movi);
  SetColumn(movi, "IDTIPOMOVIVE", Variant(std::string("S")));
  for (const char* f : {"CDTIPORECE", "NMTIPORECE", "IDTIPORECE", "DSIMPFISCAL", "CDFPIMPFIS"})
    SetColumn(movi, f, Variant(found ? base::ColumnText(troco, f) : std::string()));
  SetColumn(movi, "VRMOVIVEND",
            Variant(runtime::Trunc2(tip_apart ? sale.doVrTroco - sale.doVrRepique : sale.doVrTroco)));
  if (change_kind == "6") {
    SetColumn(movi, "VRMOVIVEOUT", Variant(runtime::Trunc2(sale.doVrTroco / rate)));
    SetColumn(movi, "VRCOTINDOUT", Variant(rate));
  }
  SetColumn(movi, "QTPARCRECEB", Variant(1));
  for (const char* f : {"CDCNPJRESGSALDO", "CDCONSRESGSALDO", "CDINTRESGSALDO"})
    SetColumn(movi, f, Variant(std::string()));
  SetColumn(movi, "IDTIPORESGATE", Variant(std::string("N")));
  movi.Post();
  return true;
}

}  // namespace recebimento::screen
