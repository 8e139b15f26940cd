#pragma once
// Delivery and mobile orders that arrive already paid from a consumer's personal credit:
// checked by the entry before the screen shows like a consumer-account tender, recorded
// as the sale's payment and confirmed without the operator. A refused check leaves the
// sale open on the screen with its message.
#include <string>

#include "base/dataset.h"
#include "screen/frame/screen_scope.h"

namespace recebimento::screen {

class RemoteOrders {
 public:
  explicit RemoteOrders(ScreenScope& s) : s_(s) {}

  // The payment of a mobile order and of a delivery order (the latter also needs an
  // active consumer). Each does nothing unless the host's payments hold one.
  void CheckMobileOrder();
  void CheckDeliveryOrder();
  // The order's check recorded the change as a voucher ("CONTRA-VALE"): the fiscal
  // receipt prints it so. The orders paid from a consumer's credit carry no change, so
  // never.
  bool ChangeGivenAsVoucher() const { return false; }

 private:
  void CheckRemoteOrder(bool delivery);
  // Positions the host's payments on the remote payment (tender kind "9").
  bool LocateRemotePayment(base::Dataset& movi);
  // The items of more than one balance family: a personal credit cannot pay them.
  bool ItemsOfOneFamily();
  // A refused remote payment is no payment of the sale: its movement and its list lines go.
  void DropRemotePayment(base::Dataset& movi, base::Dataset::Bookmark remote);
  // Turns the host's remote movement into the sale's payment line.
  void RecordPayment(base::Dataset& movi, double amount);
  // The tender of `code` from the host's tender catalogue ("tiporece.cds"), or from the
  // screen's tender table when the catalogue lacks it; false when neither has it.
  bool LocateTender(const std::string& code, base::Dataset*& tender);
  void ShowPromptOnPosKeyboard();
  void ShowOnCustomerDisplay(const std::string& first, const std::string& second);

  ScreenScope& s_;
  base::Dataset cdsTipoRece{"cdsTipoRece"};
};

}  // namespace recebimento::screen
