#pragma once
// The card tenders of tender selection: credit and debit cards and the digital wallet
// through the card terminal (TEF), the cheque consultation through it, and the CHART card
// by file exchange.
#include <string>

#include "host/pos/card_terminal.h"
#include "screen/card/chart_card.h"
#include "screen/card/tef_panel.h"
#include "screen/frame/screen_scope.h"
#include "screen/payment/payment_lines.h"

namespace recebimento::screen {

class CardTenders {
 public:
  explicit CardTenders(ScreenScope& s) : s_(s), panel_(s), chart_(s) {}

  // The amount of a card tender of kind "1", "2", "F", "G" or "H" and what the card
  // terminal returned for it; false when the selection ended without a line.
  bool CardTender(const std::string& kind, TenderPayment& tender, double& amount);
  // The cheque's consultation through the card terminal, once its amount was taken;
  // false when the cheque is refused.
  bool ChequeConsultation(TenderPayment& tender, double& amount);
  // The amount of a CHART card tender (kind "E").
  bool ChartTender(TenderPayment& tender, double& amount) { return chart_.ChartTender(tender, amount); }

  // The card panel and its seconds counter.
  TefPanel& Panel() { return panel_; }

  // The configuration the dedicated terminal needs for stIDTPTEF is there.
  bool DedicatedConfigured() const;
  // The dedicated terminal's function list and operation number for a tender kind.
  std::string FunctionList(const std::string& kind) const;
  int OperationNumber(const std::string& kind) const;
  // The fiscal payment-form text of the current tender for the fiscal printer's model.
  std::string PaymentFormText() const;

 private:
  // The card amount against what is still to pay; refused with its message.
  bool AmountAllowed(const std::string& kind, double amount);
  // The route by the branch's TEF and the tender's IDDESABTEF: NSU typed, a transaction
  // integrated or dedicated, or nothing. False when the selection failed.
  bool RunRoute(const std::string& kind, TenderPayment& tender, double& amount);
  // The NSU typed by the operator into the host NSU; false when none was given.
  bool AskNsu(TenderPayment& tender);
  // The integrated transaction (DoTef) with `letter`.
  bool RunIntegrated(const std::string& kind, const std::string& letter, TenderPayment& tender, double& amount);
  // The dedicated transaction (CriaDedicado), the configuration checked first.
  bool RunDedicated(const std::string& kind, TenderPayment& tender, double& amount);
  // What a dedicated approval returned, into the tender's card data and the sale's totals.
  bool TakeDedicatedApproval(const std::string& kind, const pos::DedicatedTefResult& result, TenderPayment& tender,
                             double& amount);
  // A discount the card transaction granted: off the sale and off the line's amount.
  void ApplyDiscount(double discount, double& amount);
  // The payment moves to the tender of the card's brand (or the wallet's text), the
  // tender chosen on the grid remembered on the line.
  void MoveToMatchingTender(const std::string& kind, const std::string& match, TenderPayment& tender);
  // The end of the card branch: the MF-e payment check of state "CE", the keypad back.
  bool EndBranch(TenderPayment& tender, bool go_on);
  // The selection fails and the grid is offered again; `text` is shown when not empty.
  void Fail(const std::string& text);

  ScreenScope& s_;
  TefPanel panel_;
  ChartCard chart_;
};

}  // namespace recebimento::screen
