// The store on the embedded SQLite file: a consumer's family balances (a packet query the
// screen runs for every consumer-account tender), the consumer record, and reserving the
// next sale number (one atomic statement per sale).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include <stdlib.h>

#include "datamodule/store_init.h"
#include "datamodule/trdm_recebimento.h"

namespace {

namespace fs = std::filesystem;
using recebimento::datamodule::TrdmRecebimento;

// A demo store in a temporary folder, made once for the whole run and removed after it.
struct DemoStoreFolder {
  fs::path folder;
  std::string connection;
  DemoStoreFolder() {
    std::string pattern = (fs::temp_directory_path() / "rec-bench.XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    folder = pattern;
    connection = "sqlite:" + (folder / "store.db").string();
    recebimento::datamodule::InitStoreDatabase(connection, true);
  }
  ~DemoStoreFolder() {
    std::error_code ec;
    fs::remove_all(folder, ec);
  }
};

const std::string& DemoStore() {
  static const DemoStoreFolder store;
  return store.connection;
}

void BM_ConsumerFamilyBalances(benchmark::State& state) {
  TrdmRecebimento rdm(DemoStore());
  rdm.Open();
  for (auto _ : state) benchmark::DoNotOptimize(rdm.getConsSaldFam("0001", "000001", "0001"));
}
BENCHMARK(BM_ConsumerFamilyBalances);

void BM_ConsumerRecord(benchmark::State& state) {
  TrdmRecebimento rdm(DemoStore());
  rdm.Open();
  for (auto _ : state) benchmark::DoNotOptimize(rdm.getConsumidor("000001", "0001", "0001"));
}
BENCHMARK(BM_ConsumerRecord);

void BM_ReserveSaleNumber(benchmark::State& state) {
  TrdmRecebimento rdm(DemoStore());
  rdm.Open();
  for (auto _ : state) benchmark::DoNotOptimize(rdm.getPrxVendaVista("0001", "001"));
}
BENCHMARK(BM_ReserveSaleNumber);

}  // namespace
