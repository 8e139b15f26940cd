#include "integrations/ame/ame_state.h"

namespace recebimento::integrations {

void AmeState::inicializaVarAME() {
  stIdOrdemAme.clear();
  stIdOrdemAmeCaptura.clear();
  stLinkQRCodeAME.clear();
  boPagouAme = false;
}

}  // namespace recebimento::integrations
