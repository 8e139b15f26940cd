#pragma once
// A civil date and time without a time zone, kept to the millisecond, as the store's
// registers and database see it. Convertible to the day-number form that the data
// packets and the older host code use (days since 1899-12-30, fraction = time of day).
#include <compare>
#include <cstdint>
#include <optional>
#include <string>

namespace recebimento::base {

class DateTime {
 public:
  DateTime() = default;  // 1899-12-30 00:00:00.000, day number 0
  // Expects a valid calendar date (hours, minutes, seconds and days past the month's end
  // carry over); texts from outside go through Parse, which checks them.
  static DateTime FromYMD(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                          int millisecond = 0);
  static DateTime FromMilliseconds(int64_t ms_since_1970);
  // std::out_of_range for a number that is no date of the years 1 to 9999 (or not finite).
  static DateTime FromDayNumber(double days_since_1899_12_30);
  // "2026-12-06", "2026-12-06T12:00:00", "2026-12-06 12:00:00.123", "20261206",
  // "20261206T12:00:00000" (packet form). Empty optional when the text is not a date.
  static std::optional<DateTime> Parse(const std::string& text);

  int Year() const;
  int Month() const;
  int Day() const;
  int Hour() const;
  int Minute() const;
  int Second() const;
  int Millisecond() const;
  int DayOfWeek() const;  // 1 = Sunday .. 7 = Saturday

  DateTime Date() const;  // midnight of the same day
  DateTime AddDays(int days) const;
  // Both: std::out_of_range for a result past the years 1 to 9999.
  DateTime AddMilliseconds(int64_t ms) const;
  int64_t MillisecondsSince1970() const { return ms_; }
  double DayNumber() const;

  std::string IsoDate() const;      // 2026-12-06
  std::string IsoDateTime() const;  // 2026-12-06T12:00:00 (with .mmm when not zero)
  // Pattern letters as the older host code writes them: yyyy yy mm dd hh nn ss zzz, other
  // characters kept ("dd/mm/yyyy", "yyyymmdd", "hhnnss").
  std::string Format(const std::string& pattern) const;

  auto operator<=>(const DateTime&) const = default;

 private:
  explicit DateTime(int64_t ms) : ms_(ms) {}
  int64_t ms_ = -2209161600000LL;  // 1899-12-30T00:00:00 in ms since 1970
};

}  // namespace recebimento::base
