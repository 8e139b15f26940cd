// Card sales through `recebimento run` on an NFC-e register with the integrated terminal:
// a card that pays the table confirms it at once and the host confirms the transaction;
// a transaction an interrupted call left is found and undone at the next start.
#include <filesystem>

#include "scenario_fixture.h"

namespace recebimento::testing {
namespace {

namespace fs = std::filesystem;

class CardScenario : public ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    Parameters({{"UTILIZAIMPFIS", false}, {"SISTEMAZEMNFCE", true}, {"DSDIRPENTEF", "Tef\\Pendentes"}});
  }
  size_t AnswerFiles(const std::string& folder) const {
    size_t n = 0;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(HostDir() / "Tef" / folder, ec))
      n += e.path().filename().string().rfind("intpos.", 0) == 0 ? 1 : 0;
    return n;
  }
  static bool Printed(const json& out, const std::string& line) {
    for (const json& l : out["printed"])
      if (l == line) return true;
    return false;
  }
};

TEST_P(CardScenario, ACardThatPaysTheTableConfirmsTheSaleAndTheTransaction) {
  using namespace act;
  json sale = ExampleSale("table-sale.json");
  sale["host"]["tef"]["outcomes"][0]["host_nsu"] = "778899";
  // The keypad proposes what is due; Enter takes it, the terminal approves, and the
  // sale paid by card without change is confirmed by itself.
  json o = Run(sale, Click("tcbBalcao02") + Key("Enter"));
  EXPECT_EQ(o["result"], true) << o["error"];
  const auto dotef = HostCalls(o, "DoTef");
  ASSERT_EQ(dotef.size(), 1u);
  EXPECT_EQ(dotef[0][1], "C");
  EXPECT_EQ(dotef[0][2], 137.4);
  ASSERT_FALSE(PaymentLines(o).empty());
  EXPECT_EQ(PaymentLines(o)[0], (PaymentLine{"002", "E", 137.4}));
  EXPECT_EQ(o["datasets"]["cdsMoviVenda"]["rows"][0]["CDNSUHOSTTEF"], "778899");
  EXPECT_EQ(o["screen"]["state"]["inQtdeTef"], 1);
  EXPECT_EQ(AnswerFiles("Resp"), 0u) << "the completed sale's transaction was confirmed";
}

TEST_P(CardScenario, ATransactionLeftByAnInterruptedCallIsUndoneAtTheNextStart) {
  using namespace act;
  // Part of the table by card, and the call ends there (the script runs out).
  json first = Run(ExampleSale("table-sale.json"), Pays("tcbBalcao02", "50"), 1);
  EXPECT_EQ(HostCalls(first, "DoTef").size(), 1u);
  ASSERT_EQ(AnswerFiles("Resp"), 1u) << "approved, never confirmed";

  json next = Run(ExampleSale("table-sale.json"), Click("spbSair"));
  ASSERT_EQ(HostCalls(next, "CheckIntPosFiles").size(), 1u);
  const auto cancel = HostCalls(next, "CancelaPendencia");
  ASSERT_EQ(cancel.size(), 1u);
  EXPECT_EQ(cancel[0][4], 1) << "one transaction";
  EXPECT_TRUE(Printed(next, "TRANSACOES TEF CANCELADAS: 1")) << next["printed"].dump();
  EXPECT_TRUE(Shown(next, "venda interrompida"));
  EXPECT_EQ(AnswerFiles("Resp"), 0u);
  EXPECT_EQ(AnswerFiles("Pendentes"), 0u);

  // Nothing is left for the call after.
  json after = Run(ExampleSale("table-sale.json"), Click("spbSair"));
  EXPECT_EQ(HostCalls(after, "CancelaPendencia").size(), 0u);
}

RECEBIMENTO_SCENARIO_ENGINES(CardScenario);

}  // namespace
}  // namespace recebimento::testing
