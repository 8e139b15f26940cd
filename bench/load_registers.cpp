// Many registers on one PostgreSQL store, each with its own connection, selling on
// consumer accounts for a bounded time: the consumer's family balances, the store's
// check of the sale with its loans between families, an NFC-e number from the series
// they share, and the sale's movement booked with the consumer's balances brought up to
// date. Reports throughput, p50 and p99 of each operation, the numbers handed out twice
// (must be none) and every balance against the sum of its movements (must all agree).
#include <CLI/CLI.hpp>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <fstream>
#include <iostream>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "bench_support.h"
#include "datamodule/trdm_recebimento.h"

namespace {

using recebimento::base::DataPacket;
using recebimento::base::DateTime;
using recebimento::base::FieldType;
using recebimento::base::Variant;
using recebimento::datamodule::Statement;
using recebimento::datamodule::StoreConnection;
using recebimento::datamodule::TrdmRecebimento;
using json = nlohmann::ordered_json;
using Clock = std::chrono::steady_clock;

const char* const kBranch = "0001";
const char* const kClient = "000001";
const char* const kRegister = "001";
const DateTime kOpening = DateTime::FromYMD(2026, 12, 6);

const Statement kInsertConsumer{
    "loadInsConsumidor",
    "INSERT INTO CONSUMIDOR (CDCLIENTE, CDCONSUMIDOR, NMCONSUMIDOR, IDSITCONSUMI, CDTIPOCONS) "
    "VALUES (:CDCLIENTE, :CDCONSUMIDOR, :NMCONSUMIDOR, '1', '01')"};
const Statement kInsertMovement{
    "loadInsExtrato",
    "INSERT INTO EXTRATOCONS (CDCLIENTE, CDCONSUMIDOR, CDFAMILISALD, DTMOVEXTCONS, NRSEQMOVEXT, IDTPMOVEXT, "
    "VRMOVEXTCONS, DSOPEEXTCONS, CDFILIAL, CDCAIXA) VALUES (:CDCLIENTE, :CDCONSUMIDOR, :CDFAMILISALD, :DTMOVEXTCONS, "
    "'001', :IDTPMOVEXT, :VRMOVEXTCONS, 'Carga', :CDFILIAL, :CDCAIXA)"};
const Statement kBalances{"loadSaldos",
                          "SELECT S.CDCONSUMIDOR, S.CDFAMILISALD, S.VRSALDCONFAM, "
                          "(SELECT COALESCE(SUM(CASE WHEN E.IDTPMOVEXT = 'C' THEN E.VRMOVEXTCONS "
                          "ELSE -E.VRMOVEXTCONS END), 0) FROM EXTRATOCONS E WHERE E.CDCLIENTE = S.CDCLIENTE "
                          "AND E.CDCONSUMIDOR = S.CDCONSUMIDOR AND E.CDFAMILISALD = S.CDFAMILISALD) AS SOMA "
                          "FROM SALDOCONS S WHERE S.CDCLIENTE = :CDCLIENTE AND S.CDCONSUMIDOR LIKE 'L%'",
                          {},
                          {{"VRSALDCONFAM", FieldType::Float}, {"SOMA", FieldType::Float}}};

std::string ConsumerCode(int i) { return "L" + std::to_string(1000 + i); }

// Each sale's movement at a moment of its own, a second apart from every other.
std::atomic<long long> next_moment{0};
DateTime NextMoment() { return DateTime::FromYMD(2026, 6, 1).AddMilliseconds(1000 * next_moment++); }

void Book(TrdmRecebimento& rdm, const std::string& consumer, const std::string& family, const char* kind, double amount,
          const DateTime& when) {
  rdm.adcRecebimento().Execute(kInsertMovement, {{"CDCLIENTE", kClient},
                                                 {"CDCONSUMIDOR", consumer},
                                                 {"CDFAMILISALD", family},
                                                 {"DTMOVEXTCONS", when},
                                                 {"IDTPMOVEXT", kind},
                                                 {"VRMOVEXTCONS", amount},
                                                 {"CDFILIAL", kBranch},
                                                 {"CDCAIXA", kRegister}});
}

// Consumers of the run, each loaded with credit on the food family and none on fuel, so
// that a fuel sale borrows from food.
void Seed(const std::string& connection, int consumers) {
  TrdmRecebimento rdm(connection);
  rdm.Open();
  for (int i = 0; i < consumers; ++i) {
    const std::string code = ConsumerCode(i);
    rdm.adcRecebimento().Execute(kInsertConsumer,
                                 {{"CDCLIENTE", kClient}, {"CDCONSUMIDOR", code}, {"NMCONSUMIDOR", "Carga " + code}});
    Book(rdm, code, "01", "C", 1000000.0, DateTime::FromYMD(2026, 1, 1));
    Book(rdm, code, "02", "C", 0.0, DateTime::FromYMD(2026, 1, 1));
    rdm.EvoluiSaldo(kBranch, kClient, code, DateTime::FromYMD(2025, 1, 1));
  }
}

struct Samples {
  std::map<std::string, std::vector<double>> ms;  // operation -> latencies
  std::vector<long long> numbers;
  long long sales = 0, refusals = 0, errors = 0;
  std::string first_error;
};

template <typename F>
void Timed(Samples& s, const char* operation, F&& f) {
  const auto start = Clock::now();
  f();
  s.ms[operation].push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
}

void Register(const std::string& connection, int consumers, Clock::time_point until, unsigned seed, Samples& s) {
  TrdmRecebimento rdm(connection);
  rdm.Open();
  DataPacket draws;
  draws.fields = {{"CDFAMILISALD", FieldType::String, 4}, {"VRSALDCONFAM", FieldType::Float, 0}};
  draws.rows.push_back({Variant("02"), Variant(1.0)});
  const Variant packet(draws);
  unsigned state = seed;
  while (Clock::now() < until) {
    state = state * 1103515245u + 12345u;
    const std::string consumer = ConsumerCode(static_cast<int>((state >> 16) % static_cast<unsigned>(consumers)));
    try {
      Timed(s, "balances", [&] { rdm.getConsSaldFam(kBranch, kClient, consumer); });
      bool refused = false;
      Timed(s, "validation", [&] {
        try {
          rdm.setValidaSaldoCons(kBranch, kRegister, kClient, consumer, "N", "", "N", packet, kOpening);
        } catch (const recebimento::datamodule::ConsumerBalanceError&) {
          refused = true;
        }
      });
      if (refused) {
        ++s.refusals;
        continue;
      }
      Variant number;
      Timed(s, "number", [&] { number = rdm.setNumeroNFCe(kBranch, kRegister, "1", "2", false); });
      const std::string text = number.AsString();
      if (text.empty() || !std::all_of(text.begin(), text.end(), ::isdigit))
        throw std::runtime_error("no NFC-e number: " + text);
      s.numbers.push_back(std::stoll(text));
      Timed(s, "balance update", [&] {
        const DateTime when = NextMoment();
        Book(rdm, consumer, "01", "V", 1.25, when);
        rdm.EvoluiSaldo(kBranch, kClient, consumer, when);
      });
      ++s.sales;
    } catch (const std::exception& e) {
      if (s.errors++ == 0) s.first_error = e.what();
    }
  }
}

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t i = static_cast<size_t>(std::ceil(p * static_cast<double>(v.size()))) - 1;
  return v[std::min(i, v.size() - 1)];
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"load_registers: many registers selling on consumer accounts against one PostgreSQL store"};
  int registers = 8, consumers = 16;
  double seconds = 20;
  std::string out;
  app.add_option("--registers", registers, "registers, each with its own connection")->check(CLI::Range(1, 64));
  app.add_option("--consumers", consumers, "consumers the registers sell to")->check(CLI::Range(1, 10000));
  app.add_option("--seconds", seconds, "how long the registers sell")->check(CLI::Range(0.1, 3600.0));
  app.add_option("--out", out, "write the report as JSON here too");
  CLI11_PARSE(app, argc, argv);

  json report = {{"registers", registers}, {"consumers", consumers}, {"seconds", seconds}};
  std::unique_ptr<recebimento::bench::PostgresDemoStore> store;
  try {
    store = recebimento::bench::PostgresDemoStore::Create("load");
  } catch (const std::exception& e) {
    std::cerr << "load_registers: cannot create the store: " << e.what() << "\n";
    return 1;
  }
  if (!store) {
    std::cout << "load_registers: " << recebimento::bench::kNoPostgres << "\n";
    report["skipped"] = recebimento::bench::kNoPostgres;
    if (!out.empty()) std::ofstream(out) << report.dump(1) << "\n";
    return 0;
  }
  try {
    Seed(store->connection, consumers);
  } catch (const std::exception& e) {
    std::cerr << "load_registers: cannot seed the store: " << e.what() << "\n";
    return 1;
  }

  std::vector<Samples> samples(static_cast<size_t>(registers));
  std::vector<std::thread> threads;
  const auto start = Clock::now();
  const auto until = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  for (int r = 0; r < registers; ++r)
    threads.emplace_back(Register, store->connection, consumers, until, 7919u * static_cast<unsigned>(r + 1),
                         std::ref(samples[static_cast<size_t>(r)]));
  for (auto& t : threads) t.join();
  const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();

  Samples all;
  for (auto& s : samples) {
    for (auto& [op, v] : s.ms) all.ms[op].insert(all.ms[op].end(), v.begin(), v.end());
    all.numbers.insert(all.numbers.end(), s.numbers.begin(), s.numbers.end());
    all.sales += s.sales;
    all.refusals += s.refusals;
    all.errors += s.errors;
    if (all.first_error.empty()) all.first_error = s.first_error;
  }
  const std::set<long long> distinct(all.numbers.begin(), all.numbers.end());

  long long balances = 0, wrong = 0;
  {
    TrdmRecebimento rdm(store->connection);
    const DataPacket rows = rdm.adcRecebimento().Query(kBalances, {{"CDCLIENTE", kClient}});
    const int held = rows.FieldIndex("VRSALDCONFAM"), sum = rows.FieldIndex("SOMA");
    for (const auto& row : rows.rows) {
      ++balances;
      if (std::llround(row[held].AsFloat() * 100) != std::llround(row[sum].AsFloat() * 100)) ++wrong;
    }
  }

  report["elapsedSeconds"] = elapsed;
  report["sales"] = all.sales;
  report["salesPerSecond"] = static_cast<double>(all.sales) / elapsed;
  report["refusals"] = all.refusals;
  report["errors"] = all.errors;
  if (!all.first_error.empty()) report["firstError"] = all.first_error;
  report["duplicateNumbers"] = static_cast<long long>(all.numbers.size() - distinct.size());
  report["balancesChecked"] = balances;
  report["balancesNotEqualToMovements"] = wrong;
  json ops = json::object();
  for (const auto& [op, v] : all.ms)
    ops[op] = {{"count", v.size()}, {"p50Ms", Percentile(v, 0.5)}, {"p99Ms", Percentile(v, 0.99)}};
  report["operations"] = ops;
  std::cout << report.dump(1) << "\n";
  if (!out.empty()) std::ofstream(out) << report.dump(1) << "\n";
  return all.errors == 0 && wrong == 0 && distinct.size() == all.numbers.size() ? 0 : 1;
}
