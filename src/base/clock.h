#pragma once
// Every wait, sleep and "now" of the system goes through a Clock, so tests and scripted
// runs can use virtual time (sleeps advance it at once).
#include <cstdint>
#include <memory>

#include "base/datetime.h"

namespace recebimento::base {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime Now() const = 0;
  virtual void Sleep(int64_t milliseconds) = 0;
  // Milliseconds on a steady counter, for measuring waits.
  virtual int64_t TickMs() const = 0;
};

class RealClock final : public Clock {
 public:
  DateTime Now() const override;
  void Sleep(int64_t milliseconds) override;
  int64_t TickMs() const override;
};

class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(DateTime start);
  DateTime Now() const override { return now_; }
  void Sleep(int64_t milliseconds) override { Advance(milliseconds); }
  int64_t TickMs() const override { return tick_; }
  void Advance(int64_t milliseconds);  // std::out_of_range past the last date
  void Set(DateTime now) { now_ = now; }

 private:
  DateTime now_;
  int64_t tick_ = 0;
};

}  // namespace recebimento::base
