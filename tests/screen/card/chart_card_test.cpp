// The CHART card through the exchange folders, against the simulated CHART software: the
// request written whole, stale files gone, the software's take-up, its answers, the one
// payment per sale, the software not running, and the operator giving up the wait.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/pos/chart_exchange.h"
#include "host/runtime/format.h"
#include "screen/support/tender_selection_fixture.h"

namespace recebimento::testing {
namespace {

namespace fs = std::filesystem;
using base::Variant;

class ChartCard : public TenderSelectionTest {
 protected:
  void SetUp() override {
    TenderSelectionTest::SetUp();
    AddTender("060", "CHART", "E", "", "");
    Software(pos::ChartConfig{});
  }
  // The CHART software runs with `chart`; the parts are built anew over it.
  void Software(const pos::ChartConfig& chart) {
    config_.chart = chart;
    BuildParts(&answers_);
    BindButtons();
  }
  fs::path Out() const { return dir_ / "Teftx"; }
  fs::path In() const { return dir_ / "Tefrx"; }
  // Pays `amount` with the CHART card, the operator letting `ms` pass while it works.
  void PayChart(const std::string& amount, int ms = 6000) {
    WillType(amount);
    pump_.PushWait(ms);
    parts().selection.DoMenuRecebimentoClick("060", "");
  }
  std::vector<std::string> Requests() const {
    std::vector<std::string> out;
    for (const auto& c : sim_->Record().CallsOf("CHART")) out.push_back(c.args[0].AsString());
    return out;
  }
};

TEST_F(ChartCard, ApprovedRequestAndAnswerAfterStaleFilesAreGone) {
  dir_.Write("Teftx/velho.ini", "x");
  dir_.Write("Tefrx/tefchart.can", "an old cancellation");
  PayChart("12,34");
  ASSERT_FALSE(sale().boFalhaReceb) << (Messages().empty() ? "" : Messages().back());
  ASSERT_EQ(Requests().size(), 1u);
  EXPECT_EQ(Requests()[0],
            "[PARAMETROS]\nTIPOTRANSACAO=VDA\nVALORTRANSACAO=1234\nCHAVETRANSACAO=Brisova_20261206120000\n");
  EXPECT_FALSE(fs::exists(Out() / "velho.ini"));
  EXPECT_FALSE(fs::exists(Out() / "tefchart.tmp"));
  EXPECT_EQ(Lines(), (std::vector<std::pair<std::string, double>>{{"060", 12.34}}));
  EXPECT_EQ(movi_.FieldByName("CDNSUTEF").AsString(), "123456");
  EXPECT_EQ(movi_.FieldByName("CDNSUHOSTTEF").AsString(), "6034000012");
  EXPECT_FALSE(ctl("panImpTef").visible);
  EXPECT_EQ(ctl("lblImpTef").caption, "Aguarde.. Imprimindo o Cupom TEF.");
  EXPECT_TRUE(fs::exists(In() / "tefchart.imp")) << "the answer stays until the next request";

  // One CHART payment per sale.
  PayChart("1", 0);
  EXPECT_TRUE(sale().boFalhaReceb);
  EXPECT_NE(Messages().back().find("Cartão CHART"), std::string::npos);
  EXPECT_EQ(Requests().size(), 1u) << "refused before any file is written";
}

TEST_F(ChartCard, AnswersReadFromTheirColumnsAndTheApprovalWins) {
  pos::ChartConfig chart;
  chart.answer = "both";
  chart.approval_lines = {"[RETORNO]", "CODIGOCLIENTE=77", "LIXO SEM CHAVE"};
  Software(chart);
  PayChart("10");
  ASSERT_FALSE(sale().boFalhaReceb);
  EXPECT_EQ(movi_.RecordCount(), 1);
  EXPECT_TRUE(movi_.FieldByName("CDNSUTEF").AsString().empty()) << "an answer without the key lines";
  EXPECT_TRUE(movi_.FieldByName("CDNSUHOSTTEF").AsString().empty());

  const pos::ChartAnswer a =
      pos::ReadChartAnswer("NUMERODEAUTORIZACAO=12345678901234\r\nNUMERODECARTAO=  99887766  \r\nCODIGOEXTERNO=ABC\n");
  EXPECT_EQ(a.authorization, "1234567890") << "at most 10 characters";
  EXPECT_EQ(a.card_number, "99887766");
  EXPECT_EQ(a.external_code, "ABC");
}

TEST_F(ChartCard, CancelledAnswerAndSoftwareNotRunningRecordNothing) {
  pos::ChartConfig chart;
  chart.answer = "cancelled";
  Software(chart);
  PayChart("10");
  EXPECT_TRUE(sale().boFalhaReceb);
  EXPECT_EQ(Messages().back(),
            "Atenção! A Transação do Cartão CHART foi cancelada.\r\nO Saldo do Cliente não será alterado.");
  EXPECT_EQ(movi_.RecordCount(), 0);

  chart.running = false;
  Software(chart);
  PayChart("10");
  EXPECT_TRUE(sale().boFalhaReceb);
  EXPECT_NE(Messages().back().find("WTCENTRA.exe"), std::string::npos);
  EXPECT_FALSE(fs::exists(Out() / "tefchart.ini")) << "the request nobody took is removed";
  EXPECT_EQ(movi_.RecordCount(), 0);
  EXPECT_EQ(Requests().size(), 1u) << "seen, never taken";
  EXPECT_FALSE(ctl("panImpTef").visible);
  EXPECT_TRUE(parts().grid.Selecting());
}

TEST_F(ChartCard, TheOperatorGivesUpAnAnswerThatNeverComes) {
  pos::ChartConfig chart;
  chart.answer = "none";
  Software(chart);
  WillType("10");
  pump_.PushWait(6000);
  bool offered = false;
  pump_.Push(
      [&] {
        offered = ctl("sbtCancelaChart").visible && ctl("panImpTef").visible;
        controls().Press("sbtCancelaChart");
      },
      "cancel");
  answers_.Value(Variant(false));  // not yet: the wait goes on
  pump_.PushWait(500);
  pump_.Push([&] { controls().Press("sbtCancelaChart"); }, "cancel again");
  answers_.Value(Variant(true));
  pump_.PushWait(2000);  // the software takes the cancellation
  parts().selection.DoMenuRecebimentoClick("060", "");
  EXPECT_TRUE(offered);
  EXPECT_TRUE(sale().boFalhaReceb);
  EXPECT_EQ(movi_.RecordCount(), 0);
  EXPECT_FALSE(ctl("sbtCancelaChart").visible);
  ASSERT_EQ(Requests().size(), 1u);
  // The cancellation request is there for the software.
  EXPECT_EQ(pos::ReadChartRequest(dir_.Read("Teftx/tefchart.ini")).type, "CAN");
  EXPECT_NE(Messages().back().find("foi cancelada"), std::string::npos);
}

TEST_F(ChartCard, AnAnswerWrittenWhileTheOperatorIsAskedIsTakenAndNothingIsCancelled) {
  pos::ChartConfig chart;
  chart.answer = "none";
  Software(chart);
  WillType("10");
  pump_.PushWait(6000);
  pump_.Push([&] { controls().Press("sbtCancelaChart"); }, "cancel");
  // The card was approved while the question was on the screen: the customer is charged.
  answers_.Value(Variant(true), [&] {
    dir_.Write("Tefrx/tefchart.imp", "[RETORNO]\nNUMERODEAUTORIZACAO=654321\nNUMERODECARTAO=6034000099\n");
  });
  parts().selection.DoMenuRecebimentoClick("060", "");
  EXPECT_FALSE(sale().boFalhaReceb) << (Messages().empty() ? "" : Messages().back());
  EXPECT_EQ(Lines(), (std::vector<std::pair<std::string, double>>{{"060", 10.0}}));
  EXPECT_EQ(movi_.FieldByName("CDNSUTEF").AsString(), "654321");
  ASSERT_EQ(Requests().size(), 1u) << "no cancellation for an approved card";
  EXPECT_EQ(pos::ReadChartRequest(Requests()[0]).type, "VDA");
}

TEST_F(ChartCard, AFolderThatCannotBeUsedIsAnExceptionShownWithNoLine) {
  dir_.Write("Teftx", "a file where the folder should be");
  PayChart("10", 0);
  EXPECT_TRUE(sale().boFalhaReceb);
  EXPECT_EQ(Messages().back().rfind("Exception CHART: ", 0), 0u) << Messages().back();
  EXPECT_EQ(movi_.RecordCount(), 0);
}

TEST_F(ChartCard, AmountAboveWhatIsDueIsRefusedBeforeAnyFile) {
  PayChart("100,01", 0);
  EXPECT_TRUE(sale().boFalhaReceb);
  EXPECT_TRUE(Requests().empty());
  EXPECT_FALSE(fs::exists(Out()));
}

TEST(ChartRequest, AmountWithoutCommaUnderEitherLocale) {
  const base::DateTime at = base::DateTime::FromYMD(2026, 1, 2, 3, 4, 5);
  EXPECT_EQ(pos::ChartSaleRequest(12.34, at),
            "[PARAMETROS]\nTIPOTRANSACAO=VDA\nVALORTRANSACAO=1234\nCHAVETRANSACAO=Brisova_20260102030405\n");
  const runtime::NumberLocale saved = runtime::GetNumberLocale();
  runtime::SetNumberLocale(runtime::EnglishNumberLocale());
  EXPECT_NE(pos::ChartSaleRequest(1234.5, at).find("VALORTRANSACAO=1234.50\n"), std::string::npos);
  runtime::SetNumberLocale(saved);
}

}  // namespace
}  // namespace recebimento::testing
