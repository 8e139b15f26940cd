// Costs of the client dataset operations the payment screen leans on.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "base/dataset.h"
#include "base/packet_file.h"

namespace {

using recebimento::base::Dataset;
using recebimento::base::DateTime;
using recebimento::base::FieldType;
using recebimento::base::RowView;
using recebimento::base::Variant;

Dataset SalePayments(int rows) {
  Dataset ds("cdsMoviVenda");
  ds.AddField("CDTIPORECE", FieldType::String, 3);
  ds.AddField("NMTIPORECE", FieldType::String, 40);
  ds.AddField("IDTIPOMOVIVE", FieldType::String, 1);
  ds.AddField("NRSEQMOV", FieldType::Integer);
  ds.AddField("VRMOVIVEND", FieldType::Float);
  ds.AddField("DTHRINCMOV", FieldType::DateTime);
  ds.CreateDataSet();
  const DateTime start = DateTime::FromYMD(2026, 12, 6, 12);
  for (int i = 0; i < rows; ++i) {
    char code[8];
    std::snprintf(code, sizeof code, "%03d", i % 1000);
    ds.AppendRecord(
        {code, "Cartão de crédito à vista", i % 3 == 0 ? "S" : "E", i, 10.25 + i, start.AddMilliseconds(i * 1000LL)});
  }
  return ds;
}

void BM_Append1000Rows(benchmark::State& state) {
  for (auto _ : state) {
    Dataset ds = SalePayments(1000);
    benchmark::DoNotOptimize(ds.RecordCount());
  }
}
BENCHMARK(BM_Append1000Rows)->Unit(benchmark::kMillisecond);

void BM_LocateTwoFields(benchmark::State& state) {
  Dataset ds = SalePayments(1000);
  int i = 0;
  for (auto _ : state) {
    const int n = (i++ * 37) % 1000;
    benchmark::DoNotOptimize(ds.Locate("NRSEQMOV;IDTIPOMOVIVE", {Variant(n), Variant(n % 3 == 0 ? "S" : "E")}));
  }
}
BENCHMARK(BM_LocateTwoFields);

void BM_FilterOnOff(benchmark::State& state) {
  Dataset ds = SalePayments(1000);
  for (auto _ : state) {
    ds.SetFilter([](const RowView& r) { return r.AsString("IDTIPOMOVIVE") == "S"; });
    benchmark::DoNotOptimize(ds.RecordCount());
    ds.ClearFilter();
  }
}
BENCHMARK(BM_FilterOnOff);

// Editing every row in turn, as the totals' one-cent fix-up does over a sale's items:
// linear in the number of rows while no filter or order is set.
void BM_EditEveryRow(benchmark::State& state) {
  Dataset ds = SalePayments(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    for (ds.First(); !ds.Eof(); ds.Next()) {
      ds.Edit();
      ds.FieldByName("VRMOVIVEND").SetAsFloat(0.01);
      ds.Post();
    }
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_EditEveryRow)->RangeMultiplier(10)->Range(1000, 100000)->Complexity()->Unit(benchmark::kMillisecond);

void BM_PacketRoundTrip(benchmark::State& state) {
  Dataset ds = SalePayments(1000);
  Dataset copy("cdsCopia");
  for (auto _ : state) {
    copy.SetData(Variant(ds.Data()));
    benchmark::DoNotOptimize(copy.RecordCount());
  }
}
BENCHMARK(BM_PacketRoundTrip)->Unit(benchmark::kMillisecond);

void BM_PacketFileWriteRead1000Rows(benchmark::State& state) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("bench_dataset_" + std::to_string(::getpid()) + ".cds");
  Dataset ds = SalePayments(1000);
  Dataset back("cdsVenda");
  for (auto _ : state) {
    ds.SaveToFile(path.string());
    back.LoadFromFile(path.string());
    benchmark::DoNotOptimize(back.RecordCount());
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_PacketFileWriteRead1000Rows)->Unit(benchmark::kMillisecond);

// A packet with many fields, each row carrying all of them: loading grows with the number
// of values, not with its square (range: fields).
void BM_LoadPacketWithManyFields(benchmark::State& state) {
  const int fields = static_cast<int>(state.range(0));
  std::string defs, row;
  for (int i = 0; i < fields; ++i) {
    defs += "<FIELD attrname=\"CAMPO" + std::to_string(i) + "\" fieldtype=\"string\" WIDTH=\"10\"/>";
    row += " CAMPO" + std::to_string(i) + "=\"v" + std::to_string(i) + "\"";
  }
  const std::string xml = "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>" + defs +
                          "</FIELDS></METADATA><ROWDATA><ROW" + row + "/><ROW" + row + "/></ROWDATA></DATAPACKET>";
  for (auto _ : state) {
    Dataset ds("cdsMuitosCampos");
    ds.SetData(recebimento::base::ParsePacketXml(xml, "bench.cds"));
    benchmark::DoNotOptimize(ds.RecordCount());
  }
  state.SetComplexityN(fields);
}
BENCHMARK(BM_LoadPacketWithManyFields)
    ->RangeMultiplier(4)
    ->Range(1000, 64000)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);

}  // namespace
