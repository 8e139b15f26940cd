#include "base/clock.h"

#include <chrono>
#include <ctime>
#include <stdexcept>
#include <thread>

namespace recebimento::base {

DateTime RealClock::Now() const {
  const auto now = std::chrono::system_clock::now();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
  const std::time_t secs = static_cast<std::time_t>(ms / 1000);
  std::tm local{};
  localtime_r(&secs, &local);
  // The registers work in the store's local time.
  return DateTime::FromYMD(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                           local.tm_sec > 59 ? 59 : local.tm_sec, static_cast<int>(ms % 1000));
}

void RealClock::Sleep(int64_t milliseconds) {
  if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

int64_t RealClock::TickMs() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

VirtualClock::VirtualClock(DateTime start) : now_(start) {}

void VirtualClock::Advance(int64_t milliseconds) {
  // Time never runs backwards: timers and elapsed-time checks rely on it.
  if (milliseconds <= 0) return;
  int64_t tick = 0;
  if (__builtin_add_overflow(tick_, milliseconds, &tick))
    throw std::out_of_range("virtual clock advanced out of range");
  now_ = now_.AddMilliseconds(milliseconds);  // out_of_range past the last date
  tick_ = tick;
}

}  // namespace recebimento::base
