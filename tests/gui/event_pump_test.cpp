// Waits on nested Qt loops, the screen's timers on a Qt timer, failures and aborts that
// end the waits instead of leaving them hanging.
#include <QTimer>

#include "base/timer.h"
#include "gui_test_support.h"
#include "qt_event_pump.h"

namespace recebimento::gui {
namespace {

class QtEventPumpTest : public ::testing::Test {
 protected:
  base::RealClock clock;
  QtEventPump pump{clock};
};

TEST_F(QtEventPumpTest, NestedWaitsEachEndWhenTheirConditionHolds) {
  bool outer_done = false, inner_done = false;
  std::vector<std::string> order;
  QTimer::singleShot(10, [&] {
    pump.Deliver([&] {
      QTimer::singleShot(10, [&] { inner_done = true; });
      EXPECT_EQ(pump.Depth(), 1);
      pump.RunUntil([&] { return inner_done; }, "card terminal answer");
      order.push_back("inner");
      outer_done = true;
    });
  });
  pump.RunUntil([&] { return outer_done; }, "payment screen");
  order.push_back("outer");
  EXPECT_EQ(order, (std::vector<std::string>{"inner", "outer"}));
  EXPECT_EQ(pump.Depth(), 0);
}

TEST_F(QtEventPumpTest, TheScreensTimersFireOnRealTimeWhileItWaits) {
  int seconds = 0;
  base::Timer counter(pump, 100, [&] { ++seconds; });
  counter.SetEnabled(true);
  pump.RunUntil([&] { return seconds >= 2; }, "card wait");
  EXPECT_GE(seconds, 2);
  counter.SetEnabled(false);
}

TEST_F(QtEventPumpTest, AFailureInAnOperatorActionUnwindsEveryWaitToTheCaller) {
  bool inner_saw_it = false;
  QTimer::singleShot(5, [&] {
    pump.Deliver([&] {
      QTimer::singleShot(5, [&] { pump.Deliver([] { throw std::logic_error("falha no TEF"); }); });
      try {
        pump.RunUntil([] { return false; }, "card terminal answer");
      } catch (const std::logic_error&) {
        inner_saw_it = true;
        throw;
      }
    });
  });
  EXPECT_THROW(pump.RunUntil([] { return false; }, "payment screen"), std::logic_error);
  EXPECT_TRUE(inner_saw_it);
  // The failure is spent: the next wait is a fresh one.
  bool done = false;
  QTimer::singleShot(5, [&] { done = true; });
  EXPECT_NO_THROW(pump.RunUntil([&] { return done; }, "payment screen"));
}

TEST_F(QtEventPumpTest, AbortEndsAWaitThatNothingWouldEndAndNamesIt) {
  QTimer::singleShot(10, [&] { pump.Abort("the window closed"); });
  try {
    pump.RunUntil([] { return false; }, "payment screen");
    FAIL() << "the wait did not end";
  } catch (const WaitAborted& e) {
    EXPECT_NE(std::string(e.what()).find("payment screen"), std::string::npos);
  }
  EXPECT_THROW(pump.ProcessMessages(), WaitAborted);
  pump.ClearAbort();
  EXPECT_NO_THROW(pump.ProcessMessages());
}

TEST_F(QtEventPumpTest, ProcessingMessagesInsideAHandlerIsNotAWaitForTheOperator) {
  std::vector<bool> seen;
  QTimer::singleShot(5, [&] {
    pump.Deliver([&] {
      seen.push_back(pump.Waiting());
      QTimer::singleShot(0, [&] { seen.push_back(pump.Waiting()); });
      for (int i = 0; i < 5; ++i) pump.ProcessMessages();
    });
  });
  QTimer::singleShot(30, [&] { seen.push_back(pump.Waiting()); });
  bool done = false;
  QTimer::singleShot(60, [&] { done = true; });
  pump.RunUntil([&] { return done; }, "payment screen");
  EXPECT_EQ(seen, (std::vector<bool>{false, false, true}));
}

}  // namespace
}  // namespace recebimento::gui
