// The prepaid card through `recebimento run` against the fake prepaid service on
// 127.0.0.1, which the register's parameters file points at (over https, trusted through
// --ca-file): a sale paid with a card and cash and confirmed - the card redeemed once, at
// the confirmation - and a service that fails leaving the sale to another tender.
#include "scenario_fixture.h"
#include "support/fake_prepaid_card.h"
#include "support/fake_wallet_services.h"

namespace recebimento::testing {
namespace {

// Cash (01) and the prepaid card (02) on the first page.
json PrepaidSale(double total) {
  return Sale({{"stModoVenda", "BAL"}, {"stIdTipoVenda", "B"}}, json::array({Item("1001", total)}),
              json::array({Tender("001", "DINHEIRO", "4", "01", {{"CDTIPOTROCO", "001"}}),
                           Tender("012", "CARTAO TODO", "K", "02")}));
}

class PrepaidScenario : public ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    BareRegister();
    Parameters({{"CDURLINTCARTPRE", base::Variant(fake_.ConfiguredAddress())},
                {"NRINSJURFILI", base::Variant(std::string("12345678000199"))}});
    fake_.AddCard("6036001234567890", 50, "4321");
  }

  json RunTrusted(const json& sale, const std::string& script) {
    const CliResult r = S().RunRaw(sale, script, {"--ca-file", FakePrepaidCard::CaFile()});
    EXPECT_EQ(r.exit_code, 0) << r.err << r.out.substr(0, 2000);
    json out = json::parse(r.out, nullptr, false);
    return out.is_object() ? out : json::object();
  }

  FakePrepaidCard fake_;
};

TEST_P(PrepaidScenario, ACardAndCashPayTheSaleAndTheCardIsRedeemedAtTheConfirmation) {
  using namespace act;
  const std::string script = Click("tcbBalcao02") + Answer("6036001234567890") + Answer(true) + Answer("30,00") +
                             Pays("tcbBalcao01", "10") + Click("spbOk") + Answer("4321");
  json o = RunTrusted(PrepaidSale(40), script);
  EXPECT_EQ(o["result"], true) << o["dialogs"].dump();
  EXPECT_EQ(PaymentLines(o), (std::vector<PaymentLine>{{"012", "E", 30.0}, {"001", "E", 10.0}}));
  EXPECT_EQ(fake_.Redeemed(), std::vector<std::string>{"30.00"});
  EXPECT_DOUBLE_EQ(fake_.Balance("6036001234567890"), 20);
  EXPECT_TRUE(Shown(o, "Resgate do Cartão Todo realizado com sucesso."));
}

TEST_P(PrepaidScenario, AServiceThatFailsLeavesTheSaleToAnotherTender) {
  using namespace act;
  fake_.Override(FakePrepaidCard::kBalance, ServerError());
  json o = RunTrusted(PrepaidSale(40),
                      Click("tcbBalcao02") + Answer("6036001234567890") + Pays("tcbBalcao01", "40") + Click("spbOk"));
  EXPECT_EQ(o["result"], true) << o["dialogs"].dump();
  EXPECT_EQ(PaymentLines(o), (std::vector<PaymentLine>{{"001", "E", 40.0}}));
  EXPECT_TRUE(Shown(o, "Falha na consulta de saldo do cartão"));
  EXPECT_TRUE(fake_.Redeemed().empty());
}

RECEBIMENTO_SCENARIO_ENGINES(PrepaidScenario);

}  // namespace
}  // namespace recebimento::testing
