#pragma once
// What a call that died half way (killed, power lost) leaves behind, found at the start
// of the register's next call: temporary files of interrupted writes, removed, and
// numbers the register reserved for a sale that was never recorded, reported to the
// screen's trace and to the observer below so they can be voided.
#include <functional>

#include "base/data_packet.h"

namespace recebimento::screen {
struct ParametrosZem;
struct ScreenContext;
}  // namespace recebimento::screen

namespace recebimento::package {

// Receives the packet of numbers still reserved (CDCONTADOR, NRRESERVADO, DTRESERVA) at
// each call's start, also when it is empty. Null: no observer.
using ReservedNumbersObserver = std::function<void(const base::DataPacket& numbers)>;
void SetReservedNumbersObserver(ReservedNumbersObserver observer);

// Removes the temporary files of interrupted writes under the folder the host named, the
// first time the process's host names that folder.
void RemoveInterruptedWrites(const screen::ScreenContext& ctx);
// Reports the numbers the register of `par` (branch and register, as the screen loaded
// them) still has reserved.
void ReportNumbersStillReserved(const screen::ScreenContext& ctx, const screen::ParametrosZem& par);

}  // namespace recebimento::package
