// The discount: access control, the host's value-or-percentage dialog, every limit with
// its message, the reason and supervisor on the items, the list lines and amounts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text.h"
#include "screen/frame/message_format.h"
#include "screen/frame/message_table.h"
#include "screen/support/adjustments_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;
using screen::Msg;
using screen::MsgFmt;
using Discount = AdjustmentsTest;

TEST_F(Discount, PercentageDiscountIsTakenOnTheItemsAndMarksThemWithReasonAndSupervisor) {
  Rights({{kDesconto, "SUP01"}});
  par().stIDSOLOBSDESC = "S";
  AddItem("1001", 1, 50);
  AddItem("1002", 1, 40);
  items_.First();
  items_.Edit();
  items_.FieldByName("VRDESCCASH4ALL").SetAsFloat(3);
  items_.Post();
  StartSale(100, 10);
  Answer(Variant("cliente antigo"));
  AnswerAdjustment("P", 10);

  parts().adjustments.Discount();

  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 9.0) << "10 % of the items, the fee left out";
  EXPECT_DOUBLE_EQ(sale().doPercDesconto, 10.0);
  EXPECT_DOUBLE_EQ(sale().doVrAPagar, 91.0);
  EXPECT_EQ(ctl("lblValorPagar").caption, "91,00");
  EXPECT_EQ(Lista(), (std::vector<std::string>{"PICANHA                    89,90", Line("Desconto: 10,00% ", "-9,00"),
                                               Line("Sub-Total:", "91,00")}));
  EXPECT_EQ(sale().stCdSupervisor, "SUP01");
  for (int row : {1, 2}) {
    EXPECT_EQ(Item("DSOBSDESC", row), "cliente antigo");
    EXPECT_EQ(Item("CDSUPERVISOR", row), "SUP01");
  }
  EXPECT_EQ(Item("VRDESCCASH4ALL", 1), "0") << "a manual discount replaces the cashback one";
  EXPECT_FALSE(ctl("spbAcrescimo").enabled);
  EXPECT_FALSE(ctl("spbTaxaServico").enabled);
}

TEST_F(Discount, WholeSaleDiscountIsRefusedAndLeavesTheScreenAsItWas) {
  AddItem("1001", 1, 50);
  StartSale(50);
  for (auto [tipo, valor] : std::vector<std::pair<std::string, double>>{{"P", 100}, {"V", 50}, {"V", 60}}) {
    AnswerAdjustment(tipo, valor);
    parts().adjustments.Discount();
    EXPECT_EQ(Messages().back(), Msg("Ope_Desc_Maior")) << tipo << valor;
    EXPECT_EQ(sale().doVrDesconto, 0);
    EXPECT_EQ(Lista().size(), 1u);
    EXPECT_TRUE(ctl("spbAcrescimo").enabled) << "nothing in force: the other adjustments are free again";
  }
}

TEST_F(Discount, EveryItemKeepsACentPerUnitAndPerLine) {
  // Three units worth 0.05: at least 0.03 must remain.
  AddItem("1001", 3, 0.05 / 3);
  StartSale(0.05);
  AnswerAdjustment("V", 0.03);
  parts().adjustments.Discount();
  EXPECT_EQ(Messages().back(), MsgFmt("Desc_Max", {0.02}));
  EXPECT_EQ(sale().doVrDesconto, 0);

  AnswerAdjustment("V", 0.02);
  parts().adjustments.Discount();
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 0.02);
  EXPECT_DOUBLE_EQ(sale().doVrAPagar, 0.03);

  // A refused change keeps the discount already in force, amounts and list alike.
  const auto lista = Lista();
  AnswerAdjustment("V", 0.04);
  parts().adjustments.Discount();
  EXPECT_EQ(Messages().back(), MsgFmt("Desc_Max", {0.02}));
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 0.02);
  EXPECT_DOUBLE_EQ(sale().doVrAPagar, 0.03);
  EXPECT_EQ(Lista(), lista);

  // Weighed items: fractions of a unit, but every line must keep its cent.
  items_.EmptyDataSet();
  for (int i = 0; i < 3; ++i) AddItem("2002", 0.1, 0.05 / 0.3);
  StartSale(0.05);
  sale().doVrDesconto = sale().doPercDesconto = 0;
  AnswerAdjustment("V", 0.03);
  parts().adjustments.Discount();
  EXPECT_EQ(Messages().back(), MsgFmt("Desc_Max", {0.02}));
}

TEST_F(Discount, FiscalPrinters31And33TakeAtMostNinetyNinePercent) {
  AddItem("1001", 1, 100);
  for (int printer : {31, 33, 30}) {
    par().inIDTIPOIMPFIS = printer;
    StartSale(100);
    sale().doVrDesconto = sale().doPercDesconto = 0;
    AnswerAdjustment("P", 99.5);
    parts().adjustments.Discount();
    if (printer == 30) {
      EXPECT_DOUBLE_EQ(sale().doVrDesconto, 99.5) << "other printers have no such limit";
      continue;
    }
    EXPECT_EQ(Messages().back(), MsgFmt("Desc_MaxEpson", {99.0, "99%"})) << printer;
    EXPECT_EQ(sale().doVrDesconto, 0);

    AnswerAdjustment("P", 99);
    parts().adjustments.Discount();
    EXPECT_DOUBLE_EQ(sale().doVrDesconto, 99.0) << printer;
    AnswerAdjustment("V", 99.01);
    parts().adjustments.Discount();
    EXPECT_EQ(Messages().back(), MsgFmt("Desc_MaxEpson", {99.0, "99%"})) << "a value above 99 % too";
  }
}

TEST_F(Discount, MobileOrderPaidInPartGetsAtMostWhatIsLeftToPay) {
  AddItem("1001", 1, 100);
  StartSale(100);
  sale().boPagouMobile = true;
  sale().doVrPago = 30;
  sale().doVrAPagar = 70;
  AnswerAdjustment("V", 70.01);
  parts().adjustments.Discount();
  EXPECT_EQ(Messages().back(), Msg("Ope_Desc_Maior_Rest"));
  AnswerAdjustment("V", 20);
  parts().adjustments.Discount();
  EXPECT_DOUBLE_EQ(sale().doVrAPagar, 50.0) << "what was paid stays paid";
}

TEST_F(Discount, RefusedAccessDismissedDialogOrZeroChangeNothing) {
  AddItem("1001", 1, 30);
  StartSale(30);
  Rights({{kDesconto, "N"}, {kAcrescimo, "N"}});
  controls().Click("spbDesconto");
  controls().Click("spbAcrescimo");
  EXPECT_EQ(Calls("VerificaAcesso"), 2u) << "the buttons run their handlers";
  EXPECT_EQ(Calls("CriaDesconto"), 0u);
  EXPECT_TRUE(ctl("spbAcrescimo").enabled);

  Rights({});
  sale().stPodeAcrescimo = "N";
  for (bool cancel : {true, false}) {
    if (cancel)
      AnswerCancel();
    else
      AnswerAdjustment("V", 0);
    parts().adjustments.Discount();
    EXPECT_EQ(sale().doVrDesconto, 0);
    EXPECT_FALSE(ctl("spbAcrescimo").enabled) << "re-enabled only by the operator's right";
    EXPECT_TRUE(ctl("spbTaxaServico").enabled);
    EXPECT_EQ(Lista().size(), 1u);
  }

  // A reason dialog dismissed ("erro") leaves the discount without a reason, even the
  // reason of the discount it replaces.
  par().stIDSOLOBSDESC = "S";
  Answer(Variant("antigo"));
  AnswerAdjustment("V", 2);
  parts().adjustments.Discount();
  ASSERT_EQ(parts().adjustments.DiscountReason(), "antigo");
  ASSERT_EQ(Item("DSOBSDESC"), "antigo");
  AnswerCancel();
  AnswerAdjustment("V", 3);
  parts().adjustments.Discount();
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 3.0);
  EXPECT_EQ(parts().adjustments.DiscountReason(), "");
  EXPECT_EQ(Item("DSOBSDESC"), "");
}

TEST_F(Discount, IntegrationDiscountIsShownLikeAManualOne) {
  StartSale(50);
  sale().doVrPago = 10;
  sale().doVrDesconto = 12.5;
  parts().adjustments.AplicaDesconto();
  EXPECT_DOUBLE_EQ(sale().doPercDesconto, 25.0);
  EXPECT_DOUBLE_EQ(sale().doVrAPagar, 27.5);
  EXPECT_EQ(ctl("lblValorPagar").caption, "27,50");
  EXPECT_EQ(Lista().at(1), Line("Desconto: 25,00% ", "-12,50"));
  EXPECT_EQ(Lista().at(2), Line("Sub-Total:", "37,50"));
}

}  // namespace
}  // namespace recebimento::testing
