// Sales paid through `recebimento run` on the keypad: cash merged, vouchers kept apart,
// change, the payment limit and foreign currency at a rate the host rebuilds.
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "base/datetime.h"
#include "base/packet_file.h"
#include "cli_runner.h"
#include "support/temp_dir.h"

namespace recebimento::testing {
namespace {

using json = nlohmann::ordered_json;

// One item worth `total`, and the tenders on the first grid page: cash (01), voucher
// (02), cheque (03) and dollars (04).
std::string Sale(double total, const std::string& modo = "BAL", const std::string& tipo_venda = "B") {
  json item = {{"CDPRODUTO", "1001"},   {"NMPRODUTO", "PICANHA"}, {"QTPRODCOMVEN", 1},  {"VRPRECCOMVEN", total},
               {"VRUNITVENDCL", 0},     {"VRDESCCOMVEN", 0},      {"VRACRCOMVEN", 0},   {"VRTXSERVICO", 0},
               {"VRACRCOMANDA", 0},     {"VRDESCOMANDA", 0},      {"IDCONFIGPROD", ""}, {"NRCOMANDA", "0000000012"},
               {"DSCOMANDA", "12"},     {"NRVENDAREST", "000123"}, {"CDCLIENTE", ""},   {"CDCONSUMIDOR", ""}};
  auto tender = [](const char* code, const char* name, const char* kind, const char* change, const char* pos,
                   const char* index) {
    return json{{"CDFILIAL", "0001"},   {"CDTIPORECE", code},   {"NMTIPORECE", name},   {"IDTIPORECE", kind},
                {"CDTIPOTROCO", change}, {"NRORDTROCO", ""},    {"IDTPBUTTON", "5"},    {"NRBUTTON", pos},
                {"NRBUTTONAUX", "01"},  {"NRPGCONFTELA", "1"},  {"DSBUTTON", name},     {"IDMOSTRARECE", "S"},
                {"CDFPIMPFIS", "01"},   {"DSIMPFISCAL", name},  {"CDINDICE", index}};
  };
  json sale = {{"args", {{"stModoVenda", modo}, {"stTipoTela", "N"}, {"stIdTipoVenda", tipo_venda}, {"stIdTela", ""}}},
               {"datasets",
                {{"cdsItensVenda", json::array({item})},
                 {"cdsRecebHost", json::array({tender("001", "DINHEIRO", "4", "001", "01", ""),
                                               tender("003", "TICKET", "7", "", "02", ""),
                                               tender("002", "CHEQUE", "3", "", "03", ""),
                                               tender("004", "DOLAR", "6", "001", "04", "USD")})}}}};
  return sale.dump();
}

// Presses the tender button, types the amount on the keypad and presses its Enter.
std::string Pays(const std::string& button, const std::string& amount) {
  std::string s = "{\"click\": \"" + button + "\"}\n";
  for (char ch : amount) s += std::string("{\"click\": \"") + (ch == ',' ? "sbtVirgula" : "sbt" + std::string(1, ch)) + "\"}\n";
  return s + "{\"click\": \"sbtEnter\"}\n";
}

class TenderScenarioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists(CliPath())) << CliPath() << " is missing: build the target recebimento_cli";
    std::filesystem::create_directories(dir_ / "host" / "Dados");
    const CliResult init = RunCli({"db", "init", "--db", "sqlite:" + (dir_ / "store.db").string()}, dir_.str());
    ASSERT_EQ(init.exit_code, 0) << init.err;
  }

  json Run(const std::string& sale, const std::string& script) {
    dir_.Write("sale.json", sale);
    dir_.Write("script.jsonl", script);
    const CliResult r = RunCli({"run", "--host-dir", (dir_ / "host").string(), "--sale", (dir_ / "sale.json").string(),
                                "--script", (dir_ / "script.jsonl").string(), "--db",
                                "sqlite:" + (dir_ / "store.db").string(), "--clock", "2026-12-06T12:00:00"},
                               dir_.str());
    EXPECT_EQ(r.exit_code, 0) << r.err;
    return r.out.empty() ? json::object() : json::parse(r.out);
  }

  // Payment lines of the output as (tender, kind of movement, amount).
  static std::vector<std::tuple<std::string, std::string, double>> Lines(const json& o) {
    std::vector<std::tuple<std::string, std::string, double>> out;
    for (const json& row : o["datasets"]["cdsMoviVenda"]["rows"])
      out.emplace_back(row["CDTIPORECE"], row["IDTIPOMOVIVE"], row["VRMOVIVEND"].get<double>());
    return out;
  }

  TempDir dir_;
};

TEST_F(TenderScenarioTest, CashMergesVouchersStayApartAndChangeIsGiven) {
  const json o = Run(Sale(60), Pays("tcbBalcao02", "10") + Pays("tcbBalcao02", "15") + Pays("tcbBalcao01", "20") +
                                   "{\"wait\": 1}\n{\"snapshot\": \"partial\"}\n" + Pays("tcbBalcao01", "20") +
                                   "{\"wait\": 1}\n{\"snapshot\": \"paid\"}\n{\"click\": \"spbOk\"}\n");
  ASSERT_TRUE(o.contains("snapshots")) << o.dump();
  using L = std::tuple<std::string, std::string, double>;
  EXPECT_EQ(Lines(o), (std::vector<L>{{"003", "E", 10.0}, {"003", "E", 15.0}, {"001", "E", 40.0}, {"001", "S", 5.0}}));
  const json& partial = o["snapshots"]["partial"];
  EXPECT_EQ(partial["state"]["doVrAPagar"], 15.0);
  EXPECT_EQ(partial["controls"]["spbOk"]["enabled"], false);
  const json& paid = o["snapshots"]["paid"];
  EXPECT_EQ(paid["state"]["doVrAPagar"], 0.0);
  EXPECT_EQ(paid["state"]["doVrTroco"], 5.0);
  EXPECT_EQ(paid["controls"]["spbOk"]["enabled"], true) << "cash waits for the operator's confirmation";
  EXPECT_EQ(paid["controls"]["lblPagar"]["caption"], "Troco: ");
  EXPECT_EQ(paid["controls"]["lblValorPagar"]["caption"], "5,00");
}

TEST_F(TenderScenarioTest, ATableSalePaidExactlyByChequeHasNoChange) {
  const json o = Run(Sale(87.35, "RES", "M"), Pays("tcbBalcao03", "87,35") + "{\"wait\": 1}\n{\"snapshot\": \"paid\"}\n{\"click\": \"spbOk\"}\n");
  ASSERT_TRUE(o.contains("snapshots")) << o.dump();
  using L = std::tuple<std::string, std::string, double>;
  EXPECT_EQ(Lines(o), (std::vector<L>{{"002", "E", 87.35}}));
  EXPECT_EQ(o["snapshots"]["paid"]["state"]["doVrAPagar"], 0.0);
  EXPECT_EQ(o["snapshots"]["paid"]["controls"]["spbOk"]["enabled"], true);
}

TEST_F(TenderScenarioTest, NoSaleTakesMoreThanTheLimitInAll) {
  const json o = Run(Sale(1000000), Pays("tcbBalcao01", "400000") + Pays("tcbBalcao01", "600000") +
                                        "{\"wait\": 1}\n{\"snapshot\": \"after\"}\n{\"key\": \"Escape\"}\n");
  ASSERT_TRUE(o.contains("snapshots")) << o.dump();
  const json& after = o["snapshots"]["after"];
  EXPECT_EQ(after["state"]["doVrPago"], 400000.0);
  EXPECT_EQ(after["state"]["doVrAPagar"], 600000.0);
  EXPECT_EQ(after["controls"]["memLista"]["lines"].size(), 1u) << "only the first payment is listed";
  bool limite = false;
  for (const json& d : o["dialogs"]) limite = limite || d["text"].get<std::string>().find("999.999,99") != std::string::npos;
  EXPECT_TRUE(limite) << o["dialogs"].dump();
}

TEST_F(TenderScenarioTest, ForeignCurrencyWithYesterdaysRatesAsksTheHostForTodays) {
  base::DataPacket rates;
  rates.fields = {{"CDINDICE", base::FieldType::String, 4},
                  {"NMTIPORECE", base::FieldType::String, 40},
                  {"VRCOTACAO", base::FieldType::Float, 0},
                  {"DTCOTACAO", base::FieldType::DateTime, 0}};
  rates.rows.push_back({base::Variant("USD"), base::Variant("DOLAR"), base::Variant(4.9),
                        base::Variant(base::DateTime::FromYMD(2026, 12, 5))});
  base::WritePacketFile((dir_ / "host" / "cdsMoedas.cds").string(), rates);

  json sale = json::parse(Sale(100));
  sale["host"]["currency_rates"] = {{"fields", {{{"name", "CDINDICE"}, {"type", "string"}, {"size", 4}},
                                                {{"name", "NMTIPORECE"}, {"type", "string"}, {"size", 40}},
                                                {{"name", "VRCOTACAO"}, {"type", "float"}},
                                                {{"name", "DTCOTACAO"}, {"type", "datetime"}}}},
                                    {"rows", {{{"CDINDICE", "USD"}, {"NMTIPORECE", "DOLAR"}, {"VRCOTACAO", 5.0},
                                               {"DTCOTACAO", "2026-12-06T00:00:00"}}}}};
  // 25 dollars, then the amount in reais confirmed as proposed.
  const json o = Run(sale.dump(), Pays("tcbBalcao04", "25") + "{\"key\": \"Enter\"}\n{\"wait\": 1}\n{\"snapshot\": \"paid\"}\n{\"click\": \"spbOk\"}\n");
  ASSERT_TRUE(o.contains("datasets")) << o.dump();
  bool rebuilt = false;
  for (const json& c : o["hostCalls"]) rebuilt = rebuilt || c["name"] == "CriaOutrasMoedas";
  EXPECT_TRUE(rebuilt);
  const base::DataPacket saved = base::ReadPacketFile((dir_ / "host" / "cdsMoedas.cds").string());
  EXPECT_DOUBLE_EQ(saved.rows.at(0).at(2).AsFloat(), 5.0) << "today's rates are kept for the next tender";
  const json& line = o["datasets"]["cdsMoviVenda"]["rows"].at(0);
  EXPECT_EQ(line["VRMOVIVEND"], 125.0);
  EXPECT_EQ(line["VRMOVIVEOUT"], 25.0);
  EXPECT_EQ(line["VRCOTINDOUT"], 5.0);
  // Change of 25,00 in the cash tender the currency names.
  EXPECT_EQ(o["snapshots"]["paid"]["state"]["doVrTroco"], 25.0);
}

}  // namespace
}  // namespace recebimento::testing
