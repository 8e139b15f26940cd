// The store's check of a personal-credit sale: what the sale draws from each balance
// family against the family's balance and daily cap, and the loan between families that
// covers a family's shortfall from an earlier one. The loan is only proposed: its
// movements come back for the sale to book with itself.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "datamodule/catalogue_support.h"
#include "datamodule/trdm_recebimento.h"
#include "host/runtime/format.h"
#include "host/runtime/numbers.h"
#include "host/runtime/strings.h"

namespace recebimento::datamodule {

namespace {

using base::DataPacket;
using base::FieldType;
using base::Variant;

#define OF_CONSUMER "CDCLIENTE = :P_CDCLIENTE AND CDCONSUMIDOR = :P_CDCONSUMIDOR"
#define OF_TODAY "DTMOVEXTCONS >= :P_HOJE AND DTMOVEXTCONS < :P_AMANHA"

const Statement adqConsumidor{
    "adqConsumidor",
    "SELECT CDCLIENTE, CDCONSUMIDOR, NMCONSUMIDOR, IDVERSALDCON, VRMAXCREDCONS, VRLIMCREDCONS "
    "FROM CONSUMIDOR WHERE " OF_CONSUMER " AND IDSITCONSUMI = '1'"};

const Statement adqSaldoCons{"adqSaldoCons", "SELECT CDFAMILISALD, VRSALDCONFAM FROM SALDOCONS WHERE " OF_CONSUMER};

const Statement adqSaldNegRal{"adqSaldNegRal",
                              "SELECT CDFAMILISALD, VRCONSDIARAL, IDSALDNEGRAL FROM RALIMENT "
                              "WHERE CDFILIAL = :P_CDFILIAL AND " OF_CONSUMER};

const Statement adqSaldNegFam{
    "adqSaldNegFam",
    "SELECT FF.CDFAMILISALD, F.NMFAMILISALD, FF.NRORDAPRSALD, FF.VRCONSDIAFAM, FF.IDSALDNEGFAM "
    "FROM FAMSALDOFILI FF JOIN FAMILIASALDO F ON F.CDFAMILISALD = FF.CDFAMILISALD "
    "WHERE FF.CDFILIAL = :P_CDFILIAL"};

// Today's spending per family: the sales, less the credits that came from no deposit
// (what a loan gave back to the family the same day).
const Statement adqVrTotVend{"adqVrTotVend",
                             "SELECT CDFAMILISALD, SUM(CASE WHEN IDTPMOVEXT = 'V' THEN VRMOVEXTCONS "
                             "WHEN IDTPMOVEXT = 'C' AND COALESCE(NRDEPOSICONS, '') = '' THEN -VRMOVEXTCONS "
                             "ELSE 0 END) AS SOMA FROM EXTRATOCONS WHERE " OF_CONSUMER " AND " OF_TODAY
                             " GROUP BY CDFAMILISALD",
                             {},
                             {{"SOMA", FieldType::Float}}};

const Statement adqTipoRece{"adqTipoRece",
                            "SELECT CDTIPORECE FROM TIPORECE WHERE IDTIPORECE = :P_IDTIPORECE ORDER BY CDTIPORECE"};

const Statement qrySeqMovExtr{"qrySeqMovExtr",
                              "SELECT MAX(NRSEQMOVEXT) AS NRSEQMOVEXT FROM EXTRATOCONS WHERE " OF_CONSUMER
                              " AND CDFAMILISALD = :P_CDFAMILISALD AND " OF_TODAY,
                              {},
                              {{"NRSEQMOVEXT", FieldType::String}}};

// The data module's own message when the online statement service does not answer.
const char* const kFalhaConexaoSrv =
    "Atenção! Não foi possível estabelecer uma conexão com o servidor. Tente novamente.";
const char* const kCentralError = "EXTCONSCENTRAL_ERRO";
const char* const kSeparator = "@@";

// The loan movements, as the sale books them in the statement.
DataPacket EmptyLoans() {
  DataPacket p;
  p.fields = {{"CDCLIENTE", FieldType::String, 16},   {"CDCONSUMIDOR", FieldType::String, 16},
              {"CDFAMILISALD", FieldType::String, 4}, {"DTMOVEXTCONS", FieldType::DateTime, 0},
              {"NRSEQMOVEXT", FieldType::String, 3},  {"CDTIPORECE", FieldType::String, 3},
              {"IDTPMOVEXT", FieldType::String, 1},   {"DSOPEEXTCONS", FieldType::String, 60},
              {"VRMOVEXTCONS", FieldType::Float, 0},  {"VRSALDCONEXT", FieldType::Float, 0},
              {"CDFILIAL", FieldType::String, 4},     {"CDCAIXA", FieldType::String, 4},
              {"NRSEQVENDA", FieldType::String, 10},  {"DTABERCAIX", FieldType::DateTime, 0}};
  return p;
}

double Cents(double v) { return runtime::RoundDec(v, 2); }

// Numbers in the refusal texts as the registers write them (the shortest text, with the
// configured decimal separator).
std::string Num(double v) { return runtime::FormatFloat("", v); }

// A column of a packet row; Null when the packet lacks the column.
Variant At(const DataPacket& p, const std::vector<Variant>& row, const char* column) {
  const int i = p.FieldIndex(column);
  return i < 0 ? Variant::Null() : row[static_cast<size_t>(i)];
}

// A daily cap and the negative-balance flag of a family, from the consumer's own row or
// the branch's.
struct Rule {
  Variant cap;           // Null: no cap
  std::string negative;  // "S": the family may go below zero
};

struct FamilyOfBranch {
  std::string name;
  int64_t order = 0;
  Rule rule;
};

// One run of the check: what it read and what it lent so far.
class BalanceCheck {
 public:
  BalanceCheck(TrdmRecebimento& rdm, StoreConnection& c, const base::DateTime& now) : rdm_(rdm), c_(c), now_(now) {}

  std::string cdfilial, cdcaixa, cdcliente, cdconsumidor, online, url, central;
  base::DateTime dtabercaix;
  const ExtratoConsOnlineFn* online_fn = nullptr;
  const ExtratoConsCentralFn* central_fn = nullptr;

  DataPacket Run(const DataPacket& draws);

 private:
  Params Keys() const { return {{"P_CDCLIENTE", cdcliente}, {"P_CDCONSUMIDOR", cdconsumidor}}; }
  Params TodayKeys() const {
    Params p = Keys();
    p.emplace_back("P_HOJE", now_.Date());
    p.emplace_back("P_AMANHA", now_.Date().AddDays(1));
    return p;
  }
  // A packet from the online service or the central, or the error that says which failed.
  DataPacket Consult(const std::string& operation, const std::string& central_operation,
                     const std::vector<std::string>& online_codes, const std::string& family = "");
  void ReadBalances();
  void ReadRules();
  void ReadSpending();
  Rule RuleOf(const std::string& family) const;
  std::string NameOf(const std::string& family) const;
  double Balance(const std::string& family) const;
  double Spent(const std::string& family) const;
  // Raises ERRO_1 or ERRO_3 when `amount` more today breaks the family's cap.
  void CheckCap(const std::string& family, double amount) const;
  bool Lend(const std::string& family, double shortfall);
  std::string NextSequence(const std::string& family);
  void AddLoanRow(const std::string& family, const std::string& kind, const char* text, double amount, double balance,
                  const std::string& sequence);

  TrdmRecebimento& rdm_;
  StoreConnection& c_;
  base::DateTime now_;
  std::string consumer_checked_;  // IDVERSALDCON of the consumer
  Variant max_credit_, credit_floor_;
  std::map<std::string, double> balances_, spent_, drawn_, lent_, received_;
  std::map<std::string, Rule> own_rules_;
  std::map<std::string, FamilyOfBranch> families_;
  std::map<std::string, int> sequences_;  // the last sequence handed out per family today
  std::string internal_tender_;
  bool internal_tender_read_ = false;
  DataPacket loans_ = EmptyLoans();
};

DataPacket BalanceCheck::Consult(const std::string& operation, const std::string& central_operation,
                                 const std::vector<std::string>& online_codes, const std::string& family) {
  Variant answer = Variant::Array(1);
  if (online == "S") {
    if (!*online_fn || !(*online_fn)(operation, url, online_codes, now_, answer))
      throw ConsumerBalanceError(kFalhaConexaoSrv);
  } else {
    if (!*central_fn || !(*central_fn)(central_operation, {cdfilial, cdcliente, cdconsumidor, family}, answer))
      throw ConsumerBalanceError(kCentralError);
  }
  const Variant value = answer.IsArray() && answer.Size() > 0 ? answer[0] : answer;
  // An answer that carries no packet is no answer at all.
  if (!value.IsPacket()) throw ConsumerBalanceError(online == "S" ? kFalhaConexaoSrv : kCentralError);
  return value.AsPacket();
}

void BalanceCheck::ReadBalances() {
  const DataPacket p = online == "S" || central == "S"
                           ? Consult("CONSULTA_SALDO", "CONSULTA_SALDO_TODOS", {cdcliente, cdconsumidor, "", "T"})
                           : c_.Query(adqSaldoCons, Keys());
  for (const auto& row : p.rows)
    balances_[base::Trim(At(p, row, "CDFAMILISALD").AsString())] = At(p, row, "VRSALDCONFAM").AsFloat();
}

void BalanceCheck::ReadRules() {
  const DataPacket consumer = c_.Query(adqConsumidor, Keys());
  if (!consumer.rows.empty()) {
    consumer_checked_ = FirstValue(consumer, "IDVERSALDCON").AsString();
    max_credit_ = FirstValue(consumer, "VRMAXCREDCONS");
    credit_floor_ = FirstValue(consumer, "VRLIMCREDCONS");
  }
  Params branch = Keys();
  branch.emplace_back("P_CDFILIAL", cdfilial);
  const DataPacket own = c_.Query(adqSaldNegRal, branch);
  for (const auto& row : own.rows) {
    const std::string flag = At(own, row, "IDSALDNEGRAL").AsString();
    own_rules_[base::Trim(At(own, row, "CDFAMILISALD").AsString())] = {At(own, row, "VRCONSDIARAL"),
                                                                       flag.empty() ? "N" : flag};
  }
  const DataPacket fam = c_.Query(adqSaldNegFam, {{"P_CDFILIAL", cdfilial}});
  for (const auto& row : fam.rows) {
    const std::string flag = At(fam, row, "IDSALDNEGFAM").AsString();
    families_[base::Trim(At(fam, row, "CDFAMILISALD").AsString())] = {
        At(fam, row, "NMFAMILISALD").AsString(),
        At(fam, row, "NRORDAPRSALD").AsInteger(),
        {At(fam, row, "VRCONSDIAFAM"), flag.empty() ? "N" : flag}};
  }
}

void BalanceCheck::ReadSpending() {
  const DataPacket p = online == "S" || central == "S"
                           ? Consult("CONSULTA_CONSUMO_FAMILIA", "CONSULTA_CONSUMO_FAMILIA", {cdcliente, cdconsumidor})
                           : c_.Query(adqVrTotVend, TodayKeys());
  for (const auto& row : p.rows)
    spent_[base::Trim(At(p, row, "CDFAMILISALD").AsString())] = At(p, row, "SOMA").AsFloat();
}

Rule BalanceCheck::RuleOf(const std::string& family) const {
  // The consumer's own row for the family decides; without one, the branch's.
  if (auto own = own_rules_.find(family); own != own_rules_.end()) return own->second;
  auto fam = families_.find(family);
  return fam == families_.end() ? Rule{Variant::Null(), "N"} : fam->second.rule;
}

std::string BalanceCheck::NameOf(const std::string& family) const {
  auto fam = families_.find(family);
  return family + " - " + (fam == families_.end() ? std::string() : fam->second.name);
}

double BalanceCheck::Balance(const std::string& family) const {
  auto it = balances_.find(family);
  return it == balances_.end() ? 0 : it->second;
}

double BalanceCheck::Spent(const std::string& family) const {
  auto it = spent_.find(family);
  return it == spent_.end() || it->second <= 0 ? 0 : it->second;
}

void BalanceCheck::CheckCap(const std::string& family, double amount) const {
  const Variant cap = RuleOf(family).cap;
  if (cap.IsEmptyOrNull()) return;
  const double limit = cap.AsFloat();
  // A cap of zero: the family may not be spent at all.
  if (Cents(limit) <= 0) throw ConsumerBalanceError("ERRO_3 " + NameOf(family));
  const double today = Spent(family);
  if (Cents(amount + today) > Cents(limit))
    throw ConsumerBalanceError("ERRO_1 " + NameOf(family) + kSeparator + Num(limit) + "==" + Num(today) + kSeparator +
                               Num(amount));
}

std::string BalanceCheck::NextSequence(const std::string& family) {
  int next = 1;
  if (central == "S" && online != "S") {
    Variant answer = Variant::Array(1);
    if (!*central_fn || !(*central_fn)("SEQUENCIAL_EXTRATO", {cdfilial, cdcliente, cdconsumidor, family}, answer))
      throw ConsumerBalanceError(kCentralError);
    const Variant value = answer.IsArray() && answer.Size() > 0 ? answer[0] : answer;
    next = static_cast<int>(value.AsInteger());
  } else {
    Params p = TodayKeys();
    p.emplace_back("P_CDFAMILISALD", family);
    const Variant last = FirstValue(c_.Query(qrySeqMovExtr, p), "NRSEQMOVEXT");
    next = last.IsEmptyOrNull() || base::Trim(last.AsString()).empty() ? 1 : static_cast<int>(last.AsInteger()) + 1;
  }
  // Two loans of one family in the same call must not share a statement key.
  auto it = sequences_.find(family);
  if (it != sequences_.end() && next <= it->second) next = it->second + 1;
  sequences_[family] = next;
  return runtime::AjustaZero(std::to_string(next), 3);
}

void BalanceCheck::AddLoanRow(const std::string& family, const std::string& kind, const char* text, double amount,
                              double balance, const std::string& sequence) {
  loans_.rows.push_back({Variant(cdcliente), Variant(cdconsumidor), Variant(family), Variant(now_), Variant(sequence),
                         Variant(internal_tender_), Variant(kind), Variant(std::string(text)), Variant(Cents(amount)),
                         Variant(Cents(balance)), Variant(cdfilial), Variant(cdcaixa), Variant::Null(),
                         Variant(dtabercaix)});
}

bool BalanceCheck::Lend(const std::string& family, double shortfall) {
  DataPacket earlier;
  if (online == "S") {
    earlier = Consult("CONSULTA_ORDEM_FAMILIA", "CONSULTA_ORDEM_FAMILIA", {cdcliente, cdconsumidor, family}, family);
  } else {
    const Variant order = rdm_.getOrdemFamilia(cdfilial, family, cdcliente, cdconsumidor, central);
    if (!order.IsArray() || order.Size() < 2 || !order[1].IsPacket())
      throw ConsumerBalanceError(order.IsString() ? order.AsString() : kCentralError);
    earlier = order[1].AsPacket();
  }
  auto fam = families_.find(family);
  const int64_t own_order = fam == families_.end() ? 0 : fam->second.order;
  if (!internal_tender_read_) {
    internal_tender_ = FirstValue(c_.Query(adqTipoRece, {{"P_IDTIPORECE", std::string("D")}}), "CDTIPORECE").AsString();
    internal_tender_read_ = true;
  }

  // The nearest earlier family first.
  for (auto row = earlier.rows.rbegin(); row != earlier.rows.rend(); ++row) {
    const std::string lender = base::Trim(At(earlier, *row, "CDFAMILISALD").AsString());
    if (lender == family || At(earlier, *row, "NRORDAPRSALD").AsInteger() >= own_order) continue;
    const double balance = balances_.count(lender) ? Balance(lender) : At(earlier, *row, "VRSALDCONFAM").AsFloat();
    const double can_lend = balance - drawn_[lender] - lent_[lender];
    const bool may_go_negative = base::Trim(At(earlier, *row, "IDSALDNEGFAM").AsString()) == "S";
    if (Cents(can_lend) < Cents(shortfall) && !may_go_negative) continue;

    CheckCap(lender, shortfall);
    if (consumer_checked_ == "S") {
      const double today = Spent(lender);
      if (!max_credit_.IsEmptyOrNull() && Cents(today + shortfall) > Cents(max_credit_.AsFloat()))
        throw ConsumerBalanceError("ERRO_4 " + NameOf(lender) + kSeparator + Num(max_credit_.AsFloat()) +
                                   "==" + Num(today) + kSeparator + Num(shortfall));
      if (!credit_floor_.IsEmptyOrNull() && Cents(can_lend - shortfall) < Cents(credit_floor_.AsFloat()))
        throw ConsumerBalanceError("ERRO_5 " + NameOf(lender) + kSeparator + Num(credit_floor_.AsFloat()) +
                                   "==" + Num(today) + kSeparator + Num(shortfall));
    }

    lent_[lender] += shortfall;
    received_[family] += shortfall;
    AddLoanRow(lender, "D", "ZEM - Debito Oper.Interna", shortfall, balance - lent_[lender], NextSequence(lender));
    AddLoanRow(family, "C", "ZEM - Credito Oper.Interna", shortfall, Balance(family) + received_[family],
               NextSequence(family));
    return true;
  }
  return false;
}

DataPacket BalanceCheck::Run(const DataPacket& draws) {
  ReadBalances();
  ReadRules();
  ReadSpending();
  // What the sale draws from each family, lenders included.
  std::vector<std::pair<std::string, double>> order;
  for (const auto& row : draws.rows) {
    const std::string family = base::Trim(At(draws, row, "CDFAMILISALD").AsString());
    const double amount = At(draws, row, "VRSALDCONFAM").AsFloat();
    drawn_[family] += amount;
    order.emplace_back(family, amount);
  }
  for (const auto& [family, amount] : order) {
    CheckCap(family, amount);
    if (RuleOf(family).negative != "N") continue;
    const double balance = Balance(family);
    if (Cents(amount) <= Cents(balance)) continue;
    const double shortfall = balance > 0 ? amount - balance : amount;
    if (!Lend(family, Cents(shortfall))) throw ConsumerBalanceError("ERRO_2" + NameOf(family));
  }
  return loans_;
}

}  // namespace

Variant TrdmRecebimento::setValidaSaldoCons(const std::string& cdfilial, const std::string& cdcaixa,
                                            const std::string& cdcliente, const std::string& cdconsumidor,
                                            const std::string& idextconsonline, const std::string& cdurlwsextcons,
                                            const std::string& idextconscentral, const Variant& familias,
                                            const base::DateTime& dtabercaix) {
  BalanceCheck check(*this, adcRecebimento(), Now());
  check.cdfilial = cdfilial;
  check.cdcaixa = cdcaixa;
  check.cdcliente = cdcliente;
  check.cdconsumidor = cdconsumidor;
  check.online = idextconsonline;
  check.url = cdurlwsextcons;
  check.central = idextconscentral;
  check.dtabercaix = dtabercaix;
  check.online_fn = &extrato_cons_online_;
  check.central_fn = &extrato_cons_central_;
  const DataPacket draws = familias.IsPacket() ? familias.AsPacket() : DataPacket{};
  try {
    return Variant(check.Run(draws));
  } catch (const ConsumerBalanceError&) {
    throw;
  } catch (const std::exception& e) {
    throw ConsumerBalanceError(ErrorText(e));
  }
}

}  // namespace recebimento::datamodule
