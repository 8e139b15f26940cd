#pragma once
// Who the sale is for: the buyer's document on the fiscal receipt (CPF or CNPJ, with
// name, address and a foreigner's number), typed in the host's entry dialog or on the
// card terminal's PIN pad; and the account holder (client and consumer) found by
// telephone or chosen in the host's search.
#include <string>

#include "base/variant.h"
#include "screen/frame/screen_scope.h"

namespace recebimento::screen {

class ConsumerIdentification {
 public:
  explicit ConsumerIdentification(ScreenScope& s) : s_(s) {}

  // The CPF/CNPJ button: the receipt identification, asked on the PIN pad or in the
  // host's entry dialog, written to the screen and every item.
  void spbCNPJCPFClick();
  // Shows panCPFPinPad and waits for its choice: "PINPAD", "SISTEMA" or "SAIR".
  std::string MensagemCPFPinpad();
  void btnCPFPinPadClick() { choice_ = "PINPAD"; }
  void btnCPFSistemaClick() { choice_ = "SISTEMA"; }
  void btnSairCPFClick() { choice_ = "SAIR"; }

  // Asks the consumer's telephone (once) and looks the consumer up by it (once).
  void ConsultaConsTel();
  // The client and consumer of the table or tab, chosen in the host's search.
  void bltPesquisarClick();
  // The registered consumer's CPF on each item without a document, when the consumer
  // asks for it on the receipt (the entry, after the screen).
  void setCPFCons();

  // The tender press's step: a sale whose amount requires the buyer's document and has
  // none opens the identification instead (false).
  bool DocumentGivenForAmount();

 private:
  // The CPF given to a loyalty service (core banking, else UDS) on the items; "" when none.
  std::string LoyaltyCpf() const;
  bool AmountRequiresDocument() const;
  // The PIN pad's answer: the digits typed, or false when the identification ends there
  // (a message shown for the statuses that have one, with `open_empty` set when the entry
  // dialog still opens, empty).
  bool DigitsFromPinpad(std::string& digits);
  // The host's entry dialog: the result array (0 document, 1 name, 2 address, 5
  // foreigner's number); all empty when the operator cancelled.
  base::Variant EntryDialog(const std::string& digits, bool crm_mode);
  // Runs the entry dialog as the settings ask; false when none ran.
  bool RunEntryDialogs(bool system_path, const std::string& digits, base::Variant& result);
  void TakeResult(const base::Variant& result);

  ScreenScope& s_;
  std::string choice_;  // the PIN-pad panel's choice; empty while it waits
};

}  // namespace recebimento::screen
