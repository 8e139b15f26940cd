#include "host/runtime/current_pump.h"

#include <gtest/gtest.h>

#include "base/timer.h"

namespace recebimento::runtime {
namespace {

class DelayOnScriptedPumpTest : public ::testing::Test {
 protected:
  DelayOnScriptedPumpTest() { SetEventPump(&pump); }
  ~DelayOnScriptedPumpTest() override { SetEventPump(nullptr); }
  base::VirtualClock clock{base::DateTime::FromYMD(2026, 12, 6, 12, 0, 0)};
  base::ScriptedEventPump pump{clock};
};

TEST_F(DelayOnScriptedPumpTest, DelayPassesVirtualTimeFiresTimersAndLeavesOperatorActionsAlone) {
  int fired = 0;
  base::Timer counter(pump, 1000, [&] { ++fired; });
  counter.SetEnabled(true);
  pump.Push([] {}, "click spbOk");

  Delay(3500);
  EXPECT_EQ(clock.TickMs(), 3500);
  EXPECT_EQ(clock.Now(), base::DateTime::FromYMD(2026, 12, 6, 12, 0, 3, 500));
  EXPECT_EQ(fired, 3);
  EXPECT_EQ(pump.Remaining(), 1u);
  EXPECT_EQ(&GetClock(), &clock);

  Delay(0);
  Delay(-10);
  EXPECT_EQ(clock.TickMs(), 3500);
}

}  // namespace
}  // namespace recebimento::runtime
