// Wallet payments through `recebimento run` against fake AME and Mercado Pago services
// on 127.0.0.1, which the branch's settings in the store point at: a sale paid and
// confirmed with each, and runs killed after an order was created and before it was
// captured - the next start cancels or refunds what the order took.
#include <chrono>
#include <filesystem>
#include <fstream>

#include "scenario_fixture.h"
#include "support/fake_wallet_services.h"

namespace recebimento::testing {
namespace {

namespace fs = std::filesystem;

// Cash (01), AME (02) and Mercado Pago (03) on the first page; codes the demo store ties
// to no consumer type.
json WalletSale(double total) {
  return Sale({{"stModoVenda", "BAL"}, {"stIdTipoVenda", "B"}}, json::array({Item("1001", total)}),
              json::array({Tender("001", "DINHEIRO", "4", "01", {{"CDTIPOTROCO", "001"}}),
                           Tender("020", "AME", "I", "02"), Tender("021", "MERCADO PAGO", "J", "03")}));
}

class WalletScenario : public ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    BareRegister();
    Store().Exec(
        "UPDATE PARAVEND SET DSLOGINAMEHOM = 'hom-id', DSSENHAAMEHOM = 'hom-s3cr3t', VRCASHBACK = 0, "
        "IDAMBIENTEAME = 'H', DSURLSERVAME = '" +
        ame_.CallbackBase() + "', DSURLAPIAMEHOM = '" + ame_.ApiBase() +
        "', DSACCESSTOKENMP = 'APP_USR-t0k3n', DSUSERIDMP = '123456', DSIDSPONSORMP = '987654', "
        "DSURLAPIMP = '" +
        mp_.ApiBase() + "' WHERE CDFILIAL = '0001'");
  }

  json Journal() {
    std::ifstream in(HostDir() / "Dados" / "wallet_journal.json");
    std::stringstream text;
    text << in.rdbuf();
    const json j = json::parse(text.str(), nullptr, false);
    return j.is_object() ? j["entries"] : json::array();
  }

  std::string Trace() {
    std::string all;
    for (const auto& f : fs::recursive_directory_iterator(HostDir() / "Dados" / "LogRev00000")) {
      std::ifstream in(f.path());
      std::stringstream text;
      text << in.rdbuf();
      all += text.str();
    }
    return all;
  }

  // Runs the sale and kills the run once `reached` holds (the run still waiting on a
  // fake service's reply).
  void RunUntilKilled(const std::string& script, const std::function<bool()>& reached) {
    const bool ended = RunAndKillWhen(S().RunArgs(WalletSale(10), script), reached, std::chrono::seconds(90));
    ASSERT_TRUE(reached()) << "the run never got there";
    ASSERT_FALSE(ended) << "the run ended by itself";
  }

  FakeAme ame_;
  FakeMercadoPago mp_;
};

TEST_P(WalletScenario, AnAmePaymentIsCapturedWhenTheSaleIsConfirmed) {
  using namespace act;
  json o = Run(WalletSale(10), Pays("tcbBalcao02", "10") + Click("spbOk"));
  EXPECT_EQ(o["result"], true) << o["dialogs"].dump();
  ASSERT_EQ(PaymentLines(o), (std::vector<PaymentLine>{{"020", "E", 10.0}}));
  EXPECT_EQ(o["datasets"]["cdsMoviVenda"]["rows"][0]["IDTRANSAME"], "ord-1");
  EXPECT_EQ(HostCalls(o, "ImprimeQRCodeAME").size(), 1u);
  EXPECT_EQ(ame_.Captured(), std::vector<std::string>{"pay-ord-1"});
  EXPECT_TRUE(Journal().empty());
}

TEST_P(WalletScenario, AMercadoPagoPaymentMadeWhileTheScreenWaitsIsTheSalesLine) {
  using namespace act;
  mp_.OrdersFromSearch(1, {{"111", "paid", {{"501", "approved"}}}});
  json o = Run(WalletSale(10), Pays("tcbBalcao03", "10") + Wait(30000) + Click("spbOk"));
  EXPECT_EQ(o["result"], true) << o["dialogs"].dump();
  ASSERT_EQ(PaymentLines(o), (std::vector<PaymentLine>{{"021", "E", 10.0}}));
  EXPECT_EQ(o["datasets"]["cdsMoviVenda"]["rows"][0]["CDNSUHOSTTEF"], "501");
  EXPECT_TRUE(mp_.Refunded().empty());
  EXPECT_TRUE(Journal().empty()) << "the recorded sale holds the payment now";
}

TEST_P(WalletScenario, AnAmeOrderOfARunKilledBeforeItsCaptureIsCancelledAtTheNextStart) {
  using namespace act;
  // The consumer's authorisation is on its way when the run dies.
  ame_.Override(FakeAme::kCallback,
                FakeReply(200, R"({"id":"","status":"PENDING","type":"PAYMENT"})", "application/json", 20000));
  RunUntilKilled(Pays("tcbBalcao02", "10") + Click("spbOk"), [this] { return ame_.CallbackQueries() > 0; });
  const json left = Journal();
  ASSERT_EQ(left.size(), 1u) << left.dump();
  EXPECT_EQ(left[0]["provider"], "AME");
  EXPECT_EQ(left[0]["order"], "ord-1");
  EXPECT_TRUE(ame_.Captured().empty());

  ame_.Override(FakeAme::kCallback, std::nullopt);  // the consumer did authorise it
  json o = Run(WalletSale(10), Click("spbSair"));
  EXPECT_EQ(ame_.Cancelled(), std::vector<std::string>{"pay-ord-1"});
  EXPECT_TRUE(Journal().empty());
  EXPECT_NE(Trace().find("ordem ord-1 pagamento pay-ord-1: cancelada"), std::string::npos) << Trace();
}

TEST_P(WalletScenario, AMercadoPagoOrderOfAKilledRunIsClearedAndWhatItTookRefunded) {
  using namespace act;
  mp_.Override(FakeMercadoPago::kSearch, SlowReply(20000));
  RunUntilKilled(Pays("tcbBalcao03", "10") + Wait(30000) + Click("spbOk"), [this] { return mp_.Searches() > 0; });
  ASSERT_EQ(Journal().size(), 1u);
  EXPECT_EQ(Journal()[0]["order"], mp_.LastReference());

  // The consumer paid after the register died.
  mp_.Override(FakeMercadoPago::kSearch, std::nullopt);
  mp_.OrdersFromSearch(1, {{"111", "paid", {{"501", "approved"}}}});
  const int deletes = mp_.Deletes();
  Run(WalletSale(10), Click("spbSair"));
  EXPECT_EQ(mp_.Deletes(), deletes + 1) << "the point of sale cleared";
  EXPECT_EQ(mp_.Refunded(), std::vector<std::string>{"501"});
  EXPECT_TRUE(Journal().empty());
}

RECEBIMENTO_SCENARIO_ENGINES(WalletScenario);

}  // namespace
}  // namespace recebimento::testing
