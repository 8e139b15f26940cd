// Runs killed the moment the card terminal approved a transaction, before the sale that
// carries it is recorded: at the next start the transaction is found and undone, so the
// customer is never charged for a sale that was not made, and no answer file is left
// behind; a run that completed its sale left none either.
#include <chrono>
#include <filesystem>

#include "host/pos/tef_exchange_folder.h"
#include "scenario_fixture.h"

namespace recebimento::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kRounds = 12;

class CardKill : public ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    Parameters({{"UTILIZAIMPFIS", false}, {"SISTEMAZEMNFCE", true}, {"DSDIRPENTEF", "Tef\\Pendentes"}});
  }
  // Answer files of the terminal in a folder of the host; `strict` leaves out writes cut
  // short ("intpos.001.tmp-...").
  size_t AnswerFiles(const std::string& folder, bool strict = true) const {
    size_t n = 0;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(HostDir() / "Tef" / folder, ec)) {
      const std::string name = e.path().filename().string();
      n += (strict ? pos::IsIntPosName(name) : name.rfind("intpos.", 0) == 0) ? 1 : 0;
    }
    return n;
  }
  static bool Printed(const json& out, const std::string& fragment) {
    for (const json& l : out["printed"])
      if (l.get<std::string>().find(fragment) != std::string::npos) return true;
    return false;
  }
};

TEST_P(CardKill, ATransactionApprovedWhenTheRunDiedIsUndoneAtTheNextStart) {
  using namespace act;
  // 50,00 by card, the rest in cash; the sale confirms by itself once paid.
  const json sale = ExampleSale("table-sale.json");
  const std::string pays = Pays("tcbBalcao02", "50") + Click("tcbBalcao01") + Key("Enter");
  int killed_after_approval = 0;
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const bool ended = RunAndKillWhen(
        // Killed once the approval is written whole: a kill during its write is the
        // terminal's affair, not a transaction.
        S().RunArgs(sale, pays), [&] { return AnswerFiles("Resp") > 0; }, std::chrono::seconds(60));
    const size_t left = AnswerFiles("Resp");
    if (ended) {
      EXPECT_EQ(left, 0u) << "a completed sale's transaction is confirmed";
    }
    if (!ended && left > 0) ++killed_after_approval;

    const json next = Run(sale, Click("spbSair"));
    EXPECT_EQ(AnswerFiles("Resp", false), 0u);
    EXPECT_EQ(AnswerFiles("Pendentes", false), 0u);
    EXPECT_EQ(HostCalls(next, "CancelaPendencia").size(), left > 0 ? 1u : 0u);
    if (left > 0) {
      EXPECT_TRUE(Printed(next, "TRANSACOES TEF CANCELADAS: " + std::to_string(left))) << next["printed"].dump();
      EXPECT_FALSE(Printed(next, "TRANSACOES TEF CONFIRMADAS")) << "the sale was never made";
    }
  }
  EXPECT_GT(killed_after_approval, 0) << "no run died between the approval and the sale";
}

INSTANTIATE_TEST_SUITE_P(SQLite, CardKill, ::testing::Values(Engine::SQLite), EngineName);

}  // namespace
}  // namespace recebimento::testing
