// The tip kept from the change: asked, typed on the keypad or taken automatically, bounded
// by the change and by the branch's maximum, and recorded on the items and the list.
#include <gtest/gtest.h>

#include <string>

#include "screen/frame/message_format.h"
#include "screen/frame/message_table.h"
#include "screen/support/adjustments_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;
using screen::Msg;
using screen::MsgFmt;

class TipTest : public AdjustmentsTest {
 protected:
  void SetUp() override {
    AdjustmentsTest::SetUp();
    tender_.AddField("CDTIPORECE", base::FieldType::String, 3);
    tender_.AddField("IDTIPORECE", base::FieldType::String, 1);
    tender_.AddField("IDUTCONTRREPIQ", base::FieldType::String, 1);
    tender_.CreateDataSet();
    AddItem("1001", 1, 95);
    AddItem("1002", 1, 0);
    StartSale(95);
    sale().doVrTroco = 5;
    par().stIDTPCONTRREPIQ = "S";
    Tender("S");
  }

  void Tender(const std::string& uso, const std::string& kind = "4") {
    tender_.EmptyDataSet();
    tender_.AppendRecord({Variant("001"), Variant(kind), Variant(uso)});
  }
  // The operator types `value` and presses Enter when the keypad waits.
  void Types(const std::string& value) {
    pump_.Push(
        [this, value] {
          Type(value);
          KeyDown(13);
        },
        "tip " + value);
  }
  void Run() { parts().adjustments.Controla_Repique(tender_); }

  base::Dataset tender_{"cdsReceb"};
};

TEST_F(TipTest, TypedTipMayTakeTheWholeChangeButNotACentMore) {
  sale().tpInputStep = screen::isTroco;  // as the change step leaves it
  Types("5,01");
  Types("5,00");
  Run();
  EXPECT_EQ(Messages(), (std::vector<std::string>{Msg("Repiq_N_Perm")}));
  EXPECT_DOUBLE_EQ(sale().doVrRepique, 5.0);
  EXPECT_EQ(pump_.Remaining(), 0u);
  for (int row : {1, 2}) EXPECT_EQ(Item("VRREPIQUEVENDA", row), "5") << row;
  EXPECT_EQ(Lista().back(), "Repique:                   R$ 5,00");
  EXPECT_EQ(sale().tpInputStep, screen::isTroco) << "the change step goes on";
  EXPECT_FALSE(ctl("spbDesconto").visible) << "the adjustment buttons are out of the way while typing";

  // The tip's input is over: Enter without a value is refused again.
  WaitForAmount(screen::isDinheiro1, "");
  KeyDown(13);
  EXPECT_EQ(Messages().back(), Msg("Dig_Val"));
}

TEST_F(TipTest, BranchMaximumIsAPercentOfTheTotalAndZeroMeansNone) {
  par().doVRPEMAXREPIQMRX = 4;  // 3.80 of 95.00
  Types("3,81");
  Types("3,8");
  Run();
  EXPECT_EQ(Messages(), (std::vector<std::string>{MsgFmt("Repiq_Maior_PerMax", {"4"})}));
  EXPECT_NE(Messages()[0].find("4% do valor"), std::string::npos) << Messages()[0];
  EXPECT_DOUBLE_EQ(sale().doVrRepique, 3.8);

  par().doVRPEMAXREPIQMRX = 0;
  Types("5");
  Run();
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_DOUBLE_EQ(sale().doVrRepique, 5.0);
}

TEST_F(TipTest, AskedModeKeepsTheChangeOnNoAndTypesOnYes) {
  par().stIDTPCONTRREPIQ = "V";
  Answer(Variant(false));
  Run();
  EXPECT_EQ(Messages().back(), MsgFmt("Conf_Repiq", {5.0}));
  EXPECT_NE(Messages().back().find("R$ 5,00"), std::string::npos) << Messages().back();
  EXPECT_DOUBLE_EQ(sale().doVrRepique, 5.0) << "no change wanted: the proposed tip stays";
  EXPECT_EQ(pump_.Remaining(), 0u);

  Answer(Variant(true));
  Types("2");
  Run();
  EXPECT_DOUBLE_EQ(sale().doVrRepique, 2.0);
  EXPECT_EQ(answers_.Left(), 0u);
}

TEST_F(TipTest, AutomaticTenderKeepsTheChangeWithoutAsking) {
  par().stIDTPCONTRREPIQ = "V";
  Tender("A");
  Run();
  EXPECT_TRUE(Messages().empty());
  EXPECT_DOUBLE_EQ(sale().doVrRepique, 5.0);
}

TEST_F(TipTest, EmptyZeroOrGoingBackMeanNoTip) {
  for (const std::string typed : {"", "0"}) {
    Types(typed);
    Run();
    EXPECT_EQ(sale().doVrRepique, 0) << "typed '" << typed << "'";
  }
  pump_.Push([this] { KeyDown(27); }, "escape");
  Run();
  EXPECT_EQ(sale().doVrRepique, 0);
  EXPECT_EQ(sale().tpInputStep, screen::isNone);
  EXPECT_EQ(Lista().size(), 1u) << "no tip, no list line";
  EXPECT_EQ(Item("VRREPIQUEVENDA"), "0");
}

TEST_F(TipTest, CommissionAsAProductStartsEmptyIsTypedAndIgnoresTheMaximum) {
  par().stIDTPCONTRREPIQ = "V";
  par().stIDCOMISVENDA = "S";
  par().stIDTRATTAXASERV = "P";
  par().doVRCOMISVENDA = 10;  // 9.00 on 90.00, not the fee of 5.00
  sale().doVrServico = 5;
  par().doVRPEMAXREPIQMRX = 1;
  Types("4");
  Run();
  EXPECT_TRUE(Messages().empty()) << "neither asked nor bounded by the maximum";
  EXPECT_DOUBLE_EQ(sale().doVrRepique, 4.0);

  sale().stIdTipoVenda = "B";  // a counter sale is no such case: asked again
  Answer(Variant(false));
  Run();
  EXPECT_DOUBLE_EQ(sale().doVrRepique, 5.0);
}

TEST_F(TipTest, TendersAndBranchesWithoutTipControlLeaveTheChange) {
  Tender("N");
  Run();
  par().stIDTPCONTRREPIQ = "N";
  Tender("S");
  Run();
  EXPECT_EQ(sale().doVrRepique, 0);
  EXPECT_TRUE(sim_->Record().Dialogs().empty());
}

}  // namespace
}  // namespace recebimento::testing
