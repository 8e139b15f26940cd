#pragma once
// Reading and writing a column that a dataset may not carry. The host decides which
// columns its datasets have: a column it left out, or a dataset that is closed, reads as
// the fallback and is skipped on writing. Fixed-width texts are read trimmed where the
// caller compares them with codes.
#include <string>
#include <vector>

#include "base/data_packet.h"
#include "base/dataset.h"
#include "base/variant.h"

namespace recebimento::base {

// The column of the current row as stored.
std::string ColumnText(Dataset& ds, const std::string& column, const std::string& fallback = "");
// The column of the current row without the blanks around it.
std::string ColumnTrimmed(Dataset& ds, const std::string& column, const std::string& fallback = "");
// The column of the current row as a number; a null value reads as the fallback too.
double ColumnNumber(Dataset& ds, const std::string& column, double fallback = 0);

// The same for a row seen by a filter.
std::string ColumnTrimmed(const RowView& row, const std::string& column);

// The same for a row of a data packet.
std::string ColumnText(const DataPacket& packet, const std::vector<Variant>& row, const std::string& column);
std::string ColumnTrimmed(const DataPacket& packet, const std::vector<Variant>& row, const std::string& column);

// Writes the column of the row being edited or inserted; false (nothing written) when
// the dataset has no such column.
bool SetColumn(Dataset& ds, const std::string& column, const Variant& value);

// Some row of the dataset, filtered or not, carries `value` in `column` (trimmed).
bool AnyRowWith(const Dataset& ds, const std::string& column, const std::string& value);

}  // namespace recebimento::base
