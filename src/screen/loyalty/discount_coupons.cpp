// Discount coupons: the choice between a manual discount and a coupon, and the coupon's
// validation against the branch's valid coupons - one coupon a sale.
#include <string>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "host/runtime/result_check.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/loyalty/loyalty_discounts.h"

namespace recebimento::screen {

using base::Variant;
using runtime::Trunc2;

std::string LoyaltyDiscounts::CriaInformaDesconto() {
  stEscolhaDesconto.clear();
  Centre("panInformaDesconto");
  s_.parts.grid.CtrlBotoes("C", 1);
  s_.ctx.pump.RunUntil([this] { return !stEscolhaDesconto.empty() || s_.window.Closed(); }, "discount or coupon");
  s_.controls.Require("panInformaDesconto").visible = false;
  s_.parts.grid.CtrlBotoes("C", 2);
  if (stEscolhaDesconto.empty()) stEscolhaDesconto = "SAIR";
  return stEscolhaDesconto;
}

bool LoyaltyDiscounts::ValidaCupomDesconto() {
  SaleState& sale = s_.sale;
  base::Dataset* items = sale.cdsItensVenda;
  // One coupon a sale: the coupon on the items says it was used.
  if (sale.discount_coupon_used) {
    s_.ShowMessage(Msg("CUPOM_JA_UTIL"), runtime::kMsgBlocked);
    return false;
  }
  if (items && items->Active() && items->FieldIndex("CDCUPOMDESCZEM") >= 0) {
    for (items->First(); !items->Eof(); items->Next()) {
      if (!base::ColumnTrimmed(*items, "CDCUPOMDESCZEM").empty()) {
        s_.ShowMessage(Msg("CUPOM_JA_UTIL"), runtime::kMsgBlocked);
        return false;
      }
    }
  }

  Variant typed;
  if (!s_.ctx.host.dialogs->CriaInfAdicional(
          {Variant(std::string("CUPOM")), Variant(std::string("Informe o cupom de desconto"))}, typed))
    return false;
  const std::string code =
      typed.IsArray() && !typed.AsArray().empty() ? base::Trim(typed.AsArray()[0].AsString()) : std::string();
  if (code.empty()) return false;

  const Variant valid =
      s_.CheckResult(s_.ctx.rdm.getCuponsValidos(s_.par.stCDFILIAL), "getCuponsValidos", s_.par.stCDFILIAL);
  if (!runtime::IsResultPacket(valid)) return false;
  cdsCuponsValidos.SetData(valid);
  if (!cdsCuponsValidos.Locate("CDCUPOMDESCZEM", Variant(code))) {
    s_.ShowMessage(Msg("CUPOM_NAO_ENC"), runtime::kMsgBlocked);
    return false;
  }
  const double value = base::ColumnNumber(cdsCuponsValidos, "VRDESCCUPOM");
  const double discount = Limited(
      base::ColumnTrimmed(cdsCuponsValidos, "IDTIPODESC") == "P" ? Trunc2(LargestDiscount() * value / 100) : value);
  if (!(discount > 0)) {
    s_.ShowMessage(Msg("CUPOM_NAO_ENC"), runtime::kMsgBlocked);
    return false;
  }
  Apply(discount);
  sale.SetOnEveryItem("CDCUPOMDESCZEM", Variant(code));
  sale.discount_coupon_used = true;
  s_.ctx.log.LogRev00000("cupom de desconto aplicado: " + code + " desconto " + runtime::FormatFloat("0.00", discount));
  return true;
}

}  // namespace recebimento::screen
