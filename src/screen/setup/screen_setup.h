#pragma once
// The start of a sale on the screen: the data module connected, the configuration and the
// operator read, the host's reference data copied, the totals computed, the layout chosen
// for the kind of sale, the tender buttons built, who pays shown, and the operator's rights.
#include <string>

#include "screen/frame/screen_scope.h"
#include "screen/setup/sale_state.h"

namespace recebimento::screen {

class ScreenSetup {
 public:
  explicit ScreenSetup(ScreenScope& s) : s_(s) {}

  // Every step of the initialisation, in order.
  void Initialise(const InicializaFormArgs& args);
  // The sale's totals from the host's items: service fee, tab surcharge and discount,
  // item discounts and surcharges, minimum consumption and cover charge, what is left to
  // pay; and their labels.
  void ComputeTotals();

 private:
  void ResetSaleState();
  void CopyArguments(const InicializaFormArgs& args);
  // The photograph, the identification, the operator, the tenders, the product-service
  // limits, the tax rates and the client.
  void LoadReferenceData(const InicializaFormArgs& args);
  // Layout by stTipoTela; true for the badge layouts ("S", "A"), which skip the sale's own lines.
  bool ApplyScreenKindLayout();
  void ApplySaleOriginLayout();
  void ApplyPrinterButtons();
  void ShowOnCustomerDisplay();
  void ShowClientAndConsumer();
  void ApplyOperatorRights();
  void ApplyRechargeLayout();
  // A sale the screen cannot take is refused before anything else happens to it: an item
  // amount that is not a number or beyond what a payment line holds, or a total below zero
  // or beyond that limit. False (the operator told, the sale marked refused) when refused.
  bool AcceptItems();
  bool AcceptTotal();
  void RefuseSale(const std::string& message);
  // Nothing to give back to the system: the process keeps no cache worth trimming.
  static void TrimAppMemorySize() {}

  ScreenScope& s_;
};

}  // namespace recebimento::screen
