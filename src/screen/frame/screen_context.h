#pragma once
// What the payment screen needs from outside, built once by the entry for one call and
// handed to the form and its parts: the host's services, the data module, the event pump
// and clock every wait goes through, and where the host keeps its files.
#include "base/clock.h"
#include "base/event_pump.h"
#include "datamodule/trdm_recebimento.h"
#include "host/pos/host_paths.h"
#include "host/pos/host_services.h"
#include "integrations/integration_context.h"
#include "integrations/rest/loggers.h"

namespace recebimento::screen {

struct ScreenContext {
  // `host` must have every service set; its pump (and the pump's clock) serve every wait.
  // The structure is copied; the services it points to stay the host's.
  ScreenContext(const pos::HostServices& host, datamodule::TrdmRecebimento& rdm, pos::HostPaths paths);
  ScreenContext(const ScreenContext&) = delete;
  ScreenContext& operator=(const ScreenContext&) = delete;

  const pos::HostServices host;
  datamodule::TrdmRecebimento& rdm;
  base::EventPump& pump;
  base::Clock& clock;
  const pos::HostPaths paths;
  // What the integration clients get: the same clock and folders.
  integrations::IntegrationContext integration;
  integrations::Loggers log;
};

}  // namespace recebimento::screen
