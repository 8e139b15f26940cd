// Loyalty programmes through `recebimento run` against fake CRM Bonus and ClubPetro
// services on 127.0.0.1, which the store's settings point at: the CRM Bonus balance taken
// as the sale's discount and the sale reported at the close, ClubPetro points paying
// part of a sale and redeemed when it is confirmed, and a UDS cashback the host answers.
#include "scenario_fixture.h"
#include "support/fake_loyalty_services.h"
#include "support/fake_wallet_services.h"

namespace recebimento::testing {
namespace {

// Cash (01) and ClubPetro points (02) on the first page; the items carry the columns the
// CRM Bonus close fills.
json LoyaltySale(double total, const json& args = json::object()) {
  json item = Item("1001", total);
  item["VRDESCCRM"] = 0;
  item["NRIDBONUSCRM"] = "";
  item["NRNFCECRMBONUS"] = "";
  json a = {{"stModoVenda", "BAL"}, {"stIdTipoVenda", "B"}};
  for (const auto& [k, v] : args.items()) a[k] = v;
  return Sale(a, json::array({item}),
              json::array({Tender("001", "DINHEIRO", "4", "01", {{"CDTIPOTROCO", "001"}}),
                           Tender("050", "PONTOS CLUBPETRO", "5", "02")}));
}

class LoyaltyScenario : public ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    BareRegister();
    Parameters({{"CDLOJA", base::Variant(std::string("0001"))}});
  }

  void UseCrmBonus() {
    Store().Exec("UPDATE LOJA SET IDCRMBONUS = 'S', CDURLCRMBONUS = '" + crm_.Base() +
                 "', CDAUTHCRMBONUS = 'crm-auth-9f2', CDCODECRMBONUS = 'EMP01' WHERE CDFILIAL = '0001'");
  }
  void UseClubPetro() {
    Store().Exec("UPDATE PARAVEND SET DSIDRESGS = 'cp-client', DSSENHARESGS = 'cp-s3cr3t', DSURLRAIZ = '" +
                 club_.TokenUrl() + "' WHERE CDFILIAL = '0001'");
  }

  FakeCrmBonus crm_;
  FakeClubPetro club_;
};

TEST_P(LoyaltyScenario, TheCrmBonusBalanceIsTheDiscountAndTheSaleIsReportedAtTheClose) {
  using namespace act;
  UseCrmBonus();
  crm_.Balance("20.00", "BNS123456789");
  // The phone on the keypad, nobody of the store chosen for it, the offer accepted, the
  // rest in cash.
  json o = Run(LoyaltySale(50), Click("tcbBalcao01") + Answer("11999990000") + Answer(nullptr) + Answer(true) +
                                    Keypad("30") + Click("spbOk"));
  EXPECT_EQ(o["result"], true) << o["dialogs"].dump();
  EXPECT_EQ(PaymentLines(o), (std::vector<PaymentLine>{{"001", "E", 30.0}}));
  EXPECT_EQ(BodiesTo(crm_.Server(), "/crm/getBalance").size(), 1u);
  ASSERT_EQ(BodiesTo(crm_.Server(), "/crm/bonusProcessing").size(), 1u);
  EXPECT_EQ(BodiesTo(crm_.Server(), "/crm/addTotalSales").size(), 1u);
  const json item = o["datasets"]["cdsItensVenda"]["rows"][0];
  EXPECT_DOUBLE_EQ(item["VRDESCCRM"].get<double>(), 20.0);
  EXPECT_EQ(item["NRIDBONUSCRM"].get<std::string>().size(), 9u) << "the bonus id as the close sends it";
}

TEST_P(LoyaltyScenario, ClubPetroPointsPayPartOfTheSaleAndAreRedeemedWhenItIsConfirmed) {
  using namespace act;
  UseClubPetro();
  club_.Consumer("12345678909", "40.00");
  // The balance shown, 15 of it on the keypad and confirmed, the rest in cash.
  json o = Run(LoyaltySale(50, {{"stNrDocConsCupom", "12345678909"}}),
               Click("tcbBalcao02") + Keypad("15") + Answer(true) + Pays("tcbBalcao01", "35") + Click("spbOk"));
  EXPECT_EQ(o["result"], true) << o["dialogs"].dump();
  ASSERT_EQ(PaymentLines(o), (std::vector<PaymentLine>{{"050", "E", 15.0}, {"001", "E", 35.0}}));
  const json points = o["datasets"]["cdsMoviVenda"]["rows"][0];
  EXPECT_EQ(points["CDINTRESGSALDO"], "AUT-7781");
  EXPECT_EQ(points["IDTIPORESGATE"], "O");
  EXPECT_EQ(points["CDCONSRESGSALDO"], "C-12345678909");
  const auto bodies = club_.SaleBodies();
  ASSERT_EQ(bodies.size(), 3u);  // consultation, redemption, sale report
  EXPECT_NE(bodies[1].find("\"pontostotal\":\"15.00\""), std::string::npos) << bodies[1];
  EXPECT_EQ(HostCalls(o, "AtivaProcesso").size(), 1u) << "the progress notice while the programme is asked";
}

TEST_P(LoyaltyScenario, AClubPetroThatDoesNotAnswerTakesNoPointsAndTheSaleIsPaidInCash) {
  using namespace act;
  UseClubPetro();
  club_.Override("Consulta", ServerError());
  // Tried again once, then given up; the sale goes on in cash.
  json o = Run(LoyaltySale(50, {{"stNrDocConsCupom", "12345678909"}}),
               Click("tcbBalcao02") + Answer(true) + Answer(false) + Pays("tcbBalcao01", "50") + Click("spbOk"));
  EXPECT_EQ(o["result"], true) << o["dialogs"].dump();
  EXPECT_EQ(PaymentLines(o), (std::vector<PaymentLine>{{"001", "E", 50.0}}));
  EXPECT_EQ(club_.SaleBodies().size(), 2u) << "two consultations, no redemption";
}

TEST_P(LoyaltyScenario, AUdsCashbackTheHostAnswersIsTheSalesDiscount) {
  using namespace act;
  Parameters({{"IDUTILFIDUDS", base::Variant(std::string("S"))}});
  json sale = LoyaltySale(50);
  json& item = sale["datasets"]["cdsItensVenda"][0];
  item["NRCPFFIDUDS"] = "12345678909";
  item["VRDESCCASHUDS"] = 0;
  sale["host"]["services"] = {
      {"IntegracaoFidUds:CONSULTA", json::array({{{"ok", true}, {"result", json::array({true, "", 20.0, "N"})}}})},
      {"IntegracaoFidUds:BAL_ZEM", json::array({{{"ok", true}, {"result", json::array({true, ""})}}})}};
  // The balance accepted, the rest in cash.
  json o = Run(sale, Click("sbtCashbackUDS") + Answer(true) + Pays("tcbBalcao01", "30") + Click("spbOk"));
  EXPECT_EQ(o["result"], true) << o["dialogs"].dump();
  EXPECT_EQ(PaymentLines(o), (std::vector<PaymentLine>{{"001", "E", 30.0}}));
  EXPECT_DOUBLE_EQ(o["datasets"]["cdsItensVenda"]["rows"][0]["VRDESCCASHUDS"].get<double>(), 20.0);
  ASSERT_EQ(HostCalls(o, "IntegracaoFidUds").size(), 2u);
  EXPECT_EQ(HostCalls(o, "IntegracaoFidUds")[1][0], "BAL_ZEM");
}

RECEBIMENTO_SCENARIO_ENGINES(LoyaltyScenario);

}  // namespace
}  // namespace recebimento::testing
