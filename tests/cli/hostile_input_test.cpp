// Input built to break the run: nesting deep enough to exhaust a stack, bytes that are not
// UTF-8, numbers past every range. Each gets a clear message and the output, when there
// is one, stays valid JSON.
#include <filesystem>

#include "base/dataset.h"
#include "scenario_fixture.h"

namespace recebimento::testing {
namespace {

namespace fs = std::filesystem;

class HostileInput : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(CliPath())) << CliPath() << " is missing: build the target recebimento_cli";
    host_ = dir_ / "host";
    fs::copy(fs::path(RECEBIMENTO_SOURCE_DIR) / "examples" / "host", host_, fs::copy_options::recursive);
    store_ = SqliteStoreAt(dir_ / "store.db");
  }
  CliResult Run(const std::string& sale, const std::string& script = "{\"click\": \"spbSair\"}\n") {
    dir_.Write("sale.json", sale);
    dir_.Write("script.jsonl", script);
    return RunCli({"run", "--host-dir", host_.string(), "--sale", (dir_ / "sale.json").string(), "--script",
                   (dir_ / "script.jsonl").string(), "--db", store_, "--clock", "2026-12-06T12:00:00"},
                  dir_.str());
  }
  void SetParameter(const std::string& column, const base::Variant& value) {
    base::Dataset p("cdsParametrosZem");
    p.LoadFromFile((host_ / "PARAMETROSZEM.CDS").string());
    p.First();
    p.Edit();
    p.FieldByName(column).SetValue(value);
    p.Post();
    p.SaveToFile((host_ / "PARAMETROSZEM.CDS").string());
  }

  TempDir dir_;
  fs::path host_;
  std::string store_;
};

std::string Nested(int levels, const std::string& inner = "1") {
  return std::string(levels, '[') + inner + std::string(levels, ']');
}

TEST_F(HostileInput, DeepNestingAnywhereIsRefusedWithAShortMessage) {
  const std::string deep = Nested(50000);
  for (const std::string& sale :
       {"{\"args\": {\"stModoVenda\": " + deep + "}}", "{\"host\": {\"tef\": {\"pinpad\": " + deep + "}}}",
        "{\"host\": {\"dialogs\": {\"Mensagem\": " + deep + "}}}",
        "{\"host\": {\"services\": {\"ExtratoConsCentral\": {\"result\": " + deep + "}}}}"}) {
    const CliResult r = Run(sale);
    EXPECT_EQ(r.exit_code, 1) << sale.substr(0, 60);
    EXPECT_NE(r.err.find("nested more than 64 levels deep"), std::string::npos) << r.err.substr(0, 300);
    EXPECT_LT(r.err.size(), 500u);
  }
  const CliResult r = Run("{}", "{\"answer\": " + deep + "}\n");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("script line 1: nested more than 64 levels deep"), std::string::npos) << r.err.substr(0, 300);
  // Moderate nesting is no error in itself: the value is still judged by its place.
  const CliResult shallow = Run("{\"args\": {\"stModoVenda\": " + Nested(60) + "}}");
  EXPECT_EQ(shallow.exit_code, 1);
  EXPECT_NE(shallow.err.find("args.stModoVenda: expected a text"), std::string::npos) << shallow.err;
}

TEST_F(HostileInput, LongValuesAreCutInMessages) {
  std::string list = "[";
  for (int i = 0; i < 200000; ++i) list += (i ? ",\"" : "\"") + std::string("valor") + "\"";
  list += "]";
  const CliResult r = Run("{\"args\": {\"doVrPago\": " + list + "}}");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("args.doVrPago: expected an amount, got [\"valor\""), std::string::npos) << r.err.substr(0, 300);
  EXPECT_LT(r.err.size(), 400u);
}

TEST_F(HostileInput, BytesThatAreNotUtf8NeverBreakTheOutput) {
  // A host folder whose name the error quotes, and a field type of the parameters file.
  const fs::path odd = dir_ / "pdv\xFF\xFE";
  fs::rename(host_, odd);
  host_ = odd;
  dir_.Write("pdv\xFF\xFE/PARAMETROSZEM.CDS", "not a data packet");
  CliResult r = Run("{}");
  EXPECT_EQ(r.exit_code, 2) << r.err;
  json out = json::parse(r.out, nullptr, false);
  ASSERT_FALSE(out.is_discarded()) << "not JSON: " << r.out.substr(0, 300);
  EXPECT_NE(out["error"].get<std::string>().find("pdv\\xFF\\xFE"), std::string::npos) << out["error"];

  dir_.Write("pdv\xFF\xFE/PARAMETROSZEM.CDS",
             "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"X\" fieldtype=\"i\xC3\x28\"/></FIELDS>"
             "</METADATA></DATAPACKET>");
  r = Run("{}");
  EXPECT_EQ(r.exit_code, 2) << r.err;
  out = json::parse(r.out, nullptr, false);
  ASSERT_FALSE(out.is_discarded()) << "not JSON: " << r.out.substr(0, 300);
  EXPECT_NE(out["error"].get<std::string>().find("unsupported type \"i\\xC3(\""), std::string::npos) << out["error"];
}

TEST_F(HostileInput, NumbersPastTheirRangeAreRefused) {
  CliResult r = Run("{}", "{\"wait\": 9223372036854775807}\n");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("script line 1: \"wait\" takes at most 86400000 milliseconds"), std::string::npos) << r.err;
  r = Run("{}", "{\"wait\": 86400001}\n");
  EXPECT_EQ(r.exit_code, 1) << "a day and a millisecond is too long";

  // An opening date far past the calendar: the call fails cleanly, never overflows.
  SetParameter("DTABERCAIX", base::Variant(1e15));
  r = Run("{}");
  EXPECT_EQ(r.exit_code, 2) << r.err;
  const json out = json::parse(r.out, nullptr, false);
  ASSERT_TRUE(out.is_object()) << r.out.substr(0, 300);
  EXPECT_NE(out["error"].get<std::string>().find("is not a date between 0001-01-01 and 9999-12-31"), std::string::npos)
      << out["error"];
}

}  // namespace
}  // namespace recebimento::testing
