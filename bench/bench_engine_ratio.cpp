// The data module's query functions beside the same SQL run through the engine's own C
// API (sqlite3, libpq) in the same process, prepared once and read whole into memory.
// The module's text is taken from the SQLite connection as the function runs it, so
// both sides run the same statement; each pair is `<function>/<engine>/module` and
// `<function>/<engine>/raw`.
#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <soci/soci.h>
// SOCI's SQLite backend holds the sqlite3 declarations in a namespace of its own.
#include <soci/sqlite3/soci-sqlite3.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
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

void RawSqlite(benchmark::State& state, const std::string& file, const std::string& sql) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    state.SkipWithError("cannot open the store");
    return;
  }
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
    state.SkipWithError(sqlite3_errmsg(db));
    sqlite3_close(db);
    return;
  }
  std::vector<const std::string*> values;
  for (int i = 1; i <= sqlite3_bind_parameter_count(st); ++i)
    values.push_back(&kValues.at(sqlite3_bind_parameter_name(st, i) + 1));
  for (auto _ : state) {
    for (size_t i = 0; i < values.size(); ++i)
      sqlite3_bind_text(st, static_cast<int>(i + 1), values[i]->data(), static_cast<int>(values[i]->size()),
                        SQLITE_STATIC);
    std::vector<std::vector<Cell>> rows;
    while (sqlite3_step(st) == SQLITE_ROW) {
      std::vector<Cell> row;
      const int n = sqlite3_column_count(st);
      row.reserve(n);
      for (int c = 0; c < n; ++c) {
        switch (sqlite3_column_type(st, c)) {
          case SQLITE_INTEGER: row.emplace_back(static_cast<long long>(sqlite3_column_int64(st, c))); break;
          case SQLITE_FLOAT: row.emplace_back(sqlite3_column_double(st, c)); break;
          case SQLITE_NULL: row.emplace_back(); break;
          default:
            row.emplace_back(std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                                         static_cast<size_t>(sqlite3_column_bytes(st, c))));
        }
      }
      rows.push_back(std::move(row));
    }
    sqlite3_reset(st);
    benchmark::DoNotOptimize(rows);
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
}

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

void RawPostgres(benchmark::State& state, const std::string& conninfo, const std::string& sql) {
  PGconn* conn = PQconnectdb(conninfo.c_str());
  if (PQstatus(conn) != CONNECTION_OK) {
    state.SkipWithError(PQerrorMessage(conn));
    PQfinish(conn);
    return;
  }
  std::vector<std::string> names;
  PGresult* prepared = PQprepare(conn, "bench", Numbered(sql, names).c_str(), 0, nullptr);
  const bool ok = PQresultStatus(prepared) == PGRES_COMMAND_OK;
  PQclear(prepared);
  if (!ok) {
    state.SkipWithError(PQerrorMessage(conn));
    PQfinish(conn);
    return;
  }
  std::vector<const char*> values;
  for (const auto& n : names) values.push_back(kValues.at(n).c_str());
  for (auto _ : state) {
    PGresult* r = PQexecPrepared(conn, "bench", static_cast<int>(values.size()), values.data(), nullptr, nullptr, 0);
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
  PQfinish(conn);
}

void Module(benchmark::State& state, const std::string& connection, const Case& c) {
  TrdmRecebimento rdm(connection);
  rdm.Open();
  c.call(rdm);
  for (auto _ : state) c.call(rdm);
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
    benchmark::RegisterBenchmark((std::string(c.name) + "/SQLite/module").c_str(),
                                 [&c, sqlite](benchmark::State& s) { Module(s, sqlite, c); })
        ->Unit(benchmark::kMicrosecond)
        ->MinTime(0.2)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark((std::string(c.name) + "/SQLite/raw").c_str(),
                                 [file, sql](benchmark::State& s) { RawSqlite(s, file, sql); })
        ->Unit(benchmark::kMicrosecond)
        ->MinTime(0.2)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
    if (pg) {
      const std::string module_conn = pg->connection;
      const std::string raw_conn = recebimento::bench::PostgresDatabase(pg->name);
      benchmark::RegisterBenchmark((std::string(c.name) + "/PostgreSQL/module").c_str(),
                                   [&c, module_conn](benchmark::State& s) { Module(s, module_conn, c); })
          ->Unit(benchmark::kMicrosecond)
          ->MinTime(0.2)
          ->Repetitions(3)
          ->ReportAggregatesOnly(true);
      benchmark::RegisterBenchmark((std::string(c.name) + "/PostgreSQL/raw").c_str(),
                                   [raw_conn, sql](benchmark::State& s) { RawPostgres(s, raw_conn, sql); })
          ->Unit(benchmark::kMicrosecond)
          ->MinTime(0.2)
          ->Repetitions(3)
          ->ReportAggregatesOnly(true);
    } else {
      benchmark::RegisterBenchmark((std::string(c.name) + "/PostgreSQL/module").c_str(),
                                   [](benchmark::State& s) { s.SkipWithError(recebimento::bench::kNoPostgres); });
    }
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
