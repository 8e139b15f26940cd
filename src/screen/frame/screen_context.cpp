#include "screen/frame/screen_context.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace recebimento::screen {

namespace {

const pos::HostServices& Complete(const pos::HostServices& host) {
  if (const char* missing = host.Missing())
    throw std::invalid_argument(std::string("host services: '") + missing + "' is not set");
  return host;
}

}  // namespace

ScreenContext::ScreenContext(const pos::HostServices& host, datamodule::TrdmRecebimento& rdm, pos::HostPaths paths)
    : host(Complete(host)),
      rdm(rdm),
      pump(*host.pump),
      clock(host.pump->GetClock()),
      paths(std::move(paths)),
      integration{clock, this->paths},
      log(integration) {}

}  // namespace recebimento::screen
