// The card exchange files as the simulated host keeps them: the terminal's answer files
// written whole and read back strictly, a transaction of a closed sale confirmed at the
// resolution and any other undone; and the CHART software taking requests and answering
// on the pump's clock.
#include <filesystem>

#include <gtest/gtest.h>

#include "base/clock.h"
#include "base/event_pump.h"
#include "host/pos/chart_exchange.h"
#include "host/pos/chart_sim.h"
#include "host/pos/tef_exchange_folder.h"
#include "support/temp_dir.h"

namespace recebimento::pos {
namespace {

namespace fs = std::filesystem;

TEST(TefAnswerFiles, NamesAndContentsAreReadStrictly) {
  EXPECT_TRUE(IsIntPosName("intpos.001"));
  EXPECT_TRUE(IsIntPosName("INTPOS.12"));
  EXPECT_FALSE(IsIntPosName("intpos.001.tmp-a1B2c3")) << "a write cut short is no answer";
  EXPECT_FALSE(IsIntPosName("intpos."));
  EXPECT_FALSE(ReadIntPos("003-000 = 10.00\n")) << "no header";
  EXPECT_FALSE(ReadIntPos("000-000 = CRT\nsome words\n"));
  EXPECT_FALSE(ReadIntPos("000-000 = CRT\n3-0 = x\n"));
  const auto f = ReadIntPos("000-000 = CRT\r\n002-000 = 000123\r\n003-000 = 12.34\r\n999-999 = 0\r\n");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->document, "000123");
  EXPECT_EQ(f->amount, "12.34");
  EXPECT_EQ(ReadIntPos(WriteIntPos(*f))->document, "000123");
}

TEST(TefAnswerFiles, AClosedSalesTransactionIsConfirmedAndAnyOtherUndone) {
  testing::TempDir dir;
  TefExchangeFolder files((dir / "resp").string(), (dir / "pend").string());
  files.WriteUnconfirmed("1", 10, "01");
  EXPECT_EQ(files.MarkSaleClosed("000123"), 1);
  files.WriteUnconfirmed("2", 20, "02");
  EXPECT_EQ(files.MoveToPending(), 2);
  dir.Write("resp/intpos.009.tmp-abcdef", "000-000 = CRT\n");
  const TefExchangeFolder::Resolution r = files.ResolveLeftOver();
  EXPECT_EQ(r.confirmed, 1);
  EXPECT_EQ(r.undone, 1);
  EXPECT_TRUE(files.Unconfirmed().empty());
  EXPECT_TRUE(files.Pending().empty());

  // A cancelled receipt takes the mark back: its transaction is undone.
  files.WriteUnconfirmed("3", 30, "01");
  files.MarkSaleClosed("000124");
  files.MarkSaleClosed("");
  EXPECT_EQ(files.ResolveLeftOver().undone, 1);
  // One transaction taken back alone.
  const std::string a = files.WriteUnconfirmed("4", 1, "");
  files.WriteUnconfirmed("5", 1, "");
  EXPECT_TRUE(files.CancelOne(a));
  EXPECT_EQ(files.Unconfirmed().size(), 1u);
}

class ChartSoftwareTest : public ::testing::Test {
 protected:
  std::unique_ptr<SimulatedChartSoftware> Start(const ChartConfig& config) {
    return std::make_unique<SimulatedChartSoftware>(config, (dir_ / "tx").string(), (dir_ / "rx").string(), record_,
                                                    pump_);
  }
  void Request(const std::string& text) {
    WriteChartRequestFile((dir_ / "tx").string(), text);
    PublishChartRequest((dir_ / "tx").string());
  }
  testing::TempDir dir_;
  base::VirtualClock clock_{base::DateTime::FromYMD(2026, 12, 6, 12)};
  base::ScriptedEventPump pump_{clock_};
  HostRecord record_;
};

TEST_F(ChartSoftwareTest, TakesTheRequestThenAnswersOnTime) {
  ChartConfig config;
  config.takes_after_ms = 1000;
  config.answers_after_ms = 2000;
  config.answer = "both";
  config.receipt = {"CUPOM CHART"};
  auto software = Start(config);
  Request(ChartSaleRequest(12.34, clock_.Now()));
  pump_.AdvanceTime(900);
  EXPECT_TRUE(fs::exists(dir_ / "tx" / kChartRequest)) << "not yet taken";
  pump_.AdvanceTime(300);
  EXPECT_FALSE(fs::exists(dir_ / "tx" / kChartRequest));
  pump_.AdvanceTime(1800);
  EXPECT_FALSE(fs::exists(dir_ / "rx" / kChartApproved)) << "the answer comes two seconds after the take-up";
  pump_.AdvanceTime(300);
  EXPECT_TRUE(fs::exists(dir_ / "rx" / kChartApproved));
  EXPECT_TRUE(fs::exists(dir_ / "rx" / kChartCancelled));
  EXPECT_EQ(dir_.Read("rx/cupom.tef"), "CUPOM CHART\r\n");
  EXPECT_EQ(ReadChartAnswer(dir_.Read("rx/tefchart.imp")).authorization, "123456");
  ASSERT_EQ(record_.CountOf("CHART"), 1u);
  EXPECT_EQ(ReadChartRequest(record_.CallsOf("CHART")[0].args[0].AsString()).amount, "1234");

  // A cancellation is taken and not answered.
  Request(ChartRequestOf("CAN"));
  pump_.AdvanceTime(5000);
  EXPECT_EQ(software->Taken(), 2);
  EXPECT_EQ(software->Answered(), 1);
}

TEST_F(ChartSoftwareTest, SoftwareNotRunningSeesButNeverTakes) {
  ChartConfig config;
  config.running = false;
  auto software = Start(config);
  Request(ChartSaleRequest(1, clock_.Now()));
  pump_.AdvanceTime(10000);
  EXPECT_TRUE(fs::exists(dir_ / "tx" / kChartRequest));
  EXPECT_EQ(record_.CountOf("CHART"), 1u);
  EXPECT_EQ(software->Taken(), 0);
}

}  // namespace
}  // namespace recebimento::pos
