#include "integrations/crmbonus/crmbonus_state.h"

namespace recebimento::integrations {

void CrmBonusState::inicializaVarCRMBONUS() {
  stIdOrdemCRMBONUS.clear();
  stIdOrdemCRMBONUSCaptura.clear();
  stLinkQRCodeCRMBONUS.clear();
  boPagouCRMBONUS = false;
}

}  // namespace recebimento::integrations
