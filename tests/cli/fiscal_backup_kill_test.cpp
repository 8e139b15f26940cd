// Runs killed (SIGKILL) at random moments while the printer registers a long sale's
// items: the backup "cdsVenda.cds" left behind always reads whole, and holds as
// registered every item the printer's journal shows, but the one that was being
// registered when the run died.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "base/dataset.h"
#include "base/dataset_columns.h"
#include "base/text.h"
#include "scenario_fixture.h"

namespace recebimento::testing {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kItems = 250;
constexpr int kRounds = 12;

// Item lines of the journal's last receipt ("001 1001 ..."), in order: their codes.
std::vector<std::string> JournalItems(const fs::path& journal) {
  std::vector<std::string> codes;
  std::ifstream in(journal);
  std::string line;
  while (std::getline(in, line)) {
    // "2026-12-06 12:00:00 " before each printed line.
    const std::string text = line.size() > 20 ? line.substr(20) : std::string();
    if (base::StartsWith(text, "CUPOM FISCAL")) codes.clear();
    const auto words = base::Split(text, " ");
    if (words.size() > 2 && words[0].size() == 3 && std::isdigit(static_cast<unsigned char>(words[0][0])))
      codes.push_back(words[1]);
  }
  return codes;
}

TEST(FiscalBackupKill, TheBackupIsAlwaysWholeAndHoldsEveryItemRegisteredBefore) {
  RequireScenarioEngine(Engine::SQLite);
  if (::testing::Test::IsSkipped() || ::testing::Test::HasFatalFailure()) return;
  Scenario scenario(Engine::SQLite);
  json sale = ExampleSale("table-sale.json");
  json item = sale["datasets"]["cdsItensVenda"][0];
  item["VRTXSERVICO"] = 0;
  item["VRPRECCOMVEN"] = 1.0;
  sale["datasets"]["cdsItensVenda"] = json::array();
  for (int i = 0; i < kItems; ++i) {
    item["CDPRODUTO"] = item["CDARVPROD"] = std::to_string(10000 + i);
    sale["datasets"]["cdsItensVenda"].push_back(item);
  }
  const std::vector<std::string> args =
      scenario.RunArgs(sale, act::Pays("tcbBalcao01", std::to_string(kItems)) + act::Click("spbOk"));
  const fs::path backup = scenario.HostDir() / "cdsVenda.cds";
  const fs::path journal = scenario.HostDir() / "Dados" / "ImpFiscal" / "FitaDetalhe.txt";

  const auto start = Clock::now();
  ASSERT_TRUE(RunAndKill(args, std::chrono::seconds(120))) << "a run that is not killed completes";
  const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
  ASSERT_EQ(JournalItems(journal).size(), static_cast<size_t>(kItems));

  std::mt19937 random(20261206u);
  std::uniform_int_distribution<long long> moment(whole.count() / 4, whole.count());
  int caught_registering = 0;
  for (int round = 0; round < kRounds; ++round) {
    fs::remove(backup);
    fs::remove(journal);
    RunAndKill(args, std::chrono::microseconds(moment(random)));
    const std::vector<std::string> printed = JournalItems(journal);
    if (!fs::exists(backup)) {
      EXPECT_TRUE(printed.empty()) << "items printed with no backup written";
      continue;
    }
    base::Dataset items;
    ASSERT_NO_THROW(items.LoadFromFile(backup.string())) << "round " << round << ": the backup is cut short";
    ASSERT_EQ(items.RecordCount(), kItems) << "the backup holds the whole sale";
    std::vector<std::string> registered;
    for (items.First(); !items.Eof(); items.Next())
      if (base::ColumnTrimmed(items, "IDPRODIMPFIS") == "S")
        registered.push_back(base::ColumnTrimmed(items, "CDPRODUTO"));
    // Every item the printer printed is in the backup as registered, but the last one
    // when the run died between the printer's answer and the backup.
    ASSERT_LE(registered.size(), printed.size()) << "round " << round;
    EXPECT_LE(printed.size() - registered.size(), 1u) << "round " << round;
    EXPECT_TRUE(std::equal(registered.begin(), registered.end(), printed.begin())) << "round " << round;
    if (!printed.empty() && printed.size() < static_cast<size_t>(kItems)) ++caught_registering;
  }
  EXPECT_GT(caught_registering, 0) << "no run was killed while items registered";
}

}  // namespace
}  // namespace recebimento::testing
