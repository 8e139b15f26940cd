// Card transactions the card terminal left pending when the operator leaves a sale: the
// answer files are looked for, the receipt cancelled and the host asked to cancel them;
// the screen stays open while they still stand.
#include <gtest/gtest.h>

#include <string>

#include "screen/support/grid_keyboard_fixture.h"

namespace recebimento::testing {
namespace {

constexpr int kEscape = 27;

class PendingCardTransactions : public GridKeyboardTest {
 protected:
  // The keypad is hidden: Escape leaves the sale.
  void SetUp() override {
    GridKeyboardTest::SetUp();
    ctl("panKeyboard").visible = false;
    par().stDSDIRPENTEF = (dir_ / "pend").string();
  }
  size_t Calls(const std::string& name) const { return sim_->Record().CountOf(name); }
};

TEST_F(PendingCardTransactions, AnswerFilesAreFoundWhateverTheCaseOfTheirName) {
  EXPECT_FALSE(parts().card.AnswerFileWaiting()) << "no folder";
  dir_.Write("pend/resp.001", "x");
  EXPECT_FALSE(parts().card.AnswerFileWaiting());
  dir_.Write("pend/INTPOS.001", "x");
  EXPECT_TRUE(parts().card.AnswerFileWaiting());
  par().stDSDIRPENTEF.clear();
  EXPECT_FALSE(parts().card.AnswerFileWaiting()) << "no folder configured";
}

TEST_F(PendingCardTransactions, EscapeAfterCardTransactionsWithoutPendingFilesCloses) {
  sale().inQtdeTef = 1;
  KeyDown(kEscape);
  EXPECT_TRUE(Closed());
  EXPECT_EQ(Calls("CheckIntPosFiles"), 1u);
  EXPECT_EQ(Calls("CancelaPendencia"), 0u);
}

TEST_F(PendingCardTransactions, EscapeCancelsTheReceiptAndPendingCardTransactionsBeforeClosing) {
  config_.printer_failures["Cancela_Cupom_Imp"] = 0;
  RebuildHost();
  dir_.Write("pend/INTPOS.001", "000-000 = CRT\n");
  sale().inQtdeTef = 2;
  par().stCDFILIAL = "0001";
  KeyDown(kEscape);
  EXPECT_EQ(Calls("Cancela_Cupom_Imp"), 3u) << "a refused cancellation is tried three times";
  EXPECT_FALSE(sale().boCupomCancelado);
  ASSERT_EQ(Calls("CancelaPendencia"), 1u);
  EXPECT_EQ(sim_->Record().CallsOf("CancelaPendencia")[0].args[0].AsString(), "0001");
  EXPECT_EQ(sim_->Record().CallsOf("CancelaPendencia")[0].args[4].AsInteger(), 2);
  EXPECT_TRUE(ctl("spbSair").enabled);
  EXPECT_TRUE(Closed());
}

TEST_F(PendingCardTransactions, EscapeStaysWhenThePendingCardTransactionsCannotBeCancelled) {
  config_.printer_failures["CancelaPendencia"] = 0;
  RebuildHost();
  dir_.Write("pend/intpos.001", "x");
  sale().inQtdeTef = 1;
  sale().boCupomCancelado = true;
  AddPayment("002", "1", 20);
  KeyDown(kEscape);
  EXPECT_FALSE(Closed());
  EXPECT_TRUE(movi_.Active());
  EXPECT_EQ(movi_.RecordCount(), 1) << "the card payment still stands";
  EXPECT_EQ(Calls("Cancela_Cupom_Imp"), 0u) << "already cancelled";
  EXPECT_TRUE(ctl("spbSair").enabled);
}

TEST_F(PendingCardTransactions, ExitStaysUntilTheyAreCancelled) {
  dir_.Write("pend/intpos.001", "000-000 = CRT\n");
  sale().inQtdeTef = 1;
  ctl("panKeyboard").visible = true;                 // the keypad's own Escape only goes back to the grid
  config_.printer_failures["CancelaPendencia"] = 0;  // the host cannot cancel them
  RebuildHost();

  parts().exit.Leave();
  EXPECT_FALSE(Closed());
  EXPECT_TRUE(ctl("spbSair").enabled);
  EXPECT_EQ(Calls("Cancela_Cupom_Imp"), 1u) << "the exit button tries the receipt once";
  EXPECT_FALSE(sale().boProcessandoSaida) << "a later exit must not be ignored";

  config_.printer_failures.clear();
  RebuildHost();
  parts().exit.Leave();
  EXPECT_EQ(Calls("CancelaPendencia"), 1u);
  EXPECT_TRUE(Closed());
}

}  // namespace
}  // namespace recebimento::testing
