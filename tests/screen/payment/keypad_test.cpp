// The on-screen keypad: its buttons type and correct the amount, and its Enter refuses an
// amount that would take the sale over the most a sale takes.
#include <gtest/gtest.h>

#include <string>

#include "screen/frame/message_table.h"
#include "screen/support/grid_keyboard_fixture.h"

namespace recebimento::testing {
namespace {

class Keypad : public GridKeyboardTest {
 protected:
  void SetUp() override {
    GridKeyboardTest::SetUp();
    ctl("spbOk").enabled = false;  // nothing is paid yet
  }

  bool Shown(const std::string& key) const {
    for (const auto& m : Messages())
      if (m == screen::Msg(key)) return true;
    return false;
  }
};

TEST_F(Keypad, EnterRefusesWhatWouldTakeTheSaleOverTheLimit) {
  sale().doVrPago = 400000.00;
  WaitForAmount(screen::isDinheiro1, "600000,00");
  controls().Press("sbtEnter");
  EXPECT_TRUE(Shown("Lim_Pag"));
  EXPECT_EQ(sale().tpInputStep, screen::isDinheiro1) << "the tender must not take the amount";
  EXPECT_FALSE(ctl("panKeyboard").visible) << "back to the tender grid";

  // The same sum one cent lower is taken, whatever binary noise the addition leaves.
  sim_->Record().Clear();
  WaitForAmount(screen::isDinheiro1, "599999,99");
  controls().Press("sbtEnter");
  EXPECT_FALSE(Shown("Lim_Pag"));
  EXPECT_EQ(sale().tpInputStep, screen::isNone);
  EXPECT_DOUBLE_EQ(parts().keyboard.TakenAmount(), 599999.99);

  sale().doVrPago = 0;
  WaitForAmount(screen::isDinheiro1, "999999,99");
  controls().Press("sbtEnter");
  EXPECT_FALSE(Shown("Lim_Pag"));
  EXPECT_EQ(sale().tpInputStep, screen::isNone);

  WaitForAmount(screen::isDinheiro1, "1000000");
  controls().Press("sbtEnter");
  EXPECT_TRUE(Shown("Lim_Pag"));
  EXPECT_EQ(sale().tpInputStep, screen::isDinheiro1);
}

TEST_F(Keypad, ButtonsTypeTheAmountAndCorrectIt) {
  WaitForAmount(screen::isDinheiro1);
  for (const char* b : {"sbt1", "sbt2", "sbtVirgula", "sbt5"}) controls().Click(b);
  EXPECT_EQ(ctl("lblInputReceb2").caption, "12,5");
  controls().Click("sbt00");  // only two decimals are kept
  EXPECT_EQ(ctl("lblInputReceb2").caption, "12,50");
  for (int i = 0; i < 7; ++i) controls().Click("sbtCorrigir");
  EXPECT_EQ(ctl("lblInputReceb2").caption, "") << "correcting an empty amount leaves it empty";
  controls().Click("sbt000");
  controls().Click("sbt7");
  EXPECT_EQ(ctl("lblInputReceb2").caption, "0007");
}

TEST_F(Keypad, EnterWithNothingTypedIsZeroAndKeepsTheGrid) {
  BuildGrid();
  parts().grid.CtrlBotoes("D", 1);
  sale().tpInputStep = screen::isNone;
  ctl("lblInputReceb2").caption = "";
  controls().Press("sbtEnter");
  EXPECT_DOUBLE_EQ(parts().keyboard.TakenAmount(), 0);
  EXPECT_FALSE(Shown("Lim_Pag"));
  EXPECT_TRUE(parts().grid.Selecting()) << "the grid stays offered for a choice";
}

}  // namespace
}  // namespace recebimento::testing
