// What the store records for the consumer: its check of a personal-credit payment (with
// the loans between families the sale then carries back to the host) and the consumer's
// CPF kept at the confirmation.
#include <string>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/documents.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/result_check.h"
#include "screen/consumer/consumer_account.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

namespace {

using base::Variant;

const std::string kSeparator = "@@";

// The parts of a coded refusal "ERRO_n <family>@@<limit>==<spent>@@<amount>".
struct CodedRefusal {
  std::string family;
  double limit = 0, spent = 0, amount = 0;
};

double Number(const std::string& text) {
  try {
    return Variant(base::Trim(text)).AsFloat();
  } catch (const std::exception&) {
    return 0;
  }
}

CodedRefusal Parse(const std::string& answer) {
  CodedRefusal r;
  const std::string rest = answer.size() > 6 ? answer.substr(6) : std::string();
  const size_t first = rest.find(kSeparator);
  r.family = base::Trim(rest.substr(0, first));
  if (first == std::string::npos) return r;
  const std::string figures = rest.substr(first + kSeparator.size());
  const size_t equals = figures.find("==");
  const size_t second = figures.find(kSeparator, equals == std::string::npos ? 0 : equals);
  r.limit = Number(figures.substr(0, equals));
  if (equals != std::string::npos)
    r.spent = Number(figures.substr(equals + 2, second == std::string::npos ? std::string::npos : second - equals - 2));
  if (second != std::string::npos) r.amount = Number(figures.substr(second + kSeparator.size()));
  return r;
}

std::string Money(double v) { return runtime::FormatFloat("0.00", v); }

}  // namespace

std::string ConsumerAccount::RefusalText(const std::string& answer) const {
  const std::string code = answer.substr(0, 6);
  if (code == "ERRO_1") {
    const CodedRefusal r = Parse(answer);
    return Msg("CONS_DIA") + r.family + Msg("QUE_E") + Money(r.limit) + Msg("GAST_TOT") + Money(r.spent) +
           Msg("LIMIT_FINAL") + Money(r.limit - r.spent);
  }
  if (code == "ERRO_2") return Msg("INF_SALDO");
  if (code == "ERRO_3") return Msg("Ope_Res_Vend");
  if (code == "ERRO_4") return Msg("CONS_DIA_CONS");
  if (code == "ERRO_5") return Msg("VAL_CONS_LIM") + " " + Parse(answer).family + ".";
  if (answer == "EXTCONSCENTRAL_ERRO") return Msg(answer);
  return answer;
}

bool ConsumerAccount::ValidateOnStore() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  Variant loans;
  try {
    loans = s_.ctx.rdm.setValidaSaldoCons(par.stCDFILIAL, par.stCDCAIXA, sale.charged.client, sale.charged.consumer,
                                          par.stIDEXTCONSONLINE, par.stCDURLWSEXTCONS, par.stIDEXTCONSCENTRAL,
                                          Variant(FamilyList().Data()), par.dtDTABERCAIX);
  } catch (const std::exception& e) {
    RefuseWith(RefusalText(e.what()));
    return false;
  }
  if (!loans.IsPacket()) return true;
  // The loans go back to the host with the sale, which books them with it: each movement
  // with the family on the other side of the loan.
  const base::DataPacket& p = loans.AsPacket();
  base::Dataset& out = sale.cdsEmprestimoFam;
  if (!out.Active()) out.CreateDataSet();
  for (size_t i = 0; i < p.rows.size(); ++i) {
    const auto& row = p.rows[i];
    const size_t other = i % 2 == 0 ? i + 1 : i - 1;
    out.Append();
    for (size_t f = 0; f < p.fields.size(); ++f) base::SetColumn(out, p.fields[f].name, row[f]);
    if (other < p.rows.size())
      base::SetColumn(out, "CDFAMILISALDEMP", Variant(base::ColumnText(p, p.rows[other], "CDFAMILISALD")));
    base::SetColumn(out, "VREMPRESTIMO", Variant(Variant(base::ColumnText(p, row, "VRMOVEXTCONS")).AsFloat()));
    out.Post();
  }
  return true;
}

void ConsumerAccount::UpdateStatement(double amount) {
  const ChargedConsumer& who = s_.sale.charged;
  s_.ctx.host.consumers->AtuSaldoExtCons(s_.par.stCDFILIAL, who.client, who.consumer, amount);
  try {
    EvolveFamilyBalances();
  } catch (const ConsumerAccountError& e) {
    if (*e.what()) s_.ShowMessage(e.what(), runtime::kMsgWarning);
  }
}

void ConsumerAccount::WriteConsumerRecord() {
  SaleState& sale = s_.sale;
  std::string client = sale.stCdClienteCons, consumer = sale.stCdConsumidorCons;
  if (consumer.empty()) {
    client = sale.charged.client;
    consumer = sale.charged.consumer;
  }
  const std::string cpf = runtime::DocumentDigits(sale.stNrDocConsCupom);
  if (client.empty() || consumer.empty() || cpf.empty()) return;
  base::Dataset& record = sale.cdsConsumidor;
  const bool loaded = record.Active() && !record.IsEmpty() && base::ColumnTrimmed(record, "CDCLIENTE") == client &&
                      base::ColumnTrimmed(record, "CDCONSUMIDOR") == consumer;
  if (!loaded) {
    const Variant r = s_.ctx.rdm.getConsumidor(client, consumer, s_.par.stCDFILIAL);
    if (!runtime::IsResultPacket(r)) return;
    record.SetData(r);
    if (!record.Active() || record.IsEmpty()) return;
  }
  auto col = [&](const char* name) { return base::ColumnText(record, name); };
  const Variant result = s_.ctx.rdm.setGravaConsumidor(client, consumer, col("NMCONSUMIDOR"), col("CDIDCONSUMID"),
                                                       col("CDCCUSCLIE"), col("CDTIPOCONS"), col("NRRGCONSUMID"),
                                                       col("NRTELEFCONS"), col("NRTELEF2CONS"), "ZEM", "2", cpf);
  if (result.IsString()) s_.CheckResult(result, "setGravaConsumidor", client + "-" + consumer);
}

}  // namespace recebimento::screen
