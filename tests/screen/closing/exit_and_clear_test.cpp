// Leaving the screen and clearing it: Escape with the keypad hidden refunds the wallets'
// payments and gives the host back what it brought; the clear button goes back to the sale
// as the entry handed it over, and the exit keeps it so.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screen/support/grid_keyboard_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;

constexpr int kEscape = 27;

using ExitAndClear = GridKeyboardTest;

TEST_F(ExitAndClear, EscapeWithoutTheKeypadRefundsWalletPaymentsAndCloses) {
  AddPayment("001", "4", 10);  // brought by the host
  parts().exit.Clear();        // the entry's own clear records the sale as it came
  AddPayment("002", "4", 5);   // entered on the screen
  ctl("panKeyboard").visible = false;
  for (const char* id : {"111", "222", "333"}) parts().wallets.QueueRefund(id);
  ASSERT_EQ(parts().wallets.PaymentsToRefund(), "111,222,333");
  sale().boVendaOk = true;
  KeyDown(kEscape);
  EXPECT_TRUE(Closed());
  EXPECT_EQ(parts().wallets.PaymentsToRefund(), "");
  EXPECT_FALSE(sale().boVendaOk);
  ASSERT_TRUE(movi_.Active()) << "the host gets its payments back, not a closed dataset";
  ASSERT_EQ(movi_.RecordCount(), 1);
  movi_.First();
  EXPECT_EQ(movi_.FieldByName("CDTIPORECE").AsString(), "001");
  EXPECT_EQ(sim_->Record().CountOf("CancelaPendencia"), 0u) << "no card transaction was made";
}

// A sale of 25,00 with 10,00 paid before the screen opened, cleared by the entry.
class ClearTest : public GridKeyboardTest {
 protected:
  void SetUp() override {
    GridKeyboardTest::SetUp();
    items_.AddField("CDPRODUTO", base::FieldType::String, 16);
    items_.AddField("QTPRODCOMVEN", base::FieldType::Float);
    items_.AddField("VRPRECCOMVEN", base::FieldType::Float);
    items_.AddField("VRTXSERVICO", base::FieldType::Float);
    items_.AddField("VRDESCOMANDA", base::FieldType::Float);
    items_.CreateDataSet();
    items_.AppendRecord({Variant("7001"), Variant(2.0), Variant(12.5), Variant(0.0), Variant(0.0)});
    sale().cdsItensVenda = &items_;
    sale().stModoVenda = "RES";
    sale().stTipoTela = "N";
    sale().stIdTipoVenda = "M";
    AddPayment("009", "9", 10.0);
    sale().doVrPago = 10.0;
    parts().setup.ComputeTotals();
    parts().exit.Clear();
  }

  base::Dataset items_{"cdsItensVenda"};
};

TEST_F(ClearTest, ClearingPutsTheSaleBackAsItCameAndLeavingKeepsIt) {
  const base::DataPacket items = items_.Data(), payments = movi_.Data();
  const auto list = ctl("memLista").lines;
  const double to_pay = sale().doVrAPagar;
  EXPECT_DOUBLE_EQ(to_pay, 15.0);

  // Work on the screen: a cash payment, a discount written into the sale, a list line.
  AddPayment("001", "4", 15.0);
  sale().doVrPago = 25.0;
  sale().doVrAPagar = 0;
  items_.First();
  items_.Edit();
  items_.FieldByName("VRDESCOMANDA").SetAsFloat(5.0);
  items_.Post();
  sale().doVrDesconto = 5.0;
  sale().tpInputStep = screen::isTroco;
  ctl("memLista").lines.push_back("Dinheiro 15,00");

  ASSERT_TRUE(controls().Click("spbClear"));
  EXPECT_EQ(movi_.Data(), payments);
  EXPECT_EQ(items_.Data(), items);
  EXPECT_EQ(ctl("memLista").lines, list);
  EXPECT_DOUBLE_EQ(sale().doVrPago, 10.0);
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 0.0);
  EXPECT_DOUBLE_EQ(sale().doVrAPagar, to_pay);
  EXPECT_EQ(sale().tpInputStep, screen::isNone);

  parts().exit.Leave();
  EXPECT_TRUE(Closed());
  EXPECT_FALSE(sale().boVendaOk);
  EXPECT_EQ(movi_.Data(), payments);
  EXPECT_EQ(items_.Data(), items);
}

}  // namespace
}  // namespace recebimento::testing
