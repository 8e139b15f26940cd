#pragma once
// The card terminal's exchange files as the host's TEF client leaves them: an approved
// transaction not yet confirmed is an "intpos.NNN" file in the exchange folder; the
// host's check moves those into the pending folder, where the screen looks for them.
// Every file is written whole (a temporary file renamed into place), so a process that
// dies half way never leaves a truncated answer that reads as a transaction. Like the
// simulated terminal's other files, they are not flushed to the disk: a real terminal's
// client answers for its own files' durability, and the sale is not made to wait on it.
#include <optional>
#include <string>
#include <vector>

namespace recebimento::pos {

// An answer file's fields: "000-000 = CRT" header, "001-000" the transaction's number,
// "002-000" the document (sale) that closed with it, once one did, "003-000" the
// amount, "010-000" the brand, "012-000" the host NSU.
struct IntPosFile {
  std::string header;
  std::string id;
  std::string document;
  std::string amount;
  std::string brand;
  std::string host_nsu;
};

// Reads an answer file; nullopt when it is not one (no "000-000" header line, or a line
// that is not "NNN-NNN = value").
std::optional<IntPosFile> ReadIntPos(const std::string& text);
std::string WriteIntPos(const IntPosFile& file);

// "intpos." followed by digits only: the terminal's answer files, not a write in progress.
bool IsIntPosName(const std::string& file_name);

class TefExchangeFolder {
 public:
  TefExchangeFolder(std::string exchange_dir, std::string pending_dir);

  const std::string& ExchangeDir() const { return exchange_dir_; }
  const std::string& PendingDir() const { return pending_dir_; }
  void SetPendingDir(std::string dir) { pending_dir_ = std::move(dir); }

  // Writes the answer of an approved, unconfirmed transaction; returns its file name.
  std::string WriteUnconfirmed(const std::string& host_nsu, double amount, const std::string& brand_code);
  // Copies unconfirmed answers into the pending folder (the host's CheckIntPosFiles).
  int MoveToPending();
  // The sale `document` closed carrying the unconfirmed transactions: their answers say
  // so, and a later resolution confirms them instead of undoing them. An empty document
  // takes the mark back (the receipt was cancelled).
  int MarkSaleClosed(const std::string& document);
  // Confirms every transaction: removes its answer files everywhere.
  int ConfirmAll();
  // Cancels every transaction: same removal, counted as cancellations.
  int CancelAll();
  // Cancels the one transaction of answer file `name`; false when it is not unconfirmed.
  bool CancelOne(const std::string& name);
  // Resolves what was left unconfirmed: a transaction whose sale closed is confirmed,
  // any other undone. Counts of each.
  struct Resolution {
    int confirmed = 0;
    int undone = 0;
  };
  Resolution ResolveLeftOver();
  std::vector<std::string> Unconfirmed() const;  // file names in the exchange folder
  std::vector<std::string> Pending() const;      // file names in the pending folder

 private:
  int RemoveAll();
  std::string exchange_dir_;
  std::string pending_dir_;
  int next_number_ = 1;
};

}  // namespace recebimento::pos
