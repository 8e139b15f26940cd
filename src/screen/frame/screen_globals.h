#pragma once
// The globals the package exports: the screen, the data module and the screen's results.
// They live for the life of the package; the entry creates and frees the screen and the
// data module behind the first two on every call, and publishes the results into the rest
// when the screen closes. The screen's own code never reads them: its parts get what they
// need through the screen's context.
#include <string>

#include "base/variant.h"

namespace recebimento::datamodule {
class TrdmRecebimento;
}

namespace recebimento::screen {

class TfrmRecebimento;

extern TfrmRecebimento* frmRecebimento;
extern datamodule::TrdmRecebimento* rdmRecebimento;
extern base::Variant oleRetorno;      // results of host services
extern base::Variant oleRetImposto;   // approximate taxes of the receipt
extern base::Variant oleProdCestNcm;  // CEST and NCM of a product
extern std::string stOBSFINVEN;       // the sale's closing observation
extern std::string NRCNPJLOJA;
extern std::string stCNPJFil;
extern double doAcrItem;  // item surcharges of the sale
extern double doValorDesc;
extern double doSaldoRest;

// Frees the screen and the data module and sets both globals to nil. Never throws.
void FreeScreenAndDataModule() noexcept;
// The module's finalisation: every global above and the input-step tables cleared.
void ClearScreenGlobals() noexcept;

}  // namespace recebimento::screen
