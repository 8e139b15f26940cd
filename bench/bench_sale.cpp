// A whole sale in process: the screen opens, one cash tender, one credit card through
// the simulated terminal, the confirmation with the fiscal printer simulator, the close.
// Sales of 10, 100 and 1,000 items on the embedded store and on PostgreSQL (when
// RECEBIMENTO_TEST_PG names a server). BM_Sale* time the host's call of `Recebimento`
// alone, the sale's datasets in memory as a host hands them over; BM_ScriptedSale* time
// what `recebimento run` does in process around it as well (reading the sale file and
// the script, writing the run's JSON output). Besides the time, the peak of the heap a
// sale holds above what was live before it (allocations through operator new; SQLite's
// own cache is not in it).
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <new>

#include "bench_support.h"
#include "host_copy.h"
#include "scripted_run.h"

// ---- Heap meter: every operator new of the process is counted ---------------------------

namespace {
std::atomic<long long> live_bytes{0};
std::atomic<long long> peak_bytes{0};

void* Counted(std::size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  const long long now = live_bytes += static_cast<long long>(malloc_usable_size(p));
  long long peak = peak_bytes.load(std::memory_order_relaxed);
  while (now > peak && !peak_bytes.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
  }
  return p;
}

void Uncounted(void* p) {
  if (!p) return;
  live_bytes -= static_cast<long long>(malloc_usable_size(p));
  std::free(p);
}
}  // namespace

void* operator new(std::size_t size) { return Counted(size); }
void* operator new[](std::size_t size) { return Counted(size); }
void operator delete(void* p) noexcept { Uncounted(p); }
void operator delete[](void* p) noexcept { Uncounted(p); }
void operator delete(void* p, std::size_t) noexcept { Uncounted(p); }
void operator delete[](void* p, std::size_t) noexcept { Uncounted(p); }

namespace {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;
using recebimento::bench::BenchFolder;

// A host folder copied from the demo host, a sale of `items` items and the operator's
// script, all written once per benchmark.
struct SaleWorld {
  BenchFolder folder;
  recebimento::harness::RunOptions options;

  SaleWorld(int items, const std::string& db) {
    const fs::path host = folder.path / "host";
    recebimento::harness::CopyHostWithParameters(RECEBIMENTO_EXAMPLES_DIR "/host", host.string(), json::object());
    json sale = recebimento::bench::ReadJson(RECEBIMENTO_EXAMPLES_DIR "/sales/counter-sale.json");
    json item = sale["datasets"]["cdsItensVenda"][0];
    item["VRPRECCOMVEN"] = 1.0;
    json rows = json::array();
    for (int i = 0; i < items; ++i) rows.push_back(item);
    sale["datasets"]["cdsItensVenda"] = rows;
    std::ofstream(folder.path / "sale.json") << sale.dump();
    std::ofstream(folder.path / "script.jsonl") << recebimento::bench::kCashThenCardScript;
    options.host_dir = host.string();
    options.sale_path = (folder.path / "sale.json").string();
    options.script_path = (folder.path / "script.jsonl").string();
    options.clock = "2026-12-06T12:00:00";
    options.db = db;
  }
};

enum class Measure { TheCall, TheScriptedRun };

// Plays the sale until it completes; the output must say so, or the figure means nothing.
void RunSale(benchmark::State& state, const std::string& db, Measure measure) {
  const int items = static_cast<int>(state.range(0));
  SaleWorld world(items, db);
  bool timing = true;
  if (measure == Measure::TheCall) {
    world.options.around_call = [&state, &timing](bool calling) {
      if (calling == timing) return;
      calling ? state.ResumeTiming() : state.PauseTiming();
      timing = calling;
    };
  }
  long long peak_above = 0;
  for (auto _ : state) {
    const long long before = live_bytes.load();
    peak_bytes = before;
    if (measure == Measure::TheCall) {
      state.PauseTiming();
      timing = false;
    }
    const auto outcome = recebimento::harness::RunScriptedSale(world.options);
    if (!timing) {
      state.ResumeTiming();
      timing = true;
    }
    peak_above = std::max(peak_above, peak_bytes.load() - before);
    if (outcome.exit_code != 0 || outcome.output["result"] != true) {
      state.SkipWithError(("the sale did not complete: " + outcome.output["error"].dump()).c_str());
      break;
    }
  }
  state.counters["peak_heap_MB"] = static_cast<double>(peak_above) / (1024.0 * 1024.0);
  state.counters["items"] = items;
}

void SaleEmbedded(benchmark::State& state, Measure measure) {
  BenchFolder store_folder;
  const std::string db = recebimento::bench::DemoSqliteStore(store_folder.path / "store.db");
  RunSale(state, db, measure);
}

void SalePostgreSQL(benchmark::State& state, Measure measure) {
  const auto store = recebimento::bench::PostgresDemoStore::Create("sale");
  if (!store) {
    state.SkipWithError(recebimento::bench::kNoPostgres);
    return;
  }
  RunSale(state, store->connection, measure);
}

void BM_SaleEmbedded(benchmark::State& state) { SaleEmbedded(state, Measure::TheCall); }
void BM_SalePostgreSQL(benchmark::State& state) { SalePostgreSQL(state, Measure::TheCall); }
void BM_ScriptedSaleEmbedded(benchmark::State& state) { SaleEmbedded(state, Measure::TheScriptedRun); }
void BM_ScriptedSalePostgreSQL(benchmark::State& state) { SalePostgreSQL(state, Measure::TheScriptedRun); }

void SaleSizes(benchmark::internal::Benchmark* b) {
  b->Arg(10)
      ->Arg(100)
      ->Arg(1000)
      ->Unit(benchmark::kMillisecond)
      ->MinTime(0.5)
      ->Repetitions(5)
      ->ReportAggregatesOnly(true);
}
BENCHMARK(BM_SaleEmbedded)->Apply(SaleSizes);
BENCHMARK(BM_SalePostgreSQL)->Apply(SaleSizes);
BENCHMARK(BM_ScriptedSaleEmbedded)->Apply(SaleSizes);
BENCHMARK(BM_ScriptedSalePostgreSQL)->Apply(SaleSizes);

}  // namespace
