#pragma once
// The entry as the loadable package exports it, for hosts that load librecebimento with
// dlopen: it installs the host's services (and its folder and store connection, when
// given) in the package, then runs Recebimento. The host is C++ built with the same
// toolchain: an exception raised by the call reaches it as a C++ exception, after the
// screen and the data module have been freed.
#include "host/pos/host_services.h"
#include "package/recebimento_args.h"

extern "C" {

using RecebimentoEntry = bool (*)(recebimento::package::RecebimentoArgs* args,
                                  const recebimento::pos::HostServices* services);

// Exported under the plain name "Recebimento" and the module-qualified name
// "Cli_rev00000.Recebimento".
__attribute__((visibility("default"))) bool Recebimento(recebimento::package::RecebimentoArgs* args,
                                                        const recebimento::pos::HostServices* services);

// Frees whatever a call left behind and clears the exported globals; the library also
// does this itself when it unloads.
__attribute__((visibility("default"))) void RecebimentoClearGlobals();
}
