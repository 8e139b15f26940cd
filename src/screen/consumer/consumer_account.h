#pragma once
// The consumer's accounts as the screen uses them: the debit account (charged now,
// settled later by the client company) and the personal credit held per balance family.
// Their spending and balance, the checks an amount must pass before a consumer-account
// tender takes it, the family list the sale draws from, the store's own check of those
// draws with the loans between families, and the consumer record of the confirmation.
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/dataset.h"
#include "base/datetime.h"
#include "base/variant.h"
#include "screen/frame/screen_scope.h"
#include "screen/payment/payment_lines.h"

namespace recebimento::screen {

// A consumer service (the central, the online statement) that did not answer: the text
// is the message the operator is shown.
class ConsumerAccountError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What a personal-credit payment draws from one balance family.
struct FamilyDraw {
  std::string family;
  double amount = 0;
};

class ConsumerAccount {
 public:
  explicit ConsumerAccount(ScreenScope& s);

  // The consumer-account lookup of the start: the consumer's record and, for an account
  // with balance control, the balance after the pending debits, on lblSaldoCons.
  void ShowAccountBalance();
  // Spending of the day and of the month and the balance of a consumer account: kind "1"
  // the debit account, "2" the credit of `family`. ConsumerAccountError when the central
  // or the online statement does not answer.
  void MostraSaldoCons(const std::string& kind, const std::string& client, const std::string& consumer,
                       const std::string& family);
  double Balance() const { return balance_; }
  double DaySpending() const { return day_spending_; }
  double MonthSpending() const { return month_spending_; }

  // The debit account's limits for `amount`: the shop's monthly cap of the consumer's
  // type, the daily maximum and the floor (each failure shown), then the low-balance
  // warning. False when a limit was broken; what each one leaves is kept.
  bool Valida_Parametros_Debito_Consumidor(double amount);
  // The personal credit's limits for an item of `family` (texts as the item carries
  // them; an empty extra price counts as "0"): the daily maximum and the family's floor,
  // unless an earlier family of the branch is used first, then the low-balance warning.
  bool Valida_Parametros_Credito_Pessoal(const std::string& family, const std::string& quantity,
                                         const std::string& price, const std::string& extra,
                                         const std::string& discount, const std::string& surcharge);
  // Adds `amount` to the family's row of `families` (the row, and the dataset's fields,
  // created when missing); with `add` false subtracts it and removes the row once nothing
  // is left.
  static void addFamiliaSaldo(base::Dataset& families, const std::string& family, double amount, bool add);
  static base::DateTime PrimeiroDiaMes(const base::DateTime& day);
  // The consumer's debit floor (VRLIMDEBCONS) as the store gave it, as text.
  const std::string& DebitLimit() const { return debit_floor_; }
  // The consumer the operator chose through the consumer search; empty when none was.
  std::string SearchedConsumer() const;

  // The amount of a consumer-account tender of kind "9" (personal credit) or "A" (debit)
  // after the account's checks; false when the selection ended without a line.
  bool AccountTender(const std::string& kind, TenderPayment& tender, double& amount);
  // A personal-credit payment of `amount` for the charged consumer, as a remote order
  // brings it: the items' families and quotas, the limits, the store's check with its
  // loans, and the family list. False (message shown) when refused.
  bool ChargeCredit(double amount);
  // After a personal-credit payment of `amount`: the balance the host keeps and the
  // store's statement brought up to date (a failure is told; the payment stands).
  void UpdateStatement(double amount);

  // The consumer's record (the confirmation): a new CPF given for the receipt is kept
  // for a consumer whose CPF may be updated.
  void WriteConsumerRecord();

  // The family balances read for the last personal-credit payment (CDFAMILISALD,
  // VRSALDCONFAM, NMFAMILISALD).
  base::Dataset& FamilyBalances() { return cdsConsultaSaldo; }

 private:
  // Wires the data module to the host's consumer central and online statement.
  void ConnectConsumerServices();
  // Books the consumer's pending debits since `since` in the store.
  void BookPendingDebits(const base::DateTime& since);
  // The consumer the line charges, read into cdsConsumidor: false (refused) without one,
  // or when the store does not know them or they are not active.
  bool LoadChargedConsumer();
  bool DebitTender(double& amount);
  bool CreditTender(double& amount);
  // Every item's daily quantity and service (and, for the personal credit, its family)
  // for the charged consumer; false (refused, message shown) at the first one refused.
  bool CheckItemRestrictions(bool families_required);
  // Statement, family balances and spending of the personal credit; false when refused.
  bool PrepareCredit();
  // The draws of `amount` on the family list, checked by the store; false when refused
  // (the family list as it was).
  bool DrawCredit(double amount);
  // The sale's family list: the host's dataset, or one of the screen's own.
  base::Dataset& FamilyList();
  // cdsConsultaSaldo: the family balances from the online statement, the central or the
  // store. ConsumerAccountError when the service does not answer.
  void LoadFamilyBalances();
  // The family statement brought up to date from the consumer's first movement.
  void EvolveFamilyBalances();
  // The draws of a personal-credit payment of `amount` from the items' families, each
  // item checked (family, daily quantity, service, limits); false when one is refused.
  bool DrawsForAmount(double amount, std::vector<FamilyDraw>& draws);
  // The store's check of the sale's draws; its loans join cdsEmprestimoFam. False
  // (message shown) when refused.
  bool ValidateOnStore();
  // The operator's text for a refusal of the store's check.
  std::string RefusalText(const std::string& answer) const;
  // What the sale already charged to the debit account of the charged consumer.
  double AlreadyCharged() const;
  // A host consumer service's first answer as a number; ConsumerAccountError with the
  // message of `failure_key` when it fails.
  double ServiceValue(const std::string& service, const std::string& operation, const std::string& kind,
                      const std::string& client, const std::string& consumer, const std::string& family,
                      const std::string& failure_key);
  // The family's balance in cdsConsultaSaldo; false when it is not there.
  bool FamilyBalance(const std::string& family, double& balance);
  void RefuseWith(const std::string& text);

  ScreenScope& s_;
  double balance_ = 0, pending_balance_ = 0, day_spending_ = 0, month_spending_ = 0;
  std::string balance_control_;  // IDVERSALDCON of the consumer: "S" when the balance is controlled
  std::string debit_floor_;      // VRLIMDEBCONS of the consumer as the store gives it
  // The last debit validation: which limits held, and what each left.
  bool month_ok_ = true, day_ok_ = true, floor_ok_ = true;
  double month_left_ = 0, day_left_ = 0, floor_left_ = 0;
  base::Dataset cdsConsultaSaldo{"cdsConsultaSaldo"}, cdsTipoConsLoja{"cdsTipoConsLoja"}, cdsSaldo{"cdsSaldo"},
      cdsOrdFam{"cdsOrdFam"}, cdsSupOrdemFamilia{"cdsSupOrdemFamilia"};
  // What the payment being checked draws from each family so far.
  std::map<std::string, double> drawn_in_check_;
  // The family list when the host passed none.
  base::Dataset own_families_{"cdsSaldoFamilia"};
};

}  // namespace recebimento::screen
