// Discount, surcharge and tip through `recebimento run` on the demo host: the buttons,
// the host's dialog answered by the script, the limits' messages and the amounts that
// the screen then shows.
#include "scenario_fixture.h"

namespace recebimento::testing {
namespace {

// A table sale of one item worth `total` (no fee) with cash on the first grid button;
// cash gives change in cash and takes part in the tip control.
json SaleOf(double total) {
  return Sale({{"stModoVenda", "RES"}, {"stIdTipoVenda", "M"}}, json::array({Item("1001", total)}),
              json::array({Tender("001", "DINHEIRO", "4", "01", {{"CDTIPOTROCO", "001"}, {"IDUTCONTRREPIQ", "S"}})}));
}

using DiscountScenario = ScenarioTest;
using namespace act;

TEST_P(DiscountScenario, WholeSaleDiscountIsRefusedAndTenPercentIsTaken) {
  json o = Run(SaleOf(80), Click("spbDesconto") + Adjustment('P', 100) + Snapshot("refused") + Click("spbDesconto") +
                               Adjustment('P', 10) + Snapshot("discounted") + Click("spbSair"));
  ASSERT_TRUE(o.contains("snapshots")) << o.dump();
  EXPECT_TRUE(Shown(o, "não pode ser igual ou maior que o valor total")) << o["dialogs"].dump();
  for (const json& d : o["dialogs"]) {
    if (d["text"].get<std::string>().find("não pode ser igual") != std::string::npos) {
      EXPECT_EQ(d["type"], "error");
    }
  }
  json& refused = o["snapshots"]["refused"];
  EXPECT_EQ(refused["state"]["doVrDesconto"], 0.0);
  EXPECT_EQ(refused["state"]["doVrAPagar"], 80.0);

  json& s = o["snapshots"]["discounted"];
  EXPECT_EQ(s["state"]["doVrDesconto"], 8.0);
  EXPECT_EQ(s["state"]["doVrAPagar"], 72.0);
  EXPECT_EQ(s["controls"]["lblValorPagar"]["caption"], "72,00");
  EXPECT_EQ(s["controls"]["spbAcrescimo"]["enabled"], false);
  json& lines = s["controls"]["memLista"]["lines"];
  ASSERT_GE(lines.size(), 2u) << lines.dump();
  EXPECT_EQ(lines[lines.size() - 2], ListLine("Desconto: 10,00% ", "-8,00"));
  EXPECT_EQ(lines.back(), ListLine("Sub-Total:", "72,00"));

  const json asked = json::array({12, "000042"});
  EXPECT_EQ(HostCalls(o, "VerificaAcesso"), (std::vector<json>{asked, asked}))
      << "the discount's access code for the operator at the register, once per press";
}

// The dialog also answers as the host's own does: TIPO "V" (value) or "P" (percentage)
// and VALOR. A field it does not know stops the run instead of giving no discount.
TEST_P(DiscountScenario, TheHostsAnswerShapeIsTakenAndUnknownFieldsAreNamed) {
  json o = Run(SaleOf(80), Click("spbDesconto") + Answer({{"TIPO", "V"}, {"VALOR", 5}}) + Snapshot("value") +
                               Click("spbAcrescimo") + Click("spbDesconto") + Answer({{"TIPO", "P"}, {"VALOR", 10}}) +
                               Snapshot("percentage") + Click("spbSair"));
  EXPECT_EQ(o["snapshots"]["value"]["state"]["doVrDesconto"], 5.0) << o.dump();
  EXPECT_EQ(o["snapshots"]["percentage"]["state"]["doVrDesconto"], 8.0);
  EXPECT_EQ(o["snapshots"]["percentage"]["state"]["doVrAPagar"], 72.0);
  EXPECT_EQ(o["ignored"].size(), 1u) << "the surcharge is disabled once a discount is given";

  o = Run(SaleOf(80), Click("spbDesconto") + Answer({{"TIPO", "V"}, {"VALORR", 5}}) + Click("spbSair"), 1);
  ASSERT_TRUE(o["error"].is_string()) << o.dump();
  EXPECT_EQ(o["error"],
            "script line 2.answer: the dialog CriaDesconto has no field \"VALORR\" (it knows VRDESCONTO, "
            "PCDESCONTO, DSMOTIVO, TIPO, VALOR)");
  EXPECT_EQ(HostCalls(o, "CriaDesconto").size(), 1u) << "the run stopped at the dialog";
}

TEST_P(DiscountScenario, SurchargeLimitDependsOnTheFiscalPrinter) {
  const std::string script = Click("spbAcrescimo") + Adjustment('P', 10.01) + Snapshot("above") +
                             Click("spbAcrescimo") + Adjustment('P', 10) + Snapshot("ten") + Click("spbSair");
  json with_printer = Run(SaleOf(50), script);
  ASSERT_TRUE(with_printer.contains("snapshots")) << with_printer.dump();
  EXPECT_TRUE(Shown(with_printer, "não pode ultrapassar mais de 10%"));
  EXPECT_EQ(with_printer["snapshots"]["above"]["state"]["doVrAcrescimo"], 0.0);
  EXPECT_EQ(with_printer["snapshots"]["ten"]["state"]["doVrAcrescimo"], 5.0);
  EXPECT_EQ(with_printer["snapshots"]["ten"]["state"]["doVrAPagar"], 55.0);

  Parameters({{"UTILIZAIMPFIS", base::Variant(false)}, {"SISTEMAZEMNFCE", base::Variant(true)}});
  json nfce = Run(SaleOf(50), Click("spbAcrescimo") + Adjustment('P', 100) + Snapshot("doubled") + Click("spbSair"));
  ASSERT_TRUE(nfce.contains("snapshots")) << nfce.dump();
  EXPECT_EQ(nfce["snapshots"]["doubled"]["state"]["doVrAcrescimo"], 50.0);
  EXPECT_EQ(nfce["snapshots"]["doubled"]["state"]["doVrAPagar"], 100.0);
}

TEST_P(DiscountScenario, TipUpToTheChangeIsKeptFromIt) {
  Parameters({{"IDTPCONTRREPIQ", base::Variant(std::string("S"))},
              {"VRPEMAXREPIQMRX", base::Variant(0.0)},
              {"UTILIZAIMPFIS", base::Variant(false)},
              {"SISTEMAZEMNFCE", base::Variant(true)}});
  json o = Run(SaleOf(95), Click("tcbBalcao01") + Keypad("100") + Keypad("5,01") + Keypad("5") + Click("spbOk"));
  ASSERT_TRUE(o.contains("screen") && o["screen"].is_object()) << o.dump();
  EXPECT_TRUE(Shown(o, "não pode ser maior que o valor do troco")) << o["dialogs"].dump();
  json& s = o["screen"];
  EXPECT_EQ(s["state"]["doVrTroco"], 5.0);
  EXPECT_EQ(s["state"]["doVrRepique"], 5.0);
  json& lines = s["controls"]["memLista"]["lines"];
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "Repique:                   R$ 5,00") << lines.dump();
}

RECEBIMENTO_SCENARIO_ENGINES(DiscountScenario);

}  // namespace
}  // namespace recebimento::testing
