// Tender selection: the refusals before a tender, the agreement sale and its consumer,
// going back to the grid, and the advance of an order.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "screen/support/tender_selection_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;
using TenderSelection = TenderSelectionTest;

TEST_F(TenderSelection, RefusalsRecordNothing) {
  auto refused = [&](const std::string& code, const std::string& text) {
    const size_t before = movi_.RecordCount();
    parts().selection.DoMenuRecebimentoClick(code, "");
    EXPECT_TRUE(sale().boFalhaReceb) << code;
    EXPECT_EQ(movi_.RecordCount(), before) << code;
    ASSERT_FALSE(Messages().empty());
    EXPECT_NE(Messages().back().find(text), std::string::npos) << Messages().back();
    EXPECT_EQ(sale().tpInputStep, screen::isNone);
  };
  sale().stTipoTela = "S";
  refused("006", "carga de crédito");
  sale().stTipoTela = "N";
  par().stIDCONSUBDESFOL = "N";
  refused("009", "não permitido para esta venda");  // counter sale, consumer credit
  par().stIDCONSUBDESFOL = "S";

  // Consumer credit comes with the consumer accounts; a line of it may already be there.
  movi_.Append();
  movi_.FieldByName("CDTIPORECE").SetAsString("009");
  movi_.FieldByName("IDTIPORECE").SetAsString("9");
  movi_.FieldByName("IDTIPOMOVIVE").SetAsString("E");
  movi_.FieldByName("VRMOVIVEND").SetAsFloat(10);
  movi_.Post();
  refused("009", "crédito pessoal");
  par().stIDUTILTEF = "S";
  sale().inQtdeTef = 20;
  refused("001", "número máximo de transações TEF");
  par().stIDUTILTEF = "T";
  Pay("001", "5");
  EXPECT_FALSE(sale().boFalhaReceb) << "with dedicated TEF only cards and cheques count the transactions";
  refused("002", "número máximo");
}

TEST_F(TenderSelection, AgreementSaleNeedsAConsumerReleasedForIt) {
  // The search dismissed: back to the grid, nothing said.
  WillAnswer(false);
  parts().selection.DoMenuRecebimentoClick("006", "");
  EXPECT_EQ(movi_.RecordCount(), 0);
  EXPECT_TRUE(parts().grid.Selecting());
  EXPECT_EQ(sim_->Record().CountOf("PesqConsumidor"), 1u);
  // A consumer the store does not release for agreement sales is refused by name.
  pos::DialogAnswer consumidor;
  consumidor.fields = {
      {"CDCLIENTE", Variant("000001")}, {"CDCONSUMIDOR", Variant("0009")}, {"NMCONSUMIDOR", Variant("Carla Dias")}};
  sim_->Dialogs().SetDefault("PesqConsumidor", consumidor);
  parts().selection.DoMenuRecebimentoClick("006", "");
  EXPECT_TRUE(sale().boFalhaReceb);
  EXPECT_EQ(movi_.RecordCount(), 0);
  EXPECT_NE(Messages().back().find("Carla Dias"), std::string::npos);
}

TEST_F(TenderSelection, GoingBackToTheGridEndsTheSelectionWithoutALine) {
  WillGoBackToTheGrid();
  parts().selection.DoMenuRecebimentoClick("001", "");
  EXPECT_EQ(movi_.RecordCount(), 0);
  EXPECT_EQ(sale().tpInputStep, screen::isNone);
  EXPECT_DOUBLE_EQ(sale().doVrPago, 0);
}

TEST_F(TenderSelection, AdvanceMustStayBelowTheOrderTotal) {
  sale().stTipoTela = "D";
  Pay("001", "100");
  EXPECT_EQ(movi_.RecordCount(), 0);
  EXPECT_NE(Messages().back().find("adiantamento"), std::string::npos);
  Pay("001", "40");
  EXPECT_EQ(Lines(), (std::vector<std::pair<std::string, double>>{{"001", 40.0}}));
}

}  // namespace
}  // namespace recebimento::testing
