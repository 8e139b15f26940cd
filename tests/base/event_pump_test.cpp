#include "base/event_pump.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/timer.h"

namespace recebimento::base {
namespace {

class ScriptedPumpTest : public ::testing::Test {
 protected:
  VirtualClock clock{DateTime::FromYMD(2026, 12, 6, 12, 0, 0)};
  ScriptedEventPump pump{clock};
};

TEST_F(ScriptedPumpTest, ActionsRunOnlyInWaitsOnePerTurnUntilTheConditionHolds) {
  std::vector<std::string> done_actions;
  for (const char* name : {"a", "b", "c", "d"}) {
    pump.Push([&done_actions, name] { done_actions.push_back(name); }, name);
  }
  pump.ProcessMessages();
  EXPECT_TRUE(done_actions.empty()) << "processing messages must never consume operator actions";

  pump.RunUntil([&] { return done_actions.size() == 2; }, "payment screen");
  EXPECT_EQ(done_actions, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(pump.Remaining(), 2u);
  EXPECT_EQ(pump.LastDelivered(), "b");

  // A condition that already holds consumes nothing.
  pump.RunUntil([] { return true; }, "nothing");
  EXPECT_EQ(pump.Remaining(), 2u);
}

TEST_F(ScriptedPumpTest, AnActionThatOpensANestedWaitHandsTheNextActionToIt) {
  std::vector<std::string> log;
  bool dialog_answered = false;
  bool screen_closed = false;
  pump.Push(
      [&] {
        log.push_back("click");
        pump.RunUntil([&] { return dialog_answered; }, "question dialog");
        log.push_back("dialog closed");
      },
      "click spbOk");
  pump.Push(
      [&] {
        log.push_back("answer");
        dialog_answered = true;
      },
      "answer yes");
  pump.Push(
      [&] {
        log.push_back("escape");
        screen_closed = true;
      },
      "key Escape");

  pump.RunUntil([&] { return screen_closed; }, "payment screen");
  EXPECT_EQ(log, (std::vector<std::string>{"click", "answer", "dialog closed", "escape"}));
}

TEST_F(ScriptedPumpTest, RunningOutOfActionsNamesTheWaitAndTheLastActionInsteadOfHanging) {
  try {
    pump.RunUntil([] { return false; }, "card terminal answer");
    FAIL() << "expected ScriptExhausted";
  } catch (const ScriptExhausted& e) {
    EXPECT_NE(std::string(e.what()).find("card terminal answer"), std::string::npos) << e.what();
  }

  pump.Push([] {}, "click tcbBalcao01");
  try {
    pump.RunUntil([] { return false; }, "payment screen");
    FAIL() << "expected ScriptExhausted";
  } catch (const ScriptExhausted& e) {
    const std::string text = e.what();
    EXPECT_NE(text.find("payment screen"), std::string::npos) << text;
    EXPECT_NE(text.find("click tcbBalcao01"), std::string::npos) << text;
  }
}

TEST_F(ScriptedPumpTest, AVirtualWaitFiresASecondTimerOncePerElapsedSecondAtItsOwnTime) {
  std::vector<DateTime> fired_at;
  Timer counter(pump, 1000, [&] { fired_at.push_back(clock.Now()); });
  counter.SetEnabled(true);
  pump.PushWait(5000);
  pump.PushWait(400);
  pump.RunUntil([&] { return pump.Remaining() == 0; }, "waiting panel");

  ASSERT_EQ(fired_at.size(), 5u);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(fired_at[i], DateTime::FromYMD(2026, 12, 6, 12, 0, 1 + i));
  EXPECT_EQ(clock.TickMs(), 5400);

  // 400 ms left over plus 600 ms more makes the sixth second.
  pump.AdvanceTime(600);
  EXPECT_EQ(fired_at.size(), 6u);
}

TEST_F(ScriptedPumpTest, TwoTimersFireInDueOrderAcrossOneLongWait) {
  std::vector<std::string> order;
  Timer fast(pump, 1000, [&] { order.push_back("1s@" + std::to_string(clock.TickMs())); });
  Timer slow(pump, 1500, [&] { order.push_back("1.5s@" + std::to_string(clock.TickMs())); });
  fast.SetEnabled(true);
  slow.SetEnabled(true);
  pump.AdvanceTime(3000);
  EXPECT_EQ(order, (std::vector<std::string>{"1s@1000", "1.5s@1500", "1s@2000", "1s@3000", "1.5s@3000"}));
}

TEST_F(ScriptedPumpTest, TimersStartDisabledAndEnablingOrChangingTheIntervalRestartsIt) {
  int fired = 0;
  Timer t(pump, 1000, [&] { ++fired; });
  pump.AdvanceTime(3000);
  EXPECT_EQ(fired, 0);

  t.SetEnabled(true);  // due at 4000
  pump.AdvanceTime(700);
  t.SetInterval(1000);  // due again at 4700
  pump.AdvanceTime(999);
  EXPECT_EQ(fired, 0);
  pump.AdvanceTime(1);
  EXPECT_EQ(fired, 1);

  t.SetInterval(0);  // never fires, never loops
  pump.AdvanceTime(10000);
  EXPECT_EQ(fired, 1);
}

TEST_F(ScriptedPumpTest, DisabledOrDestroyedTimersStopEvenFromInsideTheirCallback) {
  int fired = 0;
  Timer once(pump, 1000, nullptr);
  once.SetOnTimer([&] {
    ++fired;
    once.SetEnabled(false);
  });
  once.SetEnabled(true);

  auto self_destroying = std::make_unique<Timer>(pump, 1000, nullptr);
  self_destroying->SetOnTimer([&] {
    ++fired;
    self_destroying.reset();
  });
  self_destroying->SetEnabled(true);

  auto destroyed = std::make_unique<Timer>(pump, 1000, [&] { ++fired; });
  destroyed->SetEnabled(true);
  destroyed.reset();
  pump.AdvanceTime(5000);
  EXPECT_EQ(fired, 2);
  EXPECT_EQ(self_destroying, nullptr);

  // The pump may go first: its timers stop instead of reaching into freed memory.
  auto short_lived = std::make_unique<ScriptedEventPump>(clock);
  Timer orphan(*short_lived, 1000, [&] { ++fired; });
  orphan.SetEnabled(true);
  short_lived.reset();
  orphan.Poll(1000000);
  EXPECT_EQ(fired, 2);
}

TEST_F(ScriptedPumpTest, ACallbackThatPumpsMessagesDoesNotReenterItselfButLetsOthersFire) {
  int depth = 0;
  int max_depth = 0;
  int counter_fired = 0;
  int pumping_fired = 0;
  Timer counter(pump, 1000, [&] { ++counter_fired; });
  Timer pumping(pump, 1000, [&] {
    ++pumping_fired;
    max_depth = std::max(max_depth, ++depth);
    // A long request inside the callback lets time pass while it pumps messages.
    pump.AdvanceTime(3000);
    pump.ProcessMessages();
    --depth;
  });
  pumping.SetEnabled(true);
  counter.SetEnabled(true);
  pump.AdvanceTime(1000);
  EXPECT_EQ(max_depth, 1);
  EXPECT_EQ(depth, 0);
  EXPECT_EQ(counter_fired, 4);  // at 1 s, then 2, 3 and 4 s while the other one pumps
  EXPECT_GE(pumping_fired, 1);
}

TEST_F(ScriptedPumpTest, AThrowingCallbackLeavesTheTimerUsable) {
  int fired = 0;
  Timer t(pump, 1000, [&] {
    if (++fired == 1) throw std::runtime_error("printer offline");
  });
  t.SetEnabled(true);
  EXPECT_THROW(pump.AdvanceTime(1000), std::runtime_error);
  pump.AdvanceTime(1000);
  EXPECT_EQ(fired, 2);
}

TEST(RealEventPumpTest, RunUntilFiresTimersOnRealTime) {
  RealClock clock;
  RealEventPump pump(clock);
  int fired = 0;
  Timer t(pump, 5, [&] { ++fired; });
  t.SetEnabled(true);
  pump.RunUntil([&] { return fired >= 2; }, "timer");
  EXPECT_GE(fired, 2);
}

}  // namespace
}  // namespace recebimento::base
