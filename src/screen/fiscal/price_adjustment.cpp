// The sale's items re-priced through the host's price function for a consumer group or a
// promotion: the price of the day or the client's, the promotion's discount, and the
// difference between the two prices as the item's discount or surcharge.
#include <string>
#include <vector>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/messages.h"
#include "host/runtime/money.h"
#include "host/runtime/result_check.h"
#include "screen/fiscal/fiscal_receipt.h"
#include "screen/frame/message_table.h"

namespace recebimento::screen {

namespace {

using base::ColumnNumber;
using base::ColumnTrimmed;
using base::Variant;

// A column of the price the host returned; `fallback` when it sent none.
double PriceColumn(base::Dataset& price, const char* column, double fallback) {
  if (price.FieldIndex(column) < 0 || price.FieldByName(column).IsNull()) return fallback;
  return price.FieldByName(column).AsFloat();
}

}  // namespace

void FiscalReceipt::AjustarPrecos(const std::string& origin) {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  if (!sale.HasItems()) return;
  base::Dataset& items = *sale.cdsItensVenda;
  const std::string client = sale.stCdClienteCons.empty() ? sale.ItemText("CDCLIENTE") : sale.stCdClienteCons;
  const std::string consumer =
      sale.stCdConsumidorCons.empty() ? sale.ItemText("CDCONSUMIDOR") : sale.stCdConsumidorCons;
  const std::string timestamp = s_.ctx.clock.Now().Format("yyyy-mm-dd hh:nn:ss");
  bool zero_price = false;

  for (items.First(); !items.Eof(); items.Next()) {
    const std::string product = ColumnTrimmed(items, "CDPRODUTO");
    const std::string promotion = ColumnTrimmed(items, "CDPRODPROMOCAO");
    const std::string component = ColumnTrimmed(items, "NRSEQPRODCOM");
    // The tenth value tells the host's three ways of asking: the tab of a tab sale, the
    // promotion and the component's place in it for a promotion component, or nothing.
    std::string reference;
    if (origin == "CMD_ZEM")
      reference = sale.stNrComanda;
    else if (!promotion.empty() && !component.empty())
      reference = promotion + "|" + component;
    const std::vector<Variant> args = {Variant(par.stCDFILIAL),
                                       Variant(par.stCDLOJA),
                                       Variant(product),
                                       Variant(ColumnTrimmed(items, "CDLOJAIT")),
                                       Variant(client),
                                       Variant(consumer),
                                       Variant(timestamp),
                                       Variant(sale.stIdTipoVenda),
                                       Variant(sale.stIdTpVendaCons),
                                       Variant(reference)};
    Variant answer;
    const bool answered = s_.ctx.host.fiscal->ChamaFuncaoGetRetornaPreco(args, answer);
    const std::string failure = runtime::ResultFailureText(answer);
    if (!answered || !failure.empty() || !answer.IsPacket()) {
      // That item keeps its price; the operator knows why.
      s_.ShowMessage(failure.empty() ? "Preço do produto " + product + " não obtido." : failure, runtime::kMsgBlocked);
      continue;
    }
    cdsRetornaPreco_Aux.SetData(answer);
    if (cdsRetornaPreco_Aux.IsEmpty()) continue;
    base::Dataset& price = cdsRetornaPreco_Aux;
    const double list_price = PriceColumn(price, "VRPRECO", ColumnNumber(items, "VRPRECCOMVEN"));
    double item_price = list_price;
    double discount = 0;
    double surcharge = ColumnNumber(items, "VRACRCOMVEN");

    if (!promotion.empty()) {
      const Variant promo = s_.CheckResult(s_.ctx.rdm.getVrPromocao(par.stCDFILIAL, product, promotion),
                                           "getVrPromocao", par.stCDFILIAL + "-" + product + "-" + promotion);
      if (runtime::IsResultPacket(promo) && !promo.AsPacket().rows.empty()) {
        const base::DataPacket& p = promo.AsPacket();
        const std::string kind = base::ColumnTrimmed(p, p.rows[0], "IDPERCVALOR");
        const Variant value = p.rows[0][static_cast<size_t>(p.FieldIndex("VRDESCONTO"))];
        const double amount = value.IsEmptyOrNull() ? 0 : value.AsFloat();
        if (kind == "V")
          discount = amount;
        else if (kind == "P")
          discount = runtime::Trunc2(list_price / 100 * amount);
      }
    }

    if (par.stIDAPLPREDIFCOMB == "N") {
      // The item keeps the price of the day; a client price that differs makes the
      // difference the item's discount or surcharge.
      const double day_price = PriceColumn(price, "VRPRECODIA", list_price);
      const double client_price = PriceColumn(price, "VRPRECOCLIE", 0);
      const std::string varies = price.FieldIndex("IDPRECVARIA") >= 0 ? ColumnTrimmed(price, "IDPRECVARIA") : "S";
      item_price = day_price;
      if (varies != "N" && client_price > 0 && !runtime::SameCents(client_price, day_price)) {
        const double quantity = ColumnNumber(items, "QTPRODCOMVEN");
        const double difference = runtime::Trunc2((day_price - client_price) * quantity);
        std::string direction = price.FieldIndex("IDACREDESC") >= 0 ? ColumnTrimmed(price, "IDACREDESC") : "";
        if (direction.empty()) direction = difference > 0 ? "D" : "A";
        if (direction == "D")
          discount = runtime::RoundCents(discount + (difference > 0 ? difference : -difference));
        else
          surcharge = PriceColumn(price, "VRACRESCIMO", difference < 0 ? -difference : difference);
      }
    } else {
      const double client_price = PriceColumn(price, "VRPRECOCLIE", 0);
      if (client_price > 0) item_price = client_price;
      discount = runtime::RoundCents(discount + PriceColumn(price, "VRDESCONTO", 0));
    }

    items.Edit();
    base::SetColumn(items, "VRPRECCOMVEN", Variant(item_price));
    base::SetColumn(items, "VRDESCCOMVEN", Variant(discount));
    base::SetColumn(items, "VRACRCOMVEN", Variant(surcharge));
    items.Post();
    if (runtime::ToCents(item_price) <= 0) zero_price = true;
  }
  if (zero_price) s_.ShowMessage(Msg("PROD_ZERADO"), runtime::kMsgWarning);
}

}  // namespace recebimento::screen
