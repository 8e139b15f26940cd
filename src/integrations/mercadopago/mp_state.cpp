#include "integrations/mercadopago/mp_state.h"

namespace recebimento::integrations {

void MercadoPagoState::DropFirstPaymentId() {
  const size_t comma = stPAYMENTID.find(',');
  stPAYMENTID = comma == std::string::npos ? "" : stPAYMENTID.substr(comma + 1);
}

}  // namespace recebimento::integrations
