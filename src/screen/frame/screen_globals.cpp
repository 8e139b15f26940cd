#include "screen/frame/screen_globals.h"

#include "datamodule/trdm_recebimento.h"
#include "screen/frame/frm_recebimento.h"
#include "screen/frame/input_steps.h"

namespace recebimento::screen {

TfrmRecebimento* frmRecebimento = nullptr;
datamodule::TrdmRecebimento* rdmRecebimento = nullptr;
base::Variant oleRetorno;
base::Variant oleRetImposto;
base::Variant oleProdCestNcm;
std::string stOBSFINVEN;
std::string NRCNPJLOJA;
std::string stCNPJFil;
double doAcrItem = 0;
double doValorDesc = 0;
double doSaldoRest = 0;

// The input-step tables are defined here with the other globals, so that the module's
// load and finalisation below run after they exist and before they are destroyed.
std::array<std::string, kInputStepCount> MsgInputStep;
std::array<std::string, kInputStepCount> TeclMsgInputStep;
std::array<std::string, kTipoTeclCount> arLabels;
std::array<std::string, kTipoTeclCount> arValLabels;

namespace {
struct ModuleLifetime {
  ModuleLifetime() { InitInputStepTables(); }
  ~ModuleLifetime() { ClearScreenGlobals(); }
} module_lifetime;
}  // namespace

void FreeScreenAndDataModule() noexcept {
  // Each is cleared before it is freed, so a destructor that fails halfway never leaves
  // a dangling global for the next call.
  datamodule::TrdmRecebimento* rdm = rdmRecebimento;
  rdmRecebimento = nullptr;
  TfrmRecebimento* frm = frmRecebimento;
  frmRecebimento = nullptr;
  try {
    delete rdm;
  } catch (...) {
  }
  try {
    delete frm;
  } catch (...) {
  }
}

void ClearScreenGlobals() noexcept {
  FreeScreenAndDataModule();
  oleRetorno = base::Variant();
  oleRetImposto = base::Variant();
  oleProdCestNcm = base::Variant();
  stOBSFINVEN.clear();
  NRCNPJLOJA.clear();
  stCNPJFil.clear();
  doAcrItem = doValorDesc = doSaldoRest = 0;
  ClearInputStepTables();
}

}  // namespace recebimento::screen
