// Keys and characters from the PC keyboard and the POS keyboard: tender and group choice,
// typing an amount, Enter and its limit, the shortcuts, and Escape with the keypad open.
#include <gtest/gtest.h>

#include <string>

#include "host/runtime/format.h"
#include "screen/frame/message_table.h"
#include "screen/support/grid_keyboard_fixture.h"

namespace recebimento::testing {
namespace {

using screen::Msg;
using Keyboard = GridKeyboardTest;

constexpr int kBackspace = 8, kEnter = 13, kEscape = 27, kDelete = 46, kF1 = 112, kF4 = 115;

TEST_F(Keyboard, TwoDigitsPressATenderButtonOnlyFrom01To24) {
  AddTender("001", "4", "01", "1", "01", "Dinheiro");
  AddTender("025", "7", "01", "1", "25", "Ticket 25");
  AddTender("010", "A", "01", "1", "03", "Débito consumidor");
  BuildGrid();
  parts().grid.CtrlBotoes("D", 1);
  parts().grid.EnabledBotoes(true);

  Type("25");
  EXPECT_EQ(parts().grid.ChosenTender(), "");
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], Msg("TIP_INV"));

  Type("07");  // a slot without a button
  EXPECT_EQ(Messages().size(), 2u);

  NextKey(kEscape);  // tender selection waits for the amount; the operator goes back
  Type("01");
  EXPECT_EQ(parts().grid.ChosenTender(), "001");
  EXPECT_EQ(pump_.Remaining(), 0u);
  EXPECT_EQ(parts().keyboard.TypedButtonNumber(), "");

  // A tender the consumer's sale type disables cannot be reached by its number either.
  par().stIDPERCOMVENCPDC = "N";
  sale().stIdTpVendaCons = "3";
  BuildGrid();
  parts().grid.CtrlBotoes("D", 1);
  parts().grid.EnabledBotoes(true);
  ASSERT_FALSE(ctl("tcbBalcao03").enabled);
  Type("03");
  EXPECT_EQ(parts().grid.ChosenTender(), "001") << "the consumer-debit tender was not chosen";
  EXPECT_EQ(Messages().size(), 3u);
}

TEST_F(Keyboard, LettersAToFPressTheVisibleGroupButtons) {
  AddGroup("01", "Um");
  AddGroup("02", "Dois");
  AddTender("004", "3", "02", "1", "01", "Cheque");
  BuildGrid();
  Type("b");
  EXPECT_EQ(parts().grid.Group(), "02");
  EXPECT_EQ(ctl("tcbBalcao01").caption, "Cheque");
  Type("F");  // no such group
  EXPECT_EQ(parts().grid.Group(), "02");
  Type("A");
  EXPECT_EQ(parts().grid.Group(), "01");
}

TEST_F(Keyboard, TypingAnAmountKeepsTwoDecimalsAndOneSeparator) {
  WaitForAmount(screen::isDinheiro1);
  Type("12.345");
  EXPECT_EQ(ctl("lblInputReceb2").caption, "12,34") << "'.' becomes the decimal comma; third decimal ignored";
  Type(",7");
  EXPECT_EQ(ctl("lblInputReceb2").caption, "12,34");

  ctl("lblInputReceb2").caption = "";
  Type(",5");
  EXPECT_EQ(ctl("lblInputReceb2").caption, "0,5");

  // The proposed amount is replaced by the first character typed.
  ctl("lblInputReceb2").caption = "57,30";
  parts().keyboard.SetReplaceOnNextChar(true);
  Type("9");
  EXPECT_EQ(ctl("lblInputReceb2").caption, "9");
  Type("1");
  EXPECT_EQ(ctl("lblInputReceb2").caption, "91") << "only the first character replaces it";
  ctl("lblInputReceb2").caption = "9";

  // Without the keypad, or with its digits off, nothing is appended.
  parts().keyboard.KeybEnabled(false);
  Type("1");
  EXPECT_EQ(ctl("lblInputReceb2").caption, "9");
  parts().keyboard.KeybEnabled(true);
  ctl("panKeyboard").visible = false;
  Type("1");
  EXPECT_EQ(ctl("lblInputReceb2").caption, "9");

  // While change is shown the value cannot be typed over.
  ctl("panKeyboard").visible = true;
  sale().tpInputStep = screen::isTroco;
  Type("1");
  EXPECT_EQ(ctl("lblInputReceb2").caption, "9");
}

TEST_F(Keyboard, TypingFollowsTheConfiguredDecimalSeparator) {
  runtime::ScopedNumberLocale english(runtime::EnglishNumberLocale());
  WaitForAmount(screen::isDinheiro1);
  Type("3,25");
  EXPECT_EQ(ctl("lblInputReceb2").caption, "3.25");
  KeyDown(kEnter);
  EXPECT_DOUBLE_EQ(parts().keyboard.TakenAmount(), 3.25);
}

TEST_F(Keyboard, BackspaceAndDeleteEditTheValueExceptWhileChangeIsShown) {
  WaitForAmount(screen::isDinheiro1, "12,3€");
  KeyDown(kBackspace);
  EXPECT_EQ(ctl("lblInputReceb2").caption, "12,3") << "a whole character goes";
  KeyDown(kDelete);
  EXPECT_EQ(ctl("lblInputReceb2").caption, "");

  ctl("lblInputReceb2").caption = "5,00";
  sale().tpInputStep = screen::isTroco;
  KeyDown(kBackspace);
  KeyDown(kDelete);
  EXPECT_EQ(ctl("lblInputReceb2").caption, "5,00");

  sale().tpInputStep = screen::isDinheiro1;
  ctl("sbtCorrigir").enabled = false;
  KeyDown(kBackspace);
  EXPECT_EQ(ctl("lblInputReceb2").caption, "5,00") << "correction key off";

  // With a POS keyboard, Delete belongs to it.
  config_.display.keyboard_present = true;
  RebuildHost();
  ctl("sbtCorrigir").enabled = true;
  KeyDown(kDelete);
  EXPECT_EQ(ctl("lblInputReceb2").caption, "5,00");
}

TEST_F(Keyboard, EnterAcceptsUpTo999999_99AndRefusesMore) {
  WaitForAmount(screen::isDinheiro1);
  Type("999999,99");
  KeyDown(kEnter);
  EXPECT_TRUE(Messages().empty());
  EXPECT_DOUBLE_EQ(parts().keyboard.TakenAmount(), 999999.99);
  EXPECT_EQ(sale().tpInputStep, screen::isNone);

  // Already-paid plus typed must stay within the limit, to the cent.
  WaitForAmount(screen::isDinheiro1, "0,01");
  sale().doVrPago = 999999.98;
  KeyDown(kEnter);
  EXPECT_TRUE(Messages().empty());
  sale().doVrPago = 0;

  WaitForAmount(screen::isDinheiro1, "999999,991");
  KeyDown(kEnter);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], Msg("Lim_Pag"));
  EXPECT_EQ(sale().tpInputStep, screen::isDinheiro1) << "the step does not move on";
  EXPECT_TRUE(parts().grid.Selecting()) << "back to the tender grid";
  EXPECT_FALSE(ctl("panKeyboard").visible);
  EXPECT_EQ(ctl("lblInputReceb2").caption, "") << "an abandoned key does not redraw the value";

  WaitForAmount(screen::isDinheiro1, "2,00");
  sale().doVrPago = 999999.00;
  KeyDown(kEnter);
  EXPECT_EQ(Messages().size(), 2u);
}

TEST_F(Keyboard, EnterMovesTheInputStepOnOrRefusesAnEmptyValue) {
  WaitForAmount(screen::isMoeda1, "10");
  KeyDown(kEnter);
  EXPECT_EQ(sale().tpInputStep, screen::isMoeda2);
  WaitForAmount(screen::isConvenio1, "1");
  KeyDown(kEnter);
  EXPECT_EQ(sale().tpInputStep, screen::isConvenio2);
  ctl("panKeyboard").visible = false;
  ctl("lblInputReceb2").caption = "3";
  sale().tpInputStep = screen::isNone;
  KeyDown(kEnter);
  EXPECT_EQ(sale().tpInputStep, screen::isTroco);

  // Nothing typed while the keypad waits: refused.
  WaitForAmount(screen::isDinheiro1, "");
  KeyDown(kEnter);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], Msg("Dig_Val"));
  EXPECT_EQ(sale().tpInputStep, screen::isDinheiro1);
  EXPECT_TRUE(parts().grid.Selecting());

  // The tip input takes Enter without a value.
  WaitForAmount(screen::isTicket1, "");
  parts().keyboard.SetTipEntry(true);
  KeyDown(kEnter);
  EXPECT_EQ(sale().tpInputStep, screen::isNone);
  EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(Keyboard, EnterConfirmsWhenTheConfirmationIsOpen) {
  int confirmations = 0;
  ctl("spbOk").on_click = [&] { ++confirmations; };
  ctl("spbOk").enabled = true;
  ctl("panKeyboard").visible = false;
  ctl("lblInputReceb2").caption = "";
  sale().stTipoTela = "S";
  KeyDown(kEnter);
  EXPECT_EQ(confirmations, 1);
  ctl("spbOk").enabled = false;
  KeyDown(kEnter);
  EXPECT_EQ(confirmations, 1);
  ctl("spbOk").enabled = true;
  ctl("panFundoConfirma").enabled = false;
  KeyDown(kEnter);
  EXPECT_EQ(confirmations, 1);

  // The sale summary waiting for an answer takes Enter as yes.
  ctl("panDadosVenda").visible = true;
  KeyDown(kEnter);
  EXPECT_FALSE(ctl("panDadosVenda").visible);
  EXPECT_EQ(ctl("panDadosVenda").tag, 1);
}

TEST_F(Keyboard, EnterCharacterWithAValueOpensThePaymentsMode) {
  AddTender("001", "4", "01", "1", "01", "Dinheiro");
  BuildGrid();
  WaitForAmount(screen::isDinheiro1, "5");
  parts().keyboard.KeyPress(U'\r');
  EXPECT_TRUE(ctl("tcbBalcao01").visible && ctl("tcbBalcao01").enabled);
  EXPECT_FALSE(ctl("panKeyboard").visible);
}

TEST_F(Keyboard, AltCombinationsActOnlyWithAltAlone) {
  int searches = 0, discounts = 0;
  ctl("spbCNPJCPF").on_click = [&] { ++searches; };
  ctl("spbDesconto").on_click = [&] { ++discounts; };
  KeyDown('C', true, true, false);
  KeyDown('C', false, true, true);
  EXPECT_EQ(searches, 0);
  KeyDown('C', false, true, false);
  EXPECT_EQ(searches, 1);
  sale().stIdTipoVenda = "B";
  KeyDown('C', false, true, false);
  EXPECT_EQ(searches, 1) << "counter sales identify the consumer elsewhere";

  EXPECT_EQ(KeyDown(kF4, false, true, false), 0) << "Alt+F4 swallowed";
  EXPECT_FALSE(Closed());
  EXPECT_EQ(KeyDown(kF4), kF4);
  EXPECT_EQ(KeyDown(kF4, true, true, false), kF4);

  // Letter keys act whatever the shift state, when their button is enabled.
  KeyDown('O', true, false, true);
  EXPECT_EQ(discounts, 1);
  ctl("spbDesconto").enabled = false;
  KeyDown('O');
  EXPECT_EQ(discounts, 1);
}

TEST_F(Keyboard, F1OpensTheFiscalReportsOutsideCounterSales) {
  pos::DialogAnswer cancelled;
  cancelled.cancelled = true;
  config_.dialog_defaults["RelFiscais"] = cancelled;
  RebuildHost();
  KeyDown(kF1);
  EXPECT_EQ(sim_->Record().CountOf("RelFiscais"), 1u);
  sale().stIdTipoVenda = "B";
  KeyDown(kF1);
  EXPECT_EQ(sim_->Record().CountOf("RelFiscais"), 1u);
}

TEST_F(Keyboard, EscapeWithTheKeypadOnlyReturnsToTheGrid) {
  AddTender("001", "4", "01", "1", "01", "Dinheiro");
  BuildGrid();
  WaitForAmount(screen::isDinheiro1, "10");
  KeyDown(kEscape);
  EXPECT_FALSE(Closed());
  EXPECT_FALSE(ctl("panKeyboard").visible);
  EXPECT_TRUE(parts().grid.Selecting());
  EXPECT_TRUE(ctl("tcbBalcao01").visible);

  // Nor does it close anything while an operation is under way.
  sale().boOperacaoEmCurso = true;
  KeyDown(kEscape);
  EXPECT_FALSE(Closed());
}

TEST_F(Keyboard, PostTextDeliversBeforeItReturns) {
  WaitForAmount(screen::isDinheiro1);
  parts().keyboard.PostText("42,5", true, true);
  EXPECT_DOUBLE_EQ(parts().keyboard.TakenAmount(), 42.5);
  EXPECT_EQ(sale().tpInputStep, screen::isNone);

  WaitForAmount(screen::isDinheiro1, "42");
  parts().keyboard.PostText(std::string(1, '\b'), false, false);
  EXPECT_EQ(ctl("lblInputReceb2").caption, "4");
}

}  // namespace
}  // namespace recebimento::testing
