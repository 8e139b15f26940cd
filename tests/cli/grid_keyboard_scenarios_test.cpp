// The tender grid through `recebimento run`: a branch's tender table with groups, pages
// and arrows, pressed by the operator as a script.
#include "scenario_fixture.h"

namespace recebimento::testing {
namespace {

json Button(const std::string& code, const std::string& kind, const std::string& type, const std::string& nr,
            const std::string& group, const std::string& page, const std::string& caption,
            const std::string& show = "S") {
  return {{"CDFILIAL", "0001"},   {"CDTIPORECE", code},  {"NMTIPORECE", caption}, {"IDTIPORECE", kind},
          {"CDFPIMPFIS", "01"},   {"IDTPBUTTON", type},  {"NRBUTTON", nr},        {"NRBUTTONAUX", group},
          {"NRPGCONFTELA", page}, {"DSBUTTON", caption}, {"IDMOSTRARECE", show},  {"NRCOLORBACK", 65280},
          {"NRCOLORTEXT", 0},     {"NRFONTETEXT", 10},   {"DSIMAGEMBUT", ""},     {"CDCREDENCCAR", ""},
          {"CDTIPOTROCO", ""},    {"NRORDTROCO", ""}};
}

class GridScenario : public ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    if (!IsSkipped() && !HasFatalFailure()) BareHost();
  }

  json RunGrid(const json& tenders, const std::string& script) {
    return Run(Sale({{"stModoVenda", "RES"}, {"stIdTipoVenda", "M"}}, json::array({Item("1001", 30.0)}), tenders),
               script);
  }
};

TEST_P(GridScenario, GroupsPagesAndArrowsAsTheOperatorPressesThem) {
  const json tenders = json::array({
      Button("", "", "6", "01", "", "", "Dinheiro e cartões"),
      Button("", "", "6", "02", "", "", "Vales"),
      Button("001", "4", "5", "01", "01", "1", "Dinheiro"),
      Button("002", "1", "5", "02", "01", "1", "Crédito"),
      Button("099", "4", "5", "03", "01", "1", "Sem botão", "N"),
      Button("", "", "G", "30", "01", "1", ""),
      Button("003", "2", "5", "01", "01", "2", "Débito"),
      Button("", "", "H", "29", "01", "2", ""),
      Button("004", "7", "5", "05", "02", "1", "Ticket"),
  });
  json out = RunGrid(tenders,
                     "{\"snapshot\": \"inicio\"}\n"
                     "{\"click\": \"tcbBalcao30\"}\n"
                     "{\"snapshot\": \"pagina2\"}\n"
                     "{\"click\": \"tcbBalcao29\"}\n"
                     "{\"click\": \"tcbGrupo02\"}\n"
                     "{\"snapshot\": \"vales\"}\n"
                     "{\"click\": \"spbSair\"}\n");
  ASSERT_TRUE(out.contains("snapshots")) << out.dump(2);
  json& inicio = out["snapshots"]["inicio"]["controls"];
  EXPECT_EQ(inicio["tcbGrupo01"]["caption"], "Dinheiro e cartões");
  EXPECT_EQ(inicio["tcbGrupo02"]["visible"], true);
  EXPECT_EQ(inicio["tcbGrupo03"]["visible"], false);
  EXPECT_EQ(inicio["tcbBalcao01"]["caption"], "Dinheiro");
  EXPECT_EQ(inicio["tcbBalcao02"]["caption"], "Crédito");
  EXPECT_EQ(inicio["tcbBalcao03"]["visible"], false) << "kept without a button";
  EXPECT_EQ(inicio["tcbBalcao30"]["visible"], true);

  json& pagina2 = out["snapshots"]["pagina2"]["controls"];
  EXPECT_EQ(pagina2["tcbBalcao01"]["caption"], "Débito");
  EXPECT_EQ(pagina2["tcbBalcao02"]["visible"], false);
  EXPECT_EQ(pagina2["tcbBalcao29"]["visible"], true);
  EXPECT_EQ(pagina2["tcbBalcao30"]["visible"], false);

  json& vales = out["snapshots"]["vales"]["controls"];
  EXPECT_EQ(vales["tcbBalcao05"]["caption"], "Ticket");
  EXPECT_EQ(vales["tcbBalcao01"]["visible"], false);
  EXPECT_EQ(out["result"], false);
}

TEST_P(GridScenario, AnEmptyTenderTableLeavesTheGridEmpty) {
  json fields = json::array();
  for (const char* f : {"CDTIPORECE", "IDTIPORECE", "CDFPIMPFIS", "IDTPBUTTON", "NRBUTTON", "NRBUTTONAUX",
                        "NRPGCONFTELA", "DSBUTTON", "IDMOSTRARECE"})
    fields.push_back({{"name", f}, {"type", "string"}, {"size", 40}});
  const json empty = {{"fields", fields}, {"rows", json::array()}};
  json out = RunGrid(empty, "{\"snapshot\": \"inicio\"}\n{\"click\": \"spbSair\"}\n");
  ASSERT_TRUE(out.contains("snapshots")) << out.dump(2);
  json& c = out["snapshots"]["inicio"]["controls"];
  for (const char* n : {"tcbGrupo01", "tcbBalcao01", "tcbBalcao30"}) EXPECT_EQ(c[n]["visible"], false) << n;
}

TEST_P(GridScenario, PrinterType26ShowsTendersWithoutAFiscalPaymentForm) {
  json without_form = Button("002", "1", "5", "02", "01", "1", "Crédito");
  without_form["CDFPIMPFIS"] = "";
  const json tenders = json::array({Button("001", "4", "5", "01", "01", "1", "Dinheiro"), without_form});
  json out = RunGrid(tenders, "{\"snapshot\": \"inicio\"}\n{\"click\": \"spbSair\"}\n");
  EXPECT_EQ(out["snapshots"]["inicio"]["controls"]["tcbBalcao02"]["visible"], false);

  std::filesystem::copy_file(std::filesystem::path(RECEBIMENTO_SOURCE_DIR) / "examples/host/PARAMETROSZEM.CDS",
                             HostDir() / "PARAMETROSZEM.CDS", std::filesystem::copy_options::overwrite_existing);
  Parameters({{"IDTIPOIMPFIS", base::Variant(int64_t{26})}});
  out = RunGrid(tenders, "{\"snapshot\": \"inicio\"}\n{\"click\": \"spbSair\"}\n");
  EXPECT_EQ(out["snapshots"]["inicio"]["controls"]["tcbBalcao02"]["visible"], true);
  EXPECT_EQ(out["snapshots"]["inicio"]["controls"]["tcbBalcao02"]["caption"], "Crédito");
}

RECEBIMENTO_SCENARIO_ENGINES(GridScenario);

}  // namespace
}  // namespace recebimento::testing

namespace recebimento::testing {
namespace {

using namespace act;

// The keyboard and the grid of the demo host's table sale, as an operator at the
// register uses them.
using KeyboardScenario = ScenarioTest;

TEST_P(KeyboardScenario, ShortcutsKeysAndTheKeypadAsTheOperatorTypes) {
  json o = Run(ExampleSale("table-sale.json"), Type("25") + Key("F4", true) + Key("C", true, true) + Snapshot("keys") +
                                                   Click("tcbBalcao01") + Type("10,555") + Snapshot("typed") +
                                                   Key("Escape") + Snapshot("grid") + Key("Escape"));
  ASSERT_TRUE(o.contains("snapshots")) << o.dump();
  EXPECT_TRUE(Shown(o, "Tipo de recebimento inválido")) << "only 01 to 24 are shortcuts";
  EXPECT_TRUE(o["snapshots"]["keys"].is_object()) << "Alt+F4 does not close the screen";
  EXPECT_TRUE(HostCalls(o, "CNPJCPF").empty() && o["dialogs"].size() == 1) << o["dialogs"].dump();
  EXPECT_EQ(o["snapshots"]["typed"]["controls"]["lblInputReceb2"]["caption"], "10,55") << "a third decimal is ignored";
  EXPECT_EQ(o["snapshots"]["typed"]["controls"]["panKeyboard"]["visible"], true);
  EXPECT_EQ(o["snapshots"]["grid"]["controls"]["panKeyboard"]["visible"], false) << "Escape only leaves the keypad";
  EXPECT_TRUE(o["snapshots"]["grid"]["controls"]["memLista"]["lines"] == json::array({"Garçom:  JOAO"}));
  EXPECT_EQ(o["result"], false) << "Escape on the grid leaves the screen";
  EXPECT_TRUE(o["datasets"]["cdsMoviVenda"]["rows"].empty());
}

TEST_P(KeyboardScenario, AmountsUpTo999999_99AreTaken) {
  const json sale = Sale({{"stModoVenda", "BAL"}, {"stIdTipoVenda", "B"}}, json::array({Item("1001", 999999.99)}),
                         json::array({Tender("001", "DINHEIRO", "4", "01", {{"CDTIPOTROCO", "001"}})}));
  json o = Run(sale, Pays("tcbBalcao01", "1000000") + Wait(1) + Snapshot("refused") + Pays("tcbBalcao01", "999999,99") +
                         Wait(1) + Snapshot("paid") + Key("Escape"));
  EXPECT_TRUE(Shown(o, "O valor máximo de recebimento é 999.999,99"));
  EXPECT_EQ(o["snapshots"]["refused"]["state"]["doVrPago"], 0.0);
  EXPECT_EQ(o["snapshots"]["paid"]["state"]["doVrPago"], 999999.99);
  EXPECT_EQ(o["snapshots"]["paid"]["controls"]["spbOk"]["enabled"], true);
}

TEST_P(KeyboardScenario, ExitIsLockedOnceAPaymentIsMade) {
  json o = Run(ExampleSale("table-sale.json"), Snapshot("opened") + Pays("tcbBalcao01", "50") + Wait(1) +
                                                   Snapshot("paid") + Click("spbSair") + Key("Escape"));
  EXPECT_EQ(o["snapshots"]["opened"]["controls"]["spbSair"]["enabled"], true);
  EXPECT_EQ(o["snapshots"]["paid"]["controls"]["spbSair"]["enabled"], false);
  EXPECT_EQ(o["result"], false);
}

// A consumer whose sale type allows no account tenders, when the branch filters by it.
TEST_P(KeyboardScenario, ConsumerSaleTypeFiltersTheTendersOnlyWhenTheBranchAsks) {
  Store().Exec("UPDATE CONSUMIDOR SET IDTPVENDACONS = '3' WHERE CDCLIENTE = '000001' AND CDCONSUMIDOR = '0003'");
  json sale = ExampleSale("table-sale.json");
  for (json& item : sale["datasets"]["cdsItensVenda"]) {
    item["CDCLIENTE"] = "000001";
    item["CDCONSUMIDOR"] = "0003";
  }
  json& tenders = sale["datasets"]["cdsRecebHost"];
  tenders.push_back(tenders[5]);
  tenders.back()["CDTIPORECE"] = "009";
  tenders.back()["IDTIPORECE"] = "A";
  tenders.back()["NRBUTTON"] = "08";
  tenders.back()["DSBUTTON"] = "DEBITO CONSUMIDOR";
  for (const char* filter : {"N", "S"}) {
    SCOPED_TRACE(filter);
    Parameters({{"IDPERCOMVENCPDC", base::Variant(std::string(filter))}});
    json o = Run(sale, Snapshot("opened") + Key("Escape"));
    const json& c = o["snapshots"]["opened"]["controls"];
    EXPECT_EQ(c["tcbBalcao08"]["enabled"], std::string(filter) == "S") << "the consumer-debit tender";
    EXPECT_EQ(c["tcbBalcao01"]["enabled"], true) << "cash stays";
  }
}

RECEBIMENTO_SCENARIO_ENGINES(KeyboardScenario);

}  // namespace
}  // namespace recebimento::testing
