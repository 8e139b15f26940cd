// The example sales of the demo host open the screen with the totals, lists, titles and
// tender buttons their kind of sale calls for, through `recebimento run`.
#include <filesystem>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli_runner.h"
#include "support/temp_dir.h"

namespace recebimento::testing {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;

class InitScenarioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(CliPath())) << CliPath() << " is missing: build the target recebimento_cli";
    const fs::path examples = fs::path(RECEBIMENTO_SOURCE_DIR) / "examples";
    fs::copy(examples / "host", dir_ / "host", fs::copy_options::recursive);
    const CliResult init = RunCli({"db", "init", "--db", Db()}, dir_.str());
    ASSERT_EQ(init.exit_code, 0) << init.err;
    dir_.Write("script.jsonl", "{\"snapshot\": \"opened\"}\n{\"click\": \"spbSair\"}\n");
  }

  std::string Db() const { return "sqlite:" + (dir_ / "store.db").string(); }

  // The run's output for an example sale; the screen as it opened is in snapshots.opened.
  json Run(const std::string& sale) {
    const fs::path path = fs::path(RECEBIMENTO_SOURCE_DIR) / "examples" / "sales" / sale;
    const CliResult r = RunCli({"run", "--host-dir", (dir_ / "host").string(), "--sale", path.string(), "--script",
                                (dir_ / "script.jsonl").string(), "--db", Db(), "--clock", "2026-12-06T12:00:00"},
                               dir_.str());
    EXPECT_EQ(r.exit_code, 0) << r.err;
    json out = json::parse(r.out, nullptr, false);
    EXPECT_FALSE(out.is_discarded()) << r.out;
    return out;
  }

  static std::string Caption(const json& screen, const std::string& control) {
    return screen["controls"][control]["caption"].get<std::string>();
  }

  static std::vector<std::string> EnabledTenders(const json& screen) {
    std::vector<std::string> out;
    for (const auto& [name, c] : screen["controls"].items())
      if (name.rfind("tcbBalcao", 0) == 0 && c["visible"].get<bool>() && c["enabled"].get<bool>())
        out.push_back(c["caption"].get<std::string>());
    return out;
  }

  TempDir dir_;
};

const std::vector<std::string> kTenders = {"DINHEIRO", "CARTAO DE CREDITO", "CARTAO DE DEBITO", "CHEQUE"};

TEST_F(InitScenarioTest, TableSale) {
  const json out = Run("table-sale.json");
  const json& s = out["snapshots"]["opened"];
  EXPECT_EQ(Caption(s, "lblTitulo"), "MESA");
  EXPECT_EQ(Caption(s, "lblNrVenda"), "12");
  // 89,90 + 2 x 17,50 + a free water kept at one cent + 12,49 service fee.
  EXPECT_EQ(Caption(s, "lblValorTotal"), "137,40");
  EXPECT_EQ(Caption(s, "lblValorPagar"), "137,40");
  EXPECT_EQ(s["controls"]["memLista"]["lines"], json::array({"Garçom:  JOAO"}));
  EXPECT_EQ(EnabledTenders(s), kTenders);
  EXPECT_EQ(s["state"]["stCdOperador"], "000042") << "the operator of the demo host";
  EXPECT_TRUE(out["datasets"]["cdsMoviVenda"]["rows"].empty()) << "the payment worth nothing was removed";
  EXPECT_DOUBLE_EQ(out["datasets"]["cdsItensVenda"]["rows"][2]["VRDESCCOMVEN"].get<double>(), 4.99);
}

TEST_F(InitScenarioTest, TabSale) {
  const json s = Run("tab-sale.json")["snapshots"]["opened"];
  EXPECT_EQ(Caption(s, "lblTitulo"), "COMANDA");
  EXPECT_EQ(Caption(s, "lblNrVenda"), "0457");
  EXPECT_EQ(Caption(s, "lblServico"), "3,50") << "8,50 fee less the 5,00 tab discount";
  EXPECT_EQ(Caption(s, "lblVrCouver"), "16,00");
  EXPECT_EQ(Caption(s, "lblValorTotal"), "109,40");
  EXPECT_EQ(EnabledTenders(s), kTenders);
}

TEST_F(InitScenarioTest, DeliverySale) {
  const json out = Run("delivery-sale.json");
  const json& s = out["snapshots"]["opened"];
  EXPECT_EQ(Caption(s, "lblTitulo"), "DELIVERY");
  EXPECT_EQ(Caption(s, "lblNrVenda"), "000000998877");
  EXPECT_EQ(Caption(s, "lblValorTotal"), "99,40") << "a delivery keeps its item surcharges";
  EXPECT_TRUE(s["controls"]["memDelivery"]["visible"].get<bool>());
  EXPECT_EQ(s["controls"]["memDelivery"]["lines"][1], "Troco-->>DINHEIRO              0,60");
  EXPECT_TRUE(out["datasets"]["cdsMoviVenda"]["rows"].empty()) << "an unpaid delivery's payments are taken again";
  EXPECT_EQ(EnabledTenders(s), kTenders);
}

TEST_F(InitScenarioTest, CounterSale) {
  const json s = Run("counter-sale.json")["snapshots"]["opened"];
  EXPECT_EQ(Caption(s, "lblTitulo"), "BALCÃO");
  EXPECT_EQ(Caption(s, "lblValorTotal"), "17,51");
  EXPECT_FALSE(s["controls"]["lblServico"]["visible"].get<bool>());
  EXPECT_FALSE(s["controls"]["panKeyboard"]["visible"].get<bool>());
  EXPECT_EQ(EnabledTenders(s), kTenders);
}

}  // namespace
}  // namespace recebimento::testing
