#pragma once
// What an integration client needs from outside: the clock its waits, dates and logs use,
// the host's folders (log files live under its data folder) and the HTTP transport, which
// tests point at fake services.
#include "base/clock.h"
#include "host/pos/host_paths.h"
#include "host/runtime/http_transport.h"

namespace recebimento::integrations {

using HttpTransport = runtime::HttpTransport;

struct IntegrationContext {
  base::Clock& clock;
  pos::HostPaths paths;
  HttpTransport transport = runtime::PerformHttpRequest;
};

}  // namespace recebimento::integrations
