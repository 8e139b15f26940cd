// The tender grid through `recebimento run`: a branch's tender table with groups, pages
// and arrows, pressed by the operator as a script.
#include <filesystem>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli_runner.h"
#include "support/temp_dir.h"

namespace recebimento::testing {
namespace {

using json = nlohmann::ordered_json;

json Button(const std::string& code, const std::string& kind, const std::string& type, const std::string& nr,
            const std::string& group, const std::string& page, const std::string& caption,
            const std::string& show = "S") {
  return {{"CDFILIAL", "0001"},   {"CDTIPORECE", code},   {"NMTIPORECE", caption}, {"IDTIPORECE", kind},
          {"CDFPIMPFIS", "01"},   {"IDTPBUTTON", type},   {"NRBUTTON", nr},        {"NRBUTTONAUX", group},
          {"NRPGCONFTELA", page}, {"DSBUTTON", caption},  {"IDMOSTRARECE", show},  {"NRCOLORBACK", 65280},
          {"NRCOLORTEXT", 0},     {"NRFONTETEXT", 10},    {"DSIMAGEMBUT", ""},     {"CDCREDENCCAR", ""},
          {"CDTIPOTROCO", ""},    {"NRORDTROCO", ""}};
}

class GridScenarioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists(CliPath())) << CliPath() << " is missing: build the target recebimento_cli";
    std::filesystem::create_directories(dir_ / "host" / "Dados");
  }

  json Run(const json& tenders, const std::string& script) {
    const json sale = {
        {"args", {{"stModoVenda", "RES"}, {"stTipoTela", "N"}, {"stIdTipoVenda", "M"}}},
        {"datasets",
         {{"cdsItensVenda",
           json::array({{{"CDPRODUTO", "1001"}, {"QTPRODCOMVEN", 1}, {"VRPRECCOMVEN", 30.0}, {"VRUNITVENDCL", 0},
                         {"VRDESCCOMVEN", 0}, {"VRACRCOMVEN", 0}, {"VRTXSERVICO", 0}, {"VRACRCOMANDA", 0},
                         {"VRDESCOMANDA", 0}, {"IDCONFIGPROD", ""}, {"NRCOMANDA", "0000000012"},
                         {"DSCOMANDA", "12"}, {"NRVENDAREST", "000123"}, {"CDCLIENTE", ""},
                         {"CDCONSUMIDOR", ""}}})},
          {"cdsRecebHost", tenders}}}};
    dir_.Write("sale.json", sale.dump());
    dir_.Write("script.jsonl", script);
    const CliResult r = RunCli({"run", "--host-dir", (dir_ / "host").string(), "--sale",
                                (dir_ / "sale.json").string(), "--script", (dir_ / "script.jsonl").string(),
                                "--db", "sqlite:" + (dir_ / "store.db").string(), "--clock", "2026-12-06T12:00:00"},
                               dir_.str());
    EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
    return r.exit_code == 0 ? json::parse(r.out) : json::object();
  }

  TempDir dir_;
};

TEST_F(GridScenarioTest, GroupsPagesAndArrowsAsTheOperatorPressesThem) {
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
  const json out = Run(tenders,
                       "{\"snapshot\": \"inicio\"}\n"
                       "{\"click\": \"tcbBalcao30\"}\n"
                       "{\"snapshot\": \"pagina2\"}\n"
                       "{\"click\": \"tcbBalcao29\"}\n"
                       "{\"click\": \"tcbGrupo02\"}\n"
                       "{\"snapshot\": \"vales\"}\n"
                       "{\"click\": \"spbSair\"}\n");
  ASSERT_TRUE(out.contains("snapshots")) << out.dump(2);
  const json& inicio = out["snapshots"]["inicio"]["controls"];
  EXPECT_EQ(inicio["tcbGrupo01"]["caption"], "Dinheiro e cartões");
  EXPECT_EQ(inicio["tcbGrupo02"]["visible"], true);
  EXPECT_EQ(inicio["tcbGrupo03"]["visible"], false);
  EXPECT_EQ(inicio["tcbBalcao01"]["caption"], "Dinheiro");
  EXPECT_EQ(inicio["tcbBalcao02"]["caption"], "Crédito");
  EXPECT_EQ(inicio["tcbBalcao03"]["visible"], false) << "kept without a button";
  EXPECT_EQ(inicio["tcbBalcao30"]["visible"], true);

  const json& pagina2 = out["snapshots"]["pagina2"]["controls"];
  EXPECT_EQ(pagina2["tcbBalcao01"]["caption"], "Débito");
  EXPECT_EQ(pagina2["tcbBalcao02"]["visible"], false);
  EXPECT_EQ(pagina2["tcbBalcao29"]["visible"], true);
  EXPECT_EQ(pagina2["tcbBalcao30"]["visible"], false);

  const json& vales = out["snapshots"]["vales"]["controls"];
  EXPECT_EQ(vales["tcbBalcao05"]["caption"], "Ticket");
  EXPECT_EQ(vales["tcbBalcao01"]["visible"], false);
  EXPECT_EQ(out["result"], false);
}

TEST_F(GridScenarioTest, AnEmptyTenderTableLeavesTheGridEmpty) {
  json fields = json::array();
  for (const char* f : {"CDTIPORECE", "IDTIPORECE", "CDFPIMPFIS", "IDTPBUTTON", "NRBUTTON", "NRBUTTONAUX",
                        "NRPGCONFTELA", "DSBUTTON", "IDMOSTRARECE"})
    fields.push_back({{"name", f}, {"type", "string"}, {"size", 40}});
  const json empty = {{"fields", fields}, {"rows", json::array()}};
  const json out = Run(empty, "{\"snapshot\": \"inicio\"}\n{\"click\": \"spbSair\"}\n");
  ASSERT_TRUE(out.contains("snapshots")) << out.dump(2);
  const json& c = out["snapshots"]["inicio"]["controls"];
  for (const char* n : {"tcbGrupo01", "tcbBalcao01", "tcbBalcao30"}) EXPECT_EQ(c[n]["visible"], false) << n;
}

}  // namespace
}  // namespace recebimento::testing
