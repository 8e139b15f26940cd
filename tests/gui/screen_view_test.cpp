// The screen drawn from the controls' registry and clicks reaching the handlers.
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include "control_widgets.h"
#include "gui_test_support.h"
#include "qt_event_pump.h"
#include "screen_view.h"
#include "screen_window.h"

namespace recebimento::gui {
namespace {

using testing::RecordingScreen;

class ScreenViewTest : public ::testing::Test {
 protected:
  RecordingScreen screen;
  base::RealClock clock;
  QtEventPump pump{clock};
  ScreenView view{screen, &pump};
};

TEST(WindowsColours, ReadAsBlueGreenRedWithDefaultsAndSystemColours) {
  EXPECT_EQ(ColorOf(0x00B09090), QColor(0x90, 0x90, 0xB0));
  EXPECT_EQ(ColorOf(0x000000FF), QColor(255, 0, 0));
  EXPECT_FALSE(ColorOf(screen::Control::kDefaultColor).has_value());
  EXPECT_EQ(ColorOf(0x80000005), QColor(255, 255, 255));  // the window colour, not black
}

TEST_F(ScreenViewTest, DrawsEveryKindWithItsPlaceCaptionColoursAndLines) {
  auto& ok = screen.controls.Add("spbOk", "button", "OK", 10, 20, 80, 52);
  ok.color = 0x0000FF00;
  ok.font_color = 0x00FF0000;
  ok.font_size = 14;
  screen.controls.Add("lblValorPagar", "label", "137,39", 100, 20, 120, 30).font_color = 0x000000C0;
  screen.controls.Add("memLista", "list", "", 10, 100, 300, 200).lines = {"GARCOM  JOAO", "DINHEIRO   50,00"};
  screen.controls.Add("imgReceb", "image", "", 400, 20, 40, 40).glyph = screen::kBuiltinArrowRight;
  view.Sync();

  auto* button = qobject_cast<ControlButton*>(view.WidgetFor("spbOk"));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->geometry(), QRect(10, 20, 80, 52));
  EXPECT_EQ(button->text(), "OK");
  EXPECT_EQ(button->Background(), QColor(0, 255, 0));
  EXPECT_EQ(button->TextColor(), QColor(0, 0, 255));
  EXPECT_EQ(button->font().pixelSize(), 19);  // 14 points at 96 dpi
  auto* label = qobject_cast<QLabel*>(view.WidgetFor("lblValorPagar"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), "137,39");
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0xC0, 0, 0));
  auto* list = qobject_cast<QListWidget*>(view.WidgetFor("memLista"));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->item(1)->text(), "DINHEIRO   50,00");
  auto* image = qobject_cast<ControlImage*>(view.WidgetFor("imgReceb"));
  ASSERT_NE(image, nullptr);
  EXPECT_FALSE(image->Picture().isNull()) << "the program draws its own arrow";
}

TEST(Captions, StayReadableOnTheirColourAndAreNeverCutSilently) {
  EXPECT_EQ(ReadableOn(QColor(0, 0, 0x80), QColor(0, 0, 0)), QColor(255, 255, 255)) << "black on navy";
  EXPECT_EQ(ReadableOn(QColor(0x20, 0xA0, 0x20), QColor(0, 0, 0)), QColor(0, 0, 0));
  EXPECT_EQ(ReadableOn(QColor(0xF0, 0xF0, 0xF0), QColor(0xC0, 0, 0)), QColor(0xC0, 0, 0))
      << "a chosen colour that reads stays";

  ControlLook look;
  look.kind = "label";
  look.width = 200;
  look.height = 18;
  QLabel label;
  look.caption = "Consumação";
  ApplyLabelLook(label, look);
  EXPECT_EQ(label.text(), "Consumação") << "room enough: shown whole";
  look.width = 80;
  ApplyLabelLook(label, look);
  EXPECT_EQ(label.text(), "Consumação") << "a little short: a smaller font";
  EXPECT_LE(QFontMetrics(label.font()).horizontalAdvance(label.text()), 80);
  look.width = 30;
  ApplyLabelLook(label, look);
  EXPECT_TRUE(label.text().endsWith(QChar(0x2026))) << label.text().toStdString();
  EXPECT_EQ(label.toolTip(), "Consumação");
  look.caption = "06/12/2026 12:00:00\nTotal: 124,91";
  look.width = 384;
  look.height = 234;
  ApplyLabelLook(label, look);
  EXPECT_TRUE(label.alignment() & Qt::AlignTop) << "several lines read from the top";
}

TEST_F(ScreenViewTest, FollowsTheRegistryAsHandlersChangeIt) {
  auto& title = screen.controls.Add("lblTitulo", "label", "BALCAO", 0, 0, 800, 30);
  screen.controls.Add("lblSemLugar", "label", "ainda sem lugar");
  view.Sync();
  EXPECT_FALSE(view.WidgetFor("lblSemLugar")->isVisibleTo(&view)) << "a control without a size is not placed yet";

  title.caption = "MESA";
  title.visible = false;
  screen.controls.Add("tcbBalcao01", "button", "DINHEIRO", 400, 100, 80, 52);
  view.Sync();
  EXPECT_EQ(qobject_cast<QLabel*>(view.WidgetFor("lblTitulo"))->text(), "MESA");
  EXPECT_FALSE(view.WidgetFor("lblTitulo")->isVisibleTo(&view));
  ASSERT_NE(view.WidgetFor("tcbBalcao01"), nullptr) << "controls added later appear without GUI changes";

  screen.open = false;  // the screen was freed
  view.Sync();
  EXPECT_EQ(view.WidgetFor("tcbBalcao01"), nullptr);
  EXPECT_TRUE(view.findChild<QLabel*>("lblAguardandoVenda")->isVisibleTo(&view));
}

TEST_F(ScreenViewTest, PanelsHoldTheirControlsAndHidingOrDisablingAPanelReachesThem) {
  auto& keypad = screen.controls.Add("panKeyboard", "panel", "", 500, 300, 280, 280);
  screen.controls.Add("sbt1", "button", "1", 10, 10, 60, 60, "panKeyboard");
  // A parent chain that loops must not hang or crash the view.
  screen.controls.Add("panA", "panel", "", 0, 0, 10, 10, "panB");
  screen.controls.Add("panB", "panel", "", 0, 0, 10, 10, "panA");
  view.Sync();
  QWidget* key = view.WidgetFor("sbt1");
  EXPECT_EQ(key->parentWidget(), view.WidgetFor("panKeyboard"));
  EXPECT_EQ(key->mapTo(&view, QPoint(0, 0)), QPoint(510, 310));

  keypad.enabled = false;
  view.Sync();
  EXPECT_FALSE(key->isEnabled());
  keypad.enabled = true;
  keypad.visible = false;
  view.Sync();
  EXPECT_FALSE(key->isVisibleTo(&view));
}

TEST_F(ScreenViewTest, ClicksReachTheHandlerOnlyOnEnabledButtonsAndTheViewRepaintsAfter) {
  auto& total = screen.controls.Add("lblValorPago", "label", "0,00", 0, 0, 100, 20);
  auto& cash = screen.controls.Add("tcbBalcao01", "button", "DINHEIRO", 400, 100, 80, 52);
  int pressed = 0;
  cash.on_click = [&] {
    ++pressed;
    total.caption = "50,00";
  };
  auto& locked = screen.controls.Add("spbOk", "button", "OK", 400, 200, 80, 52);
  locked.enabled = false;
  locked.on_click = [&] { ADD_FAILURE() << "a disabled button was pressed"; };
  view.resize(800, 600);
  view.show();
  view.Sync();

  QTest::mouseClick(view.WidgetFor("tcbBalcao01"), Qt::LeftButton);
  QTest::mouseClick(view.WidgetFor("spbOk"), Qt::LeftButton);
  EXPECT_EQ(pressed, 1);
  EXPECT_EQ(qobject_cast<QLabel*>(view.WidgetFor("lblValorPago"))->text(), "50,00");
}

TEST_F(ScreenViewTest, AHandlerFailureEndsTheScreensWaitWithItsError) {
  screen.controls.Add("spbOk", "button", "OK", 0, 0, 80, 52).on_click = [] {
    throw std::runtime_error("impressora desligada");
  };
  view.show();
  view.Sync();
  QTimer::singleShot(20, [&] { QTest::mouseClick(view.WidgetFor("spbOk"), Qt::LeftButton); });
  EXPECT_THROW(
      {
        try {
          pump.RunUntil([] { return false; }, "payment screen");
        } catch (const std::runtime_error& e) {
          EXPECT_STREQ(e.what(), "impressora desligada");
          throw;
        }
      },
      std::runtime_error);
}

TEST_F(ScreenViewTest, TheWindowCannotBeClosedWhileTheSaleIsOnIt) {
  view.Sync();
  ScreenWindow window(&view);
  window.show();
  EXPECT_FALSE(window.close());
  EXPECT_TRUE(window.isVisible());
  window.SetClosable(true);
  EXPECT_TRUE(window.close());
  view.setParent(nullptr);  // the fixture owns the view
}

}  // namespace
}  // namespace recebimento::gui
