#pragma once
// "Process pending window messages" and modal waits. The GUI pumps its event loop; tests
// and scripted runs deliver the next scripted operator action each time the screen waits.
#include <cstdint>
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>

#include "base/clock.h"

namespace recebimento::base {

class Timer;

// Raised when a scripted run has no action left while the screen waits for one.
class ScriptExhausted : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class EventPump {
 public:
  EventPump() = default;
  EventPump(const EventPump&) = delete;
  EventPump& operator=(const EventPump&) = delete;
  virtual ~EventPump();
  // Handles what is pending (fires due timers) and returns at once.
  virtual void ProcessMessages() = 0;
  // Runs until `done` holds; `what` names the wait for error messages ("payment screen",
  // "card terminal answer"). A scripted pump raises ScriptExhausted when no action is
  // left and `done` still does not hold.
  virtual void RunUntil(const std::function<bool()>& done, const std::string& what) = 0;
  virtual Clock& GetClock() = 0;

  // Timers register themselves with the pump that drives them.
  void AddTimer(Timer* t);
  void RemoveTimer(Timer* t);
  bool HasTimer(const Timer* t) const;

 protected:
  // Polls every registered timer against the clock; timers added or removed by a
  // callback are respected.
  void FireDueTimers();
  std::deque<Timer*> timers_;
};

// Real pump without a GUI: sleeps briefly between checks and fires timers on real time.
class RealEventPump : public EventPump {
 public:
  explicit RealEventPump(Clock& clock) : clock_(clock) {}
  void ProcessMessages() override;
  void RunUntil(const std::function<bool()>& done, const std::string& what) override;
  Clock& GetClock() override { return clock_; }

 private:
  Clock& clock_;
};

// Scripted pump: each action is a callable that performs one operator action (a click,
// a key, a wait). Actions run only when the screen waits (RunUntil), one per turn, until
// the condition holds. Delivering an action advances nothing by itself; a "wait" action
// advances the virtual clock and fires due timers.
class ScriptedEventPump : public EventPump {
 public:
  using Action = std::function<void()>;
  explicit ScriptedEventPump(VirtualClock& clock) : clock_(clock) {}
  void Push(Action action, std::string description);
  // Where actions come from once the queue is empty: performs the next one and returns
  // true, or returns false when there is none left (a script read line by line).
  void SetActionSource(std::function<bool()> source) { source_ = std::move(source); }
  // An action that lets `milliseconds` of virtual time pass, firing timers in due order.
  void PushWait(int64_t milliseconds);
  // Advances the virtual clock by `milliseconds`, stopping at each timer's due tick so
  // callbacks see the time at which they fire.
  void AdvanceTime(int64_t milliseconds);
  size_t Remaining() const { return actions_.size(); }
  // Description of the action delivered last ("" before the first).
  const std::string& LastDelivered() const { return last_delivered_; }
  void ProcessMessages() override;
  void RunUntil(const std::function<bool()>& done, const std::string& what) override;
  Clock& GetClock() override { return clock_; }
  VirtualClock& Virtual() { return clock_; }

 private:
  struct Pending {
    Action action;
    std::string description;
  };
  VirtualClock& clock_;
  std::deque<Pending> actions_;
  std::function<bool()> source_;
  std::string last_delivered_;
};

}  // namespace recebimento::base
