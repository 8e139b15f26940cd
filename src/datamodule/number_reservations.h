#pragma once
// What became of every number a register takes from a counter. The record is written in
// the transaction that takes the number and marked used when the sale that carries it is
// recorded, so a call that dies in between leaves a number that is still "reserved" and
// is reported at the register's next call, never one that simply vanishes.
//
// Sale and external numbers: NUMERORESERVADO (counter key, number, branch, register,
// status "P" reserved / "U" used). NFC-e numbers: INUTILIZANFCE, the table of numbers set
// aside, with its status "P" until the sale is recorded.
#include <string>

#include "base/datetime.h"

namespace recebimento::datamodule {

class StoreConnection;

// Records the number as reserved by the register. False, recording nothing, when the
// number has a record already (handed out or set aside before): the caller takes the
// next number instead.
bool RecordReservation(StoreConnection& connection, const std::string& counter, const std::string& number,
                       const std::string& cdfilial, const std::string& cdcaixa, const base::DateTime& when);
bool RecordNfceReservation(StoreConnection& connection, const std::string& number, const std::string& cdfilial,
                           const std::string& cdcaixa, const std::string& nrserie, const std::string& ambiente,
                           const base::DateTime& day);
// The sale that carries `number` was recorded: its reservation, in either record, becomes
// used. Inside the caller's transaction when one is open; throws DatabaseError.
void MarkReservationUsed(StoreConnection& connection, const std::string& cdfilial, const std::string& cdcaixa,
                         const std::string& number, const base::DateTime& when);

}  // namespace recebimento::datamodule
