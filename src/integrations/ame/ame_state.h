#pragma once
// The AME wallet's state for one sale: the order created, the payment the consumer made
// against it, and what the callback service and the capture reported.
#include <string>

namespace recebimento::integrations {

struct AmeState {
  std::string stIdOrdemAme;         // the payment order created for this sale
  std::string stLinkQRCodeAME;      // its QR-code link, backslashes removed
  std::string stIdOrdemAmeCaptura;  // the payment made against it: captured or cancelled by this id
  std::string stIdStatusOrdAME;     // the payment's status, from the callback service
  std::string stIdTypeOrdAME;       // the payment's type, from the callback service
  std::string stStatusCapturaAME;   // the status the capture returned
  bool boPagouAme = false;          // an AME payment line exists in this sale
  bool boBuscaCallBackAME = false;  // still waiting for the authorisation
  double doValorAME = 0;            // the amount of the AME payment

  // The journal entry that follows this order until it is captured or cancelled.
  std::string journal_entry;

  // Back to idle: no order, no link, no payment.
  void inicializaVarAME();
};

}  // namespace recebimento::integrations
