#pragma once
// The clock and event pump the whole system waits through. The host (GUI, CLI, tests)
// installs its own; until then a real clock with a real pump serves.
#include <cstdint>

#include "base/clock.h"
#include "base/event_pump.h"

namespace recebimento::runtime {

// Installs `pump` (not owned; it must outlive its use). nullptr restores the default.
void SetEventPump(base::EventPump* pump);
base::EventPump& GetEventPump();
// The installed pump's clock.
base::Clock& GetClock();

// Waits `milliseconds` on the installed clock while processing pending messages (timers
// keep firing). Scripted operator actions are not consumed: this is not an operator wait.
void Delay(int64_t milliseconds);
// The same on `pump` and its clock.
void Delay(base::EventPump& pump, int64_t milliseconds);

}  // namespace recebimento::runtime
