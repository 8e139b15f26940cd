// The sale's totals as the screen opens: the one-cent rule for items worth nothing, the
// tab discount set against the service fee, printers that ignore the fee, what was paid
// before, and the item surcharges.
#include <gtest/gtest.h>

#include "host/runtime/format.h"
#include "screen/support/screen_setup_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;

Row Item(double price, double qty, double discount = 0, double surcharge = 0) {
  return {{"CDPRODUTO", Variant("1001")}, {"VRPRECCOMVEN", Variant(price)},     {"QTPRODCOMVEN", Variant(qty)},
          {"VRUNITVENDCL", Variant(0.0)}, {"VRDESCCOMVEN", Variant(discount)},  {"VRACRCOMVEN", Variant(surcharge)},
          {"VRTXSERVICO", Variant(0.0)},  {"VRACRCOMANDA", Variant(0.0)},       {"VRDESCOMANDA", Variant(0.0)},
          {"IDCONFIGPROD", Variant("")},  {"NRCOMANDA", Variant("0000000012")}, {"DSCOMANDA", Variant("12")}};
}

Row WithTab(Row row, double service, double tab_discount) {
  row["VRTXSERVICO"] = Variant(service);
  row["VRDESCOMANDA"] = Variant(tab_discount);
  return row;
}

using TotalsTest = ScreenSetupTest;

TEST_F(TotalsTest, AnItemWorthNothingKeepsOneCentAndItsDiscountShrinks) {
  args_.stModoVenda = "RES";
  Fill(items_, {Item(10.0, 1, 10.0), Item(0.29, 3)});
  Init();
  EXPECT_DOUBLE_EQ(sale().doVrAPagar, 0.88);  // 0.01 + 3 x 0.29, no cent lost on 0.29
  EXPECT_EQ(ctl("lblValorPagar").caption, "0,88");
  items_.First();
  EXPECT_DOUBLE_EQ(items_.FieldByName("VRDESCCOMVEN").AsFloat(), 9.99) << "the host's item row is edited";
  EXPECT_DOUBLE_EQ(sale().doVrDescItens, 9.99);
}

TEST_F(TotalsTest, TheTabDiscountIsSetAgainstTheServiceFee) {
  args_.stModoVenda = "CMD";
  struct Case {
    double service, discount, fee_left, discount_left, total;
  } cases[] = {
      {8.50, 5.00, 3.50, 0.00, 103.50},  // fee larger: the fee shrinks, no discount left
      {5.00, 8.50, 0.00, 3.50, 100.00},  // discount larger: no fee, the difference stays a discount
      {6.00, 6.00, 0.00, 0.00, 100.00},  // equal: both gone
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.service);
    Fill(items_, {WithTab(Item(100.0, 1), c.service, c.discount)});
    Init();
    EXPECT_DOUBLE_EQ(sale().doVrServicoOrig, c.service);
    EXPECT_DOUBLE_EQ(sale().doVrServico, c.fee_left);
    EXPECT_DOUBLE_EQ(sale().doVrDescComanda, c.discount_left);
    EXPECT_DOUBLE_EQ(sale().doVrTotal, c.total) << "outside external deliveries the discount left is not subtracted";
    EXPECT_EQ(ctl("lblServico").caption, runtime::FormatFloat("0.00", c.fee_left));
  }
}

TEST_F(TotalsTest, PrintersWithTheirOwnFeeLeaveTheServiceFeeOut) {
  args_.stModoVenda = "RES";
  for (int model : {16, 21, 30, 1}) {
    SCOPED_TRACE(model);
    WriteParametros({{"IDTIPOIMPFIS", Variant(model)}, {"UTILIZAIMPFIS", Variant(true)}});
    Fill(items_, {WithTab(Item(50.0, 2), 10.0, 0)});
    Init();
    const bool ignored = model != 1;
    EXPECT_DOUBLE_EQ(sale().doVrServico, ignored ? 0 : 10.0);
    EXPECT_DOUBLE_EQ(sale().doVrTotal, ignored ? 100.0 : 110.0);
    EXPECT_EQ(ctl("sbtCashback").enabled, !ignored) << "the cashback buttons follow the printer";
  }
}

TEST_F(TotalsTest, WhatWasPaidBeforeComesOffWhatIsLeftToPay) {
  args_.stModoVenda = "CMD";
  Fill(items_, {Item(45.9, 2)});
  pago_ = 91.8;
  Init();
  EXPECT_EQ(ctl("lblValorTotal").caption, "91,80");
  EXPECT_EQ(ctl("lblValorPago").caption, "91,80");
  EXPECT_EQ(ctl("lblValorPagar").caption, "0,00");
  EXPECT_DOUBLE_EQ(sale().doVrAPagar, 0);

  pago_ = -5;  // a host value that is not positive counts as nothing paid
  Init();
  EXPECT_EQ(ctl("lblValorPagar").caption, "91,80");
}

TEST_F(TotalsTest, ItemSurchargesCountOnlyInDeliveries) {
  Fill(items_, {Item(20.0, 1, 0, 2.5)});
  args_.stModoVenda = "CMD";
  Init();
  EXPECT_DOUBLE_EQ(sale().doVrTotal, 20.0);
  args_.stModoVenda = "DLV";
  Init();
  EXPECT_DOUBLE_EQ(sale().doVrTotal, 22.5);
}

TEST_F(TotalsTest, MinimumConsumptionWithATabDiscountTakesTheDiscountFromTheTotal) {
  args_.stModoVenda = "CMD";
  Row consumacao = WithTab(Item(30.0, 1), 3.0, 5.0);
  consumacao["IDCONFIGPROD"] = Variant("CON");
  Row couvert = WithTab(Item(8.0, 2), 3.0, 5.0);
  couvert["IDCONFIGPROD"] = Variant("CAR");
  Fill(items_, {consumacao, couvert});
  Init();
  EXPECT_DOUBLE_EQ(sale().doVrConsumacao, 30.0);
  EXPECT_DOUBLE_EQ(sale().doVrCouver, 16.0);
  EXPECT_DOUBLE_EQ(sale().doVrTotal, 44.0);  // 46 + 3 fee - 5 discount, the fee kept whole
  EXPECT_TRUE(ctl("lblVrConsumacao").visible);
}

TEST_F(TotalsTest, ABadAmountInTheItemsIsShownAndTheScreenStillOpens) {
  args_.stModoVenda = "CMD";
  Fill(items_, {Item(10.0, 1)});
  items_.Close();
  items_.SetFields({{"CDPRODUTO", base::FieldType::String, 10}, {"VRPRECCOMVEN", base::FieldType::String, 10}});
  items_.CreateDataSet();
  items_.AppendRecord({Variant("1"), Variant("dez reais")});
  config_.access.rights[13] = "N";
  WriteParametros({{"CTACRESCIMO", Variant(13)}});
  Init();
  ASSERT_FALSE(DialogTexts().empty());
  EXPECT_NE(DialogTexts().front().find("dez reais"), std::string::npos) << DialogTexts().front();
  EXPECT_EQ(sale().stPodeAcrescimo, "N") << "the rights are still asked after the failure";
  EXPECT_FALSE(ctl("spbAcrescimo").enabled);
}

}  // namespace
}  // namespace recebimento::testing
