// The sale's discount: typed by the operator (with supervisor control and the host's
// value-or-percentage dialog) or granted by an integration, and its limits.
#include <string>

#include "base/dataset_columns.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "screen/adjustments/adjustments.h"
#include "screen/frame/message_format.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

using base::Variant;
using runtime::Trunc2;

namespace {

// Percentages are compared on six decimals: 99 typed as a value of 99.00 on 100.00 must
// not read as 99.00000000000001.
double Percent(double x) { return runtime::RoundDec(x, 6); }

}  // namespace

void Adjustments::Discount() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  if (sale.stIDUTCUPOMDESC == "S" && !sale.discount_coupon_used) {
    const std::string choice = s_.parts.loyalty.CriaInformaDesconto();
    if (choice == "CUPOM" || choice == "SAIR") return;
  }

  if (!AuthorizeAdjustment(par.inCTCUPDESCONTO)) return;

  ControlRegistry& c = s_.controls;
  c.SetEnabled("spbAcrescimo", false);
  c.SetEnabled("spbTaxaServico", false);
  auto enable_others = [&] {
    c.SetEnabled("spbAcrescimo", sale.stPodeAcrescimo != "N");
    c.SetEnabled("spbTaxaServico", sale.stPodeRetTaxaServ != "N");
  };

  if (par.stIDSOLOBSDESC == "S") {
    Variant reason;
    s_.ctx.host.dialogs->Observacao({Variant(std::string("Motivo do desconto")),
                                     Variant(std::string("Informe o motivo do desconto")), Variant(discount_reason_)},
                                    reason);
    // The dialog answers the reason, or the reason and its group.
    if (reason.IsArray()) {
      const auto& parts = reason.AsArray();
      discount_reason_ = parts.empty() ? std::string() : parts[0].AsString();
      discount_reason_group_ = parts.size() > 1 ? parts[1].AsString() : std::string();
    } else {
      discount_reason_ = reason.IsNull() ? std::string() : reason.AsString();
      discount_reason_group_.clear();
    }
    if (discount_reason_ == "erro") {
      discount_reason_.clear();
      discount_reason_group_.clear();
    }
  }

  std::string kind;
  double value = 0;
  const std::string title = sale.stUtilDescCrmBonus == "S" ? "DescontoCRMBONUS" : "Desconto";
  if (!AskAdjustment(title, sale.doVrTotal, kind, value) || !(value > 0)) {
    enable_others();
    return;
  }

  // A refused discount leaves the one already in force, so the screen and the amounts
  // keep telling the same story.
  const double previous_amount = sale.doVrDesconto, previous_percent = sale.doPercDesconto;
  const double products = sale.doVrTotal - sale.doVrServico - sale.doVrAcrComanda;
  if (kind == "P") {
    sale.doPercDesconto = value;
    sale.doVrDesconto = Trunc2(value * products / 100);
  } else {
    sale.doVrDesconto = Trunc2(value);
    sale.doPercDesconto = sale.doVrTotal != 0 ? value * 100 / sale.doVrTotal : 0;
  }

  const std::string refusal = DiscountRefusal();
  if (!refusal.empty()) {
    sale.doVrDesconto = previous_amount;
    sale.doPercDesconto = previous_percent;
    s_.ShowMessage(refusal, runtime::kMsgBlocked);
    if (sale.doVrDesconto == 0) enable_others();
    return;
  }

  try {
    sale.doVrAPagar = Trunc2(sale.doVrTotal - sale.doVrPago - sale.doVrDesconto);
    ShowAdjustmentsList();
    ShowAdjustedAmount("DESCONTO:", sale.doVrDesconto);
    if (sale.doVrDesconto != 0 && sale.doPercDesconto != 0) MarkItemsWithDiscount();
  } catch (const std::exception& e) {
    s_.ShowMessage(e.what(), runtime::kMsgBlocked);
    s_.parts.exit.Clear();
  }
}

std::string Adjustments::DiscountRefusal() {
  SaleState& sale = s_.sale;
  const double discount = Trunc2(sale.doVrDesconto);
  if (sale.boPagouMobile && discount > Trunc2(sale.doVrTotal - sale.doVrPago)) return Msg("Ope_Desc_Maior_Rest");
  if (discount >= Trunc2(sale.doVrTotal)) return Msg("Ope_Desc_Maior");

  // Every item must keep at least one cent: per unit sold and per item line.
  const double products = Trunc2(sale.doVrTotal - sale.doVrServico - sale.doVrAcrComanda);
  const double net = Trunc2(sale.doVrTotal - sale.doVrServico - sale.doVrAcrComanda - sale.doVrDesconto);
  double units = 0;
  int lines = 0;
  if (sale.HasItems()) {
    base::Dataset& items = *sale.cdsItensVenda;
    const int current = items.RecNo();
    for (items.First(); !items.Eof(); items.Next()) {
      units += base::ColumnNumber(items, "QTPRODCOMVEN");
      ++lines;
    }
    if (current > 0) items.SetRecNo(current);
  }
  for (const double minimum : {Trunc2(units / 100), Trunc2(lines / 100.0)}) {
    if (minimum > net) return MsgFmt("Desc_Max", {Trunc2(products - minimum)});
  }

  const int printer = s_.par.inIDTIPOIMPFIS;
  if (printer == 31 || printer == 33) {
    const double limit = Trunc2((sale.doVrTotal - sale.doVrServico) * 99 / 100);
    if (Percent(sale.doPercDesconto) > 99 || discount > limit) return MsgFmt("Desc_MaxEpson", {limit, "99%"});
  }
  return std::string();
}

void Adjustments::MarkItemsWithDiscount() {
  SaleState& sale = s_.sale;
  if (!sale.HasItems()) return;
  base::Dataset& items = *sale.cdsItensVenda;
  const int current = items.RecNo();
  for (items.First(); !items.Eof(); items.Next()) {
    items.Edit();
    base::SetColumn(items, "DSOBSDESC", Variant(discount_reason_));
    base::SetColumn(items, "CDGRPOCORDESC", Variant(discount_reason_group_));
    base::SetColumn(items, "CDSUPERVISOR", Variant(sale.stCdSupervisor));
    // A manual discount replaces the cashback discounts the sale carried: they must not
    // be redeemed with the provider as well.
    base::SetColumn(items, "VRDESCCASH4ALL", Variant(0.0));
    base::SetColumn(items, "VRDESCPROMO4ALL", Variant(0.0));
    base::SetColumn(items, "CDPROMOFID4ALL", Variant(std::string()));
    base::SetColumn(items, "VRDESCCASHUDS", Variant(0.0));
    items.Post();
  }
  if (current > 0) items.SetRecNo(current);
  sale.doVrDescCash4All = 0;
  sale.doVrDescCashUDS = 0;
}

void Adjustments::AplicaDesconto() {
  SaleState& sale = s_.sale;
  sale.doPercDesconto = sale.doVrTotal != 0 ? 100 * sale.doVrDesconto / sale.doVrTotal : 0;
  sale.doVrAPagar = Trunc2(sale.doVrTotal - sale.doVrPago - sale.doVrDesconto);
  ShowAdjustmentsList();
  ShowAdjustedAmount("DESCONTO:", sale.doVrDesconto);
}

}  // namespace recebimento::screen
