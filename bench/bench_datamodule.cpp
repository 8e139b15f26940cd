// The store on the embedded SQLite file: a consumer's family balances (a packet query the
// screen runs for every consumer-account tender), the consumer record, reserving the
// next sale number (one atomic statement per sale), the store's check of a
// personal-credit sale that borrows between families, and bringing a long statement up
// to date.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include <stdlib.h>

#include "base/data_packet.h"
#include "datamodule/store_connection.h"
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

void BM_PersonalCreditCheckWithALoan(benchmark::State& state) {
  using recebimento::base::DataPacket;
  using recebimento::base::Variant;
  TrdmRecebimento rdm(DemoStore());
  rdm.Open();
  // Fuel (300) draws 350: the food family lends the 50 missing.
  DataPacket draws;
  draws.fields = {{"CDFAMILISALD", recebimento::base::FieldType::String, 4},
                  {"VRSALDCONFAM", recebimento::base::FieldType::Float, 0}};
  draws.rows.push_back({Variant("02"), Variant(299.0)});
  rdm.adcRecebimento().ExecuteRaw(
      "UPDATE SALDOCONS SET VRSALDCONFAM = 249 WHERE CDCONSUMIDOR = '0001' AND CDFAMILISALD = '02'");
  const Variant packet(draws);
  for (auto _ : state)
    benchmark::DoNotOptimize(rdm.setValidaSaldoCons("0001", "001", "000001", "0001", "N", "", "N", packet,
                                                    recebimento::base::DateTime::FromYMD(2026, 12, 6)));
  rdm.adcRecebimento().ExecuteRaw(
      "UPDATE SALDOCONS SET VRSALDCONFAM = 300 WHERE CDCONSUMIDOR = '0001' AND CDFAMILISALD = '02'");
}
BENCHMARK(BM_PersonalCreditCheckWithALoan);

// A consumer of its own with a statement of `range` movements in one family; each pass
// re-evaluates it whole.
void BM_EvolveALongStatement(benchmark::State& state) {
  TrdmRecebimento rdm(DemoStore());
  rdm.Open();
  const std::string consumer = "B" + std::to_string(state.range(0));
  recebimento::datamodule::StoreConnection& c = rdm.adcRecebimento();
  // The benchmark runs this more than once: each run starts from the same statement.
  c.ExecuteRaw("DELETE FROM EXTRATOCONS WHERE CDCONSUMIDOR = '" + consumer + "'");
  c.ExecuteRaw("DELETE FROM SALDOCONS WHERE CDCONSUMIDOR = '" + consumer + "'");
  c.ExecuteRaw("DELETE FROM CONSUMIDOR WHERE CDCONSUMIDOR = '" + consumer + "'");
  c.ExecuteRaw("INSERT INTO CONSUMIDOR (CDCLIENTE, CDCONSUMIDOR, NMCONSUMIDOR, IDSITCONSUMI) VALUES ('000001', '" +
               consumer + "', 'Bench', '1')");
  c.ExecuteRaw("BEGIN");
  for (int64_t i = 0; i < state.range(0); ++i)
    c.ExecuteRaw(
        "INSERT INTO EXTRATOCONS (CDCLIENTE, CDCONSUMIDOR, CDFAMILISALD, DTMOVEXTCONS, NRSEQMOVEXT, "
        "IDTPMOVEXT, VRMOVEXTCONS) VALUES ('000001', '" +
        consumer + "', '01', datetime('2026-01-01', '+" + std::to_string(i) + " minutes'), '001', '" +
        (i % 5 == 0 ? "C" : "V") + "', 1.01)");
  c.ExecuteRaw("COMMIT");
  const auto start = recebimento::base::DateTime::FromYMD(2025, 1, 1);
  for (auto _ : state) rdm.EvoluiSaldo("0001", "000001", consumer, start);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_EvolveALongStatement)->Arg(100)->Arg(2000);

}  // namespace
