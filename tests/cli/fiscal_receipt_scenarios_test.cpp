// The example host as shipped, a register with a fiscal printer, through `recebimento
// run`: the table sale printed and closed with its service fee as an item, a counter
// sale closed on the receipt the host opened, and each printer operation failing at its
// call, on both engines.
#include "datamodule/statement.h"
#include "scenario_fixture.h"

namespace recebimento::testing {
namespace {

using namespace act;

const std::string kConfirm = Wait(1) + Snapshot("paid") + Click("spbOk");

bool PrintedLine(const json& out, const std::string& line) {
  for (const auto& l : out["printed"])
    if (l.get<std::string>() == line) return true;
  return false;
}

class FiscalReceiptScenario : public ScenarioTest {};

TEST_P(FiscalReceiptScenario, TheExampleTableSaleIsPrintedWithItsFeeAndClosed) {
  const json o = Run(ExampleSale("table-sale.json"), Pays("tcbBalcao01", "150") + kConfirm);
  ASSERT_EQ(o["result"], true) << o["dialogs"].dump() << o["printed"].dump();
  EXPECT_EQ(o["args"]["stNrCupom"], "001201");
  EXPECT_EQ(o["args"]["stNrContCupom"], "005530");
  for (const char* line : {"RESTAURANTE DEMONSTRACAO LTDA", "CUPOM FISCAL 001201 COO 005530",
                           "001 1001 #PICANHA NA CHAPA 1 x 89.90 = 89.90", "003 3003 #AGUA MINERAL 1 x 5.00 = 0.01",
                           "004 9001 #Taxa de Serviço 1 x 12.49 = 12.49", "SUBTOTAL 137.40", "TOTAL 137.40",
                           "DINHEIRO 150.00", "TROCO 12.60", "FIM CUPOM 001201 GT 137.40"})
    EXPECT_TRUE(PrintedLine(o, line)) << line << "\n" << o["printed"].dump(1);
  EXPECT_EQ(HostCalls(o, "VendaItem").size(), 4u);
  const auto closings = HostCalls(o, "FechaCupom");
  ASSERT_EQ(closings.size(), 1u);
  EXPECT_EQ(closings[0][1].size(), 62u);
  EXPECT_EQ(closings[0][1][42], "001201");
  // The fee went to the host's items as a line of its own.
  const json& items = o["datasets"]["cdsItensVenda"]["rows"];
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[3]["CDPRODUTO"], "9001");
  for (const json& item : items) EXPECT_EQ(item["IDPRODIMPFIS"], "S");
  EXPECT_TRUE(o["reservedNumbers"].empty());
  const datamodule::Statement first{"q", "SELECT NRSEQUENCIAL FROM NOVOCODIGO WHERE CDCONTADOR LIKE 'CUPINICIAL%'"};
  ASSERT_EQ(Store().admin().Query(first).rows.size(), 1u);
  EXPECT_EQ(Store().admin().Query(first).rows[0][0].AsString(), "001201    ");
}

TEST_P(FiscalReceiptScenario, ACounterSaleIsClosedOnTheReceiptTheHostOpened) {
  const json o = Run(ExampleSale("counter-sale.json"), Pays("tcbBalcao01", "30") + kConfirm);
  ASSERT_EQ(o["result"], true) << o["dialogs"].dump();
  EXPECT_TRUE(HostCalls(o, "AbreCupom").empty());
  EXPECT_TRUE(HostCalls(o, "VendaItem").empty());
  EXPECT_EQ(HostCalls(o, "FechaCupom").size(), 1u);
  EXPECT_TRUE(PrintedLine(o, "TOTAL 17.51")) << o["printed"].dump(1);
  EXPECT_TRUE(PrintedLine(o, "TROCO 12.49"));
}

struct PrinterFailure {
  const char* name;
  json fail;
  std::string script_tail;  // what the operator answers after the confirmation
  bool completed;
  std::string shown;
};

class PrinterFailureScenario : public ::testing::TestWithParam<std::tuple<Engine, PrinterFailure>> {};

TEST_P(PrinterFailureScenario, TheOperationFailsAtItsCallAndTheSaleSaysSo) {
  const auto& [engine, c] = GetParam();
  RequireScenarioEngine(engine);
  if (IsSkipped() || HasFatalFailure()) return;
  Scenario scenario(engine);
  json sale = ExampleSale("table-sale.json");
  sale["host"]["printer"]["fail"] = c.fail;
  const json o = scenario.Run(sale, Pays("tcbBalcao01", "150") + Click("spbOk") + c.script_tail);
  EXPECT_EQ(o["result"], c.completed) << o["dialogs"].dump();
  EXPECT_TRUE(Shown(o, c.shown)) << o["dialogs"].dump();
  const std::string operation = c.fail.begin().key();
  ASSERT_FALSE(HostCalls(o, operation).empty()) << operation << " was recorded";
}

std::vector<PrinterFailure> Failures() {
  return {
      // With the card terminal integrated (the example host's), a receipt not printed leaves the screen.
      {"Opening", {{"AbreCupom", 1}}, "", false, "Erro ao enviar o comando para a impressora fiscal"},
      {"ItemGivenUp", {{"VendaItem", 2}}, Answer(false), false, "Cupom Fiscal deve ser cancelado"},
      {"ItemRetried", {{"VendaItem", 2}}, Answer(true), true, "Deseja tentar novamente?"},
      {"Closing", {{"FechaCupom", 1}}, "", false, "Erro ao fechar o cupom fiscal"},
      {"Drawer", {{"Abre_Gaveta_Imp", 1}}, "", true, "Não foi possível abrir a gaveta. Código do erro: 002"},
  };
}

std::string FailureName(const ::testing::TestParamInfo<std::tuple<Engine, PrinterFailure>>& info) {
  return std::string(std::get<1>(info.param).name) +
         (std::get<0>(info.param) == Engine::SQLite ? "_SQLite" : "_PostgreSQL");
}

INSTANTIATE_TEST_SUITE_P(Printer, PrinterFailureScenario,
                         ::testing::Combine(::testing::Values(Engine::SQLite, Engine::PostgreSQL),
                                            ::testing::ValuesIn(Failures())),
                         FailureName);

RECEBIMENTO_SCENARIO_ENGINES(FiscalReceiptScenario);

}  // namespace
}  // namespace recebimento::testing
