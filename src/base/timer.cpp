#include "base/timer.h"

#include "base/event_pump.h"

namespace recebimento::base {

Timer::Timer(EventPump& pump, int64_t interval_ms, std::function<void()> on_timer)
    : pump_(&pump), interval_ms_(interval_ms), on_timer_(std::move(on_timer)) {
  pump.AddTimer(this);
}

Timer::~Timer() {
  *alive_ = false;
  if (pump_ != nullptr) pump_->RemoveTimer(this);
}

int64_t Timer::PumpTick() const { return pump_ != nullptr ? pump_->GetClock().TickMs() : 0; }

void Timer::SetEnabled(bool on) {
  if (on && !enabled_) next_due_ = PumpTick() + interval_ms_;
  enabled_ = on;
}

void Timer::SetInterval(int64_t ms) {
  interval_ms_ = ms;
  if (enabled_) next_due_ = PumpTick() + interval_ms_;
}

void Timer::Poll(int64_t now_tick_ms) {
  if (in_callback_ || pump_ == nullptr) return;
  while (enabled_ && interval_ms_ > 0 && now_tick_ms >= next_due_) {
    next_due_ += interval_ms_;
    if (!on_timer_) continue;
    const std::shared_ptr<bool> alive = alive_;
    in_callback_ = true;
    try {
      on_timer_();
    } catch (...) {
      if (*alive) in_callback_ = false;
      throw;
    }
    // The callback may have destroyed this timer; touch nothing then.
    if (!*alive) return;
    in_callback_ = false;
    // Time spent inside the callback itself is not caught up on: a slow callback
    // would otherwise be called again at once, over and over.
    const int64_t after = PumpTick();
    if (after > now_tick_ms && next_due_ <= after) {
      next_due_ = after + interval_ms_;
      return;
    }
  }
}

}  // namespace recebimento::base
