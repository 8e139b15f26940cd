#pragma once
// The fiscal side of a confirmed sale: the fiscal receipt (opening, items, cancelled
// items, the net adjustment, the closing record, the card receipts and the consumer
// vouchers, the backups an interrupted sale is restored from), the drawer check before
// it, the host's non-fiscal receipt parameters, the CHART card receipt, the MF-e payment
// on a POS terminal, the service and delivery fee items and the price adjustment.
#include <set>
#include <string>
#include <vector>

#include "base/dataset.h"
#include "base/variant.h"
#include "screen/frame/screen_scope.h"
#include "screen/payment/payment_lines.h"

namespace recebimento::screen {

// What the closing gathers beside the sale: the consumer account that pays it and the
// amounts the closing record carries.
struct ClosingContext {
  // Kind of consumer-account payment: "1" personal credit, "2" consumer debit, "0" none.
  std::string account_payment = "0";
  // The consumer of the account, as the store has them.
  std::string NMFANTCLIE, CDIDCONSUMID, NMCONSUMIDOR;
  bool limits_read = false;
  std::string VRMAXDEBCONS, VRMESUBCONS;
  double discount = 0;   // the receipt's net discount
  double surcharge = 0;  // the receipt's net surcharge
  std::string taxes[3];  // approximate taxes, as the host computed them
  std::string credit_concession;
  double excess_balance = 0;  // the payroll period's excess balance plus the movement
};

class FiscalReceipt {
 public:
  explicit FiscalReceipt(ScreenScope& s) : s_(s) {}

  // The fiscal receipt and what follows it. False when the receipt could not be opened,
  // or when its closing was refused; true otherwise, boVendaOk telling whether the sale
  // is done (it is not when the printer refused an item during a card operation).
  bool ImprimeCupom();
  // The last ImprimeCupom gave the sale up after an item the printer refused: the sale
  // was recorded as cancelled and the screen left; nothing more of the confirmation runs.
  bool Abandoned() const { return abandoned_; }

  // The drawer before a fiscal sale: false (message shown) when it is open.
  bool VerificaEstadoGaveta(const std::string& tipo);
  // The host's non-fiscal receipt parameters: one row of cdsParamImpCupNF.
  void PreencheParamImpCupNF();
  const base::Dataset& ParamImpCupNF() const { return cdsParamImpCupNF; }
  // Prints and confirms the CHART card receipt, or cancels the CHART transaction.
  void ImprimeCupomCHART(bool confirm);
  // The family balances of a personal-credit payment, for a printer that prints the
  // whole sale; an empty packet without one.
  base::DataPacket FamilyBalancesOfAccountPayment();

  // The MF-e payment on a POS terminal: false when the operator cancelled it or no
  // terminal is registered. The payment's data goes to `card`.
  bool FuncoesVFPe(CardData& card);
  // The two buttons of the POS-terminal panel.
  void ConfirmPosTerminal();
  void CancelPosTerminal();

  // The service fee (and its part above 10 %) and the delivery fee as item lines.
  void CriaItemTaxaServ();
  void CriaItemTaxaEntr();
  // Re-prices the sale's items through the host's price function for `origin`.
  void AjustarPrecos(const std::string& origin);

 private:
  enum class ItemsOutcome { Registered, StoppedUnderTef, Abandoned };

  // --- Opening (receipt_opening.cpp).
  void PrintExchangeCoupon();
  bool OpenReceipt();
  // --- Items (receipt_items.cpp).
  ItemsOutcome RegisterItems();
  ItemsOutcome RegisterCancelledItems();
  // Sends the current row of `items` to the printer, retrying while the operator asks.
  ItemsOutcome RegisterItem(base::Dataset& items, bool cancelled);
  // The item refused and the operator gave up: the sale is recorded as cancelled.
  void GiveUpSale(const std::string& cancel_key);
  // --- Adjustment and closing (receipt_closing.cpp, closing_context.cpp, closing_record.cpp).
  void NetAdjustment();
  void GatherClosingContext();
  void ReadFamilyBalances(const std::string& client, const std::string& consumer);
  void ReadPayrollExcess();
  // A consumer service the closing needs did not answer.
  void ServiceFailed(const std::string& text);
  std::vector<base::Variant> ClosingRecord() const;
  void CloseReceipt();
  void ClosingRefused();
  // --- After the closing (receipt_after_closing.cpp).
  void KeepLastCardTransactions();
  void PrintConsumerVouchers();
  // The consumer's consumption of the month, as read for the last voucher.
  double MonthConsumption();
  void PrintDedicatedCardReceipts();
  void PrintIntegratedCardReceipts();
  void FinalBackup();
  // --- Backups of the sale (receipt_backup.cpp).
  void SaveItemsBackup();
  void SaveCancelledItemsBackup();
  std::string CardReceiptFile() const;

  ScreenScope& s_;
  int inIntTefErro = 1;
  bool abandoned_ = false;
  bool backup_failure_shown_ = false;
  std::string last_item_sequence_;  // the printer's sequence number of the last item registered
  // The sale's rows the printer took in this run, whether or not the host's items carry
  // the column that marks them.
  std::set<base::Dataset::Bookmark> registered_rows_;
  ClosingContext closing_;
  int pos_terminal_answer_ = 0;  // 1 confirmed, 2 cancelled, 0 still waiting

  base::Dataset cdsParamImpCupNF{"cdsParamImpCupNF"};
  base::Dataset cdsConsultaSaldo{"cdsConsultaSaldo"};
  base::Dataset cdsLimiteCons{"cdsLimiteCons"};
  base::Dataset cdsVrSaldConsumi{"cdsVrSaldConsumi"};
  base::Dataset cdsUltTef{"cdsUltTef"};
  base::Dataset cdsSerialPos{"cdsSerialPos"};
  base::Dataset cdsRetornaPreco_Aux{"cdsRetornaPreco_Aux"};
};

}  // namespace recebimento::screen
