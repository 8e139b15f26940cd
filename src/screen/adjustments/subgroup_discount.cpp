// Item discounts by product subgroup: the quantity sold of a subgroup falls in one of its
// bands, whose percentage becomes the discount of every item of that subgroup.
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/dataset_columns.h"
#include "host/runtime/numbers.h"
#include "host/runtime/result_check.h"
#include "screen/adjustments/adjustments.h"

namespace recebimento::screen {

using runtime::Trunc2;

void Adjustments::CalculaDescSubGrupo(base::Dataset& itens) {
  if (!itens.Active() || itens.IsEmpty()) return;
  for (const char* column : {"CDPRODUTO", "QTPRODCOMVEN", "VRPRECCOMVEN", "VRDESCCOMVEN"})
    if (itens.FieldIndex(column) < 0) return;
  datamodule::TrdmRecebimento& rdm = s_.ctx.rdm;

  // The packet of a data-module result; false (after telling the operator) on an error.
  auto load = [this](const base::Variant& result, const std::string& function, const std::string& key,
                     base::Dataset& into) {
    if (!runtime::IsResultPacket(result)) {
      s_.CheckResult(result, function, key, 10, "Rev00000");
      return false;
    }
    into.SetData(result);
    if (!into.Active()) into.Open();
    return true;
  };

  // Everything is read before any item changes: a database error leaves the sale as it was.
  using Subgroup = std::pair<std::string, std::string>;  // CDGRUPPROD, CDSUBGRPROD
  struct Item {
    int recno;
    Subgroup subgroup;
    double gross;
  };
  std::vector<Item> read;
  std::map<std::string, std::optional<Subgroup>> by_product;
  std::map<Subgroup, double> quantities;
  const int current = itens.RecNo();
  for (itens.First(); !itens.Eof(); itens.Next()) {
    const std::string product = itens.FieldByName("CDPRODUTO").AsString();
    auto found = by_product.find(product);
    if (found == by_product.end()) {
      base::Dataset sub("cdsSubGrProd");
      if (!load(rdm.getSubGrProd(product), "getSubGrProd", product, sub)) {
        if (current > 0) itens.SetRecNo(current);
        return;
      }
      std::optional<Subgroup> s;
      if (!sub.IsEmpty()) {
        sub.First();
        s = Subgroup{sub.FieldByName("CDGRUPPROD").AsString(), sub.FieldByName("CDSUBGRPROD").AsString()};
      }
      found = by_product.emplace(product, s).first;
    }
    if (!found->second) continue;
    const double quantity = base::ColumnNumber(itens, "QTPRODCOMVEN");
    const double gross =
        Trunc2((base::ColumnNumber(itens, "VRPRECCOMVEN") + base::ColumnNumber(itens, "VRUNITVENDCL")) * quantity);
    read.push_back({itens.RecNo(), *found->second, gross});
    quantities[*found->second] += quantity;
  }

  std::map<Subgroup, double> percents;
  for (const auto& [subgroup, quantity] : quantities) {
    base::Dataset bands("cdsDescQtdeSub");
    if (!load(rdm.getDescQtdeSub(subgroup.first, subgroup.second), "getDescQtdeSub",
              subgroup.first + "/" + subgroup.second, bands)) {
      if (current > 0) itens.SetRecNo(current);
      return;
    }
    for (bands.First(); !bands.Eof(); bands.Next()) {
      if (quantity >= base::ColumnNumber(bands, "QTINICIALFX") && quantity <= base::ColumnNumber(bands, "QTFINALFX")) {
        percents[subgroup] = base::ColumnNumber(bands, "QTPERCDESC");
        break;
      }
    }
  }

  for (const Item& item : read) {
    auto p = percents.find(item.subgroup);
    if (p == percents.end() || p->second <= 0) continue;
    // Every item line keeps at least one cent.
    double discount = Trunc2(item.gross * p->second / 100);
    if (discount > Trunc2(item.gross - 0.01)) discount = Trunc2(item.gross - 0.01);
    if (discount < 0) discount = 0;
    itens.SetRecNo(item.recno);
    itens.Edit();
    itens.FieldByName("VRDESCCOMVEN").SetAsFloat(discount);
    itens.Post();
  }
  if (current > 0) itens.SetRecNo(current);
}

}  // namespace recebimento::screen
