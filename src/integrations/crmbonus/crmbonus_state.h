#pragma once
// The CRM Bonus state of a sale: the bonus order created and its capture, and the QR
// code offered to the consumer.
#include <string>

namespace recebimento::integrations {

struct CrmBonusState {
  std::string stIdOrdemCRMBONUS;
  std::string stIdOrdemCRMBONUSCaptura;
  std::string stLinkQRCodeCRMBONUS;
  bool boPagouCRMBONUS = false;

  // Back to a sale without CRM Bonus.
  void inicializaVarCRMBONUS();
};

}  // namespace recebimento::integrations
