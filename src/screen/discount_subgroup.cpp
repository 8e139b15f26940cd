// Item discounts by product subgroup: the quantity sold of a subgroup falls in one of its
// bands, whose percentage becomes the discount of every item of that subgroup.
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "datamodule/trdm_recebimento.h"
#include "host/runtime/numbers.h"
#include "host/runtime/result_check.h"
#include "screen/frm_recebimento.h"
#include "screen/screen_globals.h"

namespace recebimento::screen {

using runtime::Trunc2;

namespace {

using Subgrupo = std::pair<std::string, std::string>;  // CDGRUPPROD, CDSUBGRPROD

double Valor(base::Dataset& ds, const char* campo) {
  return ds.FieldIndex(campo) >= 0 ? ds.FieldByName(campo).AsFloat() : 0.0;
}

// The packet of a data-module result; false (after telling the operator) on an error.
bool CarregaResultado(const base::Variant& resultado, const std::string& funcao, const std::string& chave,
                      base::Dataset& destino) {
  if (!runtime::IsResultPacket(resultado)) {
    runtime::MensagemMetodo(resultado, true, 10, funcao, "Rev00000", chave);
    return false;
  }
  destino.SetData(resultado);
  if (!destino.Active()) destino.Open();
  return true;
}

}  // namespace

void TfrmRecebimento::CalculaDescSubGrupo(base::Dataset& itens) {
  if (!rdmRecebimento || !itens.Active() || itens.IsEmpty()) return;
  for (const char* campo : {"CDPRODUTO", "QTPRODCOMVEN", "VRPRECCOMVEN", "VRDESCCOMVEN"})
    if (itens.FieldIndex(campo) < 0) return;

  // Everything is read before any item changes: a database error leaves the sale as it was.
  struct Item {
    int recno;
    Subgrupo subgrupo;
    double bruto;
  };
  std::vector<Item> lidos;
  std::map<std::string, std::optional<Subgrupo>> por_produto;
  std::map<Subgrupo, double> quantidades;
  const int atual = itens.RecNo();
  for (itens.First(); !itens.Eof(); itens.Next()) {
    const std::string produto = itens.FieldByName("CDPRODUTO").AsString();
    auto achado = por_produto.find(produto);
    if (achado == por_produto.end()) {
      base::Dataset sub("cdsSubGrProd");
      if (!CarregaResultado(rdmRecebimento->getSubGrProd(produto), "getSubGrProd", produto, sub)) {
        if (atual > 0) itens.SetRecNo(atual);
        return;
      }
      std::optional<Subgrupo> s;
      if (!sub.IsEmpty()) {
        sub.First();
        s = Subgrupo{sub.FieldByName("CDGRUPPROD").AsString(), sub.FieldByName("CDSUBGRPROD").AsString()};
      }
      achado = por_produto.emplace(produto, s).first;
    }
    if (!achado->second) continue;
    const double qt = Valor(itens, "QTPRODCOMVEN");
    const double bruto = Trunc2((Valor(itens, "VRPRECCOMVEN") + Valor(itens, "VRUNITVENDCL")) * qt);
    lidos.push_back({itens.RecNo(), *achado->second, bruto});
    quantidades[*achado->second] += qt;
  }

  std::map<Subgrupo, double> percentuais;
  for (const auto& [subgrupo, quantidade] : quantidades) {
    base::Dataset faixas("cdsDescQtdeSub");
    if (!CarregaResultado(rdmRecebimento->getDescQtdeSub(subgrupo.first, subgrupo.second), "getDescQtdeSub",
                          subgrupo.first + "/" + subgrupo.second, faixas)) {
      if (atual > 0) itens.SetRecNo(atual);
      return;
    }
    for (faixas.First(); !faixas.Eof(); faixas.Next()) {
      if (quantidade >= Valor(faixas, "QTINICIALFX") && quantidade <= Valor(faixas, "QTFINALFX")) {
        percentuais[subgrupo] = Valor(faixas, "QTPERCDESC");
        break;
      }
    }
  }

  for (const Item& item : lidos) {
    auto p = percentuais.find(item.subgrupo);
    if (p == percentuais.end() || p->second <= 0) continue;
    // Every item line keeps at least one cent.
    double desconto = Trunc2(item.bruto * p->second / 100);
    if (desconto > Trunc2(item.bruto - 0.01)) desconto = Trunc2(item.bruto - 0.01);
    if (desconto < 0) desconto = 0;
    itens.SetRecNo(item.recno);
    itens.Edit();
    itens.FieldByName("VRDESCCOMVEN").SetAsFloat(desconto);
    itens.Post();
  }
  if (atual > 0) itens.SetRecNo(atual);
}

}  // namespace recebimento::screen
