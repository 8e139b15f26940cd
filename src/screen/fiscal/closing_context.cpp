// What the closing gathers about the consumer account that pays the sale: the kind of
// account payment, the family balances of a personal-credit account (online statement,
// consumer central or the store), the consumer and their limits, the exchange mode's
// discount, the approximate taxes, the credit concession, and the excess balance of the
// payroll period.
#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/messages.h"
#include "host/runtime/money.h"
#include "host/runtime/numbers.h"
#include "host/runtime/result_check.h"
#include "screen/fiscal/fiscal_receipt.h"
#include "screen/fiscal/receipt_support.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

namespace {

using base::Variant;

// A consumer service's answer loaded into `into`: a packet, or an array whose first
// element is one.
void LoadAnswer(const Variant& answer, base::Dataset& into) {
  if (answer.IsPacket()) {
    into.SetData(answer);
  } else if (answer.IsArray() && answer.Size() > 0 && answer[0].IsPacket()) {
    into.SetData(answer[0]);
  }
}

// The first payment row whose `column` holds `value`: its client, consumer and amount.
struct AccountPayment {
  bool found = false;
  std::string client, consumer;
  double amount = 0;
};
AccountPayment FirstPaymentWith(const ScreenScope& s, const std::string& column, const std::string& value) {
  AccountPayment p;
  fiscal::ForEachPayment(s, [&](base::Dataset& movi) {
    if (p.found || base::ColumnTrimmed(movi, column) != value) return;
    p.found = true;
    p.client = base::ColumnTrimmed(movi, "CDCLIENTE");
    p.consumer = base::ColumnTrimmed(movi, "CDCONSUMIDOR");
    p.amount = base::ColumnNumber(movi, "VRMOVIVEND");
  });
  return p;
}

// The closing day of the payroll as a day of the month; 0 when it names none.
int ClosingDay(const std::string& text) {
  const std::string t = base::Trim(text);
  if (t.empty() || t.size() > 2 || !std::all_of(t.begin(), t.end(), [](unsigned char c) { return std::isdigit(c); }))
    return 0;
  return std::stoi(t);
}

int DaysInMonth(int year, int month) {
  const base::DateTime next =
      month == 12 ? base::DateTime::FromYMD(year + 1, 1, 1) : base::DateTime::FromYMD(year, month + 1, 1);
  return next.AddDays(-1).Day();
}

}  // namespace

void FiscalReceipt::GatherClosingContext() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  if (const AccountPayment credit = FirstPaymentWith(s_, "IDTIPORECE", "9"); credit.found) {
    closing_.account_payment = "1";
    sale.stCdClienteCons = credit.client;
    sale.stCdConsumidorCons = credit.consumer;
    ReadFamilyBalances(credit.client, credit.consumer);
  } else if (const AccountPayment debit = FirstPaymentWith(s_, "IDTIPORECE", "A"); debit.found) {
    closing_.account_payment = "2";
    s_.parts.consumer.MostraSaldoCons("1", debit.client, debit.consumer, "");
    sale.stCdClienteCons = debit.client;
    sale.stCdConsumidorCons = debit.consumer;
  }
  if (const std::string searched = s_.parts.consumer.SearchedConsumer(); !searched.empty())
    sale.stCdConsumidorCons = searched;

  if (!sale.stCdConsumidorCons.empty()) {
    const std::string key = sale.stCdClienteCons + "-" + sale.stCdConsumidorCons;
    const Variant record =
        s_.CheckResult(s_.ctx.rdm.getConsumidor(sale.stCdClienteCons, sale.stCdConsumidorCons, par.stCDFILIAL),
                       "getConsumidor", key + "-" + par.stCDFILIAL);
    base::Dataset& consumer = sale.cdsConsumidor;
    if (runtime::IsResultPacket(record)) consumer.SetData(record);
    if (runtime::IsResultPacket(record) && consumer.Active() && !consumer.IsEmpty()) {
      closing_.NMCONSUMIDOR = base::ColumnTrimmed(consumer, "NMCONSUMIDOR");
      closing_.NMFANTCLIE = base::ColumnTrimmed(consumer, "NMFANTCLIE");
      closing_.CDIDCONSUMID = base::ColumnTrimmed(consumer, "CDIDCONSUMID");
      if (!closing_.CDIDCONSUMID.empty()) sale.stCDIDCONSUMID = closing_.CDIDCONSUMID;
      const Variant limits = s_.CheckResult(s_.ctx.rdm.getLimiteCons(sale.stCdClienteCons, sale.stCdConsumidorCons),
                                            "getLimiteCons", key, 0, "Cli_Rev00000");
      if (runtime::IsResultPacket(limits)) {
        cdsLimiteCons.SetData(limits);
        closing_.limits_read = true;
        closing_.VRMAXDEBCONS = base::ColumnTrimmed(cdsLimiteCons, "VRMAXDEBCONS");
        closing_.VRMESUBCONS = base::ColumnTrimmed(cdsLimiteCons, "VRMESUBCONS");
      }
    }
  }

  // An exchange gives back the tab's discount as it was.
  if (sale.stIdTela == "T") closing_.discount = runtime::Trunc2(sale.ItemNumber("VRDESCOMANDA"));

  if (par.stIDUTLNFSVENCONS != "S" && !par.boSISTEMAZEMNFCE && !par.boSISTEMAZEMSAT && sale.cdsItensVenda) {
    Variant taxes = Variant::Array(3);
    if (s_.ctx.host.fiscal->CalculoIcmsDFederal(*sale.cdsItensVenda, sale.doVrDesconto, taxes) && taxes.IsArray())
      for (size_t i = 0; i < 3 && i < taxes.Size(); ++i)
        closing_.taxes[i] = taxes[i].IsEmptyOrNull() ? std::string() : taxes[i].AsString();
  }
  closing_.credit_concession = s_.ctx.rdm.getConcessaoCred(par.stCDFILIAL);
  ReadPayrollExcess();
}

void FiscalReceipt::ReadFamilyBalances(const std::string& client, const std::string& consumer) {
  const ParametrosZem& par = s_.par;
  pos::ConsumerQuery query;
  query.branch = par.stCDFILIAL;
  query.client = client;
  query.consumer = consumer;
  Variant answer;
  if (par.stIDEXTCONSONLINE == "S") {
    query.operation = "CONSULTA_SALDO";
    query.url = par.stCDURLWSEXTCONS;
    if (!s_.ctx.host.consumers->ExtratoConsOnline(query, answer)) {
      s_.ShowMessage(Msg("FALHA_CONEXAO_SRV_SALDO"), runtime::kMsgBlocked);
      return;
    }
  } else if (par.stIDEXTCONSCENTRAL == "S") {
    query.operation = "CONSULTA_SALDO_FAM";
    if (!s_.ctx.host.consumers->ExtratoConsCentral(query, answer)) {
      ServiceFailed(Msg("CONSULTA_SALDO_FAM_ERRO"));
      return;
    }
  } else {
    answer = s_.CheckResult(s_.ctx.rdm.getConsSaldFam(par.stCDFILIAL, client, consumer), "getConsSaldFam",
                            par.stCDFILIAL + "-" + client + "-" + consumer, 0, "Cli_Res02000");
  }
  LoadAnswer(answer, cdsConsultaSaldo);
}

void FiscalReceipt::ReadPayrollExcess() {
  ParametrosZem& par = s_.par;
  if (par.stIDPARIMPRLIMVDC != "E" || base::Trim(par.stNRDIAFECHAFOLHA).empty()) return;
  const AccountPayment payment = FirstPaymentWith(s_, "IDTIPOMOVIVE", "T");
  if (!payment.found) return;
  int day = ClosingDay(par.stNRDIAFECHAFOLHA);
  if (day < 1) {
    s_.ctx.log.LogRev00000("ImprimeCupom - dia de fechamento da folha invalido: " + par.stNRDIAFECHAFOLHA);
    return;
  }
  // The period began on the closing day of the previous month until that day has passed
  // this month. The days compare as numbers: "5" comes before "15".
  const base::DateTime today = s_.ctx.clock.Now().Date();
  int year = today.Year();
  int month = today.Month();
  if (today.Day() <= day) {
    if (--month == 0) {
      month = 12;
      --year;
    }
  }
  if (month == 2 && day >= 30) {
    day = year % 4 == 0 ? 29 : 28;
    par.stNRDIAFECHAFOLHA = std::to_string(day);
  }
  // A closing day the month does not have is the month's last day.
  const base::DateTime start = base::DateTime::FromYMD(year, month, std::min(day, DaysInMonth(year, month)));
  const std::string key = par.stCDFILIAL + "-" + payment.client + "-" + payment.consumer;

  LoadAnswer(s_.CheckResult(s_.ctx.rdm.getVrSaldConsumi(par.stCDFILIAL, payment.client, payment.consumer,
                                                        base::DateTime::FromYMD(today.Year(), today.Month(), 1), today),
                            "getVrSaldConsumi", key, 0, "Cli_Rev00000"),
             cdsVrSaldConsumi);

  double excess = 0;
  if (par.stIDDEBCONSCENTRAL == "S") {
    pos::ConsumerQuery query;
    query.kind = "V";
    query.branch = par.stCDFILIAL;
    query.shop = par.stCDLOJA;
    query.operation = "SALDO_EXCEDE";
    query.client = s_.sale.stCdClienteCons;
    query.consumer = s_.sale.stCdConsumidorCons;
    Variant answer;
    if (!s_.ctx.host.consumers->MoviclieCentral(query, answer)) {
      ServiceFailed(Msg("SALDO_EXCEDE_ERRO"));
      return;
    }
    if (answer.IsArray() && answer.Size() > 1 && !answer[1].IsEmptyOrNull()) excess = answer[1].AsFloat();
  } else {
    const Variant balance =
        s_.CheckResult(s_.ctx.rdm.getSaldoExcedente(par.stCDFILIAL, payment.client, payment.consumer, start),
                       "getSaldoExcedente", key, 0, "Cli_Rev00000");
    if (balance.IsNumber()) excess = balance.AsFloat();
  }
  closing_.excess_balance = runtime::RoundCents(excess + payment.amount);
}

void FiscalReceipt::ServiceFailed(const std::string& text) {
  // With a fiscal printer the failure stops the receipt and reaches the host, which holds
  // the open receipt. Without one the sale is already recorded: the balances only fill
  // the vouchers, so the operator is told and the sale stands.
  if (s_.par.boUTILIZAIMPFIS) throw std::runtime_error(text);
  s_.ShowMessage(text, runtime::kMsgBlocked);
}

base::DataPacket FiscalReceipt::FamilyBalancesOfAccountPayment() {
  const AccountPayment credit = FirstPaymentWith(s_, "IDTIPORECE", "9");
  if (!credit.found) return {};
  ReadFamilyBalances(credit.client, credit.consumer);
  return fiscal::PacketOf(&cdsConsultaSaldo);
}

}  // namespace recebimento::screen
