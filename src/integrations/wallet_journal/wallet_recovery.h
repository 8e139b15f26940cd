#pragma once
// Settling, at a start, what the wallet journal still holds from a process that died:
//   - an AME order of an unrecorded sale: its payment is cancelled (looked up on the
//     store's callback service first when the journal has none; an order nobody paid
//     holds nothing and is forgotten);
//   - an AME payment of a recorded sale: captured;
//   - a Mercado Pago order: the point of sale is cleared, and each approved payment made
//     for its reference becomes a payment to refund;
//   - a Mercado Pago payment of an unrecorded sale: refunded.
// What settles leaves the journal. What cannot be settled now (the provider does not
// answer, the branch has no settings for it) stays for the next start, at most
// kMostSettlementAttempts times; then it is dropped and the log says so, for the store
// to settle by hand.
#include <string>
#include <vector>

#include "base/dataset.h"
#include "integrations/ame/ame_settings.h"
#include "integrations/integration_context.h"
#include "integrations/rest/loggers.h"
#include "integrations/wallet_journal/wallet_journal.h"

namespace recebimento::integrations {

inline constexpr int kMostSettlementAttempts = 3;

// Settles the journal's entries with the branch's AME settings and Mercado Pago settings
// (cdsDadosMp, current row; empty or closed: none). Returns one line per entry on what
// became of it, for the screen's trace.
std::vector<std::string> SettleWalletJournal(const IntegrationContext& context, const Loggers& log,
                                             WalletJournal& journal, const AmeSettings& ame, base::Dataset& cdsDadosMp);

}  // namespace recebimento::integrations
