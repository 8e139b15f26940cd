#pragma once
// Small helpers shared by the catalogue's source files.
#include <optional>
#include <string>
#include <type_traits>

#include "base/data_packet.h"
#include "base/datetime.h"
#include "base/variant.h"
#include "datamodule/store_connection.h"

namespace recebimento::datamodule {

// The named column of the first row; Null when there is no row. DatabaseError when the
// statement has no such column (a broken statement must not read as "no value").
base::Variant FirstValue(const base::DataPacket& packet, const std::string& column);

// ",001,002," from "001,002", "'001', '002'" or "001;002": the form the tab-list
// statements match against with LIKE, so a list is only ever a value.
std::string NormaliseCodeList(const std::string& list);

// The first day of the month that `text` names ("MM/YYYY", "YYYY-MM", "YYYYMM", or a
// date); empty optional when it names none.
std::optional<base::DateTime> MonthOf(const std::string& text);

// Runs `work` inside a transaction of its own (taking the write lock at once) unless the
// caller has one open, so that a failure half-way spends no number and leaves no counter
// or record behind.
template <typename Work>
auto InOwnTransaction(StoreConnection& c, Work work) -> decltype(work()) {
  if (c.InTransaction()) return work();
  c.Begin(true);
  try {
    if constexpr (std::is_void_v<decltype(work())>) {
      work();
      c.Commit();
    } else {
      auto result = work();
      c.Commit();
      return result;
    }
  } catch (...) {
    try {
      if (c.InTransaction()) c.Rollback();
    } catch (...) {
      // The connection is gone; the database drops the transaction with it.
    }
    throw;
  }
}

}  // namespace recebimento::datamodule
