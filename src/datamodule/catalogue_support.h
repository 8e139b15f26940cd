#pragma once
// Small helpers shared by the catalogue's source files.
#include <optional>
#include <string>

#include "base/data_packet.h"
#include "base/datetime.h"
#include "base/variant.h"
#include "datamodule/store_connection.h"
#include "datamodule/transaction_scope.h"

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

}  // namespace recebimento::datamodule
