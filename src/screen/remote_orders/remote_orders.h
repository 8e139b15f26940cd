#pragma once
// Delivery and mobile orders that arrive already paid from a consumer account: checked
// by the entry before the screen shows, which they may settle without it.
#include "screen/frame/screen_scope.h"

namespace recebimento::screen {

class RemoteOrders {
 public:
  explicit RemoteOrders(ScreenScope& s) : s_(s) {}

  // The payment of a mobile order and of a delivery order. Until their checks exist no
  // such payment is ever found.
  void CheckMobileOrder() {}
  void CheckDeliveryOrder() {}
  // The order's check recorded the change as a voucher ("CONTRA-VALE"): the fiscal
  // receipt prints it so. Never until the checks exist.
  bool ChangeGivenAsVoucher() const { return false; }

 private:
  ScreenScope& s_;
};

}  // namespace recebimento::screen
