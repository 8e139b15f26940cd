#pragma once
// The fiscal receipt and what the confirmation asks of the fiscal side before it: the
// drawer's state and the service and delivery fee items.
#include <string>

#include "screen/frame/screen_scope.h"

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

 private:
  ScreenScope& s_;
};

}  // namespace recebimento::screen
