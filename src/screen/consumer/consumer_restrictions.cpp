// The tenders a consumer type may use, the daily quantities of a product, and the meal
// services' products and limits.
#include "screen/consumer/consumer_restrictions.h"

#include <cctype>
#include <optional>
#include <string>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "host/runtime/result_check.h"
#include "screen/frame/message_format.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

namespace {

using base::Variant;

// A time of day written "hh:nn", "hhnn" or "h:nn" as minutes; nothing when it is empty
// or unreadable.
std::optional<int> Minutes(const std::string& text) {
  std::string digits;
  for (char c : text)
    if (std::isdigit(static_cast<unsigned char>(c))) digits += c;
  if (digits.empty() || digits.size() > 4) return std::nullopt;
  const int value = std::stoi(digits);
  return (value / 100) * 60 + value % 100;
}

// A limit of the current row; nothing when the column is missing or empty.
std::optional<double> Limit(base::Dataset& ds, const std::string& column) {
  if (ds.FieldIndex(column) < 0) return std::nullopt;
  const Variant v = ds.FieldByName(column).Value();
  if (v.IsEmptyOrNull() || (v.IsString() && base::Trim(v.AsString()).empty())) return std::nullopt;
  try {
    return v.AsFloat();
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

bool HasRows(base::Dataset& ds) { return ds.Active() && !ds.IsEmpty(); }

double Round3(double v) { return runtime::RoundDec(v, 3); }

}  // namespace

void ConsumerRestrictions::SaleConsumer(std::string& client, std::string& consumer) const {
  const SaleState& sale = s_.sale;
  client = sale.stCdClienteVenda.empty() ? sale.ItemText("CDCLIENTE") : sale.stCdClienteVenda;
  consumer = sale.stCdConsumidorVenda.empty() ? sale.ItemText("CDCONSUMIDOR") : sale.stCdConsumidorVenda;
}

bool ConsumerRestrictions::Vd_TipoConsReceb(const std::string& cdTipoRece) {
  std::string client, consumer;
  SaleConsumer(client, consumer);
  datamodule::TrdmRecebimento& rdm = s_.ctx.rdm;
  const bool with_consumer = !base::Trim(consumer).empty();
  const Variant allowed = with_consumer ? s_.CheckResult(rdm.getTipoConsReceb(client, consumer), "getTipoConsReceb",
                                                         client + "-" + consumer)
                                        : s_.CheckResult(rdm.getTpConsRecGeral(), "getTpConsRecGeral", "");
  // A list the store could not give restricts nothing: the failure was shown, and an
  // ordinary tender must not be lost to it.
  if (!runtime::IsResultPacket(allowed)) return true;
  cdsTipoConsReceb.SetData(allowed);
  const bool listed = cdsTipoConsReceb.Active() && cdsTipoConsReceb.Locate("CDTIPORECE", Variant(cdTipoRece));
  if (with_consumer) return cdsTipoConsReceb.IsEmpty() || listed;
  return !listed;
}

void ConsumerRestrictions::StartItemChecks() {
  base::Dataset& checked = s_.sale.cdsItProdVend;
  checked.Close();
  checked.SetFields({{"CDPRODUTO", base::FieldType::String, 20},
                     {"QTPRODCOMVEN", base::FieldType::Float, 0},
                     {"VRITEM", base::FieldType::Float, 0},
                     {"CDSERVFILI", base::FieldType::String, 10}});
  checked.CreateDataSet();
  service_.clear();
}

void ConsumerRestrictions::ItemChecked(const std::string& product, double quantity, double amount) {
  base::Dataset& checked = s_.sale.cdsItProdVend;
  if (!checked.Active()) StartItemChecks();
  checked.AppendRecord({Variant(product), Variant(quantity), Variant(amount), Variant(service_)});
  service_.clear();
}

bool ConsumerRestrictions::CheckDailyQuantity(const std::string& client, const std::string& consumer,
                                              const std::string& family, const std::string& product, double quantity) {
  base::Dataset& checked = s_.sale.cdsItProdVend;
  if (!checked.Active()) StartItemChecks();
  std::string verdict;
  s_.ctx.rdm.getQtdeProdDia(s_.par.stCDFILIAL, client, consumer, family, product, quantity, Variant(checked.Data()),
                            verdict);
  if (verdict == "QTDE_OK") return true;
  const std::string named = consumer + " - " + base::ColumnText(s_.sale.cdsConsumidor, "NMCONSUMIDOR");
  std::string text = verdict;
  if (verdict == "QTDE_NOT_CONS") text = MsgFmt("Qtde_Not_Cons", {named});
  if (verdict == "PROD_NOT_CONS") text = MsgFmt("Prod_Not_Cons", {named});
  if (verdict == "QTDE_NOT_FAM") text = Msg("Qtde_Not_Fam");
  if (verdict == "PROD_NOT_FAM") text = Msg("Prod_Not_Fam");
  s_.ShowMessage(text, runtime::kMsgBlocked);
  return false;
}

bool ConsumerRestrictions::FindServiceRow(base::Dataset& table, const std::string& product, const std::string& type) {
  const ParametrosZem& par = s_.par;
  const base::DateTime now = s_.ctx.clock.Now();
  const int minute = now.Hour() * 60 + now.Minute();
  const bool by_type = table.FieldIndex("CDTIPOCONS") >= 0 && &table == &s_.sale.cdsProdServTCon;
  table.SetFiltered(false);
  std::optional<base::Dataset::Bookmark> any_time;
  for (table.First(); !table.Eof(); table.Next()) {
    if (base::ColumnTrimmed(table, "CDPRODUTO") != product) continue;
    if (by_type && base::ColumnTrimmed(table, "CDTIPOCONS") != type) continue;
    const std::string branch = base::ColumnTrimmed(table, "CDFILIAL");
    const std::string cash_register = base::ColumnTrimmed(table, "CDCAIXA");
    if ((!branch.empty() && branch != par.stCDFILIAL) || (!cash_register.empty() && cash_register != par.stCDCAIXA))
      continue;
    const auto from = Minutes(base::ColumnText(table, "HRINISERTUR"));
    const auto to = Minutes(base::ColumnText(table, "HRFINSERTUR"));
    if (!from || !to) {
      if (!any_time) any_time = table.GetBookmark();
      continue;
    }
    // A service that runs past midnight starts one day and ends the next.
    const bool open = *from <= *to ? (minute >= *from && minute <= *to) : (minute >= *from || minute <= *to);
    if (open) return true;
  }
  if (!any_time) return false;
  table.GotoBookmark(*any_time);
  return true;
}

bool ConsumerRestrictions::Valida_Produtos_Servico(const std::string& product, double quantity, double price,
                                                   double extra, double discount) {
  SaleState& sale = s_.sale;
  service_.clear();
  const std::string type = base::ColumnTrimmed(sale.cdsConsumidor, "CDTIPOCONS");
  // The services of the consumer's type when the register has them for it, else the
  // register's services for every consumer.
  base::Dataset* table = nullptr;
  if (!type.empty() && HasRows(sale.cdsProdServTCon) && sale.cdsProdServTCon.FieldIndex("CDTIPOCONS") >= 0 &&
      base::AnyRowWith(sale.cdsProdServTCon, "CDTIPOCONS", type))
    table = &sale.cdsProdServTCon;
  else if (HasRows(sale.cdsProdServ))
    table = &sale.cdsProdServ;
  if (!table) return true;
  if (!FindServiceRow(*table, product, type)) {
    s_.ShowMessage(Msg("PROD_CAD_SERV"), runtime::kMsgBlocked);
    return false;
  }
  service_ = base::ColumnTrimmed(*table, "CDSERVFILI");
  // The whole item counts against the service's amount: every unit, less its discount.
  const double amount =
      runtime::Trunc2(quantity * (runtime::Trunc2(price) + runtime::Trunc2(extra)) - runtime::Trunc2(discount));
  const std::string keep = service_;
  const bool ok = Servico_Consu_Qtde(s_.par.stCDFILIAL, sale.charged.client, sale.charged.consumer, type, service_,
                                     product, quantity, amount, *table);
  service_ = keep;
  return ok;
}

bool ConsumerRestrictions::Servico_Consu_Qtde(const std::string& branch, const std::string& client,
                                              const std::string& consumer, const std::string& /*type*/,
                                              const std::string& service, const std::string& product, double quantity,
                                              double amount, base::Dataset& services) {
  SaleState& sale = s_.sale;
  datamodule::TrdmRecebimento& rdm = s_.ctx.rdm;
  base::Dataset& checked = sale.cdsItProdVend;
  double quantity_in_sale = 0, amount_in_sale = 0;
  if (checked.Active()) {
    const base::DataPacket p = checked.Data();
    for (const auto& row : p.rows) {
      if (base::ColumnTrimmed(p, row, "CDSERVFILI") != service) continue;
      const double q = Variant(base::ColumnText(p, row, "QTPRODCOMVEN")).AsFloat();
      amount_in_sale += Variant(base::ColumnText(p, row, "VRITEM")).AsFloat();
      if (base::ColumnTrimmed(p, row, "CDPRODUTO") == product) quantity_in_sale += q;
    }
  }
  const std::string key = branch + "-" + client + "-" + consumer + "-" + service;
  const bool per_type = &services == &sale.cdsProdServTCon;
  const auto most = Limit(services, per_type ? "QTLIMCONPRSE" : "QTLIMCONPROD");
  if (most && *most != 0) {
    const Variant sold =
        s_.CheckResult(rdm.getProdVenDiaServ(branch, client, consumer, product, service), "getProdVenDiaServ", key);
    const double today = sold.IsNumber() ? sold.AsFloat() : 0;
    if (Round3(today + quantity + quantity_in_sale) > Round3(*most)) {
      const std::string name = sale.cdsItensVenda
                                   ? sale.cdsItensVenda->Lookup("CDPRODUTO", {Variant(product)}, "NMPRODUTO").AsString()
                                   : std::string();
      s_.ShowMessage(MsgFmt("OPE_QTDE_SERV", {runtime::FormatFloat("", *most), product + " - " + name}),
                     runtime::kMsgBlocked);
      return false;
    }
  }
  if (const auto cap = Limit(services, "VRLIMCONSERV"); cap && *cap != 0) {
    const Variant spent = s_.CheckResult(rdm.getGtDiaServ(branch, client, consumer, service), "getGtDiaServ", key);
    const double today = spent.IsNumber() ? spent.AsFloat() : 0;
    if (runtime::RoundDec(today + amount_in_sale + amount, 2) > runtime::RoundDec(*cap, 2)) {
      s_.ShowMessage(Msg("OPE_CONS_SERV"), runtime::kMsgBlocked);
      return false;
    }
  }
  return true;
}

}  // namespace recebimento::screen
