#include "host/runtime/current_pump.h"

#include <algorithm>

namespace recebimento::runtime {

namespace {

base::EventPump* g_pump = nullptr;

base::EventPump& DefaultPump() {
  static base::RealClock clock;
  static base::RealEventPump pump(clock);
  return pump;
}

}  // namespace

void SetEventPump(base::EventPump* pump) { g_pump = pump; }

base::EventPump& GetEventPump() { return g_pump != nullptr ? *g_pump : DefaultPump(); }

base::Clock& GetClock() { return GetEventPump().GetClock(); }

void Delay(int64_t milliseconds) { Delay(GetEventPump(), milliseconds); }

void Delay(base::EventPump& pump, int64_t milliseconds) {
  // Short slices keep timers close to their time on a real clock; on a virtual clock
  // each slice passes at once.
  constexpr int64_t kSliceMs = 10;
  base::Clock& clock = pump.GetClock();
  const int64_t start = clock.TickMs();
  pump.ProcessMessages();
  // Counting what was slept as well ends the wait even on a clock whose ticks stand still.
  int64_t slept = 0;
  for (int64_t elapsed = 0; elapsed < milliseconds; elapsed = std::max(slept, clock.TickMs() - start)) {
    const int64_t slice = std::min(kSliceMs, milliseconds - elapsed);
    clock.Sleep(slice);
    slept += slice;
    pump.ProcessMessages();
  }
}

}  // namespace recebimento::runtime
