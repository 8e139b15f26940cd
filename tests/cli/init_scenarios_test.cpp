// The example sales of the demo host open the screen with the totals, lists, titles and
// tender buttons their kind of sale calls for, through `recebimento run`.
#include "scenario_fixture.h"

namespace recebimento::testing {
namespace {

class InitScenario : public ScenarioTest {
 protected:
  // The run's output for an example sale; the screen as it opened is in snapshots.opened.
  json Open(const std::string& file) { return Run(ExampleSale(file), act::Snapshot("opened") + act::Click("spbSair")); }

  static std::string Caption(const json& screen, const std::string& control) {
    if (!screen.contains("controls") || !screen["controls"].contains(control)) return "<no " + control + ">";
    return screen["controls"][control]["caption"].get<std::string>();
  }

  static std::vector<std::string> EnabledTenders(const json& screen) {
    std::vector<std::string> out;
    if (!screen.contains("controls")) return out;
    for (const auto& [name, c] : screen["controls"].items())
      if (name.rfind("tcbBalcao", 0) == 0 && c["visible"].get<bool>() && c["enabled"].get<bool>())
        out.push_back(c["caption"].get<std::string>());
    return out;
  }
};

const std::vector<std::string> kTenders = {
    "DINHEIRO", "CARTAO DE CREDITO", "CARTAO DE DEBITO", "CHEQUE", "TICKET", "CONVENIO", "DOLAR"};

TEST_P(InitScenario, TableSale) {
  json out = Open("table-sale.json");
  json& s = out["snapshots"]["opened"];
  ASSERT_TRUE(s.is_object()) << out.dump();
  EXPECT_EQ(Caption(s, "lblTitulo"), "MESA");
  EXPECT_EQ(Caption(s, "lblNrVenda"), "12");
  // 89,90 + 2 x 17,50 + a free water kept at one cent + 12,49 service fee.
  EXPECT_EQ(Caption(s, "lblValorTotal"), "137,40");
  EXPECT_EQ(Caption(s, "lblValorPagar"), "137,40");
  EXPECT_EQ(s["controls"]["memLista"]["lines"], json::array({"Garçom:  JOAO"}));
  EXPECT_EQ(EnabledTenders(s), kTenders);
  EXPECT_EQ(s["state"]["stCdOperador"], "000042") << "the operator of the demo host";
  EXPECT_EQ(s["state"]["inQTDMAXDIGNSU"], 12);
  EXPECT_TRUE(out["datasets"]["cdsMoviVenda"]["rows"].empty()) << "the payment worth nothing was removed";
  EXPECT_DOUBLE_EQ(out["datasets"]["cdsItensVenda"]["rows"][2]["VRDESCCOMVEN"].get<double>(), 4.99);
  for (const char* b : {"spbDesconto", "spbAcrescimo", "spbSair", "spbClear"})
    EXPECT_TRUE(s["controls"][b]["enabled"].get<bool>()) << b;
  EXPECT_FALSE(s["controls"]["spbOk"]["enabled"].get<bool>());
}

TEST_P(InitScenario, TabSale) {
  json s = Open("tab-sale.json")["snapshots"]["opened"];
  ASSERT_TRUE(s.is_object());
  EXPECT_EQ(Caption(s, "lblTitulo"), "COMANDA");
  EXPECT_EQ(Caption(s, "lblNrVenda"), "0457");
  EXPECT_EQ(Caption(s, "lblServico"), "3,50") << "8,50 fee less the 5,00 tab discount";
  EXPECT_EQ(Caption(s, "lblVrCouver"), "16,00");
  EXPECT_EQ(Caption(s, "lblValorTotal"), "109,40");
  EXPECT_EQ(s["state"]["doVrDescComanda"], 0.0);
  EXPECT_EQ(EnabledTenders(s), kTenders);
}

TEST_P(InitScenario, DeliverySale) {
  json out = Open("delivery-sale.json");
  json& s = out["snapshots"]["opened"];
  ASSERT_TRUE(s.is_object());
  EXPECT_EQ(Caption(s, "lblTitulo"), "DELIVERY");
  EXPECT_EQ(Caption(s, "lblNrVenda"), "000000998877");
  EXPECT_EQ(Caption(s, "lblValorTotal"), "99,40") << "a delivery keeps its item surcharges";
  EXPECT_TRUE(s["controls"]["memDelivery"]["visible"].get<bool>());
  EXPECT_EQ(s["controls"]["memDelivery"]["lines"][1], "Troco-->>DINHEIRO              0,60");
  EXPECT_TRUE(out["datasets"]["cdsMoviVenda"]["rows"].empty()) << "an unpaid delivery's payments are taken again";
  EXPECT_EQ(EnabledTenders(s), kTenders);
}

TEST_P(InitScenario, CounterSale) {
  json s = Open("counter-sale.json")["snapshots"]["opened"];
  ASSERT_TRUE(s.is_object());
  EXPECT_EQ(Caption(s, "lblTitulo"), "BALCÃO");
  EXPECT_EQ(Caption(s, "lblValorTotal"), "17,51");
  EXPECT_FALSE(s["controls"]["lblServico"]["visible"].get<bool>());
  EXPECT_FALSE(s["controls"]["panKeyboard"]["visible"].get<bool>());
  EXPECT_EQ(EnabledTenders(s), kTenders);
}

// Printers that print the sale themselves leave its service fee out; the discount,
// surcharge and fee buttons then follow the operator's rights.
TEST_P(InitScenario, PrinterModelsWithTheirOwnFeeLeaveTheServiceFeeOut) {
  for (int model : {16, 21, 30}) {
    SCOPED_TRACE(model);
    Parameters({{"IDTIPOIMPFIS", base::Variant(int64_t{model})}});
    json s = Open("table-sale.json")["snapshots"]["opened"];
    ASSERT_TRUE(s.is_object());
    EXPECT_EQ(s["state"]["doVrServico"], 0.0);
    EXPECT_EQ(Caption(s, "lblValorTotal"), "124,91");
  }
}

TEST_P(InitScenario, WhatWasPaidBeforeComesOffAndZeroRowsGo) {
  json sale = ExampleSale("counter-sale.json");
  sale["args"]["doVrPago"] = 17.51;
  sale["datasets"]["cdsMoviVenda"] = json::array({{{"CDTIPORECE", "001"},
                                                   {"IDTIPORECE", "4"},
                                                   {"NMTIPORECE", "DINHEIRO"},
                                                   {"VRMOVIVEND", 17.51},
                                                   {"IDTIPOMOVIVE", "E"},
                                                   {"DSMOVIVEND", ""},
                                                   {"CDNSUHOSTTEF", ""},
                                                   {"CDTIPOTROCO", "001"}},
                                                  {{"CDTIPORECE", "003"},
                                                   {"IDTIPORECE", "2"},
                                                   {"NMTIPORECE", "CARTAO DE DEBITO"},
                                                   {"VRMOVIVEND", 0},
                                                   {"IDTIPOMOVIVE", "E"},
                                                   {"DSMOVIVEND", ""},
                                                   {"CDNSUHOSTTEF", ""},
                                                   {"CDTIPOTROCO", ""}}});
  json out = Run(sale, act::Snapshot("opened") + act::Key("Escape"));
  json& s = out["snapshots"]["opened"];
  ASSERT_TRUE(s.is_object()) << out.dump();
  EXPECT_EQ(Caption(s, "lblValorPagar"), "0,00");
  EXPECT_EQ(Caption(s, "lblValorPago"), "17,51");
  EXPECT_EQ(s["controls"]["memLista"]["lines"], json::array({ListLine("DINHEIRO", "17,51")}));
  EXPECT_EQ(PaymentLines(out), (std::vector<PaymentLine>{{"001", "E", 17.51}}));
}

TEST_P(InitScenario, NsuDigitsOfZeroMeanTen) {
  Parameters({{"QTDMAXDIGNSU", base::Variant(int64_t{0})}});
  json s = Open("counter-sale.json")["snapshots"]["opened"];
  ASSERT_TRUE(s.is_object());
  EXPECT_EQ(s["state"]["inQTDMAXDIGNSU"], 10);
}

RECEBIMENTO_SCENARIO_ENGINES(InitScenario);

}  // namespace
}  // namespace recebimento::testing
