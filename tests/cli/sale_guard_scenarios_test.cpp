// Sales the screen refuses or guards at the start and at the confirmation, through
// `recebimento run`: amounts it cannot take, a customer display of absurd width, and a
// host's whole-sale print that fails.
#include <limits>

#include "scenario_fixture.h"

namespace recebimento::testing {
namespace {

using namespace act;

class SaleGuards : public ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    if (!IsSkipped() && !HasFatalFailure()) Parameters({{"UTILIZAIMPFIS", base::Variant(false)}});
  }

  static json CashSale(const json& items) {
    return Sale({{"stModoVenda", "BAL"}, {"stIdTipoVenda", "B"}}, items,
                json::array({Tender("001", "DINHEIRO", "4", "01", {{"CDTIPOTROCO", "001"}})}));
  }
};

TEST_P(SaleGuards, AmountsTheScreenCannotTakeRefuseTheSaleBeforeItShows) {
  json discounted = Item("2002", 89.90);
  discounted["VRDESCCOMVEN"] = 200.0;
  json negative_quantity = Item("3003", 1.0, -2147483648.0);
  json enormous = Item("4004", 1e300, 1e10);
  const std::vector<std::pair<json, std::string>> cases = {
      {Item("1001", -5.0), "1001"}, {discounted, "2002"}, {negative_quantity, "3003"}, {enormous, "4004"}};
  for (const auto& [item, product] : cases) {
    SCOPED_TRACE(product);
    json o = Run(CashSale(json::array({item})), "");
    EXPECT_EQ(o["result"], false);
    EXPECT_TRUE(Shown(o, "Venda recusada")) << o["dialogs"].dump();
    EXPECT_TRUE(Shown(o, product)) << "the message names the item: " << o["dialogs"].dump();
    EXPECT_TRUE(o["screen"].is_null()) << "the screen never showed";
    EXPECT_EQ(o["args"]["stNrVenda"], "");
    EXPECT_TRUE(o["datasets"]["cdsMoviVenda"]["rows"].empty());
  }
}

TEST_P(SaleGuards, ANegativeLineThatLeavesAPositiveTotalStaysAllowed) {
  json o =
      Run(CashSale(json::array({Item("1001", 10.0), Item("1002", -3.0)})), Pays("tcbBalcao01", "7") + Click("spbOk"));
  EXPECT_EQ(o["result"], true) << o["dialogs"].dump();
  EXPECT_FALSE(Shown(o, "Venda recusada"));
  EXPECT_EQ(o["args"]["doVrPago"], 7.0);
}

TEST_P(SaleGuards, ACustomerDisplayIsAtMostEightyCharactersWide) {
  for (double width : {100000000.0, 99999999999.0}) {
    Parameters({{"DisplayOK", base::Variant(true)}, {"TAMDISPLAY", base::Variant(static_cast<int64_t>(width))}});
    json o = Run(CashSale(json::array({Item("1001", 10.0)})), Pays("tcbBalcao01", "10") + Click("spbOk"));
    EXPECT_EQ(o["result"], true);
    const std::vector<json> lines = HostCalls(o, "DisplayEnviaTexto");
    ASSERT_FALSE(lines.empty());
    for (const json& args : lines) EXPECT_LE(args[0].get<std::string>().size(), 80u) << args.dump();
  }
}

TEST_P(SaleGuards, AWholeSalePrintThatFailsIsToldAndTheSaleStaysOpen) {
  Parameters({{"UTILIZAIMPFIS", base::Variant(true)}, {"IDTIPOIMPFIS", base::Variant(static_cast<int64_t>(16))}});
  json sale = CashSale(json::array({Item("1001", 10.0)}));
  sale["host"]["printer"]["fail"] = {{"ImpressaoVenda", 1}};
  json o = Run(sale, Pays("tcbBalcao01", "10") + Click("spbOk") + Wait(1) + Snapshot("after") + Click("spbOk"));
  EXPECT_TRUE(Shown(o, "Erro ao enviar o comando para a impressora fiscal")) << o["dialogs"].dump();
  EXPECT_EQ(o["snapshots"]["after"]["state"]["boVendaOk"], false);
  EXPECT_EQ(o["snapshots"]["after"]["controls"]["spbOk"]["enabled"], true) << "the sale may be confirmed again";
  EXPECT_EQ(o["result"], true) << "the second print went through";
}

RECEBIMENTO_SCENARIO_ENGINES(SaleGuards);

}  // namespace
}  // namespace recebimento::testing
