// A tender in a foreign currency: the day's rate from the rates file, rebuilt by the host
// when it is not of today, and change shown in the currency.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "screen/support/tender_selection_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;
using ForeignCurrency = TenderSelectionTest;

TEST_F(ForeignCurrency, AtTheDaysRateRebuiltByTheHostWhenOld) {
  // Yesterday's file: the host rebuilds it and the file keeps today's rates.
  WriteRates(base::DateTime::FromYMD(2026, 12, 5), 4.0);
  base::DataPacket today = base::ReadPacketFile((dir_ / "cdsMoedas.cds").string());
  today.rows[0][2] = Variant(5.25);
  today.rows[0][3] = Variant(base::DateTime::FromYMD(2026, 12, 6));
  sim_->Dialogs().SetCurrencyRates(Variant(today));
  SetTotal(200);
  WillType("20");  // dollars
  WillType("");    // the amount in reais as proposed
  parts().selection.DoMenuRecebimentoClick("004", "");
  EXPECT_EQ(sim_->Record().CountOf("CriaOutrasMoedas"), 1u);
  const base::DataPacket saved = base::ReadPacketFile((dir_ / "cdsMoedas.cds").string());
  EXPECT_DOUBLE_EQ(saved.rows.at(0).at(2).AsFloat(), 5.25);
  ASSERT_EQ(movi_.RecordCount(), 1);
  movi_.First();
  EXPECT_DOUBLE_EQ(movi_.FieldByName("VRMOVIVEND").AsFloat(), 105);
  EXPECT_DOUBLE_EQ(movi_.FieldByName("VRMOVIVEOUT").AsFloat(), 20);
  EXPECT_DOUBLE_EQ(movi_.FieldByName("VRCOTINDOUT").AsFloat(), 5.25);
  EXPECT_DOUBLE_EQ(sale().doVrAPagar, 95);

  // Today's file is used as it is; change in dollars is shown in dollars.
  WillType("20");
  WillType("");
  parts().selection.DoMenuRecebimentoClick("004", "");
  EXPECT_EQ(sim_->Record().CountOf("CriaOutrasMoedas"), 1u);
  EXPECT_DOUBLE_EQ(sale().doVrTroco, 10);
  movi_.Last();
  EXPECT_EQ(movi_.FieldByName("IDTIPOMOVIVE").AsString(), "S");
  EXPECT_DOUBLE_EQ(movi_.FieldByName("VRMOVIVEOUT").AsFloat(), 1.9);  // 10 / 5.25, cut
  EXPECT_NE(ctl("memLista").lines.back().find("1,90"), std::string::npos);
}

TEST_F(ForeignCurrency, WithoutARateGoesBack) {
  // No file and the host has no rates to give.
  parts().selection.DoMenuRecebimentoClick("004", "");
  EXPECT_TRUE(sale().boFalhaReceb);
  EXPECT_EQ(movi_.RecordCount(), 0);
  // A damaged file is reported, not taken for rates.
  dir_.Write("cdsMoedas.cds", "not a data packet");
  parts().selection.DoMenuRecebimentoClick("004", "");
  EXPECT_EQ(movi_.RecordCount(), 0);
  EXPECT_FALSE(Messages().empty());
}

}  // namespace
}  // namespace recebimento::testing
