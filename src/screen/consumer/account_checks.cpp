// The limits a consumer-account amount must keep: the debit account's monthly cap, daily
// maximum and floor, and the personal credit's daily maximum and family floor, each with
// its low-balance warning. Both sides of every comparison are rounded to the cent, so an
// amount that reaches a cap or floor exactly passes.
#include <optional>
#include <string>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "host/runtime/result_check.h"
#include "screen/consumer/consumer_account.h"
#include "screen/frame/message_format.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

namespace {

using base::Variant;

double Cents(double v) { return runtime::RoundDec(v, 2); }

// A limit column of the dataset's current row; nothing when it is empty (the check is off).
std::optional<double> Limit(base::Dataset& ds, const std::string& column) {
  if (!ds.Active() || ds.IsEmpty() || ds.FieldIndex(column) < 0) return std::nullopt;
  const Variant v = ds.FieldByName(column).Value();
  if (v.IsEmptyOrNull() || (v.IsString() && base::Trim(v.AsString()).empty())) return std::nullopt;
  return v.AsFloat();
}

// A figure the item carries as text; an empty or unreadable text counts as 0.
double Figure(const std::string& text) {
  try {
    return Variant(base::Trim(text)).AsFloat();
  } catch (const std::exception&) {
    return 0;
  }
}

std::string Money(double v) { return runtime::FormatFloat("0.00", v); }

}  // namespace

bool ConsumerAccount::Valida_Parametros_Debito_Consumidor(double amount) {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  base::Dataset& consumer = sale.cdsConsumidor;
  const ChargedConsumer& who = sale.charged;
  const std::string name = base::ColumnText(consumer, "NMCONSUMIDOR");
  const std::string named = who.consumer + " - " + name;
  month_ok_ = day_ok_ = floor_ok_ = true;
  month_left_ = day_left_ = floor_left_ = 0;

  // A broken limit is told and remembers what it leaves; when that is something (or
  // nothing) the validation ends, when the consumer is already past it the next limit is
  // still checked and nothing is left of this one.
  auto broken = [](bool& ok, double& left, double what_is_left) {
    ok = false;
    left = what_is_left;
    if (left >= 0) return true;
    left = 0;
    return false;
  };

  const Variant shop =
      s_.CheckResult(s_.ctx.rdm.getTipoConsLoja(par.stCDFILIAL, par.stCDLOJA, who.client, who.consumer),
                     "getTipoConsLoja", par.stCDFILIAL + "-" + par.stCDLOJA + "-" + who.client + "-" + who.consumer);
  if (runtime::IsResultPacket(shop)) cdsTipoConsLoja.SetData(shop);
  if (const auto cap = Limit(cdsTipoConsLoja, "VRMAXCONSMENSAL");
      cap && Cents(month_spending_ + amount) > Cents(*cap)) {
    s_.ShowMessage(MsgFmt("VRMAXCONSMES", {named, Money(*cap)}), runtime::kMsgBlocked);
    if (broken(month_ok_, month_left_, *cap - month_spending_)) return false;
  }
  if (const auto most = Limit(consumer, "VRMAXDEBCONS"); most && Cents(day_spending_ + amount) > Cents(*most)) {
    s_.ShowMessage(MsgFmt("OPE_SALMAX_DEB", {named, Money(*most)}), runtime::kMsgBlocked);
    if (broken(day_ok_, day_left_, *most - day_spending_)) return false;
  }
  if (const auto floor = Limit(consumer, "VRLIMDEBCONS"); floor && Cents(balance_ - amount) < Cents(*floor)) {
    s_.ShowMessage(MsgFmt("SaldInsufCons", {balance_, amount}), runtime::kMsgBlocked);
    if (broken(floor_ok_, floor_left_, balance_ - *floor)) return false;
  }
  if (const auto warning = Limit(consumer, "VRAVIDEBCONS"); warning && Cents(balance_ - amount) < Cents(*warning))
    s_.ShowMessage(
        Msg("Consumidor") + " : " + name + "\n" + Msg("SaldoEmpr") + " : " + Money(balance_) + "\n" + Msg("NovoCred"),
        runtime::kMsgWarning);
  return month_ok_ && day_ok_ && floor_ok_;
}

bool ConsumerAccount::Valida_Parametros_Credito_Pessoal(const std::string& family, const std::string& quantity,
                                                        const std::string& price, const std::string& extra,
                                                        const std::string& discount, const std::string& surcharge) {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  base::Dataset& consumer = sale.cdsConsumidor;
  const ChargedConsumer& who = sale.charged;
  const std::string name = base::ColumnText(consumer, "NMCONSUMIDOR");
  const double item =
      Figure(quantity) * (Figure(price) + Figure(extra.empty() ? "0" : extra) - Figure(discount) + Figure(surcharge));

  // The family's place in the branch's order: a family used after another one is not
  // held to the maximum and the floor here.
  cdsOrdFam.Close();
  cdsSupOrdemFamilia.Close();
  const Variant order =
      s_.ctx.rdm.getOrdemFamilia(par.stCDFILIAL, family, who.client, who.consumer, par.stIDEXTCONSCENTRAL);
  bool used_after_another = false;
  if (order.IsArray() && order.Size() >= 2 && order[0].IsPacket() && order[1].IsPacket()) {
    cdsOrdFam.SetData(order[0]);
    cdsSupOrdemFamilia.SetData(order[1]);
    base::Dataset& earlier = cdsSupOrdemFamilia;
    if (earlier.Active() && earlier.Locate("CDFAMILISALD", Variant(family)) && earlier.RecNo() > 1) {
      const double own = base::ColumnNumber(earlier, "NRORDAPRSALD");
      earlier.Prior();
      used_after_another = base::ColumnNumber(earlier, "NRORDAPRSALD") < own;
    }
  } else {
    s_.CheckResult(order, "getOrdemFamilia", par.stCDFILIAL + "-" + family + "-" + who.client + "-" + who.consumer);
  }

  // What this payment already drew today, from every family and from this one.
  double drawn_total = 0;
  for (const auto& [f, amount] : drawn_in_check_) drawn_total += amount;
  const double drawn_here = drawn_in_check_.count(family) ? drawn_in_check_.at(family) : 0;
  double balance = 0;
  const bool known = FamilyBalance(family, balance);
  if (!used_after_another) {
    if (const auto most = Limit(consumer, "VRMAXCREDCONS");
        most && Cents(item + day_spending_ + drawn_total) > Cents(*most)) {
      s_.ShowMessage(MsgFmt("OPE_SALMAX_DEB", {who.consumer + " - " + name, Money(*most)}), runtime::kMsgBlocked);
      return false;
    }
    if (const auto floor = Limit(consumer, "VRLIMCREDCONS");
        known && floor && Cents(balance - drawn_here - item) < Cents(*floor)) {
      s_.ShowMessage(MsgFmt("SaldInsufCred", {balance}), runtime::kMsgBlocked);
      return false;
    }
  }
  if (const auto warning = Limit(consumer, "VRAVICREDCONS");
      known && warning && Cents(balance - drawn_here - item) < Cents(*warning)) {
    FamilyBalance(family, balance);  // back on the family's row for its name
    s_.ShowMessage(Msg("Consumidor") + " : " + name + "\n" +
                       MsgFmt("SaldoFam", {base::ColumnText(cdsConsultaSaldo, "NMFAMILISALD")}) + " : " +
                       Money(balance) + "\n" + Msg("NovoRecarg"),
                   runtime::kMsgWarning);
  }
  return true;
}

}  // namespace recebimento::screen
