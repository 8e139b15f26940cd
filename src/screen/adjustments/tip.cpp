// The tip ("repique") kept from the change: proposed, asked or typed on the keypad,
// bounded by the change and the branch's maximum, and recorded on the sale's items.
#include <string>

#include "base/dataset_columns.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "host/runtime/strings.h"
#include "screen/adjustments/adjustments.h"
#include "screen/frame/message_format.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

using runtime::Trunc2;

double Adjustments::TypeTip(const std::string& idTipoRece) {
  SaleState& sale = s_.sale;
  TenderGrid& grid = s_.parts.grid;
  Keyboard& keyboard = s_.parts.keyboard;
  grid.CtrlBotoes("E", 1);
  grid.CtrlBotoes("H", 1);
  ControlRegistry& c = s_.controls;
  for (const char* n : {"spbTaxaServico", "spbDesconto", "sbtCashback", "sbtCashbackUDS", "sbtCashbackCore"}) {
    c.SetEnabled(n, false);
    c.SetVisible(n, false);
  }
  // Enter must not confirm the sale while the tip is being typed.
  c.SetEnabled("spbOk", false);
  c.Require("panKeyboard").visible = idTipoRece != "8";
  c.Require("panKeyboard").enabled = true;
  keyboard.KeybEnabled(true);

  sale.tpInputStep = isDinheiro1;
  keyboard.SetTypedText("");
  c.Require("lblInputReceb2").caption.clear();
  keyboard.ClearTakenAmount();
  keyboard.SetReplaceOnNextChar(false);
  keyboard.SetTipEntry(true);
  struct EndTipEntry {
    Keyboard& keyboard;
    ~EndTipEntry() { keyboard.SetTipEntry(false); }
  } end_tip_entry{keyboard};
  // Enter ends the step; going back to the grid means no tip.
  s_.ctx.pump.RunUntil([&] { return sale.tpInputStep == isNone || grid.Selecting(); }, "tip");
  if (sale.tpInputStep != isNone) {
    sale.tpInputStep = isNone;
    return 0;
  }
  const double value = Trunc2(keyboard.TakenAmount());
  return value > 0 ? value : 0;
}

void Adjustments::Controla_Repique(base::Dataset& tender) {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  const std::string use = base::ColumnText(tender, "IDUTCONTRREPIQ");
  if (par.stIDTPCONTRREPIQ == "N" || (use != "S" && use != "A")) return;
  const double change = Trunc2(sale.doVrTroco);
  if (change < 0.01) return;

  const bool commission = par.stIDCOMISVENDA == "S";
  const double proposal =
      commission ? Trunc2((sale.doVrTotal - sale.doVrServico) / 100 * par.doVRCOMISVENDA) : sale.doVrServico;
  const double maximum = Trunc2(sale.doVrTotal * par.doVRPEMAXREPIQMRX / 100);
  // A commission charged as a product of its own: the tip starts empty and is typed.
  const bool special = sale.stIdTipoVenda != "B" && proposal != sale.doVrServico &&
                       (par.stIDCOMISVENDA == "S" || par.stIDCOMISVENDA == "G") && par.stIDTRATTAXASERV == "P";
  double tip = special ? 0 : change;

  const bool automatic = use == "A" || par.stIDTPCONTRREPIQ == "A";
  bool type_it = false;
  if (automatic) {
    type_it = false;
  } else if (special) {
    type_it = true;
  } else if (par.stIDTPCONTRREPIQ == "V") {
    type_it = s_.ShowMessage(MsgFmt("Conf_Repiq", {tip}), runtime::kMsgQuestion) || tip > change;
  } else {
    type_it = true;
  }

  const std::string kind = base::ColumnText(tender, "IDTIPORECE");
  // The change step goes on in its own input step once the tip is typed.
  const TInputStep step = sale.tpInputStep;
  const bool typed = type_it;
  while (type_it) {
    const double entered = TypeTip(kind);
    if (entered > change) {
      s_.ShowMessage(Msg("Repiq_N_Perm"), runtime::kMsgBlocked);
      continue;
    }
    if (!special && par.doVRPEMAXREPIQMRX > 0 && entered > maximum) {
      s_.ShowMessage(MsgFmt("Repiq_Maior_PerMax", {runtime::FormatFloat("0.##", par.doVRPEMAXREPIQMRX)}),
                     runtime::kMsgBlocked);
      continue;
    }
    tip = entered;
    type_it = false;
  }

  if (typed) sale.tpInputStep = step;

  sale.doVrRepique = Trunc2(tip);
  if (sale.HasItems()) {
    base::Dataset& items = *sale.cdsItensVenda;
    if (items.FieldIndex("VRREPIQUEVENDA") >= 0) {
      const int current = items.RecNo();
      for (items.First(); !items.Eof(); items.Next()) {
        items.Edit();
        items.FieldByName("VRREPIQUEVENDA").SetAsFloat(sale.doVrRepique);
        items.Post();
      }
      if (current > 0) items.SetRecNo(current);
    }
  }
  if (sale.doVrRepique > 0)
    s_.parts.payments.Linha(
        s_.controls.Require("memLista"),
        runtime::AjustaL(Msg("REPIQUE") + ": ", 20) + runtime::AjustaR(FormatMoney(sale.doVrRepique), 14), false);
}

}  // namespace recebimento::screen
