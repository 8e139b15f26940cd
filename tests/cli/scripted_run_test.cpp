// `recebimento run` as a host would use it: exit statuses, error messages that name the
// member or line at fault, and the output JSON.
#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli_runner.h"
#include "host/pos/sale_dataset_layouts.h"
#include "support/store_fixture.h"
#include "support/temp_dir.h"

namespace recebimento::testing {
namespace {

using json = nlohmann::ordered_json;

class ScriptedRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists(CliPath())) << CliPath() << " is missing: build the target recebimento_cli";
    std::filesystem::create_directories(dir_ / "host" / "Dados");
    SqliteStoreAt(dir_ / "store.db");
  }

  CliResult Run(const std::string& sale, const std::string& script, std::vector<std::string> extra = {}) {
    dir_.Write("sale.json", sale);
    dir_.Write("script.jsonl", script);
    std::vector<std::string> args = {"run",
                                     "--host-dir",
                                     (dir_ / "host").string(),
                                     "--sale",
                                     (dir_ / "sale.json").string(),
                                     "--script",
                                     (dir_ / "script.jsonl").string(),
                                     "--db",
                                     "sqlite:" + (dir_ / "store.db").string(),
                                     "--clock",
                                     "2026-12-06T12:00:00"};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunCli(args, dir_.str());
  }

  // Exit 1 with a message that holds `expected`, on stderr and in the output's error.
  void ExpectRefused(const std::string& sale, const std::string& script, const std::string& expected) {
    const CliResult r = Run(sale, script);
    EXPECT_EQ(r.exit_code, 1) << r.out << r.err;
    EXPECT_NE(r.err.find(expected), std::string::npos) << "stderr: " << r.err;
    const json o = json::parse(r.out, nullptr, false);
    ASSERT_TRUE(o.is_object() && o["error"].is_string()) << "the output is written also on an error: " << r.out;
    EXPECT_NE(o["error"].get<std::string>().find(expected), std::string::npos) << o["error"];
    EXPECT_EQ(o["result"], false);
  }

  TempDir dir_;
};

const char* kSale = R"({"args": {"stModoVenda": "RES", "stIdTipoVenda": "M"}})";

TEST_F(ScriptedRunTest, ScriptErrorsNameTheLineAndExitWithOne) {
  ExpectRefused(kSale, "{\"wait\": 10}\n\n{\"click\": \"spbNada\"}\n", "script line 3: unknown control \"spbNada\"");
  ExpectRefused(kSale, "{\"key\": \"F1\"}\n{\"key\": \"Escape\"}\n",
                "script line 2: the dialog RelFiscais \"Relatórios Fiscais\" opened and needs an answer");
  ExpectRefused(kSale, "{\"key\": \"F1\"}\n", "the script has no more lines");
  ExpectRefused(kSale, "{\"snapshot\": \"a\"}\n", "the script ran out while the payment screen waits");
  ExpectRefused(kSale, "{\"answer\": true}\n", "script line 1: an answer, but no dialog is open");
  ExpectRefused(kSale, "{\"click\": \"spbSair\"}\n{\"clik\": \"spbSair\"}\n", "script line 2: expected one of");
  ExpectRefused(kSale, "{\"key\": \"Enterr\"}\n", "script line 1: unknown key \"Enterr\"");
  ExpectRefused(kSale, "{\"wait\": -5}\n", "script line 1: \"wait\" takes milliseconds");
  ExpectRefused(kSale, "not json\n", "script line 1: not valid JSON");
  ExpectRefused(kSale, "{\"key\": \"F1\"}\n{\"answer\": {\"report\": \"X\"}}\n",
                "script line 2.answer: the dialog RelFiscais takes a value, not named fields");
  ExpectRefused(kSale, "{\"key\": \"F1\"}\n{\"answer\": {\"a\": {\"b\": 1}}}\n", "script line 2.answer.a");
}

// What an operator could not do stops the run at its line: the keys of a keypad that is
// not shown would type into whatever is open next. A press on a disabled control does
// nothing, as on the register, and is listed.
TEST_F(ScriptedRunTest, PressesAnOperatorCouldNotMakeStopTheRunAndDisabledOnesAreListed) {
  ExpectRefused(kSale, "{\"click\": \"sbt1\"}\n{\"click\": \"spbSair\"}\n",
                "script line 1: cannot press \"sbt1\": sbt1 is inside the hidden panel panKeyboard");
  ExpectRefused(kSale, "{\"wait\": 1}\n{\"click\": \"lblValorTotal\"}\n",
                "script line 2: cannot press \"lblValorTotal\": lblValorTotal does nothing when pressed");

  const CliResult r = Run(kSale, "{\"click\": \"spbOk\"}\n{\"click\": \"spbSair\"}\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const json o = json::parse(r.out);
  EXPECT_EQ(o["ignored"], json::parse(R"([{"line": 1, "action": {"click": "spbOk"}, "why": "spbOk is disabled"}])"));
  EXPECT_EQ(o["result"], false) << "nothing was paid, nothing confirmed";
}

TEST_F(ScriptedRunTest, LinesLeftOverOnceTheCallReturnedAreAnError) {
  ExpectRefused(kSale, "{\"click\": \"spbSair\"}\n\n{\"click\": \"tcbBalcao99\"}\n{\"wait\": 1}\n",
                "script line 3: left over, the payment screen had closed already");
  // Snapshots right after the close record the closed screen.
  const CliResult r = Run(kSale, "{\"click\": \"spbSair\"}\n{\"snapshot\": \"closed\"}\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(json::parse(r.out)["snapshots"]["closed"].is_object());
}

TEST_F(ScriptedRunTest, AScriptErrorStillWritesTheOutputWithWhatLedToIt) {
  const std::string sale = R"({"args": {"stModoVenda": "RES", "stIdTipoVenda": "C"}})";
  const std::string out_file = (dir_ / "out.json").string();
  dir_.Write("out.json", "stale");
  const CliResult r = Run(sale,
                          "{\"snapshot\": \"opened\"}\n{\"key\": \"F1\"}\n{\"answer\": \"LEITURA X\"}\n"
                          "{\"click\": \"sbt5\"}\n{\"click\": \"spbSair\"}\n",
                          {"--out", out_file});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("script line 4: cannot press \"sbt5\""), std::string::npos) << r.err;
  const json o = json::parse(dir_.Read("out.json"));
  EXPECT_NE(o["error"].get<std::string>().find("script line 4"), std::string::npos) << o["error"];
  ASSERT_EQ(o["dialogs"].size(), 1u);
  EXPECT_EQ(o["dialogs"][0]["answer"], "LEITURA X");
  EXPECT_EQ(o["printed"], json::array({"RELATORIO FISCAL: LEITURA X"}));
  EXPECT_TRUE(o["snapshots"].contains("opened"));
  ASSERT_TRUE(o["screen"].is_object()) << "the screen as the error found it";
  EXPECT_EQ(o["screen"]["controls"]["panKeyboard"]["visible"], false);
  EXPECT_TRUE(o["datasets"].contains("cdsMoviVenda"));
}

TEST_F(ScriptedRunTest, BadSaleFilesNameTheOffendingMember) {
  const std::string leave = "{\"click\": \"spbSair\"}\n";
  ExpectRefused("{\"args\": ", leave, "not valid JSON");
  ExpectRefused(R"({"argz": {}})", leave, "argz: unknown member");
  ExpectRefused(R"({"args": {"stModoVenda": 3}})", leave, "args.stModoVenda: expected a text");
  ExpectRefused(R"({"args": {"doVrPago": "12,00"}})", leave, "args.doVrPago: expected an amount");
  ExpectRefused(R"({"args": {"stNada": "x"}})", leave, "args.stNada: no argument of that name");
  ExpectRefused(R"({"args": {"cdsItensVenda": []}})", leave, "args.cdsItensVenda: datasets go under");
  ExpectRefused(R"({"datasets": {"cdsNada": []}})", leave, "datasets.cdsNada: no dataset argument");
  ExpectRefused(R"({"datasets": {"cdsItensVenda": [1, 2]}})", leave,
                "datasets.cdsItensVenda[0]: a row must be an object");
  ExpectRefused(R"({"datasets": {"cdsItensVenda": [{"A": {"b": 1}}]}})", leave, "datasets.cdsItensVenda[0].A");
  ExpectRefused(R"({"datasets": {"cdsMoviVenda": {"fields": [{"name": "VRMOVIVEND", "type": "money"}]}}})", leave,
                "datasets.cdsMoviVenda.fields[0].type: unknown field type 'money'");
  ExpectRefused(R"({"datasets": {"cdsMoviVenda": {"fields": [{"name": "V", "type": "float"}], "rows": [{"V": "x"}]}}})",
                leave, "datasets.cdsMoviVenda.rows[0].V");
  ExpectRefused(R"({"datasets": {"cdsMoviVenda": {"fields": [{"name": "V"}], "rows": [{"W": 1}]}}})", leave,
                "datasets.cdsMoviVenda.rows[0].W: no such field");
  ExpectRefused(R"({"host": {"printer": {"fial": {}}}})", leave, "host.printer.fial: unknown member");
  ExpectRefused(R"({"host": {"access": {"rights": {"abc": "S"}}}})", leave, "host.access.rights.abc");
  ExpectRefused(R"({"host": {"dialogs": {"CriaInfAdicional": {"nome": "A"}}}})", leave,
                "host.dialogs.CriaInfAdicional: the dialog CriaInfAdicional has no field \"nome\" "
                "(it knows document, name, address, foreigner)");
  ExpectRefused(R"({"datasets": {"cdsClienteHost": []}})", leave,
                "datasets.cdsClienteHost: an empty list says nothing of the fields");
  ExpectRefused(R"({"datasets": {"cdsClienteHost": {"fields": []}}})", leave,
                "datasets.cdsClienteHost.fields: a dataset needs at least one field");

  // Nothing could be gathered, but the output keeps its shape.
  const CliResult r = Run("{\"args\": ", leave);
  const json o = json::parse(r.out);
  EXPECT_TRUE(o["screen"].is_null());
  EXPECT_TRUE(o["dialogs"].empty() && o["args"].empty() && o["ignored"].empty());
}

// "[]" is the plain way to say "none": an open, empty dataset with the columns the host
// contract gives it, which the screen then fills (a payment dataset without columns
// could take no payment line).
TEST_F(ScriptedRunTest, EmptyListsGiveTheColumnsTheHostContractFixes) {
  json sale = json::parse(kSale);
  for (const std::string& name : pos::DatasetsWithFixedLayout()) sale["datasets"][name] = json::array();
  const CliResult r = Run(sale.dump(), "{\"click\": \"spbSair\"}\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const json o = json::parse(r.out);
  for (const auto& [name, dataset] : o["datasets"].items()) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(dataset["fields"].empty());
    EXPECT_TRUE(dataset["rows"].empty());
  }
  std::vector<std::string> payment_columns;
  for (const json& f : o["datasets"]["cdsMoviVenda"]["fields"]) payment_columns.push_back(f["name"]);
  for (const char* column : {"CDTIPORECE", "IDTIPORECE", "NMTIPORECE", "VRMOVIVEND", "DSMOVIVEND", "IDTIPOMOVIVE",
                             "CDNSUHOSTTEF", "CDTIPOTROCO", "QTPARCRECEB", "DTMOVIMCAIXA"})
    EXPECT_NE(std::find(payment_columns.begin(), payment_columns.end(), column), payment_columns.end()) << column;
  EXPECT_EQ(o["datasets"]["cdsItensCancelados"]["fields"][0]["name"], "CDPRODUTO");
}

TEST_F(ScriptedRunTest, OutputCarriesEveryVarArgumentAndDatasetAndTheScreen) {
  // The host brings a payment; screen mode "S" keeps the exit open so the script can leave.
  const std::string sale = R"({
    "args": {"stModoVenda": "RES", "stIdTipoVenda": "M", "stIdTela": "S", "stNrContCupom": "77", "stObsVenda": "sem sal"},
    "datasets": {
      "cdsItensVenda": [{"CDPRODUTO": "1001", "NMPRODUTO": "Pão de queijo", "VRDESCCOMVEN": 0}],
      "cdsMoviVenda": {"fields": [{"name": "CDTIPORECE", "type": "string", "size": 3},
                                  {"name": "VRMOVIVEND", "type": "float"},
                                  {"name": "DTMOVIMCAIXA", "type": "datetime"}],
                       "rows": [{"CDTIPORECE": "001", "VRMOVIVEND": 10.1, "DTMOVIMCAIXA": "2026-12-06"}]}}})";
  const std::string out_file = (dir_ / "out.json").string();
  const CliResult r = Run(sale, "{\"snapshot\": \"first\"}\n{\"click\": \"spbSair\"}\n", {"--out", out_file});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(r.out.empty()) << "--out writes the file instead";
  const json o = json::parse(dir_.Read("out.json"));

  EXPECT_EQ(o["result"], false);
  EXPECT_TRUE(o["error"].is_null());
  std::vector<std::string> members;
  for (const auto& [k, v] : o.items()) members.push_back(k);
  EXPECT_EQ(members, (std::vector<std::string>{"result", "args", "datasets", "dialogs", "hostCalls", "printed",
                                               "screen", "snapshots", "reservedNumbers", "error", "ignored"}));
  EXPECT_EQ(o["args"].size(), 17u) << o["args"].dump();
  EXPECT_EQ(o["args"]["stNrContCupom"], "77") << "the host's counter stays";
  EXPECT_EQ(o["args"]["stObsVenda"], "sem sal");
  EXPECT_FALSE(o["args"].contains("stModoVenda")) << "plain inputs are not reported";
  EXPECT_EQ(o["datasets"].size(), 7u);
  EXPECT_TRUE(o["datasets"].contains("cdsEmprestimoFamHost"));
  EXPECT_EQ(o["datasets"]["cdsItensVenda"]["rows"][0]["NMPRODUTO"], "Pão de queijo");
  const json& movi = o["datasets"]["cdsMoviVenda"];
  EXPECT_EQ(movi["fields"][0]["size"], 3);
  EXPECT_EQ(movi["fields"][2]["type"], "datetime");
  EXPECT_EQ(movi["rows"][0]["VRMOVIVEND"], 10.1);
  EXPECT_EQ(movi["rows"][0]["DTMOVIMCAIXA"], "2026-12-06T00:00:00");
  EXPECT_TRUE(o["snapshots"].contains("first"));
  EXPECT_EQ(o["screen"]["controls"]["spbSair"]["enabled"], true);
  EXPECT_TRUE(o["screen"]["controls"]["memLista"].contains("lines"));
  EXPECT_FALSE(o["screen"]["controls"]["spbSair"].contains("lines"));
  EXPECT_TRUE(o["screen"]["state"]["doVrAPagar"].is_number());
}

TEST_F(ScriptedRunTest, DialogsTakeTheScriptsAnswerOrTheHostsDefault) {
  const std::string with_default =
      R"({"args": {"stIdTipoVenda": "C"}, "host": {"dialogs": {"RelFiscais": "LEITURA X"}}})";
  CliResult r =
      Run(with_default, "{\"key\": \"F1\"}\n{\"key\": \"F1\"}\n{\"answer\": null}\n{\"click\": \"spbSair\"}\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  json o = json::parse(r.out);
  ASSERT_EQ(o["dialogs"].size(), 2u);
  EXPECT_EQ(o["dialogs"][0]["answer"], "LEITURA X") << "no answer line: the host's default";
  EXPECT_EQ(o["dialogs"][0]["type"], "question");
  EXPECT_TRUE(o["dialogs"][1]["answer"].is_null()) << "the script's null dismisses it";
  EXPECT_EQ(o["printed"], json::array({"RELATORIO FISCAL: LEITURA X"}));
  bool reports = false;
  for (const json& call : o["hostCalls"]) reports = reports || call["name"] == "RelFiscais";
  EXPECT_TRUE(reports) << o["hostCalls"].dump();

  // A counter sale has no fiscal-reports key.
  r = Run(R"({"args": {"stIdTipoVenda": "B"}})", "{\"key\": \"F1\"}\n{\"click\": \"spbSair\"}\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(json::parse(r.out)["dialogs"].empty());
}

TEST_F(ScriptedRunTest, AnExceptionThatReachesTheHostExitsWithTwo) {
  // A parameters file that is not a data packet fails the screen's initialisation.
  dir_.Write("host/PARAMETROSZEM.CDS", "not a data packet");
  const CliResult r = Run(kSale, "{\"click\": \"spbSair\"}\n");
  EXPECT_EQ(r.exit_code, 2) << r.err;
  const json o = json::parse(r.out);
  EXPECT_EQ(o["result"], false);
  ASSERT_TRUE(o["error"].is_string());
  EXPECT_NE(o["error"].get<std::string>().find("PARAMETROSZEM.CDS"), std::string::npos) << o["error"];
  EXPECT_TRUE(o["screen"].is_null()) << "the screen never showed";
}

TEST_F(ScriptedRunTest, UsageErrorsExitWithOne) {
  EXPECT_EQ(RunCli({"run", "--sale", "x.json"}, dir_.str()).exit_code, 1) << "--host-dir is required";
  EXPECT_EQ(RunCli({"frobnicate"}, dir_.str()).exit_code, 1);
  const CliResult r = Run(kSale, "{\"click\": \"spbSair\"}\n", {"--clock", "yesterday"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("--clock"), std::string::npos);
  const CliResult missing =
      RunCli({"run", "--host-dir", dir_.str(), "--sale", (dir_ / "none.json").string()}, dir_.str());
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_NE(missing.err.find("none.json"), std::string::npos);
}

TEST_F(ScriptedRunTest, StoreInitAndTheDemoWorkFromScratch) {
  const std::string store = "sqlite:" + (dir_ / "init" / "store.db").string();
  std::filesystem::create_directories(dir_ / "init");
  const CliResult init = RunCli({"db", "init", "--db", store}, dir_.str());
  ASSERT_EQ(init.exit_code, 0) << init.err;
  EXPECT_TRUE(std::filesystem::exists(dir_ / "init" / "store.db"));
  EXPECT_EQ(RunCli({"db", "init", "--db", store}, dir_.str()).exit_code, 0) << "running it again changes nothing";

  const CliResult demo = RunCli({"demo", "--examples", std::string(RECEBIMENTO_SOURCE_DIR) + "/examples"}, dir_.str());
  ASSERT_EQ(demo.exit_code, 0) << demo.err;
  EXPECT_NE(demo.out.find("sale completed"), std::string::npos) << demo.out;
  // The example host's fiscal printer prints the receipt: the service fee as an item line,
  // the total, the cash and its change.
  for (const char* line : {"CUPOM FISCAL 001201 COO 005530", "004 9001 #Taxa de Servi", "TOTAL 137.40",
                           "DINHEIRO 150.00", "TROCO 12.60", "FIM CUPOM 001201"})
    EXPECT_NE(demo.out.find(line), std::string::npos) << line << "\n" << demo.out;
  EXPECT_NE(demo.out.find("output arguments"), std::string::npos);
}

}  // namespace
}  // namespace recebimento::testing
