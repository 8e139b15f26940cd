#pragma once
// The card terminal's exchange files as the host's TEF client leaves them: an approved
// transaction not yet confirmed is an "intpos.NNN" file in the exchange folder; the
// host's check moves those into the pending folder, where the screen looks for them.
#include <string>
#include <vector>

namespace recebimento::pos {

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
  // Confirms every transaction: removes its answer files everywhere.
  int ConfirmAll();
  // Cancels every transaction: same removal, counted as cancellations.
  int CancelAll();
  std::vector<std::string> Unconfirmed() const;  // file names in the exchange folder
  std::vector<std::string> Pending() const;      // file names in the pending folder

 private:
  int RemoveAll();
  std::string exchange_dir_;
  std::string pending_dir_;
  int next_number_ = 1;
};

}  // namespace recebimento::pos
