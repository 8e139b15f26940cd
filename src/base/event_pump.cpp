#include "base/event_pump.h"

#include <algorithm>
#include <vector>

#include "base/timer.h"

namespace recebimento::base {

EventPump::~EventPump() {
  for (Timer* t : timers_) t->DetachFromPump();
}

void EventPump::AddTimer(Timer* t) {
  if (t != nullptr && !HasTimer(t)) timers_.push_back(t);
}

void EventPump::RemoveTimer(Timer* t) { timers_.erase(std::remove(timers_.begin(), timers_.end(), t), timers_.end()); }

bool EventPump::HasTimer(const Timer* t) const { return std::find(timers_.begin(), timers_.end(), t) != timers_.end(); }

void EventPump::FireDueTimers() {
  if (timers_.empty()) return;
  const int64_t now = GetClock().TickMs();
  // A callback may create or destroy timers; work on a copy and skip the ones gone.
  const std::vector<Timer*> snapshot(timers_.begin(), timers_.end());
  for (Timer* t : snapshot) {
    if (HasTimer(t)) t->Poll(now);
  }
}

void RealEventPump::ProcessMessages() { FireDueTimers(); }

void RealEventPump::RunUntil(const std::function<bool()>& done, const std::string& /*what*/) {
  constexpr int64_t kIdleSliceMs = 10;
  for (;;) {
    ProcessMessages();
    if (done()) return;
    clock_.Sleep(kIdleSliceMs);
  }
}

void ScriptedEventPump::Push(Action action, std::string description) {
  actions_.push_back(Pending{std::move(action), std::move(description)});
}

void ScriptedEventPump::PushWait(int64_t milliseconds) {
  Push([this, milliseconds] { AdvanceTime(milliseconds); }, "wait " + std::to_string(milliseconds) + " ms");
}

void ScriptedEventPump::AdvanceTime(int64_t milliseconds) {
  const int64_t target = clock_.TickMs() + std::max<int64_t>(milliseconds, 0);
  FireDueTimers();
  for (;;) {
    // Next tick at which some timer fires. Timers still due now are busy in their own
    // callback (this wait runs inside it) and are left alone, or the loop would not end.
    const int64_t now = clock_.TickMs();
    int64_t next = target + 1;
    for (const Timer* t : timers_) {
      if (t->Enabled() && t->Interval() > 0 && t->NextDue() > now && t->NextDue() < next) next = t->NextDue();
    }
    if (next > target) break;
    clock_.Advance(next - now);
    FireDueTimers();
  }
  clock_.Advance(target - clock_.TickMs());
  FireDueTimers();
}

void ScriptedEventPump::ProcessMessages() { FireDueTimers(); }

void ScriptedEventPump::RunUntil(const std::function<bool()>& done, const std::string& what) {
  for (;;) {
    ProcessMessages();
    if (done()) return;
    if (actions_.empty() && source_) {
      if (source_()) continue;
    }
    if (actions_.empty()) {
      std::string message = "the script ran out while the " + what + " waits for the operator";
      if (!last_delivered_.empty()) message += " (last action: " + last_delivered_ + ")";
      throw ScriptExhausted(message);
    }
    // Taken off the queue before it runs: the action may open a dialog that waits in turn.
    Pending next = std::move(actions_.front());
    actions_.pop_front();
    last_delivered_ = next.description;
    next.action();
  }
}

}  // namespace recebimento::base
