#pragma once
// The journal of wallet orders that hold or move a consumer's money: written (atomically)
// before each call that creates or moves money, and cleared as each order is captured,
// cancelled or refunded, or becomes a recorded sale's. What a process that died leaves
// in it is settled at the next start (wallet_recovery.h).
//
// Dados/wallet_journal.json under the host's folder:
//   {"entries": [{"id", "provider", "kind", "phase", "order", "payment", "attempts", "since"}]}
#include <optional>
#include <string>
#include <vector>

#include "base/clock.h"

namespace recebimento::integrations {

struct WalletJournalEntry {
  std::string id;
  std::string provider;  // kAme, kMercadoPago
  std::string kind;      // kOrder, kPayment
  std::string phase;     // kOpen, kSale
  std::string order;     // AME: the order id (empty while it is being created); MP: the external reference
  std::string payment;   // AME: the payment to capture or cancel; MP: the payment to refund
  int attempts = 0;      // settlements tried at a start and failed
  std::string since;     // when the entry was written

  static constexpr const char* kAme = "AME";
  static constexpr const char* kMercadoPago = "MP";
  static constexpr const char* kOrder = "order";
  static constexpr const char* kPayment = "payment";
  // Open: the sale was not recorded; the order is cancelled or the payment refunded.
  static constexpr const char* kOpen = "open";
  // The sale that took it was recorded: an AME payment still to capture.
  static constexpr const char* kSale = "sale";
};

class WalletJournal {
 public:
  // Reads the journal at `path`. A file that cannot be read is set aside (renamed with
  // ".damaged-" and the time) and the journal starts empty; Problem() says so.
  WalletJournal(std::string path, base::Clock& clock);

  const std::string& Path() const { return path_; }
  const std::vector<WalletJournalEntry>& Entries() const { return entries_; }
  std::optional<WalletJournalEntry> Find(const std::string& id) const;
  // What went wrong reading or writing the file last ("" when nothing did).
  const std::string& Problem() const { return problem_; }

  // Each change is on disk when it returns true; false (the change is kept in memory
  // only) when the file could not be written, with the reason in Problem().
  // Add gives the entry its id and time, and returns the id ("" when not written).
  std::string Add(WalletJournalEntry entry);
  bool Update(const WalletJournalEntry& entry);
  bool Remove(const std::string& id);

 private:
  bool Save();

  std::string path_;
  base::Clock& clock_;
  std::vector<WalletJournalEntry> entries_;
  std::string problem_;
  int sequence_ = 0;
};

}  // namespace recebimento::integrations
