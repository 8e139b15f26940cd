// The card terminal answers as scripted, leaves approved transactions pending until they
// are confirmed, and keeps the last transactions file of the dedicated TEF.
#include <filesystem>

#include <gtest/gtest.h>

#include "base/clock.h"
#include "base/dataset.h"
#include "host/pos/tef_sim.h"
#include "support/temp_dir.h"

namespace recebimento::pos {
namespace {

class TefSimTest : public ::testing::Test {
 protected:
  TefSimTest()
      : clock_(base::DateTime::FromYMD(2026, 12, 6, 15, 4, 5)),
        files_((dir_ / "resp").string(), (dir_ / "pend").string()) {}

  SimulatedTef Make(std::deque<TefOutcome> outcomes, std::string last_file = "") {
    TefConfig config;
    config.outcomes = std::move(outcomes);
    config.last_transactions_file = std::move(last_file);
    return SimulatedTef(config, record_, clock_, files_);
  }

  bool Pay(SimulatedTef& tef, double amount, TefApproval& approval) {
    return tef.DoTef("1", "C", lines_, amount, amount, ctrl_, count_, approval);
  }

  testing::TempDir dir_;
  base::VirtualClock clock_;
  HostRecord record_;
  TefExchangeFolder files_;
  std::vector<std::string> lines_;
  int ctrl_ = 0;
  int count_ = 0;
};

TEST_F(TefSimTest, OutcomesComeInOrderAndTheLastRepeats) {
  TefOutcome declined;
  declined.approved = false;
  declined.result_code = -5;
  TefOutcome approved;
  approved.brand_code = "02";
  approved.discount = 1.5;
  auto tef = Make({declined, approved});

  TefApproval a;
  EXPECT_FALSE(Pay(tef, 10, a));
  EXPECT_EQ(count_, 0) << "a declined transaction is not counted";
  EXPECT_TRUE(files_.Unconfirmed().empty());

  EXPECT_TRUE(Pay(tef, 10, a));
  EXPECT_EQ(a.brand_code, "02");
  EXPECT_EQ(a.discount, 1.5);
  EXPECT_FALSE(a.host_nsu.empty());
  EXPECT_TRUE(Pay(tef, 20, a)) << "the last outcome repeats";
  EXPECT_EQ(count_, 2);
  EXPECT_EQ(ctrl_, 2);
  EXPECT_EQ(files_.Unconfirmed().size(), 2u);
  EXPECT_EQ(tef.Declined(), 1);
  EXPECT_EQ(tef.Approved(), 2);
}

TEST_F(TefSimTest, ConfirmingOrCancellingClearsThePendingFiles) {
  auto tef = Make({});
  TefApproval a;
  ASSERT_TRUE(Pay(tef, 5, a));
  ASSERT_TRUE(tef.FinalizaTransTef(true));
  EXPECT_TRUE(files_.Unconfirmed().empty());

  ASSERT_TRUE(Pay(tef, 5, a));
  files_.MoveToPending();
  ASSERT_EQ(files_.Pending().size(), 1u);
  base::Dataset none;
  ASSERT_TRUE(tef.CancelaTefDed("", "", "", none, "0001", "", "", "0"));
  EXPECT_TRUE(files_.Unconfirmed().empty());
  EXPECT_TRUE(files_.Pending().empty());
}

TEST_F(TefSimTest, DedicatedApprovalReturnsCardDataAndRecordsTheLastTransaction) {
  TefOutcome o;
  o.host_nsu = "998877";
  o.brand_code = "01";
  o.brand_name = "VISA";
  o.change = 3.0;
  const std::string last = (dir_ / "ultTef.cds").string();
  auto tef = Make({o}, last);
  DedicatedTefRequest request;
  request.operation = 3;
  request.installments = 2;
  double amount = 40, change = 1;
  DedicatedTefResult result;
  ASSERT_TRUE(tef.CriaDedicado(request, amount, change, result));
  EXPECT_EQ(result.host_nsu, "998877");
  EXPECT_EQ(result.brand_name, "VISA");
  EXPECT_EQ(result.installments, 2);
  EXPECT_EQ(change, 4.0) << "TEF change is added to what the caller passed";
  EXPECT_EQ(tef.Variables().stlPriVia, result.stlRetorno);

  base::Dataset ult;
  ult.LoadFromFile(last);
  ASSERT_EQ(ult.RecordCount(), 1);
  EXPECT_EQ(ult.FieldByName("NsuHost").AsString(), "998877");
  EXPECT_EQ(ult.FieldByName("dataTef").AsString(), "20261206");
  EXPECT_EQ(ult.FieldByName("hrTef").AsString(), "150405");
}

TEST_F(TefSimTest, DedicatedDeclineCarriesItsResultCode) {
  TefOutcome o;
  o.approved = false;
  o.result_code = -5;
  auto tef = Make({o});
  double amount = 10, change = 0;
  DedicatedTefResult result;
  EXPECT_FALSE(tef.CriaDedicado({}, amount, change, result));
  EXPECT_EQ(result.result_code, -5);
  EXPECT_TRUE(result.host_nsu.empty());
}

}  // namespace
}  // namespace recebimento::pos
