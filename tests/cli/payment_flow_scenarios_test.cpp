// The example sales of the demo host paid through `recebimento run` without a fiscal
// printer: each tender kind, change, discount, surcharge and tip, then confirmed, left
// or cleared. What the host gets back: payment lines, the sale number reserved in the
// store, the amount paid and the result.
#include "datamodule/statement.h"
#include "scenario_fixture.h"

namespace recebimento::testing {
namespace {

using namespace act;

struct FlowCase {
  const char* name;
  const char* sale;
  std::string script;
  std::vector<PaymentLine> lines;  // cdsMoviVenda after the call
  bool completed;
  double paid;                            // doVrPago given back
  std::vector<std::string> list_tail;     // last lines of the payment list when the screen closed
  std::vector<std::string> dialogs = {};  // texts the operator saw
  std::map<std::string, base::Variant> parameters = {};
  std::string store_setup = {};
  double tip = 0;  // VRREPIQUEVENDA of every item
};

std::ostream& operator<<(std::ostream& os, const FlowCase& c) { return os << c.name; }

const std::string kConfirm = Wait(1) + Snapshot("paid") + Click("spbOk");
const base::Variant kTipAsked{std::string("V")};
// Cheques taken by hand: one consulted through the card terminal confirms the sale by
// itself once it pays the rest, like a card.
const std::map<std::string, base::Variant> kChequeNotConsulted = {{"IDUTILCHEQ", base::Variant(std::string("N"))}};

std::vector<FlowCase> Cases() {
  return {
      {"TableCashWithChange",
       "table-sale.json",
       Pays("tcbBalcao01", "150") + kConfirm,
       {{"001", "E", 150.0}, {"001", "S", 12.6}},
       true,
       150.0,
       {ListLine("DINHEIRO", "150,00"), ListLine("Troco (DINHEIRO):", "12,60")}},
      {"TabChequeAfterATenPercentDiscount",
       "tab-sale.json",
       Click("spbDesconto") + Adjustment('P', 10) + Pays("tcbBalcao04", "98,81") + kConfirm,
       {{"004", "E", 98.81}},
       true,
       98.81,
       {ListLine("Desconto: 10,00% ", "-10,59"), ListLine("Sub-Total:", "98,81"), ListLine("CHEQUE", "98,81")},
       {},
       kChequeNotConsulted},
      {"DeliveryVoucherOverpaidTakesTheSaleValue",
       "delivery-sale.json",
       Pays("tcbBalcao05", "100") + Answer(true) + kConfirm,
       {{"005", "E", 99.4}},
       true,
       99.4,
       {ListLine("TICKET", "99,40")},
       {"Assumir valor da venda?"}},
      {"DeliveryCashAndChequeTogether",
       "delivery-sale.json",
       Pays("tcbBalcao01", "50") + Pays("tcbBalcao04", "49,40") + kConfirm,
       {{"001", "E", 50.0}, {"004", "E", 49.4}},
       true,
       99.4,
       {ListLine("DINHEIRO", "50,00"), ListLine("CHEQUE", "49,40")},
       {},
       kChequeNotConsulted},
      {"CounterDollarsWithChangeInCash",
       "counter-sale.json",
       Pays("tcbBalcao07", "4") + Key("Enter") + kConfirm,
       {{"007", "E", 20.0}, {"001", "S", 2.49}},
       true,
       20.0,
       {ListLine("DOLAR", "20,00"), ListLine("Troco (DINHEIRO):", "2,49")}},
      {"TableAgreementForAReleasedConsumer",
       "table-sale.json",
       Click("tcbBalcao06") +
           Answer({{"CDCLIENTE", "000001"}, {"CDCONSUMIDOR", "0003"}, {"NMCONSUMIDOR", "Ana Souza"}}) + kConfirm,
       {{"006", "E", 137.4}},
       true,
       137.4,
       {ListLine("CONVENIO", "137,40")},
       {},
       {},
       "UPDATE CONSUMIDOR SET IDTPVENDACONS = '3' WHERE CDCLIENTE = '000001' AND CDCONSUMIDOR = '0003'"},
      {"TableSurchargeReplacesTheFee",
       "table-sale.json",
       Click("spbAcrescimo") + Adjustment('P', 10) + Pays("tcbBalcao01", "140") + kConfirm,
       {{"001", "E", 140.0}, {"001", "S", 2.6}},
       true,
       140.0,
       {ListLine("Acréscimo: 10,00% ", "+12,49"), ListLine("Sub-Total:", "137,40"), ListLine("DINHEIRO", "140,00"),
        ListLine("Troco (DINHEIRO):", "2,60")}},
      // The service fee is a product here: the change line gives back the change less the tip.
      {"TableTipTypedComesOffTheChange",
       "table-sale.json",
       Pays("tcbBalcao01", "150") + Answer(true) + Keypad("5") + kConfirm,
       {{"001", "E", 150.0}, {"001", "S", 7.6}},
       true,
       150.0,
       {ListLine("Troco (DINHEIRO):", "12,60"), "Repique:                   R$ 5,00"},
       {"O valor do repique é R$ 12,60. Deseja alterar?"},
       {{"IDTPCONTRREPIQ", kTipAsked}},
       {},
       5.0},
      {"CounterTipNotChangedKeepsTheWholeChange",
       "counter-sale.json",
       Pays("tcbBalcao01", "20") + Answer(false) + kConfirm,
       {{"001", "E", 20.0}, {"001", "S", 2.49}},
       true,
       20.0,
       {ListLine("Troco (DINHEIRO):", "2,49"), "Repique:                   R$ 2,49"},
       {"O valor do repique é R$ 2,49. Deseja alterar?"},
       {{"IDTPCONTRREPIQ", kTipAsked}},
       {},
       2.49},
      // Leaving drops the payments entered and the amount paid with them.
      {"TabLeftWithEscapeAfterAPayment",
       "tab-sale.json",
       Pays("tcbBalcao01", "50") + Wait(1) + Snapshot("paid") + Click("spbSair") + Key("Escape"),
       {},
       false,
       0.0,
       {ListLine("DINHEIRO", "50,00")}},
      {"TableClearedThenLeft",
       "table-sale.json",
       Click("spbDesconto") + Adjustment('V', 7.4) + Pays("tcbBalcao04", "30") + Click("spbClear") + Wait(1) +
           Snapshot("paid") + Click("spbSair"),
       {},
       false,
       0.0,
       {"Garçom:  JOAO"}},
  };
}

class PaymentFlow : public ::testing::TestWithParam<std::tuple<Engine, FlowCase>> {};

// The next sale number of the demo store's register 001, reserved by the confirmation.
const char* kSaleNumber = "0000000002";

std::string FirstDayCounter(TestStore& store) {
  const datamodule::Statement q{"q",
                                "SELECT NRSEQUENCIAL FROM NOVOCODIGO WHERE CDCONTADOR LIKE 'VENDAVISTAPRIM0001001%'"};
  const base::DataPacket p = store.admin().Query(q);
  return p.rows.empty() ? std::string() : p.rows[0][0].AsString();
}

TEST_P(PaymentFlow, HostGetsItsPaymentsSaleNumberAndResult) {
  const auto& [engine, c] = GetParam();
  RequireScenarioEngine(engine);
  if (IsSkipped() || HasFatalFailure()) return;
  Scenario scenario(engine);
  std::map<std::string, base::Variant> parameters = {{"UTILIZAIMPFIS", base::Variant(false)}};
  parameters.insert(c.parameters.begin(), c.parameters.end());
  scenario.Parameters(parameters);
  if (!c.store_setup.empty()) scenario.Store().Exec(c.store_setup);

  json o = scenario.Run(ExampleSale(c.sale), c.script);
  ASSERT_TRUE(o.contains("args")) << o.dump();
  EXPECT_EQ(PaymentLines(o), c.lines);
  EXPECT_EQ(o["result"], c.completed);
  EXPECT_EQ(o["args"]["doVrPago"], c.paid);
  EXPECT_EQ(o["error"], nullptr);
  for (const auto& text : c.dialogs) EXPECT_TRUE(Shown(o, text)) << text << "\n" << o["dialogs"].dump();

  // The list as the operator last saw it.
  const json& lines = o["snapshots"]["paid"]["controls"]["memLista"]["lines"];
  ASSERT_GE(lines.size(), c.list_tail.size()) << lines.dump();
  EXPECT_EQ(std::vector<std::string>(lines.end() - static_cast<long>(c.list_tail.size()), lines.end()), c.list_tail)
      << lines.dump();

  for (const json& item : o["datasets"]["cdsItensVenda"]["rows"]) EXPECT_EQ(item["VRREPIQUEVENDA"], c.tip);

  if (c.completed) {
    // Without a fiscal printer the receipt number is the sale number the store reserved.
    EXPECT_EQ(o["args"]["stNrVenda"], kSaleNumber);
    EXPECT_EQ(o["args"]["stNrCupom"], kSaleNumber);
    EXPECT_EQ(FirstDayCounter(scenario.Store()), kSaleNumber) << "the first sale of the day is remembered";
    ASSERT_EQ(HostCalls(o, "DisparaImpressaoNaoFiscal").size(), 1u);
    ASSERT_EQ(HostCalls(o, "LogImpNFiscal").size(), 1u);
  } else {
    EXPECT_EQ(o["args"]["stNrVenda"], "");
    EXPECT_EQ(FirstDayCounter(scenario.Store()), "") << "a sale left reserves no number";
    EXPECT_TRUE(HostCalls(o, "DisparaImpressaoNaoFiscal").empty());
    EXPECT_TRUE(HostCalls(o, "LogControleAcess").empty()) << "no access log for a sale not completed";
  }
}

std::string FlowName(const ::testing::TestParamInfo<std::tuple<Engine, FlowCase>>& info) {
  return std::string(std::get<1>(info.param).name) +
         (std::get<0>(info.param) == Engine::SQLite ? "_SQLite" : "_PostgreSQL");
}

INSTANTIATE_TEST_SUITE_P(Sales, PaymentFlow,
                         ::testing::Combine(::testing::Values(Engine::SQLite, Engine::PostgreSQL),
                                            ::testing::ValuesIn(Cases())),
                         FlowName);

}  // namespace
}  // namespace recebimento::testing
