// Sales paid through `recebimento run` on the keypad: cash merged, vouchers kept apart,
// change, the payment limit and foreign currency at a rate the host rebuilds.
#include "base/datetime.h"
#include "base/packet_file.h"
#include "scenario_fixture.h"

namespace recebimento::testing {
namespace {

// One item worth `total`, and the tenders on the first grid page: cash (01), voucher
// (02), cheque (03) and dollars (04).
json SaleOf(double total, const std::string& modo = "BAL", const std::string& tipo_venda = "B") {
  return Sale({{"stModoVenda", modo}, {"stIdTipoVenda", tipo_venda}}, json::array({Item("1001", total)}),
              json::array({Tender("001", "DINHEIRO", "4", "01", {{"CDTIPOTROCO", "001"}}),
                           Tender("003", "TICKET", "7", "02"), Tender("002", "CHEQUE", "3", "03"),
                           Tender("004", "DOLAR", "6", "04", {{"CDTIPOTROCO", "001"}, {"CDINDICE", "USD"}})}));
}

class TenderScenario : public ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    // Sales are confirmed: the register needs its branch and number to number them.
    if (!IsSkipped() && !HasFatalFailure()) BareRegister();
  }
};

TEST_P(TenderScenario, CashMergesVouchersStayApartAndChangeIsGiven) {
  using namespace act;
  json o = Run(SaleOf(60), Pays("tcbBalcao02", "10") + Pays("tcbBalcao02", "15") + Pays("tcbBalcao01", "20") + Wait(1) +
                               Snapshot("partial") + Pays("tcbBalcao01", "20") + Wait(1) + Snapshot("paid") +
                               Click("spbOk"));
  ASSERT_TRUE(o.contains("snapshots")) << o.dump();
  EXPECT_EQ(PaymentLines(o),
            (std::vector<PaymentLine>{{"003", "E", 10.0}, {"003", "E", 15.0}, {"001", "E", 40.0}, {"001", "S", 5.0}}));
  json& partial = o["snapshots"]["partial"];
  EXPECT_EQ(partial["state"]["doVrAPagar"], 15.0);
  EXPECT_EQ(partial["controls"]["spbOk"]["enabled"], false);
  json& paid = o["snapshots"]["paid"];
  EXPECT_EQ(paid["state"]["doVrAPagar"], 0.0);
  EXPECT_EQ(paid["state"]["doVrTroco"], 5.0);
  EXPECT_EQ(paid["controls"]["spbOk"]["enabled"], true) << "cash waits for the operator's confirmation";
  EXPECT_EQ(paid["controls"]["lblPagar"]["caption"], "Troco: ");
  EXPECT_EQ(paid["controls"]["lblValorPagar"]["caption"], "5,00");
}

TEST_P(TenderScenario, ATableSalePaidExactlyByChequeHasNoChange) {
  using namespace act;
  json o = Run(SaleOf(87.35, "RES", "M"), Pays("tcbBalcao03", "87,35") + Wait(1) + Snapshot("paid") + Click("spbOk"));
  ASSERT_TRUE(o.contains("snapshots")) << o.dump();
  EXPECT_EQ(PaymentLines(o), (std::vector<PaymentLine>{{"002", "E", 87.35}}));
  EXPECT_EQ(o["snapshots"]["paid"]["state"]["doVrAPagar"], 0.0);
  EXPECT_EQ(o["snapshots"]["paid"]["state"]["doVrTroco"], 0.0);
  EXPECT_EQ(o["snapshots"]["paid"]["controls"]["spbOk"]["enabled"], true);
}

TEST_P(TenderScenario, NoSaleTakesMoreThanTheLimitInAll) {
  using namespace act;
  json o = Run(SaleOf(999999.99), Pays("tcbBalcao01", "400000") + Pays("tcbBalcao01", "600000") + Wait(1) +
                                      Snapshot("after") + Key("Escape"));
  ASSERT_TRUE(o.contains("snapshots")) << o.dump();
  json& after = o["snapshots"]["after"];
  EXPECT_EQ(after["state"]["doVrPago"], 400000.0);
  EXPECT_EQ(after["state"]["doVrAPagar"], 599999.99);
  EXPECT_EQ(after["controls"]["memLista"]["lines"].size(), 1u) << "only the first payment is listed";
  EXPECT_TRUE(Shown(o, "999.999,99")) << o["dialogs"].dump();
}

TEST_P(TenderScenario, ForeignCurrencyWithYesterdaysRatesAsksTheHostForTodaysAndNoInstallments) {
  base::DataPacket rates;
  rates.fields = {{"CDINDICE", base::FieldType::String, 4},
                  {"NMTIPORECE", base::FieldType::String, 40},
                  {"VRCOTACAO", base::FieldType::Float, 0},
                  {"DTCOTACAO", base::FieldType::DateTime, 0}};
  rates.rows.push_back({base::Variant("USD"), base::Variant("DOLAR"), base::Variant(4.9),
                        base::Variant(base::DateTime::FromYMD(2026, 12, 5))});
  base::WritePacketFile((HostDir() / "cdsMoedas.cds").string(), rates);

  json sale = SaleOf(100);
  // A currency tender set up for installments still takes none: it has a path of its own.
  json& dollar = sale["datasets"]["cdsRecebHost"][3];
  dollar["IDSOLIQTPARC"] = "S";
  dollar["QTMAXPARC"] = 6;
  sale["host"]["currency_rates"] = {
      {"fields",
       {{{"name", "CDINDICE"}, {"type", "string"}, {"size", 4}},
        {{"name", "NMTIPORECE"}, {"type", "string"}, {"size", 40}},
        {{"name", "VRCOTACAO"}, {"type", "float"}},
        {{"name", "DTCOTACAO"}, {"type", "datetime"}}}},
      {"rows",
       {{{"CDINDICE", "USD"}, {"NMTIPORECE", "DOLAR"}, {"VRCOTACAO", 5.0}, {"DTCOTACAO", "2026-12-06T00:00:00"}}}}};
  using namespace act;
  // 25 dollars, then the amount in reais confirmed as proposed.
  json o = Run(sale, Pays("tcbBalcao04", "25") + Key("Enter") + Wait(1) + Snapshot("paid") + Click("spbOk"));
  ASSERT_TRUE(o.contains("datasets")) << o.dump();
  EXPECT_EQ(HostCalls(o, "CriaOutrasMoedas").size(), 1u);
  const base::DataPacket saved = base::ReadPacketFile((HostDir() / "cdsMoedas.cds").string());
  EXPECT_DOUBLE_EQ(saved.rows.at(0).at(2).AsFloat(), 5.0) << "today's rates are kept for the next tender";
  json& line = o["datasets"]["cdsMoviVenda"]["rows"].at(0);
  EXPECT_EQ(line["VRMOVIVEND"], 125.0);
  EXPECT_EQ(line["VRMOVIVEOUT"], 25.0);
  EXPECT_EQ(line["VRCOTINDOUT"], 5.0);
  EXPECT_EQ(line["QTPARCRECEB"], 1);
  EXPECT_TRUE(HostCalls(o, "TecladoNumerico").empty());
  // Change of 25,00 in the cash tender the currency names.
  EXPECT_EQ(o["snapshots"]["paid"]["state"]["doVrTroco"], 25.0);
}

RECEBIMENTO_SCENARIO_ENGINES(TenderScenario);

}  // namespace
}  // namespace recebimento::testing
