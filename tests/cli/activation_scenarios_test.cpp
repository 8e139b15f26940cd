// The screen's activation through `recebimento run`: a counter sale for a CPF whose
// FixeCRM stamps cover the sale is discounted to one cent a unit as soon as the screen
// shows, the CPF and the amount redeemed on its items; a CNPJ never asks FixeCRM.
#include "scenario_fixture.h"

namespace recebimento::testing {
namespace {

json CounterSaleFor(const std::string& document) {
  json items = json::array();
  for (json item : {Item("1001", 10, 2)}) {
    item["NRCPFFIXECRM"] = "";
    item["VRRESGFIXECRM"] = 0.0;
    items.push_back(item);
  }
  json sale = Sale({{"stModoVenda", "BAL"}, {"stIdTipoVenda", "B"}, {"stNrDocConsCupom", document}}, items,
                   json::array({Tender("001", "DINHEIRO", "4", "01", {{"CDTIPOTROCO", "001"}})}));
  sale["host"] = {
      {"services",
       {{"FixeCRM:CONSULTA_SELOS",
         json::array({{{"ok", true}, {"result", json::array({"Você tem R$ 50,00 em selos. Resgatar?", 50})}}})}}}};
  return sale;
}

class ActivationScenario : public ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    BareRegister();
    Parameters({{"IDUTILFIXECRM", base::Variant(std::string("S"))},
                {"CDURLFIXECRM", base::Variant(std::string("https://crm.example/"))}});
  }
};

TEST_P(ActivationScenario, StampsThatCoverTheSaleLeaveACentAUnitToPay) {
  using namespace act;
  // Redeem, print the CPF; then the two cents in cash.
  json o = Run(CounterSaleFor("39053344705"), Answer(true) + Answer(true) + Snapshot("activated") +
                                                  Pays("tcbBalcao01", "0,02") + Wait(1) + Click("spbOk"));
  EXPECT_EQ(o["result"], true) << o["dialogs"].dump();
  EXPECT_EQ(PaymentLines(o), (std::vector<PaymentLine>{{"001", "E", 0.02}}));
  const std::vector<json> calls = HostCalls(o, "FixeCRM");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0][6], "39053344705") << calls[0].dump();
  for (const json& row : o["datasets"]["cdsItensVenda"]["rows"]) {
    EXPECT_EQ(row["NRCPFFIXECRM"], "39053344705");
    EXPECT_DOUBLE_EQ(row["VRRESGFIXECRM"].get<double>(), 20.0);
  }
  EXPECT_TRUE(Shown(o, "Deseja imprimir o CPF utilizado no FixeCRM no Cupom?"));
}

TEST_P(ActivationScenario, ACnpjIsNeverSentToFixeCrm) {
  using namespace act;
  json o = Run(CounterSaleFor("12345678000199"), Pays("tcbBalcao01", "20") + Wait(1) + Click("spbOk"));
  EXPECT_EQ(o["result"], true) << o["dialogs"].dump();
  EXPECT_TRUE(HostCalls(o, "FixeCRM").empty());
  EXPECT_EQ(PaymentLines(o), (std::vector<PaymentLine>{{"001", "E", 20.0}}));
}

RECEBIMENTO_SCENARIO_ENGINES(ActivationScenario);

}  // namespace
}  // namespace recebimento::testing
