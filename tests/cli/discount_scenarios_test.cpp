// Discount, surcharge and tip through `recebimento run` on the demo host: the buttons,
// the host's dialog answered by the script, the limits' messages and the amounts that
// the screen then shows.
#include <filesystem>
#include <map>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "base/dataset.h"
#include "cli_runner.h"
#include "support/temp_dir.h"

namespace recebimento::testing {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;

// A table sale of one item worth `total` (no fee) with cash on the first grid button;
// cash gives change in cash and takes part in the tip control.
std::string Sale(double total) {
  json item = {{"CDPRODUTO", "1001"},   {"NMPRODUTO", "PICANHA"},   {"QTPRODCOMVEN", 1},      {"VRPRECCOMVEN", total},
               {"VRUNITVENDCL", 0},     {"VRDESCCOMVEN", 0},        {"VRACRCOMVEN", 0},       {"VRTXSERVICO", 0},
               {"VRACRCOMANDA", 0},     {"VRDESCOMANDA", 0},        {"IDCONFIGPROD", ""},     {"NRCOMANDA", "0000000012"},
               {"DSCOMANDA", "12"},     {"NRVENDAREST", "000123"},  {"CDCLIENTE", ""},        {"CDCONSUMIDOR", ""},
               {"DSOBSDESC", ""},       {"CDSUPERVISOR", ""},       {"VRREPIQUEVENDA", 0}};
  json cash = {{"CDFILIAL", "0001"},  {"CDTIPORECE", "001"},  {"NMTIPORECE", "DINHEIRO"}, {"IDTIPORECE", "4"},
               {"CDTIPOTROCO", "001"}, {"NRORDTROCO", ""},     {"IDTPBUTTON", "5"},        {"NRBUTTON", "01"},
               {"NRBUTTONAUX", "01"},  {"NRPGCONFTELA", "1"},  {"DSBUTTON", "DINHEIRO"},   {"IDMOSTRARECE", "S"},
               {"CDFPIMPFIS", "01"},   {"DSIMPFISCAL", "DINHEIRO"}, {"IDUTCONTRREPIQ", "S"}};
  json sale = {{"args", {{"stModoVenda", "RES"}, {"stTipoTela", "N"}, {"stIdTipoVenda", "M"}, {"stIdTela", ""}}},
               {"datasets", {{"cdsItensVenda", json::array({item})}, {"cdsRecebHost", json::array({cash})}}}};
  return sale.dump();
}

std::string Line(const json& action) { return action.dump() + "\n"; }
// A list line: 20 characters of name, a blank, 14 of amount.
std::string ListLine(std::string name, std::string amount) {
  while (name.size() < 20) name += ' ';
  while (amount.size() < 14) amount = ' ' + amount;
  return name + " " + amount;
}
std::string Click(const std::string& control) { return Line({{"click", control}}); }
std::string Snapshot(const std::string& name) { return Line({{"snapshot", name}}); }
// The host's value-or-percentage dialog answered with an amount or a percentage.
std::string Adjustment(const std::string& tipo, double valor) {
  return Line({{"answer", {{"VRDESCONTO", tipo == "V" ? valor : 0.0}, {"PCDESCONTO", tipo == "P" ? valor : 0.0}}}});
}
// Digits and the comma on the keypad, then its Enter.
std::string Keypad(const std::string& amount) {
  std::string s;
  for (char ch : amount) s += Click(ch == ',' ? "sbtVirgula" : "sbt" + std::string(1, ch));
  return s + Click("sbtEnter");
}

class DiscountScenarioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(CliPath())) << CliPath() << " is missing: build the target recebimento_cli";
    fs::copy(fs::path(RECEBIMENTO_SOURCE_DIR) / "examples" / "host", dir_ / "host", fs::copy_options::recursive);
    const CliResult init = RunCli({"db", "init", "--db", Db()}, dir_.str());
    ASSERT_EQ(init.exit_code, 0) << init.err;
  }

  std::string Db() const { return "sqlite:" + (dir_ / "store.db").string(); }

  // Changes columns of the demo host's parameters file.
  void Parameters(const std::map<std::string, base::Variant>& values) {
    const std::string path = (dir_ / "host" / "PARAMETROSZEM.CDS").string();
    base::Dataset p("cdsParametrosZem");
    p.LoadFromFile(path);
    p.First();
    p.Edit();
    for (const auto& [column, value] : values) p.FieldByName(column).SetValue(value);
    p.Post();
    p.SaveToFile(path);
  }

  json Run(const std::string& sale, const std::string& script) {
    dir_.Write("sale.json", sale);
    dir_.Write("script.jsonl", script);
    const CliResult r = RunCli({"run", "--host-dir", (dir_ / "host").string(), "--sale", (dir_ / "sale.json").string(),
                                "--script", (dir_ / "script.jsonl").string(), "--db", Db(), "--clock", "2026-12-06T12:00:00"},
                               dir_.str());
    EXPECT_EQ(r.exit_code, 0) << r.err;
    json out = json::parse(r.out, nullptr, false);
    EXPECT_FALSE(out.is_discarded()) << r.out << r.err;
    return out.is_discarded() ? json::object() : out;
  }

  static bool Shown(const json& o, const std::string& fragment) {
    for (const json& d : o["dialogs"])
      if (d["text"].get<std::string>().find(fragment) != std::string::npos) return true;
    return false;
  }

  TempDir dir_;
};

TEST_F(DiscountScenarioTest, WholeSaleDiscountIsRefusedAndTenPercentIsTaken) {
  const json o = Run(Sale(80), Click("spbDesconto") + Adjustment("P", 100) + Snapshot("refused") +
                                   Click("spbDesconto") + Adjustment("P", 10) + Snapshot("discounted") +
                                   Click("spbSair"));
  ASSERT_TRUE(o.contains("snapshots")) << o.dump();
  EXPECT_TRUE(Shown(o, "não pode ser igual ou maior que o valor total")) << o["dialogs"].dump();
  const json& refused = o["snapshots"]["refused"];
  EXPECT_EQ(refused["state"]["doVrDesconto"], 0.0);
  EXPECT_EQ(refused["state"]["doVrAPagar"], 80.0);

  const json& s = o["snapshots"]["discounted"];
  EXPECT_EQ(s["state"]["doVrDesconto"], 8.0);
  EXPECT_EQ(s["state"]["doVrAPagar"], 72.0);
  EXPECT_EQ(s["controls"]["lblValorPagar"]["caption"], "72,00");
  EXPECT_EQ(s["controls"]["spbAcrescimo"]["enabled"], false);
  const json& lines = s["controls"]["memLista"]["lines"];
  ASSERT_GE(lines.size(), 2u) << lines.dump();
  EXPECT_EQ(lines[lines.size() - 2], ListLine("Desconto: 10,00% ", "-8,00"));
  EXPECT_EQ(lines.back(), ListLine("Sub-Total:", "72,00"));

  bool asked = false;
  for (const json& c : o["hostCalls"])
    if (c["name"] == "VerificaAcesso") asked = asked || c["args"] == json::array({12, "000042"});
  EXPECT_TRUE(asked) << "the discount's access code for the operator at the register";
}

TEST_F(DiscountScenarioTest, SurchargeLimitDependsOnTheFiscalPrinter) {
  const std::string script = Click("spbAcrescimo") + Adjustment("P", 10.01) + Snapshot("above") +
                             Click("spbAcrescimo") + Adjustment("P", 10) + Snapshot("ten") + Click("spbSair");
  const json with_printer = Run(Sale(50), script);
  ASSERT_TRUE(with_printer.contains("snapshots")) << with_printer.dump();
  EXPECT_TRUE(Shown(with_printer, "não pode ultrapassar mais de 10%"));
  EXPECT_EQ(with_printer["snapshots"]["above"]["state"]["doVrAcrescimo"], 0.0);
  EXPECT_EQ(with_printer["snapshots"]["ten"]["state"]["doVrAcrescimo"], 5.0);
  EXPECT_EQ(with_printer["snapshots"]["ten"]["state"]["doVrAPagar"], 55.0);

  Parameters({{"UTILIZAIMPFIS", base::Variant(false)}, {"SISTEMAZEMNFCE", base::Variant(true)}});
  const json nfce = Run(Sale(50), Click("spbAcrescimo") + Adjustment("P", 100) + Snapshot("doubled") + Click("spbSair"));
  ASSERT_TRUE(nfce.contains("snapshots")) << nfce.dump();
  EXPECT_EQ(nfce["snapshots"]["doubled"]["state"]["doVrAcrescimo"], 50.0);
  EXPECT_EQ(nfce["snapshots"]["doubled"]["state"]["doVrAPagar"], 100.0);
}

TEST_F(DiscountScenarioTest, TipUpToTheChangeIsKeptFromIt) {
  Parameters({{"IDTPCONTRREPIQ", base::Variant(std::string("S"))}, {"VRPEMAXREPIQMRX", base::Variant(0.0)},
              {"UTILIZAIMPFIS", base::Variant(false)}, {"SISTEMAZEMNFCE", base::Variant(true)}});
  const json o = Run(Sale(95), Click("tcbBalcao01") + Keypad("100") + Keypad("5,01") + Keypad("5") + Click("spbOk"));
  ASSERT_TRUE(o.contains("screen") && o["screen"].is_object()) << o.dump();
  EXPECT_TRUE(Shown(o, "não pode ser maior que o valor do troco")) << o["dialogs"].dump();
  const json& s = o["screen"];
  EXPECT_EQ(s["state"]["doVrTroco"], 5.0);
  EXPECT_EQ(s["state"]["doVrRepique"], 5.0);
  const json& lines = s["controls"]["memLista"]["lines"];
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "Repique:                   R$ 5,00") << lines.dump();
}

}  // namespace
}  // namespace recebimento::testing
