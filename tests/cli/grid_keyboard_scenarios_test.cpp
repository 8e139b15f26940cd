// The tender grid through `recebimento run`: a branch's tender table with groups, pages
// and arrows, pressed by the operator as a script.
#include "scenario_fixture.h"

namespace recebimento::testing {
namespace {

json Button(const std::string& code, const std::string& kind, const std::string& type, const std::string& nr,
            const std::string& group, const std::string& page, const std::string& caption,
            const std::string& show = "S") {
  return {{"CDFILIAL", "0001"},   {"CDTIPORECE", code},   {"NMTIPORECE", caption}, {"IDTIPORECE", kind},
          {"CDFPIMPFIS", "01"},   {"IDTPBUTTON", type},   {"NRBUTTON", nr},        {"NRBUTTONAUX", group},
          {"NRPGCONFTELA", page}, {"DSBUTTON", caption},  {"IDMOSTRARECE", show},  {"NRCOLORBACK", 65280},
          {"NRCOLORTEXT", 0},     {"NRFONTETEXT", 10},    {"DSIMAGEMBUT", ""},     {"CDCREDENCCAR", ""},
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

RECEBIMENTO_SCENARIO_ENGINES(GridScenario);

}  // namespace
}  // namespace recebimento::testing
