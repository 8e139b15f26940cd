// A sale on the window: the operator's actions played on it, pictures of its states,
// and runs that must end with a clear message instead of hanging.
#include <chrono>
#include <filesystem>
#include <fstream>

#include "datamodule/store_init.h"
#include "gui_sale.h"
#include "gui_test_support.h"
#include "screen_pictures.h"
#include "support/temp_dir.h"

namespace recebimento::gui {
namespace {

namespace fs = std::filesystem;

class SaleOnScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path examples(RECEBIMENTO_EXAMPLES_DIR);
    fs::copy(examples / "host", host.path(), fs::copy_options::recursive);
    fs::create_directories(host / "Dados");
    store = "sqlite:" + (host / "Dados" / "recebimento.db").string();
    datamodule::InitStoreDatabase(store, true);
    options.host_dir = host.str();
    options.sale_path = (examples / "sales" / "table-sale.json").string();
    options.db = store;
    options.windowed = true;
  }
  std::string Script(const std::string& lines) { return host.Write("script.jsonl", lines).string(); }

  testing::TempDir host;
  std::string store;
  GuiSaleOptions options;
};

TEST_F(SaleOnScreenTest, TheOperatorsActionsArePlayedOnTheWindowAndItsStatesPictured) {
  // A wait lets real time pass on the window before the next action.
  options.script_path = Script("{\"snapshot\": \"opened\"}\n{\"wait\": 300}\n{\"key\": \"Escape\"}\n");
  options.screenshots_dir = (host / "shots").string();
  const auto started = std::chrono::steady_clock::now();
  const GuiSaleOutcome outcome = RunSaleOnScreen(options);
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(300));
  ASSERT_EQ(outcome.exit_code, 0) << outcome.message;
  EXPECT_FALSE(outcome.result) << "leaving the screen does not complete the sale";
  EXPECT_TRUE(fs::file_size(host / "shots" / "opened.png") > 1000);
  EXPECT_TRUE(fs::exists(host / "shots" / "tela-fechada.png"));
}

TEST_F(SaleOnScreenTest, AScriptThatRunsOutWhileTheScreenWaitsEndsTheRunWithAMessage) {
  options.script_path = Script("{\"snapshot\": \"opened\"}\n");
  const GuiSaleOutcome outcome = RunSaleOnScreen(options);
  EXPECT_EQ(outcome.exit_code, 1);
  EXPECT_NE(outcome.message.find("the script ran out"), std::string::npos) << outcome.message;
}

TEST_F(SaleOnScreenTest, BadFilesAreReportedBeforeAnyWindowOpens) {
  options.sale_path = host.Write("broken.json", "{ not json").string();
  GuiSaleOutcome outcome = RunSaleOnScreen(options);
  EXPECT_EQ(outcome.exit_code, 1);
  EXPECT_FALSE(outcome.message.empty());

  options.sale_path = (fs::path(RECEBIMENTO_EXAMPLES_DIR) / "sales" / "table-sale.json").string();
  options.script_path = Script("{\"click\": 5}\n");
  outcome = RunSaleOnScreen(options);
  EXPECT_EQ(outcome.exit_code, 1);
  EXPECT_NE(outcome.message.find("line 1"), std::string::npos) << outcome.message;
}

TEST(DialogPictures, EveryDialogIsPictured) {
  testing::TempDir out;
  const std::vector<std::string> files = WriteDialogPictures(out.str());
  EXPECT_EQ(files.size(), 9u);
  for (const auto& f : files) EXPECT_GT(fs::file_size(f), 1000u) << f;
}

}  // namespace
}  // namespace recebimento::gui
