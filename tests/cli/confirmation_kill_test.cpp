// Runs killed (SIGKILL) at random moments while they confirm a sale, on both engines and
// for both kinds of number (NFC-e and the register's sale numbers). Afterwards every number
// the counters handed out is accounted for: used by a sale that a result or the trace
// records, or still reserved and reported at the next start; every result that exists is
// whole; no temporary file is left.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "datamodule/catalogue_support.h"
#include "scenario_fixture.h"

namespace recebimento::testing {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRounds = 40;  // per engine: a few seconds, enough to land all over the confirmation

const char* kPaysAndConfirms =
    "{\"click\": \"tcbBalcao01\"}\n{\"type\": \"150\"}\n{\"key\": \"Enter\"}\n{\"click\": \"spbOk\"}\n";

class ConfirmationKill : public ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    out_ = (S().Dir() / "out.json").string();
  }

  // NFC-e numbers or the register's sale numbers, by the register's configuration.
  void UseNfce(bool nfce) { Parameters({{"UTILIZAIMPFIS", false}, {"SISTEMAZEMNFCE", nfce}}); }

  std::vector<std::string> Args() {
    std::vector<std::string> args = S().RunArgs(ExampleSale("table-sale.json"), kPaysAndConfirms);
    args.insert(args.end(), {"--out", out_});
    return args;
  }

  // Takes the result a round left (a whole JSON object, or none at all).
  void CollectResult() {
    if (!fs::exists(out_)) return;
    std::ifstream in(out_);
    std::stringstream text;
    text << in.rdbuf();
    const json o = json::parse(text.str(), nullptr, false);
    ASSERT_TRUE(o.is_object()) << "a result cut short: " << text.str().substr(0, 200);
    if (o["result"] == true) {
      const std::string number = o["args"]["stNrVenda"];
      EXPECT_TRUE(completed_.insert(number).second) << "two sales reported number " << number;
    }
    last_reserved_ = o["reservedNumbers"];
    fs::remove(out_);
  }

  // number -> status of every reservation record the store holds for the register.
  std::map<std::string, std::string> Records(const std::string& sql) {
    std::map<std::string, std::string> out;
    const datamodule::Statement q{"q", sql};
    for (const auto& row : Store().admin().Query(q).rows) out[row[0].AsString()] = row[1].AsString();
    return out;
  }

  long long Counter(const std::string& key) {
    const datamodule::Statement q{"q", "SELECT NRSEQUENCIAL FROM NOVOCODIGO WHERE CDCONTADOR = :P_K"};
    const base::Variant v = datamodule::FirstValue(Store().admin().Query(q, {{"P_K", key}}), "NRSEQUENCIAL");
    return v.IsNull() ? 0 : std::stoll(v.AsString());
  }

  std::string Trace() {
    const fs::path log = HostDir() / "Dados" / "LogRev00000" / "2026" / "12" / "LogRev00000_06.txt";
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::string out_;
  std::set<std::string> completed_;
  json last_reserved_ = json::array();
};

TEST_P(ConfirmationKill, EveryNumberIsAccountedForAfterRunsKilledAtRandom) {
  std::mt19937 random(20261206u + static_cast<unsigned>(GetParam()));
  // How long a whole run takes here (the quicker of two); the kills fall in its second
  // half, where the sale is confirmed, and a little past it.
  auto whole = std::chrono::microseconds::max();
  for (bool nfce : {true, false}) {
    UseNfce(nfce);
    const auto start = Clock::now();
    ASSERT_TRUE(RunAndKill(Args(), std::chrono::seconds(60))) << "a run that is not killed completes";
    whole = std::min(whole, std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start));
    CollectResult();
  }
  ASSERT_EQ(completed_.size(), 2u);
  std::uniform_int_distribution<long long> moment(whole.count() / 2, whole.count() * 21 / 20);

  int killed = 0;
  for (int round = 0; round < kRounds; ++round) {
    UseNfce(round % 2 == 0);
    if (!RunAndKill(Args(), std::chrono::microseconds(moment(random)))) ++killed;
    CollectResult();
  }
  // The next start, not killed: it reports what is left and completes a sale of its own.
  UseNfce(true);
  ASSERT_TRUE(RunAndKill(Args(), std::chrono::seconds(60)));
  CollectResult();
  EXPECT_GT(killed, 0) << "no run was killed: the moments miss the runs";

  std::set<std::string> reported;
  for (const json& r : last_reserved_) reported.insert(r["number"].get<std::string>());
  const std::string trace = Trace();
  auto recorded_by_trace = [&](const std::string& number) {
    return trace.find("venda " + number + " registrada") != std::string::npos;
  };
  // Every number each counter handed out has its record, and the record tells its fate.
  struct Sequence {
    const char* name;
    std::string counter;
    long long first;
    int width;
    std::map<std::string, std::string> records;
  };
  std::vector<Sequence> sequences = {
      {"NFC-e", "PRXNFCE|0001|1|2", 1, 0,
       Records("SELECT NRNOTAFISCALCE, IDSTATUSINUT FROM INUTILIZANFCE WHERE CDFILIAL = '0001' AND CDCAIXA = '001'")},
      {"sale", "PRXVENDA|0001|001", 2, 10,  // the demo register's sale 1 is on record already
       Records("SELECT NRRESERVADO, IDSTATUSRES FROM NUMERORESERVADO WHERE CDCONTADOR = 'PRXVENDA|0001|001'")}};
  size_t taken = 0;
  for (const Sequence& seq : sequences) {
    const long long last = Counter(seq.counter);
    for (long long n = seq.first; n <= last; ++n, ++taken) {
      std::string number = std::to_string(n);
      if (seq.width) number = std::string(seq.width - number.size(), '0') + number;
      const auto record = seq.records.find(number);
      ASSERT_NE(record, seq.records.end()) << seq.name << " number " << number << " vanished";
      if (record->second == "U") {
        EXPECT_TRUE(completed_.count(number) || recorded_by_trace(number))
            << seq.name << " number " << number << " used by no sale anyone recorded";
      } else {
        EXPECT_EQ(record->second, "P") << seq.name << " number " << number;
        EXPECT_TRUE(reported.count(number)) << seq.name << " number " << number << " reserved but not reported";
        EXPECT_FALSE(completed_.count(number)) << seq.name << " number " << number;
      }
    }
    EXPECT_EQ(seq.records.size(), static_cast<size_t>(std::max(0LL, last - seq.first + 1)))
        << seq.name << ": records of numbers no counter handed out";
  }
  for (const std::string& number : completed_)
    EXPECT_TRUE(sequences[0].records.count(number)
                    ? sequences[0].records.at(number) == "U"
                    : sequences[1].records.count(number) && sequences[1].records.at(number) == "U")
        << "sale " << number << " completed but its number is not marked used";
  EXPECT_GE(taken, completed_.size());
  RecordProperty("killed", killed);
  RecordProperty("numbers_taken", static_cast<int>(taken));
  RecordProperty("left_reserved", static_cast<int>(reported.size()));

  // The day counters hold the first number each sequence gave that day.
  if (Counter("PRXNFCE|0001|1|2") > 0) {
    EXPECT_EQ(Counter("NFCE-PRIM_00011-06/12/2026_TpAmb2"), 1);
  }
  if (Counter("PRXVENDA|0001|001") > 0) {
    EXPECT_EQ(Counter("VENDAVISTAPRIM000100106/12/2026"), 2);
  }

  for (const auto& entry : fs::recursive_directory_iterator(S().Dir().path()))
    EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos)
        << entry.path() << " left by an interrupted write";
}

RECEBIMENTO_SCENARIO_ENGINES(ConfirmationKill);

}  // namespace
}  // namespace recebimento::testing
