// Consumer accounts through `recebimento run` on the demo store: a delivery order paid
// from the consumer's personal credit is confirmed without the operator, one whose
// consumer is no longer active goes to the operator without that payment, and a tender
// tied to consumer types is refused on a sale without a consumer while cash is taken.
#include "scenario_fixture.h"

namespace recebimento::testing {
namespace {

using namespace act;

// A register without a fiscal printer: the sale is recorded with a number of the store.
class ConsumerScenarios : public ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    Parameters({{"UTILIZAIMPFIS", base::Variant(false)}});
  }
};

// A remote order (`description` "PAGAMENTO DELIVERY" or "PAGAMENTO MOBILE") of `consumer`
// (client 000001) paid with personal credit by the host, one item per family of
// `families`, `amount` each.
json PaidRemoteOrder(const std::string& description, const std::string& consumer, double amount,
                     const std::vector<std::string>& families = {"01"}) {
  json items = json::array();
  for (const std::string& family : families) {
    json item = Item("1001", amount);
    item["CDCLIENTE"] = "000001";
    item["CDCONSUMIDOR"] = consumer;
    item["CDFAMILISALD"] = family;
    item["NMCONSVEND"] = "";
    item["NRINSCRCONS"] = "";
    items.push_back(item);
  }
  const double total = amount * static_cast<double>(families.size());
  const bool delivery = description == "PAGAMENTO DELIVERY";
  json sale = Sale({{"stModoVenda", delivery ? "DLV" : "BAL"},
                    {"stIdTipoVenda", delivery ? "D" : "M"},
                    {"stNmClienteVenda", delivery ? "Entrega" : "App"}},
                   items, json::array({Tender("001", "DINHEIRO", "4", "01")}));
  sale["datasets"]["cdsMoviVenda"] = json::array({{{"CDTIPORECE", "010"},
                                                   {"IDTIPORECE", "9"},
                                                   {"NMTIPORECE", "CREDITO PESSOAL"},
                                                   {"VRMOVIVEND", total},
                                                   {"DSMOVIVEND", description},
                                                   {"IDTIPOMOVIVE", "E"},
                                                   {"CDNSUHOSTTEF", ""},
                                                   {"CDTIPOTROCO", ""},
                                                   {"QTPARCRECEB", 1},
                                                   {"CDCLIENTE", "000001"},
                                                   {"CDCONSUMIDOR", consumer}}});
  return sale;
}

json PaidDelivery(const std::string& consumer, double amount) {
  return PaidRemoteOrder("PAGAMENTO DELIVERY", consumer, amount);
}

TEST_P(ConsumerScenarios, ADeliveryPaidFromTheConsumersCreditIsConfirmedWithoutTheOperator) {
  // No operator action at all: a screen shown would wait for one and fail the run.
  const json out = Run(PaidDelivery("0001", 30.5), "");
  EXPECT_TRUE(out["result"].get<bool>()) << out.dump().substr(0, 2000);
  EXPECT_EQ(PaymentLines(out), (std::vector<PaymentLine>{{"010", "E", 30.5}}));
  EXPECT_DOUBLE_EQ(out["args"]["doVrPago"].get<double>(), 30.5);
  EXPECT_EQ(out["args"]["stCdConsumidor"], "MAT0001");
  const json& families = out["datasets"]["cdsSaldoFamilia"]["rows"];
  ASSERT_EQ(families.size(), 1u);
  EXPECT_EQ(families[0]["CDFAMILISALD"], "01");
  EXPECT_DOUBLE_EQ(families[0]["VRSALDCONFAM"].get<double>(), 30.5);
}

TEST_P(ConsumerScenarios, AnInactiveConsumersDeliveryGoesToTheOperatorWithoutThatPayment) {
  const json out =
      Run(PaidDelivery("0002", 30), Wait(1) + Snapshot("refused") + Pays("tcbBalcao01", "30") + Click("spbOk"));
  EXPECT_TRUE(Shown(out, "Consumidor inativo"));
  EXPECT_EQ(out["snapshots"]["refused"]["controls"]["memDelivery"]["lines"].size(), 0u);
  EXPECT_TRUE(out["result"].get<bool>());
  EXPECT_EQ(PaymentLines(out), (std::vector<PaymentLine>{{"001", "E", 30.0}}));
}

TEST_P(ConsumerScenarios, AMobileOrderIsCheckedLikeADeliveryAndAnOrderOfTwoFamiliesGoesToTheOperator) {
  const json mobile = Run(PaidRemoteOrder("PAGAMENTO MOBILE", "0001", 12.25), "");
  EXPECT_TRUE(mobile["result"].get<bool>()) << mobile.dump().substr(0, 2000);
  EXPECT_EQ(PaymentLines(mobile), (std::vector<PaymentLine>{{"010", "E", 12.25}}));

  // A personal credit pays one family: the order's payment is taken off and the operator
  // is asked for another tender.
  const json two = Run(PaidRemoteOrder("PAGAMENTO DELIVERY", "0001", 10, {"01", "02"}),
                       Wait(1) + Snapshot("refused") + Pays("tcbBalcao01", "20") + Click("spbOk"));
  EXPECT_TRUE(Shown(two, "família")) << two["dialogs"].dump();
  EXPECT_EQ(two["snapshots"]["refused"]["controls"]["memDelivery"]["lines"].size(), 0u);
  EXPECT_TRUE(two["result"].get<bool>());
  EXPECT_EQ(PaymentLines(two), (std::vector<PaymentLine>{{"001", "E", 20.0}}));
}

TEST_P(ConsumerScenarios, AConsumerOnlyTenderIsRefusedWithoutAConsumerWhileCashIsTaken) {
  const json sale =
      Sale({{"stModoVenda", "BAL"}, {"stIdTipoVenda", "M"}}, json::array({Item("1003", 12)}),
           json::array({Tender("001", "DINHEIRO", "4", "01"), Tender("011", "DEBITO CONSUMIDOR", "A", "02")}));
  const json out = Run(sale, Click("tcbBalcao02") + Pays("tcbBalcao01", "12") + Click("spbOk"));
  EXPECT_TRUE(Shown(out, "nenhum consumidor foi informado para esta venda"));
  EXPECT_TRUE(out["result"].get<bool>());
  EXPECT_EQ(PaymentLines(out), (std::vector<PaymentLine>{{"001", "E", 12.0}}));
}

RECEBIMENTO_SCENARIO_ENGINES(ConsumerScenarios);

}  // namespace
}  // namespace recebimento::testing
