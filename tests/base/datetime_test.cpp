#include "base/datetime.h"
#include "base/variant.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

namespace recebimento::base {
namespace {

TEST(DateTimeTest, DayNumbersFollowTheOldBaseDate) {
  EXPECT_EQ(DateTime().DayNumber(), 0);
  EXPECT_EQ(DateTime().IsoDate(), "1899-12-30");
  EXPECT_DOUBLE_EQ(DateTime::FromYMD(1900, 1, 1).DayNumber(), 2);
  EXPECT_DOUBLE_EQ(DateTime::FromYMD(2026, 12, 6, 18).DayNumber(), 46362.75);
  EXPECT_EQ(DateTime::FromDayNumber(46362.75), DateTime::FromYMD(2026, 12, 6, 18));
  // Before the base date the fraction still counts forward from midnight.
  EXPECT_EQ(DateTime::FromDayNumber(-1.25), DateTime::FromYMD(1899, 12, 29, 6));
  EXPECT_DOUBLE_EQ(DateTime::FromYMD(1899, 12, 29, 6).DayNumber(), -1.25);
  const DateTime odd = DateTime::FromYMD(2026, 2, 28, 23, 59, 59, 999);
  EXPECT_EQ(DateTime::FromDayNumber(odd.DayNumber()), odd);
}

TEST(DateTimeTest, CalendarFieldsAcrossLeapYearsAndEpochs) {
  const DateTime leap = DateTime::FromYMD(2024, 2, 29, 13, 14, 15, 16);
  EXPECT_EQ(leap.Year(), 2024);
  EXPECT_EQ(leap.Month(), 2);
  EXPECT_EQ(leap.Day(), 29);
  EXPECT_EQ(leap.Hour(), 13);
  EXPECT_EQ(leap.Minute(), 14);
  EXPECT_EQ(leap.Second(), 15);
  EXPECT_EQ(leap.Millisecond(), 16);
  EXPECT_EQ(leap.AddDays(1).IsoDate(), "2024-03-01");
  EXPECT_EQ(leap.Date().IsoDateTime(), "2024-02-29T00:00:00");
  const DateTime old = DateTime::FromYMD(1850, 7, 4, 1, 2, 3);
  EXPECT_EQ(old.Hour(), 1);
  EXPECT_EQ(old.IsoDateTime(), "1850-07-04T01:02:03");
  EXPECT_EQ(DateTime::FromYMD(2026, 12, 6).DayOfWeek(), 1);  // a Sunday
  EXPECT_EQ(DateTime::FromYMD(1899, 12, 30).DayOfWeek(), 7);
  EXPECT_EQ(DateTime::FromMilliseconds(0).IsoDate(), "1970-01-01");
}

TEST(DateTimeTest, ParsesEveryAcceptedForm) {
  const DateTime noon = DateTime::FromYMD(2026, 12, 6, 12);
  EXPECT_EQ(DateTime::Parse("2026-12-06"), DateTime::FromYMD(2026, 12, 6));
  EXPECT_EQ(DateTime::Parse("2026-12-06T12:00:00"), noon);
  EXPECT_EQ(DateTime::Parse("2026-12-06 12:00:00.123"), noon.AddMilliseconds(123));
  EXPECT_EQ(DateTime::Parse("20261206"), DateTime::FromYMD(2026, 12, 6));
  EXPECT_EQ(DateTime::Parse("20261206T12:00:00456"), noon.AddMilliseconds(456));
  EXPECT_EQ(DateTime::Parse("06/12/2026 12:00"), noon);
  EXPECT_EQ(DateTime::Parse(" 2026-12-06 "), DateTime::FromYMD(2026, 12, 6));
}

TEST(DateTimeTest, RejectsTextsThatAreNotDates) {
  for (const char* bad : {"", "2026-13-01", "2026-02-30", "2026-12-06T25:00:00", "2026-12-06T12:60", "2026-12-06X",
                          "abc", "2026/12/06", "20261206T12"}) {
    EXPECT_FALSE(DateTime::Parse(bad).has_value()) << bad;
  }
}

TEST(DateTimeTest, FormatsWithTheHostPatternLetters) {
  const DateTime t = DateTime::FromYMD(2026, 1, 5, 7, 8, 9, 45);
  EXPECT_EQ(t.Format("dd/mm/yyyy"), "05/01/2026");
  EXPECT_EQ(t.Format("yyyymmdd"), "20260105");
  EXPECT_EQ(t.Format("hhnnss"), "070809");
  EXPECT_EQ(t.Format("YYYYMMDD hh:nn:ss.zzz"), "20260105 07:08:09.045");
  EXPECT_EQ(t.Format("dd/mm/yy 'as' hh"), "05/01/26 as 07");
  EXPECT_EQ(t.IsoDateTime(), "2026-01-05T07:08:09.045");
}

// Day numbers come from files and hosts: only the dates of the years 1 to 9999 are dates.
TEST(DateTimeTest, DayNumbersOutsideTheCalendarAreRefused) {
  EXPECT_EQ(DateTime::FromDayNumber(-693593).IsoDate(), "0001-01-01");
  EXPECT_EQ(DateTime::FromDayNumber(2958465.99).IsoDate(), "9999-12-31");
  for (double bad : {1e15, -1e15, 2958466.0, -693594.0, std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN()})
    EXPECT_THROW(DateTime::FromDayNumber(bad), std::out_of_range) << bad;
  EXPECT_THROW(Variant(1e15).AsDateTime(), VariantError) << "a conversion failure like any other";
  EXPECT_THROW(DateTime::FromYMD(2026, 12, 6).AddMilliseconds(INT64_MAX), std::out_of_range);
  EXPECT_THROW(DateTime::FromYMD(2026, 12, 6).AddMilliseconds(INT64_MIN), std::out_of_range);
}

}  // namespace
}  // namespace recebimento::base
