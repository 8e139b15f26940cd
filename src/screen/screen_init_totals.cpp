// The sale's totals from the host's items: service fee, tab surcharge and discount, item
// discounts and surcharges, minimum consumption and cover charge, and what is left to pay.
#include <string>

#include "datamodule/trdm_recebimento.h"
#include "host/runtime/format.h"
#include "host/runtime/numbers.h"
#include "screen/frm_recebimento.h"
#include "screen/screen_globals.h"

namespace recebimento::screen {

namespace {

using runtime::Trunc2;

// Sums of amounts already cut to cents stay on whole cents.
double Cents(double x) { return runtime::RoundDec(x, 2); }

// Printer models that print no service fee of their own.
bool ImpressoraSemTaxa(int modelo) { return modelo == 16 || modelo == 21 || modelo == 30; }

}  // namespace

void TfrmRecebimento::CalculaTotais() {
  doVrAPagar = doVrDescItens = doVrUnitVendCl = 0;
  doVrConsumacao = doVrCouver = 0;
  doVrServico = doVrAcrComanda = doVrDescComanda = 0;
  doAcrItem = 0;

  if (TemItens()) {
    base::Dataset& itens = *cdsItensVenda;
    itens.First();
    const double taxa = ValorItem("VRTXSERVICO");
    doVrServico = taxa > 0 && !ImpressoraSemTaxa(inIDTIPOIMPFIS) ? Trunc2(taxa) : 0;
    const double acrescimo = ValorItem("VRACRCOMANDA");
    doVrAcrComanda = acrescimo > 0 ? Trunc2(acrescimo) : 0;

    const bool tem_desconto = itens.FieldIndex("VRDESCCOMVEN") >= 0;
    for (itens.First(); !itens.Eof(); itens.Next()) {
      const double p = ValorItem("VRPRECCOMVEN"), u = ValorItem("VRUNITVENDCL"), q = ValorItem("QTPRODCOMVEN");
      const double d = ValorItem("VRDESCCOMVEN"), a = ValorItem("VRACRCOMVEN");
      const std::string config = CampoItem("IDCONFIGPROD");
      if (config == "CON") doVrConsumacao += (Trunc2(p) + Trunc2(u)) * q;
      if (config == "CAR") doVrCouver += (Trunc2(p) + Trunc2(u)) * q;
      doAcrItem = Cents(doAcrItem + Trunc2(a));
      if (Trunc2((p + u) * q - d + a) == 0) {
        // Every item line stays worth at least one cent.
        const double novo = Cents(d - 0.01);
        if (tem_desconto) {
          itens.Edit();
          itens.FieldByName("VRDESCCOMVEN").SetAsFloat(novo);
          itens.Post();
        }
        doVrAPagar = Cents(doVrAPagar + 0.01);
        doVrDescItens = Cents(doVrDescItens + novo);
      } else {
        doVrAPagar = Cents(doVrAPagar + Trunc2((p + u) * q - Trunc2(d) + a));
        doVrDescItens = Trunc2(doVrDescItens + d);
      }
      doVrUnitVendCl = Cents(doVrUnitVendCl + Trunc2(u * q));
    }
    itens.Last();
    doVrDescComanda = Trunc2(ValorItem("VRDESCOMANDA"));
  }
  doVrServicoOrig = doVrServico;

  for (const char* name : {"lblAcres", "lblVrAcrescimo", "bsdAcres"}) Ctl(name).visible = doVrAcrComanda != 0;

  bool consumacao_com_desconto = false;
  if (TemItens() && cdsItensVenda->FieldIndex("IDCONFIGPROD") >= 0 &&
      cdsItensVenda->Locate("IDCONFIGPROD", base::Variant(std::string("CON"))))
    consumacao_com_desconto = ValorItem("VRDESCOMANDA") > 0;

  if (consumacao_com_desconto) {
    doVrTotal = doVrAPagar = Cents(Trunc2(doVrAPagar + doVrServico) - doVrDescComanda);
  } else {
    // The tab discount is set against the service fee first.
    if (doVrServico > doVrDescComanda) {
      doVrServico = Cents(doVrServico - doVrDescComanda);
      doVrDescComanda = 0;
    } else if (doVrServico < doVrDescComanda) {
      doVrDescComanda = Cents(doVrDescComanda - doVrServico);
      doVrServico = 0;
    } else {
      doVrServico = doVrDescComanda = 0;
    }
    if (TemItens())
      stOrigemVenda =
          rdmRecebimento->GetOrigemVenda(stCDFILIAL, CampoItem("NRVENDAREST"), CampoItem("NRCOMANDA")).AsString();
    const bool delivery_externo = stOrigemVenda == "DLV_IFO" || stOrigemVenda == "DLV_CAL" || stOrigemVenda == "DLV_SIT";
    if (delivery_externo || stIdTela == "S")
      doVrTotal = doVrAPagar = Trunc2(doVrServico + doVrAcrComanda - doVrDescComanda + doVrAPagar);
    else
      doVrTotal = doVrAPagar = Trunc2(doVrServico + doVrAcrComanda + doVrAPagar);
  }

  // Outside delivery the items' surcharges are kept apart (doAcrItem), not in the total.
  if (stModoVenda != "DLV") {
    doVrTotal = Cents(doVrTotal - doAcrItem);
    doVrAPagar = Cents(doVrAPagar - doAcrItem);
  }

  auto valor = [](double v) { return runtime::FormatFloat("0.00", v); };
  Ctl("lblValorTotal").caption = valor(doVrAPagar);
  doVrAPagar = Trunc2(doVrAPagar - doVrPago);
  Ctl("lblValorPagar").caption = valor(doVrAPagar);
  Ctl("lblValorPago").caption = valor(doVrPago);
  Ctl("lblTotalCarga").caption = Ctl("lblValorPago").caption;
  Ctl("lblServico").caption = valor(doVrServico);
  Ctl("lblVrConsumacao").caption = valor(doVrConsumacao);
  Ctl("lblVrCouver").caption = valor(doVrCouver);
  Ctl("lblVrAcrescimo").caption = valor(doVrAcrComanda);
}

}  // namespace recebimento::screen
