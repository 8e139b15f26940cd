// The consumer-account tenders: the debit account ("A"), checked against its limits and
// completed with another tender when a limit leaves only part of the amount, and the
// personal credit ("9"), drawn from the balance families of the items and checked by
// the store, which may lend a family's shortfall from an earlier family.
#include <string>
#include <vector>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "host/runtime/result_check.h"
#include "screen/consumer/consumer_account.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

namespace {

using base::Variant;
using runtime::Trunc2;

double Cents(double v) { return runtime::RoundDec(v, 2); }
std::string Text(double v) { return runtime::FormatFloat("", v); }

// One item of the sale as the checks read it.
struct ItemFigures {
  std::string product, family, config;
  double quantity = 0, price = 0, extra = 0, discount = 0, surcharge = 0;
  double Amount() const { return Trunc2(quantity * (price + extra - discount + surcharge)); }
};

ItemFigures ReadItem(base::Dataset& items) {
  ItemFigures f;
  f.product = base::ColumnTrimmed(items, "CDPRODUTO");
  f.family = base::ColumnTrimmed(items, "CDFAMILISALD");
  f.config = base::ColumnTrimmed(items, "IDCONFIGPROD");
  f.quantity = base::ColumnNumber(items, "QTPRODCOMVEN");
  f.price = base::ColumnNumber(items, "VRPRECCOMVEN");
  f.extra = base::ColumnNumber(items, "VRUNITVENDCL");
  f.discount = base::ColumnNumber(items, "VRDESCCOMVEN");
  f.surcharge = base::ColumnNumber(items, "VRACRCOMVEN");
  return f;
}

}  // namespace

bool ConsumerAccount::AccountTender(const std::string& kind, TenderPayment& /*tender*/, double& amount) {
  if (!LoadChargedConsumer()) return false;
  return kind == "A" ? DebitTender(amount) : CreditTender(amount);
}

bool ConsumerAccount::LoadChargedConsumer() {
  SaleState& sale = s_.sale;
  ChargedConsumer& who = sale.charged;
  // An account tender charges somebody: without a consumer there is nobody to charge.
  if (who.client.empty() || who.consumer.empty()) {
    RefuseWith(Msg("RECEB_N_PERM"));
    return false;
  }
  const Variant record = s_.CheckResult(s_.ctx.rdm.getConsumidor(who.client, who.consumer, s_.par.stCDFILIAL),
                                        "getConsumidor", who.client + "-" + who.consumer + "-" + s_.par.stCDFILIAL);
  if (!runtime::IsResultPacket(record)) {
    RefuseWith("");
    return false;
  }
  base::Dataset& consumer = sale.cdsConsumidor;
  consumer.SetData(record);
  if (!consumer.Active() || consumer.IsEmpty()) {
    RefuseWith(Msg("RECEB_N_PERM"));
    return false;
  }
  if (base::ColumnTrimmed(consumer, "IDSITCONSUMI") != "1") {
    RefuseWith(Msg("CONSINATIVO"));
    return false;
  }
  if (who.name.empty()) who.name = base::ColumnText(consumer, "NMCONSUMIDOR");
  return true;
}

double ConsumerAccount::AlreadyCharged() const {
  base::Dataset* movi = s_.sale.cdsMoviVenda;
  if (!movi || !movi->Active()) return 0;
  const base::DataPacket p = movi->Data();
  double total = 0;
  for (const auto& row : p.rows)
    if (base::ColumnTrimmed(p, row, "IDTIPOMOVIVE") == "T" &&
        base::ColumnTrimmed(p, row, "CDCONSUMIDOR") == s_.sale.charged.consumer)
      total += Variant(base::ColumnText(p, row, "VRMOVIVEND")).AsFloat();
  return Cents(total);
}

bool ConsumerAccount::CheckItemRestrictions(bool families_required) {
  SaleState& sale = s_.sale;
  ConsumerRestrictions& restrictions = s_.parts.restrictions;
  restrictions.StartItemChecks();
  if (!sale.HasItems()) {
    if (!families_required) return true;
    RefuseWith(Msg("Ope_Fam"));
    return false;
  }
  base::Dataset& items = *sale.cdsItensVenda;
  for (items.First(); !items.Eof(); items.Next()) {
    const ItemFigures item = ReadItem(items);
    double balance = 0;
    if (families_required && (item.family.empty() || !FamilyBalance(item.family, balance))) {
      // Cover charges have no family of their own.
      RefuseWith(Msg(item.config == "CAR" ? "Couv_Fam" : "Ope_Fam"));
      return false;
    }
    if (!restrictions.CheckDailyQuantity(sale.charged.client, sale.charged.consumer, item.family, item.product,
                                         item.quantity) ||
        !restrictions.Valida_Produtos_Servico(item.product, item.quantity, item.price, item.extra, item.discount)) {
      RefuseWith("");
      return false;
    }
    restrictions.ItemChecked(item.product, item.quantity, item.Amount());
  }
  return true;
}

bool ConsumerAccount::DebitTender(double& amount) {
  SaleState& sale = s_.sale;
  const ChargedConsumer& who = sale.charged;
  try {
    MostraSaldoCons("1", who.client, who.consumer, "");
  } catch (const ConsumerAccountError& e) {
    RefuseWith(e.what());
    return false;
  }
  if (!CheckItemRestrictions(false)) return false;
  // The company pays the subsidised part; the consumer's limits hold for the rest.
  const double subsidy = s_.parts.restrictions.OfferBasicSubsidy();
  TenderSelection& selection = s_.parts.selection;
  if (!selection.AmountFromKeypad(isTicket1, sale.doVrAPagar, amount) || !selection.CheckTypedAmount(amount, false))
    return false;
  const double already = AlreadyCharged();
  const double own_part = amount > subsidy ? amount - subsidy : 0;
  if (Valida_Parametros_Debito_Consumidor(already + own_part)) return true;

  // A limit leaves part of the amount: the sale may be completed with another tender.
  if (!s_.ShowMessage(Msg("Comp_Venda"), runtime::kMsgQuestion)) {
    RefuseWith("");
    return false;
  }
  const double left = !month_ok_ ? month_left_ : !floor_ok_ ? floor_left_ : day_left_;
  // What the limits leave covers this sale's earlier debit lines too.
  const double allowed = Trunc2(left - already);
  if (allowed <= 0) {
    RefuseWith("");
    return false;
  }
  amount = Trunc2(allowed + subsidy);
  return true;
}

bool ConsumerAccount::PrepareCredit() {
  const ChargedConsumer& who = s_.sale.charged;
  try {
    EvolveFamilyBalances();
    LoadFamilyBalances();
    const std::string family = s_.sale.HasItems() ? base::Trim(s_.sale.ItemText("CDFAMILISALD")) : "";
    MostraSaldoCons("2", who.client, who.consumer, family);
  } catch (const ConsumerAccountError& e) {
    RefuseWith(e.what());
    return false;
  }
  return true;
}

bool ConsumerAccount::CreditTender(double& amount) {
  if (!PrepareCredit()) return false;
  SaleState& sale = s_.sale;
  TenderSelection& selection = s_.parts.selection;
  if (!selection.AmountFromKeypad(isTicket1, sale.doVrAPagar, amount) || !selection.CheckTypedAmount(amount, false))
    return false;
  return DrawCredit(amount);
}

bool ConsumerAccount::ChargeCredit(double amount) {
  return LoadChargedConsumer() && PrepareCredit() && DrawCredit(amount);
}

bool ConsumerAccount::DrawCredit(double amount) {
  std::vector<FamilyDraw> draws;
  if (!DrawsForAmount(amount, draws)) return false;
  base::Dataset& families = FamilyList();
  for (const FamilyDraw& d : draws) addFamiliaSaldo(families, d.family, d.amount, true);
  if (ValidateOnStore()) return true;
  for (const FamilyDraw& d : draws) addFamiliaSaldo(families, d.family, d.amount, false);
  return false;
}

bool ConsumerAccount::DrawsForAmount(double amount, std::vector<FamilyDraw>& draws) {
  drawn_in_check_.clear();
  if (!CheckItemRestrictions(true)) return false;
  base::Dataset& items = *s_.sale.cdsItensVenda;
  std::vector<ItemFigures> list;
  double items_total = 0;
  for (items.First(); !items.Eof(); items.Next()) {
    list.push_back(ReadItem(items));
    items_total += list.back().Amount();
  }

  auto add = [&](const std::string& family, double value) {
    for (FamilyDraw& d : draws)
      if (d.family == family) {
        d.amount = Cents(d.amount + value);
        return;
      }
    draws.push_back({family, Cents(value)});
  };
  if (Cents(amount) >= Cents(items_total)) {
    // The whole sale: each item from its own family, what is beyond the items (fees)
    // from the first one.
    for (const ItemFigures& item : list) {
      if (!Valida_Parametros_Credito_Pessoal(item.family, Text(item.quantity), Text(item.price), Text(item.extra),
                                             Text(item.discount), Text(item.surcharge))) {
        RefuseWith("");
        return false;
      }
      drawn_in_check_[item.family] += item.Amount();
      add(item.family, item.Amount());
    }
    if (Cents(amount - items_total) > 0) add(list.front().family, amount - items_total);
  } else {
    // Part of the sale: one amount from the family of the first item.
    if (!Valida_Parametros_Credito_Pessoal(list.front().family, "1", Text(amount), "0", "0", "0")) {
      RefuseWith("");
      return false;
    }
    add(list.front().family, amount);
  }
  drawn_in_check_.clear();
  return true;
}

base::Dataset& ConsumerAccount::FamilyList() {
  return s_.sale.cdsSaldoFamilia ? *s_.sale.cdsSaldoFamilia : own_families_;
}

}  // namespace recebimento::screen
