// The payment lines a tender leaves in the host's payment dataset, the amounts and the
// list on the screen, and the change: in the tender, in another tender, or none at all.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "screen/support/tender_selection_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;
using PaymentLines = TenderSelectionTest;

TEST_F(PaymentLines, CashMergesIntoOneLineWhileOtherTendersKeepTheirOwn) {
  Pay("001", "30");
  Pay("001", "20");
  Pay("003", "10");
  Pay("003", "15");
  EXPECT_EQ(Lines(), (std::vector<std::pair<std::string, double>>{{"001", 50.0}, {"003", 10.0}, {"003", 15.0}}));
  EXPECT_DOUBLE_EQ(sale().doVrPago, 75);
  EXPECT_DOUBLE_EQ(sale().doVrAPagar, 25);
  EXPECT_EQ(ctl("lblValorPago").caption, "75,00");
  EXPECT_EQ(ctl("lblValorPagar").caption, "25,00");
  EXPECT_FALSE(ctl("spbOk").enabled) << "a quarter of the sale is still unpaid";
  movi_.Last();
  EXPECT_EQ(movi_.FieldByName("IDTIPORECE").AsString(), "7");
  EXPECT_EQ(movi_.FieldByName("NMTIPORECE").AsString(), "TICKET");
  EXPECT_EQ(movi_.FieldByName("CDFILIAL").AsString(), par().stCDFILIAL);
  EXPECT_EQ(movi_.FieldByName("QTPARCRECEB").AsInteger(), 1);
  EXPECT_EQ(movi_.FieldByName("IDTIPORESGATE").AsString(), "N");
  EXPECT_EQ(movi_.FieldByName("DTMOVIMCAIXA").AsDateTime(), base::DateTime::FromYMD(2026, 12, 6));
}

TEST_F(PaymentLines, ExactPaymentUnderpaymentBelowACentAndOverpayment) {
  Pay("002", "100");
  EXPECT_DOUBLE_EQ(sale().doVrAPagar, 0);
  EXPECT_TRUE(ctl("spbOk").enabled);
  EXPECT_TRUE(Lines("S").empty()) << "no change on an exact payment";

  // A discount with a fraction of a cent: 0.005 short still counts as paid, no change.
  movi_.EmptyDataSet();
  SetTotal(10);
  sale().doVrDesconto = 0.005;
  Pay("001", "9,99");
  EXPECT_TRUE(ctl("spbOk").enabled);
  movi_.EmptyDataSet();
  SetTotal(10);
  Pay("001", "10");
  EXPECT_DOUBLE_EQ(sale().doVrTroco, 0) << "half a cent over is no change";
  EXPECT_TRUE(Lines("S").empty());
  sale().doVrDesconto = 0;

  // Over: change in the cash tender itself.
  movi_.EmptyDataSet();
  SetTotal(37.5);
  Pay("001", "50");
  EXPECT_DOUBLE_EQ(sale().doVrAPagar, 0);
  EXPECT_DOUBLE_EQ(sale().doVrTroco, 12.5);
  EXPECT_EQ(Lines("S"), (std::vector<std::pair<std::string, double>>{{"001", 12.5}}));
  EXPECT_EQ(ctl("lblPagar").caption, "Troco: ");
  EXPECT_EQ(ctl("lblValorPagar").caption, "12,50");
  EXPECT_EQ(sale().tpInputStep, screen::isTroco);
  EXPECT_TRUE(ctl("spbOk").enabled);
  EXPECT_NE(ctl("memLista").lines.back().find("Troco (DINHEIRO):"), std::string::npos);
}

TEST_F(PaymentLines, ChangeWithoutAChangeTender) {
  // Outside "SC" the operator is asked; yes takes the excess back from the oldest line.
  SetTotal(30);
  Pay("003", "20");
  WillAnswer(true);
  Pay("002", "15");
  EXPECT_NE(Messages().back().find("não permite que seja emitido troco"), std::string::npos);
  EXPECT_EQ(Lines(), (std::vector<std::pair<std::string, double>>{{"003", 15.0}, {"002", 15.0}}));
  EXPECT_DOUBLE_EQ(sale().doVrPago, 30);
  EXPECT_EQ(ctl("lblValorPago").caption, "30,00");
  EXPECT_TRUE(Lines("S").empty());

  // An excess larger than the oldest line removes it and reduces the next.
  movi_.EmptyDataSet();
  SetTotal(30);
  Pay("003", "5");
  Pay("002", "10");
  WillAnswer(true);
  Pay("003", "30");
  EXPECT_EQ(Lines(), (std::vector<std::pair<std::string, double>>{{"003", 30.0}}))
      << "5,00 and then 10,00 of the 15,00 excess come off the two oldest lines";
  EXPECT_DOUBLE_EQ(sale().doVrPago, 30);

  // No keeps the payments and blocks confirmation until they are cleared.
  movi_.EmptyDataSet();
  SetTotal(30);
  WillAnswer(false);
  Pay("003", "40");
  EXPECT_NE(Messages().back().find("Não foram utilizados"), std::string::npos) << "one line: NoRecebTroco";
  EXPECT_FALSE(ctl("spbOk").enabled);
  EXPECT_TRUE(ctl("spbSair").enabled);
  EXPECT_TRUE(Lines("S").empty());

  // In Santa Catarina change is given without asking.
  movi_.EmptyDataSet();
  SetTotal(30);
  par().stSGESTADOFILI = "SC";
  const size_t asked = Messages().size();
  Pay("003", "40");
  EXPECT_EQ(Messages().size(), asked);
  EXPECT_DOUBLE_EQ(sale().doVrTroco, 10);
  EXPECT_EQ(Lines("S").size(), 1u);
}

TEST_F(PaymentLines, ChangeInAVoucherTenderIsAContraVale) {
  SetTotal(20);
  Pay("007", "25");
  EXPECT_EQ(ctl("lblPagar").caption, "Contra-Vale: ");
  EXPECT_EQ(Lines("S"), (std::vector<std::pair<std::string, double>>{{"008", 5.0}}));
}

}  // namespace
}  // namespace recebimento::testing
