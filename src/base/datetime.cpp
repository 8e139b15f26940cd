#include "base/datetime.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

namespace recebimento::base {

namespace {

constexpr int64_t kMsPerDay = 86400000LL;
// Days from 1970-01-01 to 1899-12-30.
constexpr int64_t kDayNumberEpoch = -25569;
// Day numbers of 0001-01-01 and 9999-12-31.
constexpr double kFirstDayNumber = -693593;
constexpr double kLastDayNumber = 2958465;

// Civil calendar <-> days since 1970-01-01 (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

struct Civil {
  int64_t year;
  unsigned month;
  unsigned day;
};

Civil CivilFromDays(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t y = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {y + (m <= 2), m, d};
}

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

bool ValidDate(int y, int m, int d) {
  return y >= 1 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m);
}

bool ValidTime(int h, int n, int s, int z) {
  return h >= 0 && h <= 23 && n >= 0 && n <= 59 && s >= 0 && s <= 59 && z >= 0 && z <= 999;
}

// A small cursor over the text being parsed.
class Scanner {
 public:
  explicit Scanner(std::string_view t) : t_(t) {}
  bool Done() const { return p_ == t_.size(); }
  bool Take(char c) {
    if (p_ < t_.size() && t_[p_] == c) {
      ++p_;
      return true;
    }
    return false;
  }
  bool TakeAny(std::string_view set) {
    if (p_ < t_.size() && set.find(t_[p_]) != std::string_view::npos) {
      ++p_;
      return true;
    }
    return false;
  }
  // Exactly `n` digits.
  bool Digits(int n, int& out) {
    if (p_ + n > t_.size()) return false;
    int v = 0;
    for (int i = 0; i < n; ++i) {
      const char c = t_[p_ + i];
      if (!std::isdigit(static_cast<unsigned char>(c))) return false;
      v = v * 10 + (c - '0');
    }
    p_ += n;
    out = v;
    return true;
  }
  // One to `max` digits.
  bool SomeDigits(int max, int& out) {
    int n = 0;
    while (n < max && p_ + n < t_.size() && std::isdigit(static_cast<unsigned char>(t_[p_ + n]))) ++n;
    return n > 0 && Digits(n, out);
  }
  // Fraction of a second given as digits after "." (or the packet form's bare three digits).
  bool Millis(int& out) {
    int n = 0;
    int v = 0;
    while (p_ < t_.size() && std::isdigit(static_cast<unsigned char>(t_[p_]))) {
      if (n < 3) v = v * 10 + (t_[p_] - '0');
      ++n;
      ++p_;
    }
    if (n == 0) return false;
    for (int i = n; i < 3; ++i) v *= 10;
    out = v;
    return true;
  }

 private:
  std::string_view t_;
  size_t p_ = 0;
};

std::string Trimmed(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

// Time part after the date: "hh:nn[:ss[.zzz]]" or the packet form "hh:nn:sszzz".
bool ParseTime(Scanner& sc, int& h, int& n, int& s, int& z) {
  if (!sc.SomeDigits(2, h) || !sc.Take(':') || !sc.Digits(2, n)) return false;
  if (sc.Take(':')) {
    if (!sc.Digits(2, s)) return false;
    if (sc.TakeAny(".,")) {
      if (!sc.Millis(z)) return false;
    } else if (!sc.Done()) {
      if (!sc.Millis(z)) return false;
    }
  }
  return sc.Done();
}

}  // namespace

DateTime DateTime::FromYMD(int year, int month, int day, int hour, int minute, int second, int millisecond) {
  const int64_t days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
  return DateTime(days * kMsPerDay + hour * 3600000LL + minute * 60000LL + second * 1000LL + millisecond);
}

DateTime DateTime::FromMilliseconds(int64_t ms_since_1970) { return DateTime(ms_since_1970); }

DateTime DateTime::FromDayNumber(double days) {
  // A day number from a file or a host is only a date between the years 1 and 9999;
  // anything else (1e15, infinity, NaN) would overflow the millisecond count.
  if (!(days >= kFirstDayNumber && days < kLastDayNumber + 1)) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", days);
    throw std::out_of_range(std::string("day number ") + text + " is not a date between 0001-01-01 and 9999-12-31");
  }
  // Older host code keeps the time of day as a positive fraction even for days before
  // the base date (-1.25 is 1899-12-29 06:00).
  const double whole = std::trunc(days);
  const double fraction = std::fabs(days - whole);
  const int64_t day_ms = static_cast<int64_t>(std::llround(fraction * kMsPerDay));
  return DateTime((static_cast<int64_t>(whole) + kDayNumberEpoch) * kMsPerDay + day_ms);
}

double DateTime::DayNumber() const {
  const int64_t day = FloorDiv(ms_, kMsPerDay);
  const int64_t in_day = ms_ - day * kMsPerDay;
  const double whole = static_cast<double>(day - kDayNumberEpoch);
  const double fraction = static_cast<double>(in_day) / kMsPerDay;
  return whole < 0 ? whole - fraction : whole + fraction;
}

std::optional<DateTime> DateTime::Parse(const std::string& raw) {
  const std::string text = Trimmed(raw);
  if (text.empty()) return std::nullopt;
  Scanner sc(text);
  int y = 0, m = 0, d = 0, h = 0, n = 0, s = 0, z = 0;
  bool date_ok = false;
  if (text.size() >= 5 && text[2] == '/') {
    // Brazilian form: dd/mm/yyyy
    date_ok = sc.SomeDigits(2, d) && sc.Take('/') && sc.SomeDigits(2, m) && sc.Take('/') && sc.Digits(4, y);
  } else if (text.size() >= 5 && text[4] == '-') {
    date_ok = sc.Digits(4, y) && sc.Take('-') && sc.Digits(2, m) && sc.Take('-') && sc.Digits(2, d);
  } else {
    date_ok = sc.Digits(4, y) && sc.Digits(2, m) && sc.Digits(2, d);
  }
  if (!date_ok || !ValidDate(y, m, d)) return std::nullopt;
  if (!sc.Done()) {
    if (!sc.TakeAny("T ")) return std::nullopt;
    if (!ParseTime(sc, h, n, s, z) || !ValidTime(h, n, s, z)) return std::nullopt;
  }
  return FromYMD(y, m, d, h, n, s, z);
}

int DateTime::Year() const { return static_cast<int>(CivilFromDays(FloorDiv(ms_, kMsPerDay)).year); }
int DateTime::Month() const { return static_cast<int>(CivilFromDays(FloorDiv(ms_, kMsPerDay)).month); }
int DateTime::Day() const { return static_cast<int>(CivilFromDays(FloorDiv(ms_, kMsPerDay)).day); }
int DateTime::Hour() const { return static_cast<int>((ms_ - FloorDiv(ms_, kMsPerDay) * kMsPerDay) / 3600000); }
int DateTime::Minute() const { return static_cast<int>((ms_ - FloorDiv(ms_, kMsPerDay) * kMsPerDay) / 60000 % 60); }
int DateTime::Second() const { return static_cast<int>((ms_ - FloorDiv(ms_, kMsPerDay) * kMsPerDay) / 1000 % 60); }
int DateTime::Millisecond() const { return static_cast<int>((ms_ - FloorDiv(ms_, kMsPerDay) * kMsPerDay) % 1000); }

int DateTime::DayOfWeek() const {
  // 1970-01-01 was a Thursday (5 when Sunday is 1).
  const int64_t day = FloorDiv(ms_, kMsPerDay);
  return static_cast<int>(((day + 4) % 7 + 7) % 7) + 1;
}

DateTime DateTime::Date() const { return DateTime(FloorDiv(ms_, kMsPerDay) * kMsPerDay); }
DateTime DateTime::AddDays(int days) const { return AddMilliseconds(days * kMsPerDay); }
DateTime DateTime::AddMilliseconds(int64_t ms) const {
  // Dates stay within the years 1 to 9999, as day numbers do.
  constexpr int64_t kFirstMs = (static_cast<int64_t>(kFirstDayNumber) + kDayNumberEpoch) * kMsPerDay;
  constexpr int64_t kEndMs = (static_cast<int64_t>(kLastDayNumber) + 1 + kDayNumberEpoch) * kMsPerDay;
  int64_t sum = 0;
  if (__builtin_add_overflow(ms_, ms, &sum) || sum < kFirstMs || sum >= kEndMs)
    throw std::out_of_range("date and time past the years 1 to 9999");
  return DateTime(sum);
}

std::string DateTime::IsoDate() const { return Format("yyyy-mm-dd"); }

std::string DateTime::IsoDateTime() const {
  return Millisecond() == 0 ? Format("yyyy-mm-ddThh:nn:ss") : Format("yyyy-mm-ddThh:nn:ss.zzz");
}

std::string DateTime::Format(const std::string& pattern) const {
  const Civil c = CivilFromDays(FloorDiv(ms_, kMsPerDay));
  std::string out;
  char buf[16];
  auto put = [&](const char* fmt, long long v) {
    std::snprintf(buf, sizeof buf, fmt, v);
    out += buf;
  };
  auto at = [&](size_t i, const char* token) {
    for (size_t k = 0; token[k]; ++k) {
      if (i + k >= pattern.size() || std::tolower(static_cast<unsigned char>(pattern[i + k])) != token[k]) return false;
    }
    return true;
  };
  for (size_t i = 0; i < pattern.size();) {
    const char ch = pattern[i];
    if (ch == '"' || ch == '\'') {  // quoted literal text
      const size_t end = pattern.find(ch, i + 1);
      const size_t stop = end == std::string::npos ? pattern.size() : end;
      out.append(pattern, i + 1, stop - i - 1);
      i = stop == pattern.size() ? stop : stop + 1;
    } else if (at(i, "yyyy")) {
      put("%04lld", static_cast<long long>(c.year));
      i += 4;
    } else if (at(i, "yy")) {
      put("%02lld", static_cast<long long>(((c.year % 100) + 100) % 100));
      i += 2;
    } else if (at(i, "mm")) {
      put("%02lld", c.month);
      i += 2;
    } else if (at(i, "dd")) {
      put("%02lld", c.day);
      i += 2;
    } else if (at(i, "hh")) {
      put("%02lld", Hour());
      i += 2;
    } else if (at(i, "nn")) {
      put("%02lld", Minute());
      i += 2;
    } else if (at(i, "ss")) {
      put("%02lld", Second());
      i += 2;
    } else if (at(i, "zzz")) {
      put("%03lld", Millisecond());
      i += 3;
    } else {
      out += ch;
      ++i;
    }
  }
  return out;
}

}  // namespace recebimento::base
