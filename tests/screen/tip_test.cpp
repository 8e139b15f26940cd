// The tip kept from the change: asked, typed on the keypad or taken automatically, bounded
// by the change and by the branch's maximum, and recorded on the items and the list.
#include <gtest/gtest.h>

#include <string>

#include "discount_fixture.h"
#include "screen/message_format.h"
#include "screen/message_table.h"

namespace recebimento::testing {
namespace {

using base::Variant;
using screen::Msg;
using screen::MsgFmt;

class TipTest : public DiscountTest {
 protected:
  void SetUp() override {
    DiscountTest::SetUp();
    tender_.AddField("CDTIPORECE", base::FieldType::String, 3);
    tender_.AddField("IDTIPORECE", base::FieldType::String, 1);
    tender_.AddField("IDUTCONTRREPIQ", base::FieldType::String, 1);
    tender_.CreateDataSet();
    AddItem("1001", 1, 95);
    AddItem("1002", 1, 0);
    Sale(95);
    frm().doVrTroco = 5;
    frm().stIDTPCONTRREPIQ = "S";
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
  void Run() { frm().Controla_Repique(tender_); }

  base::Dataset tender_{"cdsReceb"};
};

TEST_F(TipTest, TypedTipMayTakeTheWholeChangeButNotACentMore) {
  frm().tpInputStep = screen::isTroco;  // as the change step leaves it
  Types("5,01");
  Types("5,00");
  Run();
  EXPECT_EQ(Messages(), (std::vector<std::string>{Msg("Repiq_N_Perm")}));
  EXPECT_DOUBLE_EQ(frm().doVrRepique, 5.0);
  EXPECT_EQ(pump_.Remaining(), 0u);
  for (int row : {1, 2}) EXPECT_EQ(Item("VRREPIQUEVENDA", row), "5") << row;
  EXPECT_EQ(Lista().back(), "Repique:                   R$ 5,00");
  EXPECT_EQ(frm().tpInputStep, screen::isTroco) << "the change step goes on";
  EXPECT_FALSE(frm().boEntradaGorjeta);
  EXPECT_FALSE(ctl("spbDesconto").visible) << "the adjustment buttons are out of the way while typing";
}

TEST_F(TipTest, BranchMaximumIsAPercentOfTheTotalAndZeroMeansNone) {
  frm().doVRPEMAXREPIQMRX = 4;  // 3.80 of 95.00
  Types("3,81");
  Types("3,8");
  Run();
  EXPECT_EQ(Messages(), (std::vector<std::string>{MsgFmt("Repiq_Maior_PerMax", {"4"})}));
  EXPECT_NE(Messages()[0].find("4% do valor"), std::string::npos) << Messages()[0];
  EXPECT_DOUBLE_EQ(frm().doVrRepique, 3.8);

  frm().doVRPEMAXREPIQMRX = 0;
  Types("5");
  Run();
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_DOUBLE_EQ(frm().doVrRepique, 5.0);
}

TEST_F(TipTest, AskedModeKeepsTheChangeOnNoAndTypesOnYes) {
  frm().stIDTPCONTRREPIQ = "V";
  Answer(Variant(false));
  Run();
  EXPECT_EQ(Messages().back(), MsgFmt("Conf_Repiq", {5.0}));
  EXPECT_NE(Messages().back().find("R$ 5,00"), std::string::npos) << Messages().back();
  EXPECT_DOUBLE_EQ(frm().doVrRepique, 5.0) << "no change wanted: the proposed tip stays";
  EXPECT_EQ(pump_.Remaining(), 0u);

  Answer(Variant(true));
  Types("2");
  Run();
  EXPECT_DOUBLE_EQ(frm().doVrRepique, 2.0);
  EXPECT_EQ(answers_.Left(), 0u);
}

TEST_F(TipTest, AutomaticTenderKeepsTheChangeWithoutAsking) {
  frm().stIDTPCONTRREPIQ = "V";
  Tender("A");
  Run();
  EXPECT_TRUE(Messages().empty());
  EXPECT_DOUBLE_EQ(frm().doVrRepique, 5.0);
}

TEST_F(TipTest, EmptyZeroOrGoingBackMeanNoTip) {
  for (const std::string typed : {"", "0"}) {
    Types(typed);
    Run();
    EXPECT_EQ(frm().doVrRepique, 0) << "typed '" << typed << "'";
  }
  pump_.Push([this] { KeyDown(27); }, "escape");
  Run();
  EXPECT_EQ(frm().doVrRepique, 0);
  EXPECT_EQ(frm().tpInputStep, screen::isNone);
  EXPECT_EQ(Lista().size(), 1u) << "no tip, no list line";
  EXPECT_EQ(Item("VRREPIQUEVENDA"), "0");
}

TEST_F(TipTest, CommissionAsAProductStartsEmptyIsTypedAndIgnoresTheMaximum) {
  frm().stIDTPCONTRREPIQ = "V";
  frm().stIDCOMISVENDA = "S";
  frm().stIDTRATTAXASERV = "P";
  frm().doVRCOMISVENDA = 10;  // 9.00 on 90.00, not the fee of 5.00
  frm().doVrServico = 5;
  frm().doVRPEMAXREPIQMRX = 1;
  Types("4");
  Run();
  EXPECT_TRUE(Messages().empty()) << "neither asked nor bounded by the maximum";
  EXPECT_DOUBLE_EQ(frm().doVrRepique, 4.0);

  frm().stIdTipoVenda = "B";  // a counter sale is no such case: asked again
  Answer(Variant(false));
  Run();
  EXPECT_DOUBLE_EQ(frm().doVrRepique, 5.0);
}

TEST_F(TipTest, TendersAndBranchesWithoutTipControlLeaveTheChange) {
  Tender("N");
  Run();
  frm().stIDTPCONTRREPIQ = "N";
  Tender("S");
  Run();
  EXPECT_EQ(frm().doVrRepique, 0);
  EXPECT_TRUE(sim_->Record().Dialogs().empty());
}

}  // namespace
}  // namespace recebimento::testing
