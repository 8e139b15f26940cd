#include "host/pos/host_services.h"

#include <stdexcept>
#include <string>

#include "host/runtime/current_pump.h"
#include "host/runtime/messages.h"

namespace recebimento::pos {

namespace {
HostServices g_services;
bool g_installed = false;
}  // namespace

const char* HostServices::Missing() const {
  if (!printer) return "printer";
  if (!drawer) return "drawer";
  if (!display) return "display";
  if (!keyboard) return "keyboard";
  if (!tef) return "tef";
  if (!tef_dedicated) return "tef_dedicated";
  if (!dialogs) return "dialogs";
  if (!messages) return "messages";
  if (!access) return "access";
  if (!consumers) return "consumers";
  if (!fiscal) return "fiscal";
  if (!loyalty) return "loyalty";
  if (!pump) return "pump";
  return nullptr;
}

void InstallHostServices(const HostServices& services) {
  if (const char* missing = services.Missing())
    throw std::invalid_argument(std::string("host services: '") + missing + "' is not set");
  g_services = services;
  g_installed = true;
  runtime::SetEventPump(services.pump);
  runtime::SetMessageDialogs(services.messages);
}

void UninstallHostServices() {
  g_services = HostServices{};
  g_installed = false;
  runtime::SetEventPump(nullptr);
  runtime::SetMessageDialogs(nullptr);
}

bool HostServicesInstalled() { return g_installed; }

const HostServices& Host() {
  if (!g_installed) throw std::logic_error("the host services were not installed before the call");
  return g_services;
}

}  // namespace recebimento::pos
