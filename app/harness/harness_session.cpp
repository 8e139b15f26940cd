#include "harness_session.h"

#include "datamodule/connection_config.h"
#include "screen/frame/frm_recebimento.h"

namespace recebimento::harness {

void ConfigureStore(const StoreSettings& store) {
  datamodule::SetHostFolder(store.host_dir);
  datamodule::SetStringConexZem(store.db);
  if (store.db_wait_ms >= 0) datamodule::SetStoreLockWaitMs(store.db_wait_ms);
}

HarnessSession::HarnessSession(pos::HostServices services, const StoreSettings& store) {
  services.host_dir = store.host_dir;
  services.db_connection = store.db;
  ConfigureStore(store);
  pos::InstallHostServices(services);
}

HarnessSession::~HarnessSession() {
  screen::SetScreenClosedObserver(nullptr);
  package::SetReservedNumbersObserver(nullptr);
  pos::UninstallHostServices();
}

void HarnessSession::OnScreenClosed(std::function<void(const screen::TfrmRecebimento&)> observer) {
  screen::SetScreenClosedObserver(std::move(observer));
}

void HarnessSession::OnReservedNumbers(package::ReservedNumbersObserver observer) {
  package::SetReservedNumbersObserver(std::move(observer));
}

}  // namespace recebimento::harness
