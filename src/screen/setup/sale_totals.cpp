// The sale's totals from the host's items: service fee, tab surcharge and discount, item
// discounts and surcharges, minimum consumption and cover charge, and what is left to pay.
#include <string>

#include "base/dataset_columns.h"
#include "host/runtime/format.h"
#include "host/runtime/money.h"
#include "screen/frame/screen_parts.h"
#include "screen/setup/screen_setup.h"

namespace recebimento::screen {

namespace {

using runtime::RoundCents;
using runtime::Trunc2;

// Printer models that print no service fee of their own.
bool PrinterWithoutFee(int model) { return model == 16 || model == 21 || model == 30; }

}  // namespace

void ScreenSetup::ComputeTotals() {
  SaleState& sale = s_.sale;
  ControlRegistry& c = s_.controls;
  sale.doVrAPagar = sale.doVrDescItens = sale.doVrUnitVendCl = 0;
  sale.doVrConsumacao = sale.doVrCouver = 0;
  sale.doVrServico = sale.doVrAcrComanda = sale.doVrDescComanda = 0;
  sale.doAcrItem = 0;

  if (sale.HasItems()) {
    base::Dataset& items = *sale.cdsItensVenda;
    items.First();
    const double fee = sale.ItemNumber("VRTXSERVICO");
    sale.doVrServico = fee > 0 && !PrinterWithoutFee(s_.par.inIDTIPOIMPFIS) ? Trunc2(fee) : 0;
    const double tab_surcharge = sale.ItemNumber("VRACRCOMANDA");
    sale.doVrAcrComanda = tab_surcharge > 0 ? Trunc2(tab_surcharge) : 0;

    const bool has_discount = items.FieldIndex("VRDESCCOMVEN") >= 0;
    for (items.First(); !items.Eof(); items.Next()) {
      const double p = sale.ItemNumber("VRPRECCOMVEN"), u = sale.ItemNumber("VRUNITVENDCL"),
                   q = sale.ItemNumber("QTPRODCOMVEN");
      const double d = sale.ItemNumber("VRDESCCOMVEN"), a = sale.ItemNumber("VRACRCOMVEN");
      const std::string config = sale.ItemText("IDCONFIGPROD");
      if (config == "CON") sale.doVrConsumacao += (Trunc2(p) + Trunc2(u)) * q;
      if (config == "CAR") sale.doVrCouver += (Trunc2(p) + Trunc2(u)) * q;
      sale.doAcrItem = RoundCents(sale.doAcrItem + Trunc2(a));
      if (Trunc2((p + u) * q - d + a) == 0) {
        // Every item line stays worth at least one cent.
        const double discount = RoundCents(d - 0.01);
        if (has_discount) {
          items.Edit();
          items.FieldByName("VRDESCCOMVEN").SetAsFloat(discount);
          items.Post();
        }
        sale.doVrAPagar = RoundCents(sale.doVrAPagar + 0.01);
        sale.doVrDescItens = RoundCents(sale.doVrDescItens + discount);
      } else {
        sale.doVrAPagar = RoundCents(sale.doVrAPagar + Trunc2((p + u) * q - Trunc2(d) + a));
        sale.doVrDescItens = Trunc2(sale.doVrDescItens + d);
      }
      sale.doVrUnitVendCl = RoundCents(sale.doVrUnitVendCl + Trunc2(u * q));
    }
    items.Last();
    sale.doVrDescComanda = Trunc2(sale.ItemNumber("VRDESCOMANDA"));
  }
  sale.doVrServicoOrig = sale.doVrServico;

  for (const char* name : {"lblAcres", "lblVrAcrescimo", "bsdAcres"})
    c.Require(name).visible = sale.doVrAcrComanda != 0;

  bool consumption_discounted = false;
  if (sale.HasItems() && sale.cdsItensVenda->FieldIndex("IDCONFIGPROD") >= 0 &&
      sale.cdsItensVenda->Locate("IDCONFIGPROD", base::Variant(std::string("CON"))))
    consumption_discounted = sale.ItemNumber("VRDESCOMANDA") > 0;

  if (consumption_discounted) {
    sale.doVrTotal = sale.doVrAPagar = RoundCents(Trunc2(sale.doVrAPagar + sale.doVrServico) - sale.doVrDescComanda);
  } else {
    // The tab discount is set against the service fee first.
    if (sale.doVrServico > sale.doVrDescComanda) {
      sale.doVrServico = RoundCents(sale.doVrServico - sale.doVrDescComanda);
      sale.doVrDescComanda = 0;
    } else if (sale.doVrServico < sale.doVrDescComanda) {
      sale.doVrDescComanda = RoundCents(sale.doVrDescComanda - sale.doVrServico);
      sale.doVrServico = 0;
    } else {
      sale.doVrServico = sale.doVrDescComanda = 0;
    }
    if (sale.HasItems())
      sale.stOrigemVenda =
          s_.ctx.rdm.GetOrigemVenda(s_.par.stCDFILIAL, sale.ItemText("NRVENDAREST"), sale.ItemText("NRCOMANDA"))
              .AsString();
    const bool external_delivery =
        sale.stOrigemVenda == "DLV_IFO" || sale.stOrigemVenda == "DLV_CAL" || sale.stOrigemVenda == "DLV_SIT";
    if (external_delivery || sale.stIdTela == "S")
      sale.doVrTotal = sale.doVrAPagar =
          Trunc2(sale.doVrServico + sale.doVrAcrComanda - sale.doVrDescComanda + sale.doVrAPagar);
    else
      sale.doVrTotal = sale.doVrAPagar = Trunc2(sale.doVrServico + sale.doVrAcrComanda + sale.doVrAPagar);
  }

  // Outside delivery the items' surcharges are kept apart (doAcrItem), not in the total.
  if (sale.stModoVenda != "DLV") {
    sale.doVrTotal = RoundCents(sale.doVrTotal - sale.doAcrItem);
    sale.doVrAPagar = RoundCents(sale.doVrAPagar - sale.doAcrItem);
  }

  auto amount = [](double v) { return runtime::FormatFloat("0.00", v); };
  c.Require("lblValorTotal").caption = amount(sale.doVrAPagar);
  sale.doVrAPagar = Trunc2(sale.doVrAPagar - sale.doVrPago);
  c.Require("lblValorPagar").caption = amount(sale.doVrAPagar);
  c.Require("lblValorPago").caption = amount(sale.doVrPago);
  c.Require("lblTotalCarga").caption = c.Require("lblValorPago").caption;
  c.Require("lblServico").caption = amount(sale.doVrServico);
  c.Require("lblVrConsumacao").caption = amount(sale.doVrConsumacao);
  c.Require("lblVrCouver").caption = amount(sale.doVrCouver);
  c.Require("lblVrAcrescimo").caption = amount(sale.doVrAcrComanda);
}

}  // namespace recebimento::screen
