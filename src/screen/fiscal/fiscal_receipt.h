#pragma once
// The fiscal receipt and what the confirmation asks of the fiscal side before it: the
// drawer's state and the service and delivery fee items.
#include <string>

#include "screen/frame/screen_scope.h"
#include "screen/payment/payment_lines.h"

namespace recebimento::screen {

class FiscalReceipt {
 public:
  explicit FiscalReceipt(ScreenScope& s) : s_(s) {}

  // The fiscal receipt; false when it could not be printed (the sale is not done).
  bool ImprimeCupom();
  // The drawer before a fiscal sale.
  bool VerificaEstadoGaveta(const std::string& tipo);
  // The service-fee item and the delivery-fee item.
  void CriaItemTaxaServ();
  void CriaItemTaxaEntr();
  // The MF-e payment of a card tender checked with the validator (state "CE" with SAT);
  // the payment's MF-e data go into `payment`. False aborts the tender.
  bool FuncoesVFPe(CardData& payment);

 private:
  ScreenScope& s_;
};

}  // namespace recebimento::screen
