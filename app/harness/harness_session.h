#pragma once
// The simulated host installed in the process for one sale, as a host program installs
// itself before it calls Recebimento: its services, the store it names (folder,
// connection, how long to wait for a store another writer holds), and the observers of
// the screen's close and of the numbers a register still has reserved. Everything is
// undone when the session ends, whatever way it ends.
#include <functional>
#include <string>

#include "host/pos/host_services.h"
#include "package/leftovers.h"

namespace recebimento::screen {
class TfrmRecebimento;
}

namespace recebimento::harness {

// Where the store is, as the command line or the touch screen was told.
struct StoreSettings {
  std::string host_dir;
  std::string db;       // empty: the embedded store under the host folder
  int db_wait_ms = -1;  // <0: the default wait
};

// Points the store's configuration at `store` (before the services exist, so the store
// can be checked first).
void ConfigureStore(const StoreSettings& store);

class HarnessSession {
 public:
  // Installs `services` with the host folder and connection of `store`.
  HarnessSession(pos::HostServices services, const StoreSettings& store);
  ~HarnessSession();
  HarnessSession(const HarnessSession&) = delete;
  HarnessSession& operator=(const HarnessSession&) = delete;

  void OnScreenClosed(std::function<void(const screen::TfrmRecebimento&)> observer);
  void OnReservedNumbers(package::ReservedNumbersObserver observer);
};

}  // namespace recebimento::harness
