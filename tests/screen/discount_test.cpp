// Discount, surcharge and service fee of the payment screen: access control, the host's
// value-or-percentage dialog, every limit with its message, the list lines and amounts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text.h"
#include "discount_fixture.h"
#include "screen/message_format.h"
#include "screen/message_table.h"

namespace recebimento::testing {
namespace {

using base::Variant;
using screen::Msg;
using screen::MsgFmt;

// A list line as the screen lays it out: 20 characters of name, a blank, 14 of amount.
std::string Line(const std::string& name, const std::string& amount) {
  std::string n = name;
  while (base::Utf8Length(n) < 20) n += ' ';
  std::string a = amount;
  while (a.size() < 14) a = ' ' + a;
  return n + " " + a;
}

TEST_F(DiscountTest, PercentageDiscountIsTakenOnTheItemsAndMarksThemWithReasonAndSupervisor) {
  Rights({{kDesconto, "SUP01"}});
  frm().stIDSOLOBSDESC = "S";
  AddItem("1001", 1, 50);
  AddItem("1002", 1, 40);
  items_.First();
  items_.Edit();
  items_.FieldByName("VRDESCCASH4ALL").SetAsFloat(3);
  items_.Post();
  Sale(100, 10);
  Answer(Variant("cliente antigo"));
  AnswerAdjustment("P", 10);

  frm().spbDescontoClick();

  EXPECT_DOUBLE_EQ(frm().doVrDesconto, 9.0) << "10 % of the items, the fee left out";
  EXPECT_DOUBLE_EQ(frm().doPercDesconto, 10.0);
  EXPECT_DOUBLE_EQ(frm().doVrAPagar, 91.0);
  EXPECT_EQ(ctl("lblValorPagar").caption, "91,00");
  EXPECT_EQ(Lista(), (std::vector<std::string>{"PICANHA                    89,90",
                                                Line("Desconto: 10,00% ", "-9,00"), Line("Sub-Total:", "91,00")}));
  EXPECT_EQ(frm().stCdSupervisor, "SUP01");
  for (int row : {1, 2}) {
    EXPECT_EQ(Item("DSOBSDESC", row), "cliente antigo");
    EXPECT_EQ(Item("CDSUPERVISOR", row), "SUP01");
  }
  EXPECT_EQ(Item("VRDESCCASH4ALL", 1), "0") << "a manual discount replaces the cashback one";
  EXPECT_FALSE(ctl("spbAcrescimo").enabled);
  EXPECT_FALSE(ctl("spbTaxaServico").enabled);
}

TEST_F(DiscountTest, WholeSaleDiscountIsRefusedAndLeavesTheScreenAsItWas) {
  AddItem("1001", 1, 50);
  Sale(50);
  for (auto [tipo, valor] : std::vector<std::pair<std::string, double>>{{"P", 100}, {"V", 50}, {"V", 60}}) {
    AnswerAdjustment(tipo, valor);
    frm().spbDescontoClick();
    EXPECT_EQ(Messages().back(), Msg("Ope_Desc_Maior")) << tipo << valor;
    EXPECT_EQ(frm().doVrDesconto, 0);
    EXPECT_EQ(Lista().size(), 1u);
    EXPECT_TRUE(ctl("spbAcrescimo").enabled) << "nothing in force: the other adjustments are free again";
  }
}

TEST_F(DiscountTest, EveryItemKeepsACentPerUnitAndPerLine) {
  // Three units worth 0.05: at least 0.03 must remain.
  AddItem("1001", 3, 0.05 / 3);
  Sale(0.05);
  AnswerAdjustment("V", 0.03);
  frm().spbDescontoClick();
  EXPECT_EQ(Messages().back(), MsgFmt("Desc_Max", {0.02}));
  EXPECT_EQ(frm().doVrDesconto, 0);

  AnswerAdjustment("V", 0.02);
  frm().spbDescontoClick();
  EXPECT_DOUBLE_EQ(frm().doVrDesconto, 0.02);
  EXPECT_DOUBLE_EQ(frm().doVrAPagar, 0.03);

  // A refused change keeps the discount already in force, amounts and list alike.
  const auto lista = Lista();
  AnswerAdjustment("V", 0.04);
  frm().spbDescontoClick();
  EXPECT_EQ(Messages().back(), MsgFmt("Desc_Max", {0.02}));
  EXPECT_DOUBLE_EQ(frm().doVrDesconto, 0.02);
  EXPECT_DOUBLE_EQ(frm().doVrAPagar, 0.03);
  EXPECT_EQ(Lista(), lista);

  // Weighed items: fractions of a unit, but every line must keep its cent.
  items_.EmptyDataSet();
  for (int i = 0; i < 3; ++i) AddItem("2002", 0.1, 0.05 / 0.3);
  Sale(0.05);
  frm().doVrDesconto = frm().doPercDesconto = 0;
  AnswerAdjustment("V", 0.03);
  frm().spbDescontoClick();
  EXPECT_EQ(Messages().back(), MsgFmt("Desc_Max", {0.02}));
}

TEST_F(DiscountTest, FiscalPrinters31And33TakeAtMostNinetyNinePercent) {
  AddItem("1001", 1, 100);
  for (int printer : {31, 33, 30}) {
    frm().inIDTIPOIMPFIS = printer;
    Sale(100);
    frm().doVrDesconto = frm().doPercDesconto = 0;
    AnswerAdjustment("P", 99.5);
    frm().spbDescontoClick();
    if (printer == 30) {
      EXPECT_DOUBLE_EQ(frm().doVrDesconto, 99.5) << "other printers have no such limit";
      continue;
    }
    EXPECT_EQ(Messages().back(), MsgFmt("Desc_MaxEpson", {99.0, "99%"})) << printer;
    EXPECT_EQ(frm().doVrDesconto, 0);

    AnswerAdjustment("P", 99);
    frm().spbDescontoClick();
    EXPECT_DOUBLE_EQ(frm().doVrDesconto, 99.0) << printer;
    AnswerAdjustment("V", 99.01);
    frm().spbDescontoClick();
    EXPECT_EQ(Messages().back(), MsgFmt("Desc_MaxEpson", {99.0, "99%"})) << "a value above 99 % too";
  }
}

TEST_F(DiscountTest, MobileOrderPaidInPartGetsAtMostWhatIsLeftToPay) {
  AddItem("1001", 1, 100);
  Sale(100);
  frm().boPagouMobile = true;
  frm().doVrPago = 30;
  frm().doVrAPagar = 70;
  AnswerAdjustment("V", 70.01);
  frm().spbDescontoClick();
  EXPECT_EQ(Messages().back(), Msg("Ope_Desc_Maior_Rest"));
  AnswerAdjustment("V", 20);
  frm().spbDescontoClick();
  EXPECT_DOUBLE_EQ(frm().doVrAPagar, 50.0) << "what was paid stays paid";
}

TEST_F(DiscountTest, RefusedAccessDismissedDialogOrZeroChangeNothing) {
  AddItem("1001", 1, 30);
  Sale(30);
  Rights({{kDesconto, "N"}, {kAcrescimo, "N"}});
  frm().LigaBotoesAjustes();
  frm().Controls().Click("spbDesconto");
  frm().Controls().Click("spbAcrescimo");
  EXPECT_EQ(Calls("VerificaAcesso"), 2u) << "the buttons run their handlers";
  EXPECT_EQ(Calls("CriaDesconto"), 0u);
  EXPECT_TRUE(ctl("spbAcrescimo").enabled);

  Rights({});
  frm().stPodeAcrescimo = "N";
  for (bool cancel : {true, false}) {
    if (cancel)
      AnswerCancel();
    else
      AnswerAdjustment("V", 0);
    frm().spbDescontoClick();
    EXPECT_EQ(frm().doVrDesconto, 0);
    EXPECT_FALSE(ctl("spbAcrescimo").enabled) << "re-enabled only by the operator's right";
    EXPECT_TRUE(ctl("spbTaxaServico").enabled);
    EXPECT_EQ(Lista().size(), 1u);
  }

  // A reason dialog dismissed ("erro") leaves the discount without a reason.
  frm().stIDSOLOBSDESC = "S";
  frm().stDSOBSDESC = "antigo";
  AnswerCancel();
  AnswerAdjustment("V", 3);
  frm().spbDescontoClick();
  EXPECT_DOUBLE_EQ(frm().doVrDesconto, 3.0);
  EXPECT_EQ(frm().stDSOBSDESC, "");
  EXPECT_EQ(Item("DSOBSDESC"), "");
}

TEST_F(DiscountTest, IntegrationDiscountIsShownLikeAManualOne) {
  Sale(50);
  frm().doVrPago = 10;
  frm().doVrDesconto = 12.5;
  frm().AplicaDesconto();
  EXPECT_DOUBLE_EQ(frm().doPercDesconto, 25.0);
  EXPECT_DOUBLE_EQ(frm().doVrAPagar, 27.5);
  EXPECT_EQ(ctl("lblValorPagar").caption, "27,50");
  EXPECT_EQ(Lista().at(1), Line("Desconto: 25,00% ", "-12,50"));
  EXPECT_EQ(Lista().at(2), Line("Sub-Total:", "37,50"));
}

TEST_F(DiscountTest, SurchargeWithAFiscalPrinterIsAtMostTenPercentAndReplacesTheFee) {
  frm().boUTILIZAIMPFIS = true;
  Sale(110, 10);
  AnswerAdjustment("P", 10);
  frm().spbAcrescimoClick();
  EXPECT_DOUBLE_EQ(frm().doVrAcrescimo, 10.0);
  EXPECT_DOUBLE_EQ(frm().doPercAcrescimo, 10.0);
  EXPECT_EQ(frm().doVrServico, 0) << "the surcharge replaces the fee";
  EXPECT_EQ(ctl("lblServico").caption, "0,00");
  EXPECT_DOUBLE_EQ(frm().doVrBaseAcrescimo, 100.0);
  EXPECT_DOUBLE_EQ(frm().doVrTotal, 110.0);
  EXPECT_DOUBLE_EQ(frm().doVrAPagar, 110.0);
  EXPECT_EQ(Lista().at(1), Line("Acréscimo: 10,00% ", "+10,00"));
  EXPECT_EQ(Lista().at(2), Line("Sub-Total:", "110,00"));
  EXPECT_FALSE(ctl("spbDesconto").enabled);

  for (auto [tipo, valor] : std::vector<std::pair<std::string, double>>{{"P", 10.01}, {"V", 10.01}}) {
    AnswerAdjustment(tipo, valor);
    frm().spbAcrescimoClick();
    EXPECT_EQ(Messages().back(), Msg("Ope_Acr_Maior")) << tipo;
    EXPECT_DOUBLE_EQ(frm().doVrAcrescimo, 10.0) << "the surcharge in force stays";
    EXPECT_DOUBLE_EQ(frm().doVrTotal, 110.0);
  }
}

TEST_F(DiscountTest, SurchargeWithoutAFiscalPrinterIsBoundByTheSale) {
  Sale(100);
  AnswerAdjustment("P", 100);
  frm().spbAcrescimoClick();
  EXPECT_DOUBLE_EQ(frm().doVrAcrescimo, 100.0);
  EXPECT_DOUBLE_EQ(frm().doVrTotal, 200.0);
  AnswerAdjustment("P", 100.01);
  frm().spbAcrescimoClick();
  EXPECT_EQ(Messages().back(), Msg("Ope_Acr_Maior_Sat_Nfce"));

  // The branch keeps the fee beside the surcharge: both together are bound by the base.
  frm().doVrAcrescimo = frm().doPercAcrescimo = 0;
  Sale(110, 10);
  frm().stIDPERACRTXSECUP = "S";
  AnswerAdjustment("V", 90.01);
  frm().spbAcrescimoClick();
  EXPECT_EQ(Messages().back(), Msg("Acr_Tax_Maior_Sat_Nfce"));
  EXPECT_EQ(frm().doVrAcrescimo, 0);
  EXPECT_DOUBLE_EQ(frm().doVrServico, 10.0);

  AnswerAdjustment("V", 90);
  frm().spbAcrescimoClick();
  EXPECT_DOUBLE_EQ(frm().doVrServico, 10.0);
  EXPECT_DOUBLE_EQ(frm().doVrTotal, 200.0);
  EXPECT_DOUBLE_EQ(frm().doVrBaseAcrescimo + frm().doVrAcrescimo, frm().doVrTotal)
      << "the real total keeps the fee";
  EXPECT_DOUBLE_EQ(frm().doVrAPagar, 200.0);
}

TEST_F(DiscountTest, ServiceFeeChangeIsLoggedAndAFeeAboveTheSalesOwnIsConfirmed) {
  Rights({{kTaxa, "SUP02"}});
  frm().stNrComanda = "0012";
  Sale(110, 10);

  AnswerAdjustment("V", 15);
  Answer(Variant(false));
  frm().spbTaxaServicoClick();
  EXPECT_EQ(Messages().back(), Msg("Taxa_Maior"));
  EXPECT_DOUBLE_EQ(frm().doVrServico, 10.0);
  EXPECT_DOUBLE_EQ(frm().doVrTotal, 110.0);
  EXPECT_TRUE(ctl("spbTaxaServico").enabled);

  const auto& log = sim_->Access().Log();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].event, "ALT_TAX");
  EXPECT_EQ(log[0].branch, "0001");
  EXPECT_EQ(log[0].cash_register, "001");
  EXPECT_EQ(log[0].operator_code, "7");
  EXPECT_EQ(log[0].operator_name, "MARIA");
  EXPECT_EQ(log[0].supervisor, "SUP02");
  EXPECT_EQ(log[0].short_text, "Alterar valor da Taxa de Serviço da Mesa/Comanda Nº: 0012");
  EXPECT_EQ(log[0].long_text, "Alterar valor da Taxa de Serviço.");

  AnswerAdjustment("V", 15);
  Answer(Variant(true));
  frm().spbTaxaServicoClick();
  EXPECT_DOUBLE_EQ(frm().doVrServico, 15.0);
  EXPECT_DOUBLE_EQ(frm().doVrTotal, 115.0);
  EXPECT_DOUBLE_EQ(frm().doVrAPagar, 115.0);
  EXPECT_EQ(ctl("lblValorTotal").caption, "115,00");
  EXPECT_EQ(ctl("lblServico").caption, "15,00");

  // A percentage is taken on the sale without its fee; 0 removes the fee.
  AnswerAdjustment("P", 5);
  frm().spbTaxaServicoClick();
  EXPECT_DOUBLE_EQ(frm().doVrServico, 5.0);
  EXPECT_DOUBLE_EQ(frm().doVrTotal, 105.0);
  AnswerAdjustment("V", 0);
  frm().spbTaxaServicoClick();
  EXPECT_EQ(frm().doVrServico, 0);
  EXPECT_DOUBLE_EQ(frm().doVrTotal, 100.0);
  EXPECT_EQ(answers_.Left(), 0u);

  Rights({{kTaxa, "N"}});
  frm().spbTaxaServicoClick();
  EXPECT_EQ(Calls("LogControleAcess"), 0u) << "a refused operator changes and logs nothing";
}

}  // namespace
}  // namespace recebimento::testing
