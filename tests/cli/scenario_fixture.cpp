#include "scenario_fixture.h"

#include <fstream>
#include <sstream>

#include "base/dataset.h"
#include "base/text.h"

namespace recebimento::testing {

namespace fs = std::filesystem;

namespace act {

namespace {
std::string Line(const json& action) { return action.dump() + "\n"; }
}  // namespace

std::string Click(const std::string& control) { return Line({{"click", control}}); }

std::string Key(const std::string& key, bool alt, bool shift) {
  json k = {{"key", key}};
  if (alt) k["alt"] = true;
  if (shift) k["shift"] = true;
  return Line(k);
}

std::string Type(const std::string& text) { return Line({{"type", text}}); }
std::string Answer(const json& answer) { return Line({{"answer", answer}}); }
std::string Snapshot(const std::string& name) { return Line({{"snapshot", name}}); }
std::string Wait(int milliseconds) { return Line({{"wait", milliseconds}}); }

std::string Keypad(const std::string& amount) {
  std::string s;
  for (char ch : amount) s += Click(ch == ',' ? "sbtVirgula" : "sbt" + std::string(1, ch));
  return s + Click("sbtEnter");
}

std::string Pays(const std::string& button, const std::string& amount) { return Click(button) + Keypad(amount); }

std::string Adjustment(char kind, double value) {
  return Answer({{"VRDESCONTO", kind == 'V' ? value : 0.0}, {"PCDESCONTO", kind == 'P' ? value : 0.0}});
}

}  // namespace act

json Item(const std::string& product, double price, double quantity) {
  return {{"CDPRODUTO", product},     {"NMPRODUTO", "PRODUTO " + product},
          {"QTPRODCOMVEN", quantity}, {"VRPRECCOMVEN", price},
          {"VRUNITVENDCL", 0},        {"VRDESCCOMVEN", 0},
          {"VRACRCOMVEN", 0},         {"VRTXSERVICO", 0},
          {"VRACRCOMANDA", 0},        {"VRDESCOMANDA", 0},
          {"IDCONFIGPROD", ""},       {"NRCOMANDA", "0000000012"},
          {"DSCOMANDA", "12"},        {"NRVENDAREST", "000123"},
          {"CDCLIENTE", ""},          {"CDCONSUMIDOR", ""},
          {"DSOBSDESC", ""},          {"CDSUPERVISOR", ""},
          {"VRREPIQUEVENDA", 0}};
}

json Tender(const std::string& code, const std::string& name, const std::string& kind, const std::string& button,
            const json& extra) {
  json t = {{"CDFILIAL", "0001"},  {"CDTIPORECE", code},  {"NMTIPORECE", name}, {"IDTIPORECE", kind},
            {"CDTIPOTROCO", ""},   {"NRORDTROCO", ""},    {"IDTPBUTTON", "5"},  {"NRBUTTON", button},
            {"NRBUTTONAUX", "01"}, {"NRPGCONFTELA", "1"}, {"DSBUTTON", name},   {"IDMOSTRARECE", "S"},
            {"CDFPIMPFIS", "01"},  {"DSIMPFISCAL", name}, {"CDINDICE", ""},     {"IDUTCONTRREPIQ", "N"},
            {"IDSOLIQTPARC", "N"}, {"QTMAXPARC", 0},      {"VRMINPARC", 0},     {"CDCREDENCCAR", "001"}};
  for (const auto& [k, v] : extra.items()) t[k] = v;
  return t;
}

json Sale(const json& args, const json& items, const json& tenders) {
  json a = {{"stTipoTela", "N"}, {"stIdTela", ""}};
  for (const auto& [k, v] : args.items()) a[k] = v;
  return {{"args", a}, {"datasets", {{"cdsItensVenda", items}, {"cdsRecebHost", tenders}}}};
}

json ExampleSale(const std::string& file) {
  std::ifstream in(fs::path(RECEBIMENTO_SOURCE_DIR) / "examples" / "sales" / file);
  std::stringstream text;
  text << in.rdbuf();
  return json::parse(text.str());
}

std::string ListLine(const std::string& name, const std::string& amount) {
  std::string n = name, a = amount;
  while (base::Utf8Length(n) < 20) n += ' ';
  while (base::Utf8Length(a) < 14) a = ' ' + a;
  return n + " " + a;
}

std::vector<PaymentLine> PaymentLines(const json& out) {
  std::vector<PaymentLine> lines;
  if (!out.contains("datasets")) return lines;
  for (const json& row : out["datasets"]["cdsMoviVenda"]["rows"])
    lines.emplace_back(row["CDTIPORECE"], row["IDTIPOMOVIVE"], row["VRMOVIVEND"].get<double>());
  return lines;
}

bool Shown(const json& out, const std::string& fragment) {
  if (!out.contains("dialogs")) return false;
  for (const json& d : out["dialogs"])
    if (d["text"].is_string() && d["text"].get<std::string>().find(fragment) != std::string::npos) return true;
  return false;
}

std::vector<json> HostCalls(const json& out, const std::string& name) {
  std::vector<json> calls;
  if (!out.contains("hostCalls")) return calls;
  for (const json& c : out["hostCalls"])
    if (c["name"] == name) calls.push_back(c["args"]);
  return calls;
}

void RequireScenarioEngine(Engine engine) {
  ASSERT_TRUE(fs::exists(CliPath())) << CliPath() << " is missing: build the target recebimento_cli";
  if (engine == Engine::PostgreSQL && PostgresAdminConnInfo().empty())
    GTEST_SKIP() << "RECEBIMENTO_TEST_PG is not set: no PostgreSQL server for this run";
}

Scenario::Scenario(Engine engine) : store_(engine) {
  fs::copy(fs::path(RECEBIMENTO_SOURCE_DIR) / "examples" / "host", HostDir(), fs::copy_options::recursive);
}

void ScenarioTest::SetUp() {
  RequireScenarioEngine(GetParam());
  if (IsSkipped() || HasFatalFailure()) return;
  scenario_ = std::make_unique<Scenario>(GetParam());
}

void Scenario::BareHost() {
  fs::remove_all(HostDir());
  fs::create_directories(HostDir() / "Dados");
}

void Scenario::BareRegister() {
  const std::string path = (HostDir() / "PARAMETROSZEM.CDS").string();
  base::Dataset p("cdsParametrosZem");
  p.LoadFromFile(path);
  BareHost();
  p.First();
  p.Edit();
  for (const auto& field : p.Fields())
    if (field.name != "CDFILIAL" && field.name != "CDCAIXA") p.FieldByName(field.name).SetValue(base::Variant::Null());
  p.Post();
  p.SaveToFile(path);
}

void Scenario::Parameters(const std::map<std::string, base::Variant>& values) {
  const std::string path = (HostDir() / "PARAMETROSZEM.CDS").string();
  base::Dataset p("cdsParametrosZem");
  p.LoadFromFile(path);
  p.First();
  p.Edit();
  for (const auto& [column, value] : values) p.FieldByName(column).SetValue(value);
  p.Post();
  p.SaveToFile(path);
}

std::vector<std::string> Scenario::RunArgs(const json& sale, const std::string& script) {
  dir_.Write("sale.json", sale.dump());
  dir_.Write("script.jsonl", script);
  return {"run",
          "--host-dir",
          HostDir().string(),
          "--sale",
          (dir_ / "sale.json").string(),
          "--script",
          (dir_ / "script.jsonl").string(),
          "--db",
          Db(),
          "--clock",
          "2026-12-06T12:00:00"};
}

CliResult Scenario::RunRaw(const json& sale, const std::string& script, const std::vector<std::string>& extra) {
  std::vector<std::string> args = RunArgs(sale, script);
  args.insert(args.end(), extra.begin(), extra.end());
  return RunCli(args, dir_.str());
}

json Scenario::Run(const json& sale, const std::string& script, int expected_exit) {
  const CliResult r = RunRaw(sale, script);
  EXPECT_EQ(r.exit_code, expected_exit) << r.err << r.out.substr(0, 2000);
  json out = json::parse(r.out, nullptr, false);
  if (out.is_discarded() || !out.is_object()) {
    if (expected_exit != 1) ADD_FAILURE() << "no output: " << r.err;
    return json::object();
  }
  return out;
}

}  // namespace recebimento::testing
