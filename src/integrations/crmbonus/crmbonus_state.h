#pragma once
// The CRM Bonus state of a sale: the balance found for the consumer's phone, the bonus
// order it belongs to, whether the consumer took it as a discount, and what the sale
// report sent.
#include <string>

namespace recebimento::integrations {

struct CrmBonusState {
  std::string stIdOrdemCRMBONUS;
  std::string stIdOrdemCRMBONUSCaptura;
  std::string stLinkQRCodeCRMBONUS;
  bool boPagouCRMBONUS = false;

  std::string stSaldoCRMBONUS;   // balance text of the last balance query
  double doSaldoCRMBONUS = 0;    // that balance as a number
  double doValorCRMBONUS = 0;    // the sale total when the request was made
  double doValorDesc = 0;        // discount reported as bonus used
  std::string stDtCRMBonus;      // time stamp of the report, yyyymmddhhnn
  std::string stNrNfceCRMBonus;  // sale code reported to the programme
  std::string stOrderIdCRM;      // the programme's order of the bonus processing
  bool balance_asked = false;    // a balance query succeeded in this sale

  // Back to a sale without CRM Bonus.
  void inicializaVarCRMBONUS();
};

}  // namespace recebimento::integrations
