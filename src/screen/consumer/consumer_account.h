#pragma once
// The consumer of the sale and their accounts: the balance shown at the start, the checks
// a tender must pass for the consumer, and what the confirmation records for them.
#include <string>

#include "base/datetime.h"
#include "screen/frame/screen_scope.h"
#include "screen/payment/payment_lines.h"

namespace recebimento::screen {

class ConsumerAccount {
 public:
  explicit ConsumerAccount(ScreenScope& s) : s_(s) {}

  // The consumer-account lookup of the start: the consumer's record and, for an account
  // with balance control, the balance after the pending debits, on lblSaldoCons.
  void ShowAccountBalance();
  // Spending and balance of a consumer account; leaves the balance in Balance().
  void MostraSaldoCons(const std::string& kind, const std::string& client, const std::string& consumer,
                       const std::string& family);
  double Balance() const { return balance_; }
  // The consumer's debit floor (VRLIMDEBCONS) as the store gave it, as text.
  const std::string& DebitLimit() const { return debit_floor_; }
  // The consumer the operator chose through the consumer search; empty when none was.
  std::string SearchedConsumer() const;

  // The amount of a consumer-account tender of kind "9" (personal credit) or "A" (debit)
  // after the account's checks; false when the selection ended without a line.
  bool AccountTender(const std::string& kind, TenderPayment& tender, double& amount);
  // The restricted-products check of the consumer for a tender.
  bool Vd_TipoConsReceb(const std::string& cdTipoRece);
  // The basic subsidy of a consumer-debit sale.
  void VerifVrSubsBasico();
  // Tickets of a check-in sale.
  void Vd_Ingresso();
  // The consumer record written at the confirmation.
  void WriteConsumerRecord();
  // The consumer document the entry hands back for the receipt.
  void TakeReceiptConsumer();

 private:
  // Books the consumer's pending debits since `since` in the store.
  void BookPendingDebits(const base::DateTime& since);

  ScreenScope& s_;
  double balance_ = 0;
  std::string balance_control_;  // IDVERSALDCON of the consumer: "S" when the balance is controlled
  std::string debit_floor_;      // VRLIMDEBCONS of the consumer as the store gives it
};

}  // namespace recebimento::screen
