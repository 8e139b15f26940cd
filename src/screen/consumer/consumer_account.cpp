// The consumer's accounts: the balance shown at the start, spending and balance of the
// debit account and of the personal credit (from the store, the consumer central or the
// online statement), and the family list a personal-credit payment draws from.
#include "screen/consumer/consumer_account.h"

#include <string>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/dates.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "host/runtime/result_check.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

using base::Variant;
using runtime::Trunc2;

ConsumerAccount::ConsumerAccount(ScreenScope& s) : s_(s) { ConnectConsumerServices(); }

void ConsumerAccount::ConnectConsumerServices() {
  pos::ConsumerServices* services = s_.ctx.host.consumers;
  const ParametrosZem& par = s_.par;
  s_.ctx.rdm.SetExtratoConsCentral(
      [services](const std::string& operation, const std::vector<std::string>& codes, Variant& result) {
        pos::ConsumerQuery q;
        q.operation = operation;
        q.branch = codes.size() > 0 ? codes[0] : "";
        q.client = codes.size() > 1 ? codes[1] : "";
        q.consumer = codes.size() > 2 ? codes[2] : "";
        q.family = codes.size() > 3 ? codes[3] : "";
        return services->ExtratoConsCentral(q, result);
      });
  s_.ctx.rdm.SetExtratoConsOnline([services, &par](const std::string& operation, const std::string& url,
                                                   const std::vector<std::string>& codes, const base::DateTime& when,
                                                   Variant& result) {
    pos::ConsumerQuery q;
    q.operation = operation;
    q.url = url;
    q.branch = par.stCDFILIAL;
    q.client = codes.size() > 0 ? codes[0] : "";
    q.consumer = codes.size() > 1 ? codes[1] : "";
    q.family = codes.size() > 2 ? codes[2] : "";
    q.kind = codes.size() > 3 ? codes[3] : "";
    q.date = when;
    return services->ExtratoConsOnline(q, result);
  });
}

void ConsumerAccount::ShowAccountBalance() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  if (sale.stCdConsumidorCons.empty()) return;
  const Variant record =
      s_.CheckResult(s_.ctx.rdm.getConsumidor(sale.stCdClienteCons, sale.stCdConsumidorCons, par.stCDFILIAL),
                     "getConsumidor", sale.stCdClienteCons + "-" + sale.stCdConsumidorCons + "-" + par.stCDFILIAL);
  if (!runtime::IsResultPacket(record)) return;
  base::Dataset& consumer = sale.cdsConsumidor;
  consumer.SetData(record);
  if (!consumer.Active() || consumer.IsEmpty()) return;
  balance_control_ = base::ColumnText(consumer, "IDVERSALDCON");
  debit_floor_ = base::ColumnText(consumer, "VRLIMDEBCONS");
  const double floor = base::ColumnNumber(consumer, "VRLIMDEBCONS");
  if (balance_control_ != "S") return;

  // Debits still pending are booked before the balance is read.
  const base::DateTime since = s_.ctx.clock.Now().Date().AddDays(-120);
  BookPendingDebits(since);
  if (par.stIDDEBCONSCENTRAL == "S")
    s_.ctx.host.consumers->AtuSaldoDebCons(par.stCDFILIAL, sale.stCdClienteCons, sale.stCdConsumidorCons, since,
                                           sale.stCdOperador);

  try {
    MostraSaldoCons("1", sale.stCdClienteCons, sale.stCdConsumidorCons, "");
  } catch (const ConsumerAccountError& e) {
    // The screen still opens: the balance line says nothing it does not know.
    s_.ShowMessage(e.what(), runtime::kMsgBlocked);
    return;
  }
  const double balance = Trunc2(balance_);
  sale.doSaldoCons = debit_floor_.empty() ? balance : runtime::RoundDec(balance - Trunc2(floor), 2);
  const std::string label = Msg("SALDOCONS");
  const long width = 50 - static_cast<long>(base::Utf8Length(label));
  s_.controls.Require("lblSaldoCons").caption =
      label +
      base::Utf8PadLeft(runtime::FormatFloat("0.00", sale.doSaldoCons), static_cast<size_t>(width > 0 ? width : 0));
}

void ConsumerAccount::BookPendingDebits(const base::DateTime& since) {
  const SaleState& sale = s_.sale;
  try {
    s_.ctx.rdm.setAtualizaDebCons(s_.par.stCDFILIAL, sale.stCdClienteCons, sale.stCdConsumidorCons, since,
                                  sale.stCdOperador);
  } catch (const std::exception& e) {
    // The balance read next is the one before these debits; the operator is told why.
    s_.ShowMessage(e.what(), runtime::kMsgBlocked);
  }
}

double ConsumerAccount::ServiceValue(const std::string& service, const std::string& operation, const std::string& kind,
                                     const std::string& client, const std::string& consumer, const std::string& family,
                                     const std::string& failure_key) {
  const ParametrosZem& par = s_.par;
  pos::ConsumerServices& services = *s_.ctx.host.consumers;
  pos::ConsumerQuery q;
  q.operation = operation;
  q.branch = par.stCDFILIAL;
  q.shop = par.stCDLOJA;
  q.client = client;
  q.consumer = consumer;
  q.family = family;
  q.kind = kind;
  q.date = s_.ctx.clock.Now().Date();
  Variant answer = Variant::Array(1);
  bool ok = false;
  if (service == "online") {
    q.url = par.stCDURLWSEXTCONS;
    ok = services.ExtratoConsOnline(q, answer);
  } else if (service == "debit") {
    ok = services.MoviclieCentral(q, answer);
  } else {
    ok = services.ExtratoConsCentral(q, answer);
  }
  if (!ok) throw ConsumerAccountError(Msg(failure_key));
  const Variant value = answer.IsArray() && answer.Size() > 0 ? answer[0] : answer;
  try {
    if (!value.IsPacket()) return value.AsFloat();
    // A packet of family balances: the family's own.
    base::Dataset rows;
    rows.SetData(value);
    if (rows.Active() && rows.Locate("CDFAMILISALD", Variant(family))) return base::ColumnNumber(rows, "VRSALDCONFAM");
    return 0;
  } catch (const std::exception&) {
    // An answer that holds no amount is no answer.
    throw ConsumerAccountError(Msg(failure_key));
  }
}

void ConsumerAccount::MostraSaldoCons(const std::string& kind, const std::string& client, const std::string& consumer,
                                      const std::string& family) {
  const ParametrosZem& par = s_.par;
  datamodule::TrdmRecebimento& rdm = s_.ctx.rdm;
  const std::string key = client + "-" + consumer + (family.empty() ? "" : "-" + family);
  auto number = [&](const Variant& r, const char* function) {
    const Variant checked = s_.CheckResult(r, function, key);
    return checked.IsNumber() ? checked.AsFloat() : 0.0;
  };
  day_spending_ = balance_ = pending_balance_ = 0;

  if (kind == "2" && par.stIDEXTCONSONLINE == "S")
    day_spending_ = ServiceValue("online", "CONSULTA_CONSUMO", "", client, consumer, family, "FALHA_CONEXAO_SRV");
  else if (kind == "1" && par.stIDDEBCONSCENTRAL == "S")
    day_spending_ = ServiceValue("debit", "CONSULTA_CONSUMO", "V", client, consumer, "", "CONSULTA_CONSUMO_ERRO");
  else if (kind == "2" && par.stIDEXTCONSCENTRAL == "S")
    day_spending_ = ServiceValue("credit", "CONSULTA_CONSUMO", "", client, consumer, family, "CONSULTA_CONSUMO_ERRO");
  else
    day_spending_ = number(rdm.getGastCons(client, consumer, kind), "getGastCons");

  const base::DateTime today = s_.ctx.clock.Now().Date();
  month_spending_ =
      par.stIDDEBCONSCENTRAL == "S"
          ? ServiceValue("debit", "CONSUMO_MES", "V", client, consumer, "", "CONSUMO_MES_ERRO")
          : number(rdm.getGastoConsMes(client, consumer, PrimeiroDiaMes(today), runtime::UltimoDiaMes(today)),
                   "getGastoConsMes");

  Variant packet;
  if (kind == "1") {
    if (par.stIDDEBCONSCENTRAL == "S") {
      balance_ = ServiceValue("debit", "CONSULTA_SALDO", "V", client, consumer, "", "CONSULTA_SALDO_ERRO");
    } else {
      packet = s_.CheckResult(rdm.getSaldoCons(client, consumer), "getSaldoCons", key);
    }
  } else if (par.stIDEXTCONSONLINE == "S") {
    balance_ = ServiceValue("online", "CONSULTA_SALDO", "", client, consumer, family, "FALHA_CONEXAO_SRV");
  } else if (par.stIDEXTCONSCENTRAL == "S") {
    balance_ = ServiceValue("credit", "CONSULTA_SALDO", "", client, consumer, family, "CONSULTA_SALDO_ERRO");
  } else {
    packet = s_.CheckResult(rdm.getSaldoCred(client, consumer, family), "getSaldoCred", key);
  }
  if (runtime::IsResultPacket(packet)) {
    cdsSaldo.SetData(packet);
    if (cdsSaldo.Active() && !cdsSaldo.IsEmpty()) {
      balance_ = base::ColumnNumber(cdsSaldo, kind == "1" ? "VRSALDOCONS" : "VRSALDCONFAM");
      pending_balance_ = base::ColumnNumber(cdsSaldo, "VRSALDPECONS");
    }
  }
}

void ConsumerAccount::addFamiliaSaldo(base::Dataset& families, const std::string& family, double amount, bool add) {
  if (!families.Active()) {
    if (families.FieldIndex("CDFAMILISALD") < 0 || families.FieldIndex("VRSALDCONFAM") < 0)
      families.SetFields({{"CDFAMILISALD", base::FieldType::String, 4}, {"VRSALDCONFAM", base::FieldType::Float, 0}});
    families.CreateDataSet();
  }
  families.SetFiltered(false);
  if (!families.Locate("CDFAMILISALD", Variant(family))) {
    if (!add) return;
    families.Append();
    families.FieldByName("CDFAMILISALD").SetAsString(family);
    families.FieldByName("VRSALDCONFAM").SetAsFloat(runtime::RoundDec(amount, 2));
    families.Post();
    return;
  }
  const double now = base::ColumnNumber(families, "VRSALDCONFAM") + (add ? amount : -amount);
  if (!add && runtime::RoundDec(now, 2) <= 0) {
    families.Delete();
    return;
  }
  families.Edit();
  families.FieldByName("VRSALDCONFAM").SetAsFloat(runtime::RoundDec(now, 2));
  families.Post();
}

base::DateTime ConsumerAccount::PrimeiroDiaMes(const base::DateTime& day) {
  return base::DateTime::FromYMD(day.Year(), day.Month(), 1);
}

bool ConsumerAccount::FamilyBalance(const std::string& family, double& balance) {
  if (!cdsConsultaSaldo.Active() || cdsConsultaSaldo.FieldIndex("CDFAMILISALD") < 0) return false;
  cdsConsultaSaldo.SetFiltered(false);
  for (cdsConsultaSaldo.First(); !cdsConsultaSaldo.Eof(); cdsConsultaSaldo.Next()) {
    if (base::ColumnTrimmed(cdsConsultaSaldo, "CDFAMILISALD") == base::Trim(family)) {
      balance = base::ColumnNumber(cdsConsultaSaldo, "VRSALDCONFAM");
      return true;
    }
  }
  return false;
}

void ConsumerAccount::LoadFamilyBalances() {
  const ParametrosZem& par = s_.par;
  const ChargedConsumer& who = s_.sale.charged;
  pos::ConsumerQuery q;
  q.branch = par.stCDFILIAL;
  q.shop = par.stCDLOJA;
  q.client = who.client;
  q.consumer = who.consumer;
  q.date = s_.ctx.clock.Now();
  Variant answer = Variant::Array(1);
  Variant packet;
  if (par.stIDEXTCONSONLINE == "S" || par.stIDEXTCONSCENTRAL == "S") {
    const bool online = par.stIDEXTCONSONLINE == "S";
    q.operation = online ? "CONSULTA_SALDO" : "CONSULTA_SALDO_FAM";
    q.url = par.stCDURLWSEXTCONS;
    const bool ok = online ? s_.ctx.host.consumers->ExtratoConsOnline(q, answer)
                           : s_.ctx.host.consumers->ExtratoConsCentral(q, answer);
    packet = answer.IsArray() && answer.Size() > 0 ? answer[0] : answer;
    if (!ok || !packet.IsPacket())
      throw ConsumerAccountError(Msg(online ? "FALHA_CONEXAO_SRV" : "CONSULTA_SALDO_FAM_ERRO"));
  } else {
    packet = s_.CheckResult(s_.ctx.rdm.getConsSaldFam(par.stCDFILIAL, who.client, who.consumer), "getConsSaldFam",
                            par.stCDFILIAL + "-" + who.client + "-" + who.consumer);
    if (!runtime::IsResultPacket(packet)) throw ConsumerAccountError("");
  }
  cdsConsultaSaldo.SetData(packet);
}

void ConsumerAccount::EvolveFamilyBalances() {
  const ParametrosZem& par = s_.par;
  // A statement kept elsewhere is brought up to date there.
  if (par.stIDEXTCONSONLINE == "S" || par.stIDEXTCONSCENTRAL == "S") return;
  const ChargedConsumer& who = s_.sale.charged;
  const Variant first = s_.CheckResult(s_.ctx.rdm.getMinDtMovExtCons(who.client, who.consumer), "getMinDtMovExtCons",
                                       who.client + "-" + who.consumer);
  if (!runtime::IsResultPacket(first)) throw ConsumerAccountError("");
  const base::DataPacket& p = first.AsPacket();
  const int column = p.FieldIndex("DTMOVEXTCONS");
  if (column < 0 || p.rows.empty() || p.rows[0][static_cast<size_t>(column)].IsEmptyOrNull()) return;
  try {
    s_.ctx.rdm.EvoluiSaldo(par.stCDFILIAL, who.client, who.consumer,
                           p.rows[0][static_cast<size_t>(column)].AsDateTime());
  } catch (const std::exception& e) {
    throw ConsumerAccountError(e.what());
  }
}

void ConsumerAccount::RefuseWith(const std::string& text) {
  SaleState& sale = s_.sale;
  sale.boFalhaReceb = true;
  s_.parts.grid.CtrlBotoes("D", 1);
  if (!text.empty()) s_.ShowMessage(text, runtime::kMsgBlocked);
}

std::string ConsumerAccount::SearchedConsumer() const {
  return s_.sale.stConsPesquisado == "S" ? s_.sale.charged.consumer : std::string();
}

}  // namespace recebimento::screen
