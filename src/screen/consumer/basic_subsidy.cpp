// The basic daily subsidy the client company pays on subsidised products for its
// consumers, and the ticket a recharge must cover.
#include <cmath>
#include <string>
#include <vector>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "host/runtime/result_check.h"
#include "screen/consumer/consumer_restrictions.h"
#include "screen/frame/message_format.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

namespace {

using base::Variant;
using runtime::Trunc2;

double Cents(double v) { return runtime::RoundDec(v, 2); }

// The value of the current item: every unit with its extra price, less the discount,
// plus the item's surcharge.
double ItemValue(base::Dataset& items) {
  const double surcharge = items.FieldIndex("ACRESITEM") >= 0 ? base::ColumnNumber(items, "ACRESITEM")
                                                              : base::ColumnNumber(items, "VRACRCOMVEN");
  return (base::ColumnNumber(items, "VRPRECCOMVEN") + base::ColumnNumber(items, "VRUNITVENDCL")) *
             base::ColumnNumber(items, "QTPRODCOMVEN") -
         base::ColumnNumber(items, "VRDESCCOMVEN") + surcharge;
}

}  // namespace

bool ConsumerRestrictions::Subsidised(const std::string& product) {
  if (!cdsProdSubsidiado.Active()) {
    const Variant r =
        s_.CheckResult(s_.ctx.rdm.getProdSubsidiado(s_.par.stCDFILIAL), "getProdSubsidiado", s_.par.stCDFILIAL);
    if (!runtime::IsResultPacket(r)) return false;
    cdsProdSubsidiado.SetData(r);
    if (!cdsProdSubsidiado.Active()) return false;
  }
  return cdsProdSubsidiado.Locate("CDFILIAL;CDPRODUTO", {Variant(s_.par.stCDFILIAL), Variant(product)});
}

double ConsumerRestrictions::SubsidyLeftToday() {
  SaleState& sale = s_.sale;
  base::Dataset& consumer = sale.cdsConsumidor;
  const double daily = base::ColumnNumber(consumer, "VRSUBSBASICO");
  if (daily <= 0) return 0;
  if (!subsidy_read_) {
    const std::string client = base::ColumnTrimmed(consumer, "CDCLIENTE");
    const std::string code = base::ColumnTrimmed(consumer, "CDCONSUMIDOR");
    double used = 0;
    bool known = true;
    if (s_.par.stIDDEBCONSCENTRAL == "S") {
      pos::ConsumerQuery q;
      q.operation = "SUBSIDIO_BASICO_EMP";
      q.kind = "V";
      q.branch = s_.par.stCDFILIAL;
      q.shop = s_.par.stCDLOJA;
      q.client = client;
      q.consumer = code;
      q.date = s_.ctx.clock.Now().Date();
      Variant answer = Variant::Array(1);
      known = s_.ctx.host.consumers->MoviclieCentral(q, answer);
      try {
        if (known) used = (answer.IsArray() && answer.Size() > 0 ? answer[0] : answer).AsFloat();
      } catch (const std::exception&) {
        known = false;
      }
    } else {
      const Variant r =
          s_.CheckResult(s_.ctx.rdm.getVrSubsBasicoCons(client, code), "getVrSubsBasicoCons", client + "-" + code);
      known = r.IsNumber();
      if (known) used = r.AsFloat();
    }
    // Without knowing what was used today no subsidy is given: it could be paid twice.
    if (!known) s_.ctx.log.LogRev00000("subsidio basico - consumo do dia indisponivel");
    subsidy_left_today_ = known ? daily - used : 0;
    subsidy_read_ = true;
  }
  return subsidy_left_today_ > 0 ? subsidy_left_today_ : 0;
}

void ConsumerRestrictions::VerifProdSubsBasico() {
  SaleState& sale = s_.sale;
  if (!sale.HasItems()) return;
  base::Dataset& items = *sale.cdsItensVenda;
  if (!Subsidised(base::ColumnTrimmed(items, "CDPRODUTO"))) return;
  const double quantity = base::ColumnNumber(items, "QTPRODCOMVEN");
  const double remaining = SubsidyLeftToday() - subsidy_in_sale_;
  if (quantity <= 0 || remaining <= 0) return;
  const double value = ItemValue(items);
  const double per_unit = Trunc2(value) <= Trunc2(remaining)
                              ? runtime::RoundDec(value / quantity, 2)
                              : std::floor((remaining / quantity) * 100 + 0.5 + 0.005) / 100;
  // Rounding a unit up must not give more than is left.
  double applied = Trunc2(quantity * per_unit);
  if (applied > Trunc2(remaining)) applied = Trunc2(remaining);
  subsidy_in_sale_ = Cents(subsidy_in_sale_ + applied);
}

void ConsumerRestrictions::VerifVrSubsBasico(double& amount) {
  const double remaining = SubsidyLeftToday();
  if (remaining <= 0 || amount <= 0) {
    amount = 0;
    return;
  }
  if (Trunc2(amount) > Trunc2(remaining)) amount = Trunc2(remaining);
  amount = Trunc2(amount);
}

void ConsumerRestrictions::VerifVrSubsBasico() {
  SaleState& sale = s_.sale;
  subsidy_in_sale_ = 0;
  if (subsidy_declined_ || !sale.HasItems()) return;
  base::Dataset& items = *sale.cdsItensVenda;
  for (items.First(); !items.Eof(); items.Next()) VerifProdSubsBasico();
}

double ConsumerRestrictions::OfferBasicSubsidy() {
  SaleState& sale = s_.sale;
  if (subsidy_accepted_ || subsidy_declined_ || !sale.HasItems()) return 0;
  if (base::ColumnNumber(sale.cdsConsumidor, "VRSUBSBASICO") <= 0) return 0;
  base::Dataset& items = *sale.cdsItensVenda;
  double subsidised = 0;
  for (items.First(); !items.Eof(); items.Next())
    if (Subsidised(base::ColumnTrimmed(items, "CDPRODUTO"))) subsidised += ItemValue(items);
  double covered = Trunc2(subsidised);
  VerifVrSubsBasico(covered);
  if (covered <= 0) return 0;
  if (!s_.ShowMessage(MsgFmt("Sub_Rest", {runtime::FormatFloat("0.00", covered)}), runtime::kMsgQuestion)) {
    subsidy_declined_ = true;
    return 0;
  }
  subsidy_accepted_ = true;
  return covered;
}

bool ConsumerRestrictions::Vd_Ingresso() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  std::string client, consumer;
  SaleConsumer(client, consumer);
  const Variant r = s_.CheckResult(s_.ctx.rdm.getIngresso(client, consumer), "getIngresso", client + "-" + consumer);
  if (!runtime::IsResultPacket(r)) return true;
  cdsIngresso.SetData(r);
  const std::string ticket = base::ColumnTrimmed(cdsIngresso, "CDPRODINGRESSO");
  if (!cdsIngresso.Active() || cdsIngresso.IsEmpty() || ticket.empty()) return true;

  const std::vector<Variant> args = {
      Variant(par.stCDFILIAL), Variant(client),   Variant(ticket),
      Variant(par.stCDLOJA),   Variant(consumer), Variant(s_.ctx.clock.Now().Format("hhnn")),
      Variant(std::string()),  Variant(true),     Variant(sale.stIdTipoVenda)};
  Variant price;
  try {
    // The price function's failures do not hold a recharge back.
    if (!s_.ctx.host.fiscal->ChamaFuncaoGetRetornaPreco(args, price) || !price.IsPacket()) return true;
  } catch (const std::exception&) {
    return true;
  }
  base::Dataset prices;
  prices.SetData(price);
  if (!prices.Active() || prices.IsEmpty()) return true;
  const double value = Trunc2(base::ColumnNumber(prices, "VRPRECO") + base::ColumnNumber(prices, "VRPRECOCLIE")) -
                       base::ColumnNumber(prices, "VRDESCONTO") + base::ColumnNumber(prices, "VRACRESCIMO");
  double recharge = 0;
  try {
    recharge = Variant(base::Trim(s_.controls.CaptionOf("lblTotalCarga"))).AsFloat();
  } catch (const std::exception&) {
    recharge = sale.doVrPago;
  }
  if (Cents(value) <= Cents(recharge)) return true;
  s_.ShowMessage(MsgFmt("INGRESSO", {runtime::FormatFloat("0.00", value)}), runtime::kMsgBlocked);
  return false;
}

}  // namespace recebimento::screen
