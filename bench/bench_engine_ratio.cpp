// The data module's query functions beside the same SQL run through the engine's own C
// API (sqlite3, libpq) in the same process, prepared once and read whole into memory.
// The module's text is taken from the SQLite connection as the function runs it, so
// both sides run the same statement. Each `<function>/<engine>` runs the two sides in
// turn, call after call, and reports the mean time of each (`module_us`, `raw_us`) and
// their ratio: a machine whose speed drifts during the run moves both alike.
#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <soci/soci.h>
// SOCI's SQLite backend holds the sqlite3 declarations in a namespace of its own.
#include <soci/sqlite3/soci-sqlite3.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <variant>
#include <vector>

#include "bench_support.h"
#include "datamodule/statement.h"
#include "datamodule/trdm_recebimento.h"

using namespace sqlite_api;

namespace {

using recebimento::datamodule::TrdmRecebimento;
using Cell = std::variant<std::monostate, long long, double, std::string>;

// Every parameter the functions below take, by name.
const std::map<std::string, std::string> kValues = {{"P_CDFILIAL", "0001"},     {"P_CDCLIENTE", "000001"},
                                                    {"P_CDCONSUMIDOR", "0001"}, {"P_CDFAMILISALD", "01"},
                                                    {"P_CDLOJA", "0001"},       {"P_CDCAIXA", "001"}};

struct Case {
  const char* name;
  std::function<void(TrdmRecebimento&)> call;
};

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"getConsumidor",
       [](TrdmRecebimento& r) { benchmark::DoNotOptimize(r.getConsumidor("000001", "0001", "0001")); }},
      {"getConsSaldFam",
       [](TrdmRecebimento& r) { benchmark::DoNotOptimize(r.getConsSaldFam("0001", "000001", "0001")); }},
      {"getSaldoCred", [](TrdmRecebimento& r) { benchmark::DoNotOptimize(r.getSaldoCred("000001", "0001", "01")); }},
      {"getLimiteCons", [](TrdmRecebimento& r) { benchmark::DoNotOptimize(r.getLimiteCons("000001", "0001")); }},
      {"getTipoConsLoja",
       [](TrdmRecebimento& r) { benchmark::DoNotOptimize(r.getTipoConsLoja("0001", "0001", "000001", "0001")); }},
      {"GetTipoConsFili", [](TrdmRecebimento& r) { benchmark::DoNotOptimize(r.GetTipoConsFili("000001", "0001")); }},
      {"getVerifConsAtivo",
       [](TrdmRecebimento& r) { benchmark::DoNotOptimize(r.getVerifConsAtivo("000001", "0001")); }},
  };
  return cases;
}

// The text of the last statement the module's SQLite connection ran during `call`.
std::string CapturedText(TrdmRecebimento& rdm, const Case& c) {
  c.call(rdm);  // the first call also reads the schema's column types
  sqlite3* db = static_cast<soci::sqlite3_session_backend*>(rdm.adcRecebimento().Session().get_backend())->conn_;
  std::string text;
  sqlite3_trace_v2(
      db, SQLITE_TRACE_STMT,
      [](unsigned, void* out, void* stmt, void*) {
        if (const char* sql = sqlite3_sql(static_cast<sqlite3_stmt*>(stmt))) *static_cast<std::string*>(out) = sql;
        return 0;
      },
      &text);
  c.call(rdm);
  sqlite3_trace_v2(db, 0, nullptr, nullptr);
  if (text.empty()) throw std::runtime_error(std::string(c.name) + ": no statement seen");
  return text;
}

// ---- SQLite --------------------------------------------------------------------------

// The statement prepared once on a connection of its own; Run() binds the values and
// reads every row.
class RawSqlite {
 public:
  RawSqlite(const std::string& file, const std::string& sql) {
    if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
      throw std::runtime_error("cannot open the store");
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st_, nullptr) != SQLITE_OK) {
      const std::string why = sqlite3_errmsg(db_);
      sqlite3_close(db_);
      throw std::runtime_error(why);
    }
    for (int i = 1; i <= sqlite3_bind_parameter_count(st_); ++i)
      values_.push_back(&kValues.at(sqlite3_bind_parameter_name(st_, i) + 1));
  }
  ~RawSqlite() {
    sqlite3_finalize(st_);
    sqlite3_close(db_);
  }
  RawSqlite(const RawSqlite&) = delete;
  RawSqlite& operator=(const RawSqlite&) = delete;

  void Run() {
    for (size_t i = 0; i < values_.size(); ++i)
      sqlite3_bind_text(st_, static_cast<int>(i + 1), values_[i]->data(), static_cast<int>(values_[i]->size()),
                        SQLITE_STATIC);
    std::vector<std::vector<Cell>> rows;
    while (sqlite3_step(st_) == SQLITE_ROW) {
      std::vector<Cell> row;
      const int n = sqlite3_column_count(st_);
      row.reserve(n);
      for (int c = 0; c < n; ++c) {
        switch (sqlite3_column_type(st_, c)) {
          case SQLITE_INTEGER: row.emplace_back(static_cast<long long>(sqlite3_column_int64(st_, c))); break;
          case SQLITE_FLOAT: row.emplace_back(sqlite3_column_double(st_, c)); break;
          case SQLITE_NULL: row.emplace_back(); break;
          default:
            row.emplace_back(std::string(reinterpret_cast<const char*>(sqlite3_column_text(st_, c)),
                                         static_cast<size_t>(sqlite3_column_bytes(st_, c))));
        }
      }
      rows.push_back(std::move(row));
    }
    sqlite3_reset(st_);
    benchmark::DoNotOptimize(rows);
  }

 private:
  sqlite3* db_ = nullptr;
  sqlite3_stmt* st_ = nullptr;
  std::vector<const std::string*> values_;
};

// ---- PostgreSQL ----------------------------------------------------------------------

// ":P_NAME" -> "$n", one number per name, as the module's driver sends it.
std::string Numbered(const std::string& sql, std::vector<std::string>& names) {
  names = recebimento::datamodule::ParameterNames(sql);
  std::string out;
  char quote = 0;
  for (size_t i = 0; i < sql.size(); ++i) {
    const char ch = sql[i];
    if (quote) {
      if (ch == quote) quote = 0;
    } else if (ch == '\'' || ch == '"') {
      quote = ch;
    } else if (ch == ':' && i + 1 < sql.size() && sql[i + 1] == ':') {
      out += "::";
      ++i;
      continue;
    } else if (ch == ':' && i + 1 < sql.size() &&
               (std::isalpha(static_cast<unsigned char>(sql[i + 1])) || sql[i + 1] == '_')) {
      size_t j = i + 1;
      while (j < sql.size() && (std::isalnum(static_cast<unsigned char>(sql[j])) || sql[j] == '_')) ++j;
      const std::string name = sql.substr(i + 1, j - i - 1);
      const auto at = std::find(names.begin(), names.end(), name) - names.begin();
      out += "$" + std::to_string(at + 1);
      i = j - 1;
      continue;
    }
    out += ch;
  }
  return out;
}

// As RawSqlite, over libpq: prepared once, PQexecPrepared per run.
class RawPostgres {
 public:
  RawPostgres(const std::string& conninfo, const std::string& sql) : conn_(PQconnectdb(conninfo.c_str())) {
    if (PQstatus(conn_) != CONNECTION_OK) Fail();
    std::vector<std::string> names;
    PGresult* prepared = PQprepare(conn_, "bench", Numbered(sql, names).c_str(), 0, nullptr);
    const bool ok = PQresultStatus(prepared) == PGRES_COMMAND_OK;
    PQclear(prepared);
    if (!ok) Fail();
    for (const auto& n : names) values_.push_back(kValues.at(n).c_str());
  }
  ~RawPostgres() { PQfinish(conn_); }
  RawPostgres(const RawPostgres&) = delete;
  RawPostgres& operator=(const RawPostgres&) = delete;

  void Run() {
    PGresult* r = PQexecPrepared(conn_, "bench", static_cast<int>(values_.size()), values_.data(), nullptr, nullptr, 0);
    std::vector<std::vector<Cell>> rows;
    for (int t = 0; t < PQntuples(r); ++t) {
      std::vector<Cell> row;
      for (int c = 0; c < PQnfields(r); ++c) {
        if (PQgetisnull(r, t, c))
          row.emplace_back();
        else
          row.emplace_back(std::string(PQgetvalue(r, t, c), static_cast<size_t>(PQgetlength(r, t, c))));
      }
      rows.push_back(std::move(row));
    }
    PQclear(r);
    benchmark::DoNotOptimize(rows);
  }

 private:
  [[noreturn]] void Fail() {
    const std::string why = PQerrorMessage(conn_);
    PQfinish(conn_);
    throw std::runtime_error(why);
  }

  PGconn* conn_;
  std::vector<const char*> values_;
};

// The module's call and the raw engine's in turn, each timed on its own; the benchmark's
// own time is the pair's.
template <typename Raw>
void ModuleBesideRaw(benchmark::State& state, const std::string& connection, const Case& c,
                     const std::function<std::unique_ptr<Raw>()>& open_raw) {
  using Clock = std::chrono::steady_clock;
  std::unique_ptr<Raw> raw;
  try {
    raw = open_raw();
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
    return;
  }
  TrdmRecebimento rdm(connection);
  rdm.Open();
  c.call(rdm);  // the first call prepares the statement and reads the column types
  raw->Run();
  Clock::duration module{}, engine{};
  for (auto _ : state) {
    const auto t0 = Clock::now();
    c.call(rdm);
    const auto t1 = Clock::now();
    raw->Run();
    const auto t2 = Clock::now();
    module += t1 - t0;
    engine += t2 - t1;
  }
  const auto mean_us = [&state](Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count() / static_cast<double>(state.iterations());
  };
  state.counters["module_us"] = mean_us(module);
  state.counters["raw_us"] = mean_us(engine);
  state.counters["ratio"] = mean_us(module) / mean_us(engine);
}

void PairSettings(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMicrosecond)->MinTime(0.5)->Repetitions(5)->ReportAggregatesOnly(true);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  recebimento::bench::BenchFolder folder;
  const std::string file = (folder.path / "store.db").string();
  const std::string sqlite = recebimento::bench::DemoSqliteStore(file);
  const auto pg = recebimento::bench::PostgresDemoStore::Create("ratio");
  std::map<std::string, std::string> texts;
  {
    TrdmRecebimento rdm(sqlite);
    rdm.Open();
    for (const auto& c : Cases()) texts[c.name] = CapturedText(rdm, c);
  }
  for (const auto& c : Cases()) {
    const std::string sql = texts[c.name];
    benchmark::RegisterBenchmark((std::string(c.name) + "/SQLite").c_str(), [&c, sqlite, file,
                                                                             sql](benchmark::State& s) {
      ModuleBesideRaw<RawSqlite>(s, sqlite, c, [&] { return std::make_unique<RawSqlite>(file, sql); });
    })->Apply(PairSettings);
    if (pg) {
      const std::string module_conn = pg->connection;
      const std::string raw_conn = recebimento::bench::PostgresDatabase(pg->name);
      benchmark::RegisterBenchmark((std::string(c.name) + "/PostgreSQL").c_str(), [&c, module_conn, raw_conn,
                                                                                   sql](benchmark::State& s) {
        ModuleBesideRaw<RawPostgres>(s, module_conn, c, [&] { return std::make_unique<RawPostgres>(raw_conn, sql); });
      })->Apply(PairSettings);
    } else {
      benchmark::RegisterBenchmark((std::string(c.name) + "/PostgreSQL").c_str(),
                                   [](benchmark::State& s) { s.SkipWithError(recebimento::bench::kNoPostgres); });
    }
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
