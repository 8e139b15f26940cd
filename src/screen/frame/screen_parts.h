#pragma once
// The parts of the payment screen, one per concern, built together over one scope so
// that each can reach the few siblings it hands work to.
#include "screen/adjustments/adjustments.h"
#include "screen/card/card_tenders.h"
#include "screen/card/pending_card_transactions.h"
#include "screen/closing/confirmation.h"
#include "screen/closing/exit_and_clear.h"
#include "screen/consumer/consumer_account.h"
#include "screen/consumer/consumer_identification.h"
#include "screen/consumer/consumer_restrictions.h"
#include "screen/fiscal/fiscal_receipt.h"
#include "screen/frame/screen_scope.h"
#include "screen/loyalty/host_loyalty_providers.h"
#include "screen/loyalty/loyalty.h"
#include "screen/loyalty/loyalty_campaigns.h"
#include "screen/loyalty/loyalty_discounts.h"
#include "screen/loyalty/loyalty_programs.h"
#include "screen/loyalty/prepaid_cards.h"
#include "screen/payment/installments.h"
#include "screen/payment/keyboard.h"
#include "screen/payment/payment_lines.h"
#include "screen/payment/tender_grid.h"
#include "screen/payment/tender_selection.h"
#include "screen/remote_orders/remote_orders.h"
#include "screen/setup/screen_activation.h"
#include "screen/setup/screen_setup.h"
#include "screen/wallets/wallets.h"

namespace recebimento::screen {

struct ScreenParts {
  ScreenParts(ScreenContext& ctx, ParametrosZem& par, SaleState& sale, ControlRegistry& controls, ScreenWindow& window);
  ScreenParts(const ScreenParts&) = delete;
  ScreenParts& operator=(const ScreenParts&) = delete;

  ScreenScope scope;
  ScreenSetup setup;
  TenderGrid grid;
  Keyboard keyboard;
  TenderSelection selection;
  PaymentLines payments;
  Installments installments;
  Adjustments adjustments;
  Confirmation confirmation;
  ExitAndClear exit;
  PendingCardTransactions card;
  CardTenders cards;
  FiscalReceipt fiscal;
  ConsumerAccount consumer;
  ConsumerIdentification identification;
  ConsumerRestrictions restrictions;
  RemoteOrders remote_orders;
  Wallets wallets;
  Loyalty loyalty;
  PrepaidCards prepaid;
  LoyaltyDiscounts discounts;
  LoyaltyCampaigns campaigns;
  ScreenActivation activation;
  LoyaltyPrograms programs;
  HostLoyaltyProviders host_loyalty;
};

}  // namespace recebimento::screen
