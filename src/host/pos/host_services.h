#pragma once
// The host's services as one structure. The host installs it once before it calls
// Recebimento; every service must be set (the simulators fill any gap).
#include <string>

#include "base/event_pump.h"
#include "host/pos/access_control.h"
#include "host/pos/card_terminal.h"
#include "host/pos/cash_drawer.h"
#include "host/pos/consumer_services.h"
#include "host/pos/displays.h"
#include "host/pos/fiscal_printer.h"
#include "host/pos/fiscal_services.h"
#include "host/pos/host_dialogs.h"
#include "host/pos/loyalty_services.h"
#include "host/runtime/messages.h"

namespace recebimento::pos {

struct HostServices {
  FiscalPrinter* printer = nullptr;
  CashDrawer* drawer = nullptr;
  CustomerDisplay* display = nullptr;
  PosKeyboard* keyboard = nullptr;
  IntegratedTef* tef = nullptr;
  DedicatedTef* tef_dedicated = nullptr;
  HostDialogs* dialogs = nullptr;
  runtime::MessageDialogs* messages = nullptr;
  AccessControl* access = nullptr;
  ConsumerServices* consumers = nullptr;
  FiscalServices* fiscal = nullptr;
  LoyaltyServices* loyalty = nullptr;
  // The host's event loop: modal waits and "process pending messages" run through it.
  base::EventPump* pump = nullptr;

  // Where the host lives: its program folder (PARAMETROSZEM.CDS, Dados/...) and, when
  // it names one, the store database connection. Empty texts keep the current settings.
  std::string host_dir;
  std::string db_connection;
  // The CHART card software's exchange folders (requests out, answers in); empty texts
  // give folders under the host folder.
  std::string card_request_dir;
  std::string card_answer_dir;

  // The first service not set, or nullptr when all are.
  const char* Missing() const;
};

// Installs the services (std::invalid_argument naming the first one missing), and with
// them the runtime's event pump and message dialogs. The structure is copied; the
// objects it points to stay the host's.
void InstallHostServices(const HostServices& services);
void UninstallHostServices();
bool HostServicesInstalled();
// The installed services; std::logic_error when none were installed.
const HostServices& Host();

}  // namespace recebimento::pos
