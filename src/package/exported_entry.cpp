#include "package/exported_entry.h"

#include <stdexcept>

#include "datamodule/connection_config.h"
#include "package/package_globals.h"
#include "package/recebimento.h"

namespace {

bool RunExported(recebimento::package::RecebimentoArgs* args, const recebimento::pos::HostServices* services) {
  if (!args) throw std::invalid_argument("Recebimento: no arguments were given");
  if (!services) throw std::invalid_argument("Recebimento: no host services were given");
  recebimento::pos::InstallHostServices(*services);
  if (!services->host_dir.empty()) recebimento::datamodule::SetHostFolder(services->host_dir);
  if (!services->db_connection.empty()) recebimento::datamodule::SetStringConexZem(services->db_connection);
  return recebimento::package::Recebimento(*args);
}

}  // namespace

extern "C" {

bool Recebimento(recebimento::package::RecebimentoArgs* args, const recebimento::pos::HostServices* services) {
  return RunExported(args, services);
}

// The module-qualified export: a symbol name no C identifier can spell.
__attribute__((visibility("default"))) bool RecebimentoQualified(
    recebimento::package::RecebimentoArgs* args,
    const recebimento::pos::HostServices* services) __asm__("Cli_rev00000.Recebimento");
bool RecebimentoQualified(recebimento::package::RecebimentoArgs* args, const recebimento::pos::HostServices* services) {
  return RunExported(args, services);
}

void RecebimentoClearGlobals() { recebimento::package::ClearGlobals(); }
}
