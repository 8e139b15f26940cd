// Operator actions played on the window, also when an action makes the screen wait again.
#include <QTimer>

#include "gui_test_support.h"
#include "qt_event_pump.h"
#include "script_player.h"

namespace recebimento::gui {
namespace {

TEST(ScriptPlayer, AnActionThatWaitsAgainGetsTheNextActionInsideItsWait) {
  base::RealClock clock;
  QtEventPump pump(clock);
  bool amount_typed = false, screen_closed = false;
  std::vector<std::function<void()>> actions = {
      // The tender press waits for the amount on the keypad.
      [&] { pump.RunUntil([&] { return amount_typed; }, "amount on the keypad"); },
      [&] { amount_typed = true; },
      [&] { screen_closed = true; },
  };
  size_t next = 0;
  ScriptPlayer player(
      pump, [&] { return next < actions.size(); }, [&] { actions[next++](); }, [] { return true; });
  // A player that cannot reach the nested wait would leave it hanging: give up instead.
  QTimer::singleShot(5000, [&] { pump.Abort("the actions did not reach the nested wait"); });
  EXPECT_NO_THROW(pump.RunUntil([&] { return screen_closed; }, "payment screen"));
  EXPECT_EQ(next, 3u);
}

TEST(ScriptPlayer, RunningOutWhileTheScreenWaitsEndsTheWaitInsteadOfHanging) {
  base::RealClock clock;
  QtEventPump pump(clock);
  int played = 0;
  ScriptPlayer player(
      pump, [&] { return played < 1; }, [&] { ++played; }, [] { return true; });
  EXPECT_THROW(pump.RunUntil([] { return false; }, "payment screen"), WaitAborted);
  EXPECT_EQ(played, 1);
}

}  // namespace
}  // namespace recebimento::gui
