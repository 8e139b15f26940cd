// What a call that died half way leaves is found at the register's next call, and a store
// held by another writer sends the operator back to the screen with nothing lost.
#include <filesystem>

#include "datamodule/catalogue_support.h"
#include "scenario_fixture.h"

namespace recebimento::testing {
namespace {

namespace fs = std::filesystem;

const char* kPays = "{\"click\": \"tcbBalcao01\"}\n{\"type\": \"150\"}\n{\"key\": \"Enter\"}\n";

class LeftBehind : public ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    Parameters({{"UTILIZAIMPFIS", false}, {"SISTEMAZEMNFCE", true}});
  }
  std::string Status(const std::string& number) {
    const datamodule::Statement q{"q", "SELECT IDSTATUSINUT FROM INUTILIZANFCE WHERE NRNOTAFISCALCE = :P_N"};
    return datamodule::FirstValue(Store().admin().Query(q, {{"P_N", number}}), "IDSTATUSINUT").AsString();
  }
  std::string Log() {
    const fs::path log = HostDir() / "Dados" / "LogRev00000" / "2026" / "12" / "LogRev00000_06.txt";
    return fs::exists(log) ? S().Dir().Read(fs::relative(log, S().Dir().path()).string()) : "";
  }
};

TEST_P(LeftBehind, ANumberStillReservedIsReportedAtTheNextStartAndTheSalesOwnIsMarkedUsed) {
  // Number 1 was taken by a call that died before its sale was recorded.
  Store().Exec("INSERT INTO NOVOCODIGO (CDCONTADOR, NRSEQUENCIAL) VALUES ('PRXNFCE|0001|1|2', '1')");
  Store().Exec(
      "INSERT INTO INUTILIZANFCE (CDFILIAL, CDCAIXA, NRNOTAFISCALCE, DTINUTILIZA, NRSERIENFCE, IDTPAMBNFCE, "
      "IDSTATUSINUT) VALUES ('0001', '001', '1', '2026-12-05 00:00:00', '1', '2', 'P')");
  const json o = Run(ExampleSale("table-sale.json"), std::string(kPays) + act::Click("spbOk"));
  ASSERT_EQ(o["result"], true) << o.dump().substr(0, 500);
  EXPECT_EQ(o["args"]["stNrVenda"], "2");
  EXPECT_EQ(o["reservedNumbers"],
            json::parse(R"([{"counter": "PRXNFCE|0001|1|2", "number": "1", "since": "2026-12-05T00:00:00"}])"));
  EXPECT_NE(Log().find("numero reservado e nao usado (inutilizar): 1 do contador PRXNFCE|0001|1|2"), std::string::npos)
      << Log();
  EXPECT_EQ(Status("1"), "P") << "reported, left for the voiding";
  EXPECT_EQ(Status("2"), "U");

  const json next = Run(ExampleSale("table-sale.json"), std::string(kPays) + act::Click("spbOk"));
  EXPECT_EQ(next["reservedNumbers"].size(), 1u) << "only the number nobody used";
}

TEST_P(LeftBehind, TemporaryFilesOfInterruptedWritesAreRemovedAtTheNextStart) {
  const fs::path host_temp = S().Dir().Write("host/Dados/cdsMoedas.cds.tmp-Ab12Cd", "<DATAPA");
  const fs::path out_temp = S().Dir().Write("out.json.tmp-Zz9Yy8", "{\"res");
  const fs::path kept = S().Dir().Write("host/Dados/notas.tmp-x", "mine");
  const CliResult r = S().RunRaw(ExampleSale("table-sale.json"), "{\"click\": \"spbSair\"}\n",
                                 {"--out", (S().Dir() / "out.json").string()});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_FALSE(fs::exists(host_temp));
  EXPECT_FALSE(fs::exists(out_temp));
  EXPECT_TRUE(fs::exists(kept));
  EXPECT_NE(Log().find("arquivo temporario de uma gravacao interrompida removido"), std::string::npos) << Log();
}

TEST_P(LeftBehind, AStoreHeldByAnotherWriterSendsTheOperatorBackToTheScreenWithNothingLost) {
  // The other writer: on SQLite a write transaction, on PostgreSQL the register's counter row.
  Store().Exec("INSERT INTO NOVOCODIGO (CDCONTADOR, NRSEQUENCIAL) VALUES ('PRXNFCE|0001|1|2', '0')");
  if (GetParam() == Engine::SQLite) {
    Store().Exec("BEGIN IMMEDIATE");
    Store().Exec("UPDATE NOVOCODIGO SET NRSEQUENCIAL = NRSEQUENCIAL");
  } else {
    Store().Exec("BEGIN");
    Store().Exec("SELECT * FROM NOVOCODIGO WHERE CDCONTADOR = 'PRXNFCE|0001|1|2' FOR UPDATE");
  }
  const std::string script = std::string(kPays) + act::Click("spbOk") + act::Snapshot("busy") + act::Click("spbOk") +
                             act::Snapshot("again") + act::Click("spbClear") + act::Click("spbSair");
  const CliResult r = S().RunRaw(ExampleSale("table-sale.json"), script, {"--db-wait", "300"});
  Store().Exec("ROLLBACK");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const json o = json::parse(r.out);
  EXPECT_EQ(o["result"], false);
  ASSERT_EQ(o["dialogs"].size(), 2u) << o["dialogs"].dump();
  for (const json& d : o["dialogs"])
    EXPECT_NE(
        d["text"].get<std::string>().find("ocupado por outro caixa ou processo (aguardou 0,3 s). Tente novamente"),
        std::string::npos)
        << d["text"];
  for (const char* moment : {"busy", "again"}) {
    const json& s = o["snapshots"][moment];
    EXPECT_EQ(s["state"]["doVrAPagar"], 0.0) << moment << ": the payment is still there";
    EXPECT_EQ(s["state"]["doVrPago"], 150.0) << moment;
    EXPECT_EQ(s["controls"]["spbOk"]["enabled"], true) << moment << ": the sale may be confirmed again";
  }
  const datamodule::Statement q{"q", "SELECT NRSEQUENCIAL FROM NOVOCODIGO WHERE CDCONTADOR = 'PRXNFCE|0001|1|2'"};
  EXPECT_EQ(datamodule::FirstValue(Store().admin().Query(q), "NRSEQUENCIAL").AsString(), "0") << "no number spent";

  // The writer gone, the same sale takes the next number.
  const json done = Run(ExampleSale("table-sale.json"), std::string(kPays) + act::Click("spbOk"));
  EXPECT_EQ(done["args"]["stNrVenda"], "1");
  EXPECT_TRUE(done["reservedNumbers"].empty());
}

RECEBIMENTO_SCENARIO_ENGINES(LeftBehind);

}  // namespace
}  // namespace recebimento::testing
