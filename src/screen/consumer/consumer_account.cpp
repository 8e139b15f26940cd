// The consumer's account as far as the screen uses it today: the balance of a debit
// account read from the store. Spending, the central, the checks of a consumer tender and
// the records of the confirmation join here.
#include "screen/consumer/consumer_account.h"

#include <string>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/numbers.h"
#include "host/runtime/result_check.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

using runtime::Trunc2;

void ConsumerAccount::ShowAccountBalance() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  if (sale.stCdConsumidorCons.empty()) return;
  const base::Variant record =
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
  const base::DateTime since = s_.ctx.clock.Now().AddDays(-120);
  BookPendingDebits(since);
  if (par.stIDDEBCONSCENTRAL == "S")
    s_.ctx.host.consumers->AtuSaldoDebCons(par.stCDFILIAL, sale.stCdClienteCons, sale.stCdConsumidorCons, since,
                                           sale.stCdOperador);

  MostraSaldoCons("1", sale.stCdClienteCons, sale.stCdConsumidorCons, "");
  const double balance = Trunc2(balance_);
  sale.doSaldoCons = debit_floor_.empty() ? balance : runtime::RoundDec(balance - Trunc2(floor), 2);
  const std::string label = Msg("SALDOCONS");
  const long width = 50 - static_cast<long>(base::Utf8Length(label));
  s_.controls.Require("lblSaldoCons").caption =
      label +
      base::Utf8PadLeft(runtime::FormatFloat("0.00", sale.doSaldoCons), static_cast<size_t>(width > 0 ? width : 0));
}

// Reads the debit account's balance from the store; spending and the central come with
// the consumer-account checks.
void ConsumerAccount::MostraSaldoCons(const std::string& kind, const std::string& client, const std::string& consumer,
                                      const std::string& /*family*/) {
  balance_ = 0;
  if (kind != "1") return;
  const base::Variant r =
      s_.CheckResult(s_.ctx.rdm.getSaldoCons(client, consumer), "getSaldoCons", client + "-" + consumer);
  if (!runtime::IsResultPacket(r)) return;
  base::Dataset balance("cdsSaldo");
  balance.SetData(r);
  if (balance.Active() && !balance.IsEmpty() && balance.FieldIndex("VRSALDOCONS") >= 0)
    balance_ = balance.FieldByName("VRSALDOCONS").AsFloat();
}

// The store-side booking of pending debits joins here with the consumer balance records.
void ConsumerAccount::BookPendingDebits(const base::DateTime& /*since*/) {}

// Consumer-account tenders are not taken until their checks land here.
bool ConsumerAccount::AccountTender(const std::string& /*kind*/, TenderPayment& /*tender*/, double& /*amount*/) {
  s_.parts.selection.Refuse("N_FORMA");
  return false;
}

// Until the product restrictions exist every tender is accepted.
bool ConsumerAccount::Vd_TipoConsReceb(const std::string& /*cdTipoRece*/) { return true; }

void ConsumerAccount::VerifVrSubsBasico() {}

void ConsumerAccount::Vd_Ingresso() {}

void ConsumerAccount::WriteConsumerRecord() {}

void ConsumerAccount::TakeReceiptConsumer() {}

// The consumer search fills this when it lands here; until then no consumer is chosen
// through it.
std::string ConsumerAccount::SearchedConsumer() const { return std::string(); }

}  // namespace recebimento::screen
