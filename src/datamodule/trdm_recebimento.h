#pragma once
// The store's data module: one connection (adcRecebimento) and the catalogue of query
// functions the payment screen and the host call. Results follow one convention:
// packet and number functions return the database error text in place of the result,
// text functions an empty text, flag functions false.
#include <memory>
#include <string>

#include "base/clock.h"
#include "base/variant.h"

namespace recebimento::datamodule {

class StoreConnection;

class TrdmRecebimento {
 public:
  // The connection string is fetched from _GetStringConexZem("") each time the
  // connection opens, unless one is given here.
  TrdmRecebimento();
  explicit TrdmRecebimento(std::string connection_string);
  ~TrdmRecebimento();
  TrdmRecebimento(const TrdmRecebimento&) = delete;
  TrdmRecebimento& operator=(const TrdmRecebimento&) = delete;

  StoreConnection& adcRecebimento() { return *adcRecebimento_; }
  // Opens the connection now (it also opens on the first statement). Throws
  // std::runtime_error with the database's message when it cannot.
  void Open();
  // "SQLITE", "POSTGRESQL", "MSSQL" or "ORACLE".
  std::string UsedDatabase() const;

  // Each acts only if the rule holds: start when no transaction is active, commit and
  // roll back only when one is.
  void StartTrans();
  void CommitTrans();
  void RollbackTrans();
  bool InTransaction() const;

  // "Today" of the date-bound statements comes from this clock (default: real time).
  void SetClock(const base::Clock* clock) { clock_ = clock; }

 private:
  std::unique_ptr<StoreConnection> adcRecebimento_;
  const base::Clock* clock_ = nullptr;
};

}  // namespace recebimento::datamodule
