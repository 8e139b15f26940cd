#pragma once
// adcRecebimento: the connection to the store database. It opens on first use with the
// connection string fetched at that moment, applies the session settings once
// connected, and notices a connection lost underneath: the failing call reports the
// error and the next call connects again. A statement is prepared once per connection
// and run again with new values each time after that. The engine's library is loaded
// when a store of that kind is first opened, so a register on the embedded store never
// loads the server engines' client libraries. When a connection to the embedded store is done
// with, its session is kept for the next connection of the process to the same file.
#include <sys/types.h>

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/data_packet.h"
#include "base/variant.h"
#include "datamodule/connection_config.h"
#include "datamodule/statement.h"

namespace soci {
class session;
}

namespace recebimento::datamodule {

using Params = std::vector<std::pair<std::string, base::Variant>>;

class DatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class StoreConnection {
 public:
  // `connection_string` is asked for the string every time the connection opens.
  explicit StoreConnection(std::function<std::string()> connection_string);
  ~StoreConnection();
  StoreConnection(const StoreConnection&) = delete;
  StoreConnection& operator=(const StoreConnection&) = delete;

  // No-op when open; DatabaseError when the database cannot be reached. An SQLite file
  // that does not exist is an error (saying how to create it) unless CreateMissing().
  void Open();
  // Lets Open create a missing SQLite file: for the store's initialisation only.
  void CreateMissing() { create_missing_ = true; }
  // The connection string with its password masked, for messages.
  std::string Describe() const;
  // How long a statement of this connection waits for another's lock (ms).
  int LockWaitMs() const { return lock_wait_ms_; }
  void Close();
  bool Connected() const;
  // The kind of the open connection, or of the configured string when closed.
  DatabaseKind Kind() const;

  // Runs a SELECT and returns its rows with field definitions (also when empty).
  base::DataPacket Query(const Statement& statement, const Params& params = {});
  // Runs INSERT/UPDATE/DELETE; returns the number of rows affected.
  long long Execute(const Statement& statement, const Params& params = {});
  // Runs plain SQL with no parameters (session settings, migrations, transactions).
  void ExecuteRaw(const std::string& sql);

  // Transactions. Begin(true) takes the write lock at once on SQLite (BEGIN IMMEDIATE),
  // so two writers never both read a counter before one of them writes it.
  void Begin(bool immediate = false);
  void Commit();
  void Rollback();
  bool InTransaction() const { return in_transaction_; }

  // After a failed call: a connection that is gone is closed so the next call reopens
  // it. Returns true when the connection was lost.
  bool CheckAfterFailure();

  // Forgets the cached column types and prepared statements (after the schema changed).
  void RefreshColumnTypes();

  soci::session& Session();

  // Closes the sessions kept for the process's next connections (and, `keep_none_after`,
  // keeps none from then on: what runs by itself when the library is unloaded or the
  // process ends).
  static void CloseKeptSessions(bool keep_none_after = false) noexcept;

 private:
  struct Prepared;
  struct PreparedText;
  struct Kept;

  // Takes a session kept for `connection` when it still reaches the same store.
  bool TakeKept(const std::string& connection);
  // Hands the open session over to the next connection of the process, if it is clean.
  void Keep() noexcept;

  void LoadColumnTypes();
  base::FieldDef DescribeColumn(const Statement& statement, const std::string& name, int soci_type);
  // The statement prepared for `sql` with parameters of these kinds, the values of
  // `params` bound; prepared now the first time.
  Prepared& Bound(const Statement& statement, const std::string& sql, const Params& params, bool query);
  void Forget(const std::string& sql);

  std::function<std::string()> connection_string_;
  std::unique_ptr<soci::session> session_;
  ConnectionTarget target_;
  bool in_transaction_ = false;
  bool create_missing_ = false;
  int lock_wait_ms_ = 0;
  std::string connection_;  // the string the open session was made with
  // The SQLite file the session opened (device and inode): a kept session is only taken
  // while the path still names that file.
  dev_t file_device_ = 0;
  ino_t file_inode_ = 0;
  std::map<std::string, base::FieldDef> column_types_;  // column name -> declared type
  // Statements prepared on this session (declared after it: they go first).
  std::unordered_map<std::string, std::unique_ptr<PreparedText>> prepared_;
};

// Whether a database error is a lock of another connection that outlasted the wait.
bool IsLockTimeout(const std::string& error_text);

// The text of a database error as the query functions return it; a lock that outlasted
// the wait says so plainly.
std::string ADOExceptionMessage(const std::exception& error, const StoreConnection& connection,
                                const std::string& operation);

}  // namespace recebimento::datamodule
