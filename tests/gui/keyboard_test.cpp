// The physical keyboard: Windows key codes and characters reach the screen before any
// control; dialogs keep their own keys; Alt+F4 does not close the window.
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "gui_test_support.h"
#include "key_codes.h"
#include "keypad_dialogs.h"
#include "qt_event_pump.h"
#include "screen_view.h"
#include "screen_window.h"

namespace recebimento::gui {
namespace {

using testing::RecordingScreen;

ScreenKey KeyOf(int qt_key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
  QKeyEvent e(QEvent::KeyPress, qt_key, mods, text);
  return ScreenKeyOf(e);
}

TEST(VirtualKeys, TheCodesTheScreenTestsForAndTheCharactersKeysType) {
  EXPECT_EQ(KeyOf(Qt::Key_Return, Qt::NoModifier, "\r").code, 13);
  EXPECT_EQ(KeyOf(Qt::Key_Return, Qt::NoModifier, "\r").ch, U'\r');
  EXPECT_EQ(KeyOf(Qt::Key_Enter, Qt::KeypadModifier, "\r").code, 13) << "the keypad's Enter is Enter";
  EXPECT_EQ(KeyOf(Qt::Key_Escape, Qt::NoModifier, "\x1b").ch, 27U);
  EXPECT_EQ(KeyOf(Qt::Key_Backspace, Qt::NoModifier, "\b").ch, 8U);
  const ScreenKey del = KeyOf(Qt::Key_Delete, Qt::NoModifier, "\x7f");
  EXPECT_EQ(del.code, 46);
  EXPECT_EQ(del.ch, 0U) << "Delete types nothing";
  EXPECT_EQ(KeyOf(Qt::Key_F1).code, 112);
  EXPECT_EQ(KeyOf(Qt::Key_F4).code, 115);
  const ScreenKey v = KeyOf(Qt::Key_V, Qt::NoModifier, "v");
  EXPECT_EQ(v.code, 86);
  EXPECT_EQ(v.ch, U'v');
  EXPECT_EQ(KeyOf(Qt::Key_5, Qt::KeypadModifier, "5").code, 0x65) << "keypad digits have their own codes";
  EXPECT_EQ(KeyOf(Qt::Key_5, Qt::KeypadModifier, "5").ch, U'5');
  EXPECT_EQ(KeyOf(Qt::Key_Comma, Qt::KeypadModifier, ",").code, 0x6E);
  EXPECT_EQ(KeyOf(Qt::Key_Comma, Qt::NoModifier, ",").code, 188);
  EXPECT_EQ(KeyOf(Qt::Key_Ccedilla, Qt::NoModifier, QStringLiteral("ç")).ch, U'ç');

  const ScreenKey alt_c = KeyOf(Qt::Key_C, Qt::AltModifier, "c");
  EXPECT_EQ(alt_c.code, 67);
  EXPECT_TRUE(alt_c.alt);
  EXPECT_EQ(alt_c.ch, 0U) << "Alt makes a command, not a character";
  const ScreenKey shift_alt_c = KeyOf(Qt::Key_C, Qt::AltModifier | Qt::ShiftModifier, "C");
  EXPECT_TRUE(shift_alt_c.shift && shift_alt_c.alt);
  EXPECT_EQ(KeyOf(Qt::Key_C, Qt::ControlModifier, "\x03").ch, 0U);
}

class ScreenKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screen.controls.Add("tcbBalcao01", "button", "DINHEIRO", 10, 10, 80, 52).on_click = [this] { ++clicks; };
    window.resize(800, 600);
    window.show();
    view.Sync();
    QApplication::setActiveWindow(&window);
  }
  RecordingScreen screen;
  base::RealClock clock;
  QtEventPump pump{clock};
  ScreenView* view_ptr = new ScreenView(screen, &pump);
  ScreenView& view = *view_ptr;
  ScreenWindow window{view_ptr};
  int clicks = 0;
};

TEST_F(ScreenKeysTest, KeysReachTheScreenBeforeAnyControlEvenOneWithTheFocus) {
  // Space or Enter on a focused button would press it; the screen takes them first.
  QWidget* button = view.WidgetFor("tcbBalcao01");
  button->setFocusPolicy(Qt::StrongFocus);
  button->setFocus();
  QTest::keyClick(button, Qt::Key_Space);
  QTest::keyClick(button, Qt::Key_Return);
  QTest::keyClick(&window, Qt::Key_5);
  EXPECT_EQ(clicks, 0);
  ASSERT_EQ(screen.keys.size(), 3u);
  EXPECT_EQ(screen.keys[0].code, 32);
  EXPECT_EQ(screen.keys[1].code, 13);
  EXPECT_EQ(screen.keys[2].code, '5');
  EXPECT_EQ(screen.chars, U" \r5");
}

TEST_F(ScreenKeysTest, AltF4GoesToTheScreenAndDoesNotCloseTheWindow) {
  QTest::keyClick(&window, Qt::Key_F4, Qt::AltModifier);
  ASSERT_FALSE(screen.keys.empty());
  EXPECT_EQ(screen.keys.back().code, 115);
  EXPECT_TRUE(screen.keys.back().alt);
  EXPECT_TRUE(screen.chars.empty());
  EXPECT_FALSE(window.close());
  EXPECT_TRUE(window.isVisible());
}

TEST_F(ScreenKeysTest, NoCharacterFollowsAKeyThatClosedTheScreenNorAnyKeyAfter) {
  screen.on_key = [this](int key) {
    if (key == 27) screen.accepting = false;
  };
  QTest::keyClick(&window, Qt::Key_Escape);
  QTest::keyClick(&window, Qt::Key_1);
  EXPECT_EQ(screen.keys.size(), 1u);
  EXPECT_TRUE(screen.chars.empty());
}

TEST_F(ScreenKeysTest, ADialogOverTheScreenKeepsItsKeys) {
  std::string typed;
  testing::WhenDialogOpens([](QWidget& dialog) {
    QTest::keyClicks(dialog.focusWidget() ? dialog.focusWidget() : &dialog, "42");
    QTest::keyClick(dialog.focusWidget() ? dialog.focusWidget() : &dialog, Qt::Key_Return);
  });
  ASSERT_TRUE(AskNumber({"Quantidade", "", "", 0}, typed, &window));
  EXPECT_EQ(typed, "42");
  EXPECT_TRUE(screen.keys.empty());
}

}  // namespace
}  // namespace recebimento::gui
