#include "base/clock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>

namespace recebimento::base {
namespace {

TEST(VirtualClockTest, SleepAdvancesTimeAndTicksTogetherAndNeverBackwards) {
  VirtualClock clock(DateTime::FromYMD(2026, 12, 31, 23, 59, 59, 500));
  clock.Sleep(700);
  EXPECT_EQ(clock.Now(), DateTime::FromYMD(2027, 1, 1, 0, 0, 0, 200));
  EXPECT_EQ(clock.TickMs(), 700);

  clock.Advance(-5000);
  clock.Sleep(0);
  EXPECT_EQ(clock.TickMs(), 700);
  EXPECT_EQ(clock.Now(), DateTime::FromYMD(2027, 1, 1, 0, 0, 0, 200));

  // Setting the date (a scripted run's --clock) leaves the tick counter alone.
  clock.Set(DateTime::FromYMD(2026, 6, 1));
  EXPECT_EQ(clock.Now(), DateTime::FromYMD(2026, 6, 1));
  EXPECT_EQ(clock.TickMs(), 700);
}

TEST(VirtualClockTest, AnAdvancePastTheLastDateIsRefusedAndChangesNothing) {
  VirtualClock clock(DateTime::FromYMD(2026, 12, 6));
  EXPECT_THROW(clock.Advance(INT64_MAX), std::out_of_range);
  EXPECT_EQ(clock.Now(), DateTime::FromYMD(2026, 12, 6));
  EXPECT_EQ(clock.TickMs(), 0);
}

TEST(RealClockTest, NowIsACurrentLocalDateAndTicksDoNotGoBack) {
  RealClock clock;
  const DateTime now = clock.Now();
  EXPECT_GE(now.Year(), 2024);
  const int64_t before = clock.TickMs();
  clock.Sleep(2);
  EXPECT_GE(clock.TickMs(), before + 2);
  clock.Sleep(-1);  // a negative wait returns at once
}

}  // namespace
}  // namespace recebimento::base
