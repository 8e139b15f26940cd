// The consumer's running balances: the debit account's movements (MOVICLIE) booked with
// their balances, and the family balances (SALDOCONS) re-evaluated from the statement
// (EXTRATOCONS). Both work from a date on, in one transaction that holds the consumer,
// so that registers booking the same consumer at the same moment follow one another:
// the second reads every movement the first committed. Run again, they change nothing.
#include <cmath>
#include <cstdint>
#include <optional>

#include "base/text.h"
#include "datamodule/catalogue_support.h"
#include "datamodule/trdm_recebimento.h"

namespace recebimento::datamodule {

namespace {

using base::FieldType;
using base::Variant;

#define CONSUMER_ROW "FROM CONSUMIDOR WHERE CDCLIENTE = :P_CDCLIENTE AND CDCONSUMIDOR = :P_CDCONSUMIDOR"

// Holds the consumer's row until the transaction ends. SQLite needs no row lock: the
// transaction took the store's write lock when it began.
const Statement adqPrendeConsumidor{"adqPrendeConsumidor",
                                    "SELECT CDCONSUMIDOR " CONSUMER_ROW,
                                    {{DatabaseKind::PostgreSQL, "SELECT CDCONSUMIDOR " CONSUMER_ROW " FOR UPDATE"},
                                     {DatabaseKind::Oracle, "SELECT CDCONSUMIDOR " CONSUMER_ROW " FOR UPDATE"},
                                     {DatabaseKind::MSSQL,
                                      "SELECT CDCONSUMIDOR FROM CONSUMIDOR WITH (UPDLOCK, ROWLOCK) "
                                      "WHERE CDCLIENTE = :P_CDCLIENTE AND CDCONSUMIDOR = :P_CDCONSUMIDOR"}}};

// ---- Debit account -------------------------------------------------------------------

#define DEBIT_OF_CONSUMER "FROM MOVICLIE WHERE CDCLIENTE = :P_CDCLIENTE AND CDCONSUMIDOR = :P_CDCONSUMIDOR "

const Statement adqSaldoAnteriorCons{"adqSaldoAnteriorCons",
                                     "SELECT VRSALDOCONS " DEBIT_OF_CONSUMER
                                     "AND DTMOVIMCLIE < :P_DATA ORDER BY DTMOVIMCLIE DESC, NRSEQMOVCLIE DESC LIMIT 1",
                                     {},
                                     {{"VRSALDOCONS", FieldType::Float}}};

const Statement adqMoviclieDesde{"adqMoviclieDesde",
                                 "SELECT NRSEQMOVCLIE, DTMOVIMCLIE, IDTIPMOCVLI, VRMOVCLI, VRSALDOCONS, DTMOVCLI, "
                                 "CDFILIAL, CDOPERADOR " DEBIT_OF_CONSUMER
                                 "AND DTMOVIMCLIE >= :P_DATA ORDER BY DTMOVIMCLIE, NRSEQMOVCLIE",
                                 {},
                                 {{"NRSEQMOVCLIE", FieldType::Integer}}};

const Statement acmAtuSaldoMoviclie{"acmAtuSaldoMoviclie",
                                    "UPDATE MOVICLIE SET VRSALDOCONS = :VRSALDOCONS, DTMOVCLI = :DTMOVCLI, "
                                    "CDFILIAL = :CDFILIAL, CDOPERADOR = :CDOPERADOR "
                                    "WHERE CDCLIENTE = :CDCLIENTE AND NRSEQMOVCLIE = :NRSEQMOVCLIE"};

// ---- Family balances -----------------------------------------------------------------

const Statement adqFamiliaSaldo{
    "adqFamiliaSaldo", "SELECT CDFAMILISALD FROM FAMSALDOFILI WHERE CDFILIAL = :P_CDFILIAL ORDER BY CDFAMILISALD"};

#define STATEMENT_OF_FAMILY                                                                 \
  "FROM EXTRATOCONS WHERE CDCLIENTE = :P_CDCLIENTE AND CDCONSUMIDOR = :P_CDCONSUMIDOR AND " \
  "CDFAMILISALD = :P_CDFAMILISALD "

const Statement adqExtratoAnterior{
    "adqExtratoAnterior",
    "SELECT VRSALDCONEXT " STATEMENT_OF_FAMILY
    "AND DTMOVEXTCONS < :P_DTINIEVOLUCAO ORDER BY DTMOVEXTCONS DESC, NRSEQMOVEXT DESC LIMIT 1",
    {},
    {{"VRSALDCONEXT", FieldType::Float}}};

const Statement adqExtratoDesde{
    "adqExtratoDesde", "SELECT DTMOVEXTCONS, NRSEQMOVEXT, IDTPMOVEXT, VRMOVEXTCONS, VRSALDCONEXT " STATEMENT_OF_FAMILY
                       "AND DTMOVEXTCONS >= :P_DTINIEVOLUCAO ORDER BY DTMOVEXTCONS, NRSEQMOVEXT"};

const Statement acmAtuSaldoExtrato{"acmAtuSaldoExtrato",
                                   "UPDATE EXTRATOCONS SET VRSALDCONEXT = :VRSALDCONEXT WHERE CDCLIENTE = :CDCLIENTE "
                                   "AND CDCONSUMIDOR = :CDCONSUMIDOR AND CDFAMILISALD = :CDFAMILISALD "
                                   "AND DTMOVEXTCONS = :DTMOVEXTCONS AND NRSEQMOVEXT = :NRSEQMOVEXT"};

const Statement acmAtuSaldoCons{"acmAtuSaldoCons",
                                "UPDATE SALDOCONS SET VRSALDCONFAM = :VRSALDCONFAM WHERE CDCLIENTE = :CDCLIENTE "
                                "AND CDCONSUMIDOR = :CDCONSUMIDOR AND CDFAMILISALD = :CDFAMILISALD"};

const Statement acmInsSaldoCons{"acmInsSaldoCons",
                                "INSERT INTO SALDOCONS (CDCLIENTE, CDCONSUMIDOR, CDFAMILISALD, VRSALDCONFAM) "
                                "VALUES (:CDCLIENTE, :CDCONSUMIDOR, :CDFAMILISALD, :VRSALDCONFAM)"};

// Amounts are NUMERIC(18,4) in the store: running sums are kept in ten-thousandths so
// that no fraction of a cent drifts however long the statement.
int64_t Units(const Variant& amount) { return std::llround(amount.AsFloat() * 10000.0); }
double Amount(int64_t units) { return static_cast<double>(units) / 10000.0; }

int Column(const base::DataPacket& p, const char* name) {
  const int i = p.FieldIndex(name);
  if (i < 0) throw DatabaseError(std::string("the result has no column ") + name);
  return i;
}

// The opening balance of a re-evaluation: the running balance of the last movement
// before the start, 0 without one. A last movement whose balance was never worked out
// cannot open anything: nullopt asks for the whole history.
std::optional<int64_t> OpeningBalance(const base::DataPacket& before, const char* column) {
  if (before.rows.empty()) return 0;
  const Variant v = FirstValue(before, column);
  if (v.IsEmptyOrNull()) return std::nullopt;
  return Units(v);
}

// Far enough back for any movement a store holds.
const base::DateTime kBeginning = base::DateTime::FromYMD(1900, 1, 1);

void HoldConsumer(StoreConnection& c, const std::string& cdcliente, const std::string& cdconsumidor) {
  c.Query(adqPrendeConsumidor, {{"P_CDCLIENTE", cdcliente}, {"P_CDCONSUMIDOR", cdconsumidor}});
}

}  // namespace

void TrdmRecebimento::setAtualizaDebCons(const std::string& cdfilial, const std::string& cdcliente,
                                         const std::string& cdconsumidor, const base::DateTime& data,
                                         const std::string& cdoperador) {
  StoreConnection& c = adcRecebimento();
  InOwnTransaction(c, [&] {
    HoldConsumer(c, cdcliente, cdconsumidor);
    const Params keys = {{"P_CDCLIENTE", cdcliente}, {"P_CDCONSUMIDOR", cdconsumidor}};
    auto with_date = [&](const base::DateTime& from) {
      Params p = keys;
      p.emplace_back("P_DATA", from);
      return p;
    };
    base::DateTime from = data;
    std::optional<int64_t> balance = OpeningBalance(c.Query(adqSaldoAnteriorCons, with_date(from)), "VRSALDOCONS");
    if (!balance) {
      from = kBeginning;
      balance = 0;
    }
    const base::DataPacket rows = c.Query(adqMoviclieDesde, with_date(from));
    const int seq = Column(rows, "NRSEQMOVCLIE"), when = Column(rows, "DTMOVIMCLIE"),
              kind = Column(rows, "IDTIPMOCVLI"), value = Column(rows, "VRMOVCLI"),
              stored = Column(rows, "VRSALDOCONS"), booked = Column(rows, "DTMOVCLI"),
              branch = Column(rows, "CDFILIAL"), op = Column(rows, "CDOPERADOR");
    for (const auto& r : rows.rows) {
      const std::string k = base::Trim(r[kind].AsString());
      if (k == "C") *balance += Units(r[value]);
      if (k == "D") *balance -= Units(r[value]);
      const bool pending = r[booked].IsEmptyOrNull();
      if (!pending && !r[stored].IsEmptyOrNull() && Units(r[stored]) == *balance) continue;
      // A movement keeps who booked it and when; a pending one is booked now.
      const Variant booking = pending ? Variant(r[when].AsDateTime().Date()) : r[booked];
      const Variant by_branch = r[branch].IsEmptyOrNull() ? Variant(cdfilial) : r[branch];
      const Variant by_operator = r[op].IsEmptyOrNull() ? Variant(cdoperador) : r[op];
      c.Execute(acmAtuSaldoMoviclie, {{"VRSALDOCONS", Amount(*balance)},
                                      {"DTMOVCLI", booking},
                                      {"CDFILIAL", by_branch},
                                      {"CDOPERADOR", by_operator},
                                      {"CDCLIENTE", cdcliente},
                                      {"NRSEQMOVCLIE", r[seq]}});
    }
  });
}

void TrdmRecebimento::EvoluiSaldo(const std::string& cdfilial, const std::string& cdcliente,
                                  const std::string& cdconsumidor, const base::DateTime& inicio) {
  StoreConnection& c = adcRecebimento();
  InOwnTransaction(c, [&] {
    HoldConsumer(c, cdcliente, cdconsumidor);
    const base::DataPacket families = c.Query(adqFamiliaSaldo, {{"P_CDFILIAL", cdfilial}});
    const int family_column = Column(families, "CDFAMILISALD");
    for (const auto& family_row : families.rows) {
      const std::string family = family_row[family_column].AsString();
      auto keys = [&](const base::DateTime& from) -> Params {
        return {{"P_CDCLIENTE", cdcliente},
                {"P_CDCONSUMIDOR", cdconsumidor},
                {"P_CDFAMILISALD", family},
                {"P_DTINIEVOLUCAO", from}};
      };
      base::DateTime from = inicio;
      const base::DataPacket before = c.Query(adqExtratoAnterior, keys(from));
      std::optional<int64_t> balance = OpeningBalance(before, "VRSALDCONEXT");
      if (!balance) {
        from = kBeginning;
        balance = 0;
      }
      const base::DataPacket rows = c.Query(adqExtratoDesde, keys(from));
      // A family without a statement keeps the balance it was given.
      if (before.rows.empty() && rows.rows.empty()) continue;
      const int when = Column(rows, "DTMOVEXTCONS"), seq = Column(rows, "NRSEQMOVEXT"),
                kind = Column(rows, "IDTPMOVEXT"), value = Column(rows, "VRMOVEXTCONS"),
                stored = Column(rows, "VRSALDCONEXT");
      for (const auto& r : rows.rows) {
        const std::string k = base::Trim(r[kind].AsString());
        // Credits load the family; sales and debits (a loan to another family) spend it.
        if (k == "C") *balance += Units(r[value]);
        if (k == "V" || k == "D") *balance -= Units(r[value]);
        if (!r[stored].IsEmptyOrNull() && Units(r[stored]) == *balance) continue;
        c.Execute(acmAtuSaldoExtrato, {{"VRSALDCONEXT", Amount(*balance)},
                                       {"CDCLIENTE", cdcliente},
                                       {"CDCONSUMIDOR", cdconsumidor},
                                       {"CDFAMILISALD", family},
                                       {"DTMOVEXTCONS", r[when]},
                                       {"NRSEQMOVEXT", r[seq]}});
      }
      const Params saldo = {{"VRSALDCONFAM", Amount(*balance)},
                            {"CDCLIENTE", cdcliente},
                            {"CDCONSUMIDOR", cdconsumidor},
                            {"CDFAMILISALD", family}};
      if (c.Execute(acmAtuSaldoCons, saldo) == 0) c.Execute(acmInsSaldoCons, saldo);
    }
  });
}

}  // namespace recebimento::datamodule
