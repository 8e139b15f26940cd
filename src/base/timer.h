#pragma once
// A periodic timer (timCount, timClubPetro) driven by an EventPump on its clock.
#include <cstdint>
#include <functional>
#include <memory>

namespace recebimento::base {

class EventPump;

class Timer {
 public:
  // Created disabled; SetEnabled(true) starts it. A timer must not outlive its pump's use:
  // when the pump goes first the timer simply stops firing.
  Timer(EventPump& pump, int64_t interval_ms, std::function<void()> on_timer);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  void SetEnabled(bool on);  // enabling restarts the interval
  bool Enabled() const { return enabled_; }
  void SetInterval(int64_t ms);  // restarts the interval when enabled; <= 0 never fires
  int64_t Interval() const { return interval_ms_; }
  void SetOnTimer(std::function<void()> on_timer) { on_timer_ = std::move(on_timer); }

  // Tick (on the pump's clock) at which the timer fires next; meaningful when enabled.
  int64_t NextDue() const { return next_due_; }

  // Called by the pump: fires once per elapsed interval up to `now_tick_ms`. A callback
  // that pumps messages again does not re-enter its own timer.
  void Poll(int64_t now_tick_ms);

 private:
  friend class EventPump;
  void DetachFromPump() { pump_ = nullptr; }
  int64_t PumpTick() const;

  EventPump* pump_;
  int64_t interval_ms_;
  std::function<void()> on_timer_;
  bool enabled_ = false;
  bool in_callback_ = false;
  int64_t next_due_ = 0;
  // Lets Poll notice that the callback destroyed this timer.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace recebimento::base
