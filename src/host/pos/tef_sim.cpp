#include "host/pos/tef_sim.h"

#include <algorithm>
#include <filesystem>

#include <fmt/format.h>

#include "base/dataset.h"

namespace recebimento::pos {

using base::Variant;

SimulatedTef::SimulatedTef(TefConfig config, HostRecord& record, const base::Clock& clock, TefExchangeFolder& files)
    : config_(std::move(config)), record_(record), clock_(clock), files_(files) {}

TefOutcome SimulatedTef::Next() {
  ++sequence_;
  if (config_.outcomes.empty()) return TefOutcome{};
  TefOutcome o = config_.outcomes.front();
  if (config_.outcomes.size() > 1) config_.outcomes.pop_front();
  return o;
}

std::string SimulatedTef::Generated(const std::string& given, const char* prefix) const {
  return given.empty() ? fmt::format("{}{:06d}", prefix, sequence_) : given;
}

void SimulatedTef::Work(int seconds) {
  if (!pump_ || seconds <= 0) return;
  base::Clock& clock = pump_->GetClock();
  const int64_t until = clock.TickMs() + int64_t{seconds} * 1000;
  pump_->RunUntil([&] { return clock.TickMs() >= until; }, "card terminal");
}

namespace {

// A host NSU written "-" in the script stands for an empty one: some terminals answer so.
std::string HostNsu(const std::string& scripted, const std::string& generated) {
  return scripted == "-" ? std::string() : generated;
}

}  // namespace

std::vector<std::string> SimulatedTef::Receipt(const TefOutcome& o, double amount, const std::string& host_nsu) const {
  return {"COMPROVANTE TEF", fmt::format("CARTAO {}******", o.bin), fmt::format("VALOR {:.2f}", amount),
          "NSU HOST " + host_nsu, "AUT " + Generated(o.authorization, "A")};
}

bool SimulatedTef::DoTef(const std::string& stIDESQUEMA, const std::string& letter,
                         std::vector<std::string>& stlRetorno, double amount, double doVrAPagar, int& inCtrlCupomTef,
                         int& inQtdeTef, TefApproval& approval) {
  record_.Call("DoTef", {Variant(stIDESQUEMA), Variant(letter), Variant(amount), Variant(doVrAPagar),
                         Variant(inCtrlCupomTef), Variant(inQtdeTef)});
  const TefOutcome o = Next();
  Work(o.seconds);
  if (!o.approved) {
    ++declined_;
    stlRetorno.push_back(fmt::format("TRANSACAO NEGADA ({})", o.result_code));
    return false;
  }
  ++approved_;
  approval.discount = o.discount;
  approval.host_nsu = HostNsu(o.host_nsu, Generated(o.host_nsu, ""));
  approval.brand_code = o.brand_code;
  approval.authorization = Generated(o.authorization, "A");
  approval.control = Generated(o.control, "C");
  for (const auto& l : Receipt(o, amount - o.discount, approval.host_nsu)) stlRetorno.push_back(l);
  ++inQtdeTef;
  ++inCtrlCupomTef;
  last_answer_ = files_.WriteUnconfirmed(approval.host_nsu, amount - o.discount, o.brand_code);
  return true;
}

void SimulatedTef::RememberLastTransaction(const std::string& host_nsu) {
  if (config_.last_transactions_file.empty()) return;
  base::Dataset ult("cdsUltTef");
  if (std::filesystem::exists(config_.last_transactions_file)) {
    ult.LoadFromFile(config_.last_transactions_file);
  } else {
    ult.AddField("NrCupomTef", base::FieldType::String, 10);
    ult.AddField("dataTef", base::FieldType::String, 8);
    ult.AddField("hrTef", base::FieldType::String, 6);
    ult.AddField("NsuHost", base::FieldType::String, 15);
    ult.AddField("IdSituVenda", base::FieldType::String, 1);
    ult.AddField("CDTIPORECE", base::FieldType::String, 3);
    ult.CreateDataSet();
  }
  const auto now = clock_.Now();
  ult.Append();
  ult.FieldByName("NrCupomTef").SetAsString(fmt::format("{:010d}", sequence_));
  ult.FieldByName("dataTef").SetAsString(now.Format("yyyymmdd"));
  ult.FieldByName("hrTef").SetAsString(now.Format("hhnnss"));
  ult.FieldByName("NsuHost").SetAsString(host_nsu);
  ult.FieldByName("IdSituVenda").SetAsString("P");
  ult.Post();
  ult.SaveToFile(config_.last_transactions_file);
}

bool SimulatedTef::CriaDedicado(const DedicatedTefRequest& r, double& amount, double& change,
                                DedicatedTefResult& result) {
  record_.Call("CriaDedicado", {Variant(r.function_list), Variant(r.operation), Variant(r.stIDTPTEF), Variant(amount),
                                Variant(r.doVrTotal), Variant(r.stNrComandaCurto), Variant(r.date), Variant(r.time),
                                Variant(r.IDSOLIQTPARC), Variant(r.installments)});
  const TefOutcome o = Next();
  Work(o.seconds);
  result = DedicatedTefResult{};
  result.result_code = o.result_code;
  if (!o.approved) {
    ++declined_;
    result.stlRetorno.push_back(fmt::format("TRANSACAO NEGADA ({})", o.result_code));
    return false;
  }
  ++approved_;
  result.host_nsu = HostNsu(o.host_nsu, Generated(o.host_nsu, ""));
  result.nsu = Generated(o.nsu, "");
  result.control = Generated(o.control, "C");
  result.authorization = Generated(o.authorization, "A");
  result.bin = o.bin;
  result.brand_code = o.brand_code;
  result.brand_name = o.brand_name;
  result.installments = o.installments > 0 ? o.installments : r.installments;
  result.wallet_text = o.wallet_text;
  result.institution = o.institution;
  result.discount = o.discount;
  result.reduced_receipt = o.reduced_receipt;
  result.stlRetorno = Receipt(o, amount - o.discount, result.host_nsu);
  variables_.stlPriVia = result.stlRetorno;
  if (o.change > 0) change += o.change;
  last_answer_ = files_.WriteUnconfirmed(result.host_nsu, amount - o.discount, o.brand_code);
  RememberLastTransaction(result.host_nsu);
  return true;
}

bool SimulatedTef::FinalizaTransTef(bool confirm) {
  record_.Call("FinalizaTransTef", {Variant(confirm)});
  if (!config_.finalize_ok) return false;
  // Confirming takes every transaction of the sale; undoing takes back the last one.
  if (confirm)
    files_.ConfirmAll();
  else if (!last_answer_.empty())
    files_.CancelOne(last_answer_);
  last_answer_.clear();
  return true;
}

bool SimulatedTef::CancelaTefDed(const std::string& ip, const std::string& store, const std::string& terminal,
                                 base::Dataset& last, const std::string& stCDFILIAL, const std::string& text1,
                                 const std::string& text2, const std::string& stIDTPTEF) {
  record_.Call("CancelaTefDed", {Variant(ip), Variant(store), Variant(terminal), Variant(last.RecordCount()),
                                 Variant(stCDFILIAL), Variant(text1), Variant(text2), Variant(stIDTPTEF)});
  if (!config_.cancel_ok) return false;
  const int cancelled = files_.CancelAll();
  record_.Print("tef", fmt::format("CANCELAMENTO TEF: {} TRANSACOES", std::max(cancelled, last.RecordCount())));
  return true;
}

bool SimulatedTef::ImprimeCupomTef(base::Dataset& last, const std::string& payment_form, int inIntTefErro,
                                   int payment_rows) {
  record_.Call("ImprimeCupomTef",
               {Variant(last.RecordCount()), Variant(payment_form), Variant(inIntTefErro), Variant(payment_rows)});
  for (const auto& l : variables_.stlPriVia) record_.Print("tef", l);
  files_.ConfirmAll();
  return true;
}

bool SimulatedTef::ImprimeComprovanteDotz(int inIDTIPOIMPFIS, const std::string& IDIMPRCUPTEFRED,
                                          const std::string& fiscal_flag, double vr_tef) {
  record_.Call("ImprimeComprovanteDotz",
               {Variant(inIDTIPOIMPFIS), Variant(IDIMPRCUPTEFRED), Variant(fiscal_flag), Variant(vr_tef)});
  record_.Print("tef", fmt::format("COMPROVANTE DOTZ {:.2f}", vr_tef));
  return true;
}

Variant SimulatedTef::DigitaCpfPinpad(const std::string& ip, const std::string& store, const std::string& terminal,
                                      const std::string& stIDTPTEF, const std::string& cnpj, bool flag) {
  record_.Call("DigitaCpfPinpad",
               {Variant(ip), Variant(store), Variant(terminal), Variant(stIDTPTEF), Variant(cnpj), Variant(flag)});
  if (config_.pinpad_answer.IsArray()) return config_.pinpad_answer;
  return Variant(std::vector<Variant>{Variant(0), Variant(0), Variant(std::string())});
}

}  // namespace recebimento::pos
