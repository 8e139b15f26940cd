#include "base/dataset_columns.h"

#include "base/text.h"

namespace recebimento::base {

namespace {

std::optional<Field> Column(Dataset& ds, const std::string& column) {
  if (!ds.Active() || ds.FieldIndex(column) < 0) return std::nullopt;
  return ds.FieldByName(column);
}

}  // namespace

std::string ColumnText(Dataset& ds, const std::string& column, const std::string& fallback) {
  const auto f = Column(ds, column);
  return f ? f->AsString() : fallback;
}

std::string ColumnTrimmed(Dataset& ds, const std::string& column, const std::string& fallback) {
  const auto f = Column(ds, column);
  return f ? Trim(f->AsString()) : fallback;
}

double ColumnNumber(Dataset& ds, const std::string& column, double fallback) {
  const auto f = Column(ds, column);
  return f && !f->IsNull() ? f->AsFloat() : fallback;
}

std::string ColumnTrimmed(const RowView& row, const std::string& column) {
  try {
    return Trim(row.AsString(column));
  } catch (const DatasetError&) {
    return "";
  }
}

std::string ColumnText(const DataPacket& packet, const std::vector<Variant>& row, const std::string& column) {
  const int i = packet.FieldIndex(column);
  return i < 0 || static_cast<size_t>(i) >= row.size() ? std::string() : row[i].AsString();
}

std::string ColumnTrimmed(const DataPacket& packet, const std::vector<Variant>& row, const std::string& column) {
  return Trim(ColumnText(packet, row, column));
}

bool SetColumn(Dataset& ds, const std::string& column, const Variant& value) {
  if (ds.FieldIndex(column) < 0) return false;
  ds.FieldByName(column).SetValue(value);
  return true;
}

bool AnyRowWith(const Dataset& ds, const std::string& column, const std::string& value) {
  if (!ds.Active()) return false;
  const DataPacket p = ds.Data();
  for (const auto& row : p.rows)
    if (ColumnTrimmed(p, row, column) == value) return true;
  return false;
}

}  // namespace recebimento::base
