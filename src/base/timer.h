#pragma once
// A periodic timer (timCount, timClubPetro) driven by an EventPump on its clock.
#include <cstdint>
#include <functional>

namespace recebimento::base {

class EventPump;

class Timer {
 public:
  Timer(EventPump& pump, int64_t interval_ms, std::function<void()> on_timer);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  void SetEnabled(bool on);  // enabling restarts the interval
  bool Enabled() const { return enabled_; }
  void SetInterval(int64_t ms);
  int64_t Interval() const { return interval_ms_; }

  // Called by the pump: fires once per elapsed interval up to `now_tick_ms`.
  void Poll(int64_t now_tick_ms);

 private:
  EventPump& pump_;
  int64_t interval_ms_;
  std::function<void()> on_timer_;
  bool enabled_ = false;
  int64_t next_due_ = 0;
};

}  // namespace recebimento::base
