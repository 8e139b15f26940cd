// The host's promotions of the sale: offered when a tender is chosen (the consumer's
// wallet promotion, then the promotion of the payment type) and listed on their panel;
// and the rule that limits every loyalty discount.
#include <algorithm>
#include <functional>
#include <string>

#include "base/dataset_columns.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "screen/frame/message_format.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/loyalty/loyalty_discounts.h"

namespace recebimento::screen {

using base::Variant;
using runtime::Trunc2;

namespace {

constexpr int kFormWidth = 800, kFormHeight = 600;
constexpr int kParkedLeft = 802, kParkedTop = 408;

std::string TwoDecimals(double value) { return runtime::FormatFloat("0.00", value); }

}  // namespace

LoyaltyDiscounts::LoyaltyDiscounts(ScreenScope& s) : s_(s) {
  cdsPromocaoInt.AddField("NMPROMOCAO", base::FieldType::String, 100);
  cdsPromocaoInt.AddField("CDTIPORECE", base::FieldType::String, 3);
  cdsPromocaoInt.AddField("NMTIPORECE", base::FieldType::String, 40);
  cdsPromocaoInt.AddField("DSTIPODESC", base::FieldType::String, 10);
  cdsPromocaoInt.CreateDataSet();
}

double LoyaltyDiscounts::LargestDiscount() const {
  const SaleState& sale = s_.sale;
  return std::max(0.0, Trunc2(sale.doVrTotal - sale.doVrServico - sale.doVrAcrComanda - sale.doVrDesconto));
}

double LoyaltyDiscounts::ItemUnits() const {
  base::Dataset* items = s_.sale.cdsItensVenda;
  if (!items || !items->Active() || items->IsEmpty()) return 0;
  double units = 0;
  int rows = 0;
  const base::Dataset::Bookmark at = items->GetBookmark();
  for (items->First(); !items->Eof(); items->Next()) {
    units += base::ColumnNumber(*items, "QTPRODCOMVEN");
    ++rows;
  }
  items->GotoBookmark(at);
  return std::max(units, static_cast<double>(rows));
}

double LoyaltyDiscounts::Limited(double discount) const {
  const double largest = LargestDiscount();
  discount = Trunc2(discount);
  if (discount >= largest) discount = std::max(0.0, Trunc2(largest) - Trunc2(0.01 * ItemUnits()));
  return discount;
}

void LoyaltyDiscounts::Apply(double discount) {
  if (!(discount > 0)) return;
  s_.sale.doVrDesconto = Trunc2(s_.sale.doVrDesconto + discount);
  s_.parts.adjustments.AplicaDesconto();
}

std::string LoyaltyDiscounts::PromotionValue(const std::string& kind, double value) {
  return kind == "P" ? TwoDecimals(value) + "%" : "R$ " + TwoDecimals(value);
}

bool LoyaltyDiscounts::OfferPromotion(const std::string& key, const std::string& name) {
  base::Dataset& promo = *s_.sale.cdsPromoComanda;
  const std::string kind = base::ColumnTrimmed(promo, "IDTPDESCPROMO");
  const double value = base::ColumnNumber(promo, "VRDESCPROMO");
  if (!(value > 0)) return false;
  const std::string text = key == "DESC_CARTEIRA" ? MsgFmt(key, {PromotionValue(kind, value)})
                                                  : MsgFmt(key, {name}) + "\r\n" + PromotionValue(kind, value);
  if (!s_.ShowMessage(text, runtime::kMsgQuestion)) return false;
  const double discount = Limited(kind == "P" ? Trunc2(LargestDiscount() * value / 100) : value);
  if (!(discount > 0)) return false;
  Apply(discount);
  promo.Edit();
  base::SetColumn(promo, "IDUTPROMOCOM", Variant(std::string("S")));
  promo.Post();
  s_.ctx.log.LogRev00000("promocao aplicada: " + base::ColumnTrimmed(promo, "IDPROMOCOM") + " desconto " +
                         TwoDecimals(discount));
  return true;
}

// Positions `promo` on the first unused promotion that `wanted` accepts; false when none.
static bool FindUnusedPromotion(base::Dataset& promo, const std::function<bool()>& wanted) {
  for (promo.First(); !promo.Eof(); promo.Next())
    if (base::ColumnTrimmed(promo, "IDUTPROMOCOM") != "S" && wanted()) return true;
  return false;
}

void LoyaltyDiscounts::ConsultaPromo() {
  base::Dataset* promo = s_.sale.cdsPromoComanda;
  if (!promo || !promo->Active() || promo->IsEmpty() || promo->FieldIndex("IDTPPROMOCOM") < 0) return;
  promo->SetFiltered(false);
  // The consumer's wallet promotion (kind "C"), once.
  if (FindUnusedPromotion(*promo, [promo] { return base::ColumnTrimmed(*promo, "IDTPPROMOCOM") == "C"; }))
    OfferPromotion("DESC_CARTEIRA", "");
  // The promotion of the chosen payment type (kind "P", named by the tender's code), once.
  base::Dataset& receb = s_.sale.cdsReceb;
  const std::string tender = base::ColumnTrimmed(receb, "CDTIPORECE");
  if (!tender.empty() && FindUnusedPromotion(*promo, [promo, &tender] {
        return base::ColumnTrimmed(*promo, "IDTPPROMOCOM") == "P" &&
               base::ColumnTrimmed(*promo, "IDPROMOCOM") == tender;
      }))
    OfferPromotion("DESC_RECEB", base::ColumnTrimmed(receb, "NMTIPORECE"));
}

void LoyaltyDiscounts::Centre(const std::string& panel) {
  Control& p = s_.controls.Require(panel);
  p.left = (kFormWidth - p.width) / 2;
  p.top = (kFormHeight - p.height) / 2;
  p.visible = true;
}

void LoyaltyDiscounts::ShowPromotionRow() {
  Control* grid = s_.controls.FindComponent("dbgPromocao");
  if (!grid) return;
  grid->lines.clear();
  int row = 0;
  const int current = cdsPromocaoInt.RecNo();
  for (cdsPromocaoInt.First(); !cdsPromocaoInt.Eof(); cdsPromocaoInt.Next()) {
    ++row;
    grid->lines.push_back((row == current ? "> " : "  ") + base::ColumnText(cdsPromocaoInt, "NMPROMOCAO") + " | " +
                          base::ColumnText(cdsPromocaoInt, "NMTIPORECE") + " | " +
                          base::ColumnText(cdsPromocaoInt, "DSTIPODESC"));
  }
  if (current > 0) cdsPromocaoInt.SetRecNo(current);
}

void LoyaltyDiscounts::ListaPromo() {
  base::Dataset* promo = s_.sale.cdsPromoComanda;
  if (!promo || !promo->Active() || promo->FieldIndex("IDTPPROMOCOM") < 0) return;
  cdsPromocaoInt.EmptyDataSet();
  promo->SetFilter([](const base::RowView& row) {
    return base::ColumnTrimmed(row, "IDTPPROMOCOM") == "P" && row.AsFloat("VRDESCPROMO") > 0;
  });
  base::Dataset& receb = s_.sale.cdsReceb;
  for (promo->First(); !promo->Eof(); promo->Next()) {
    const std::string tender = base::ColumnTrimmed(*promo, "IDPROMOCOM");
    const Variant name =
        receb.Active() ? receb.Lookup("CDTIPORECE", {Variant(tender)}, "NMTIPORECE") : Variant(std::string());
    cdsPromocaoInt.AppendRecord({Variant(base::ColumnText(*promo, "NMPROMOCOM").substr(0, 100)),
                                 Variant(tender.substr(0, 3)),
                                 Variant(name.IsEmptyOrNull() ? std::string() : name.AsString().substr(0, 40)),
                                 Variant(PromotionValue(base::ColumnTrimmed(*promo, "IDTPDESCPROMO"),
                                                        base::ColumnNumber(*promo, "VRDESCPROMO")))});
  }
  promo->ClearFilter();
  if (cdsPromocaoInt.IsEmpty()) return;
  cdsPromocaoInt.First();
  ShowPromotionRow();
  Centre("panConsultaPromo");
  boPromocaoAberta = true;
  s_.parts.grid.CtrlBotoes("C", 1);
  s_.ctx.pump.RunUntil([this] { return !boPromocaoAberta || s_.window.Closed(); }, "promotions list");
  if (boPromocaoAberta) btnSairClick();
  s_.parts.grid.CtrlBotoes("C", 2);
}

void LoyaltyDiscounts::btnAnteriorClick() {
  cdsPromocaoInt.Prior();
  ShowPromotionRow();
}

void LoyaltyDiscounts::btnProximoClick() {
  cdsPromocaoInt.Next();
  if (cdsPromocaoInt.Eof()) cdsPromocaoInt.Last();
  ShowPromotionRow();
}

void LoyaltyDiscounts::btnSairClick() {
  Control& p = s_.controls.Require("panConsultaPromo");
  p.left = kParkedLeft;
  p.top = kParkedTop;
  p.visible = false;
  boPromocaoAberta = false;
}

}  // namespace recebimento::screen
