#pragma once
// The package's entry: hands a sale that is ready to be paid to the payment screen and
// returns whether it was completed. The host services must be installed first
// (pos::InstallHostServices). Any exception is passed on to the caller, after the screen
// and the data module have been freed; output arguments not yet written keep their values.
#include "package/recebimento_args.h"

namespace recebimento::package {

bool Recebimento(RecebimentoArgs& args);

}  // namespace recebimento::package
