#pragma once
// A dataset's data packet: field definitions plus rows. What Dataset::Data() returns,
// what SetData() loads, what travels inside a Variant, and what a ".cds" file holds.
#include <string>
#include <vector>

#include "base/variant.h"

namespace recebimento::base {

enum class FieldType { String, Integer, Float, Boolean, DateTime };

const char* FieldTypeName(FieldType type);  // "string", "integer", "float", "boolean", "datetime"

struct FieldDef {
  std::string name;
  FieldType type = FieldType::String;
  int size = 0;  // characters, for String fields
  bool operator==(const FieldDef&) const = default;
};

struct DataPacket {
  std::vector<FieldDef> fields;
  // One Variant per field, in field order; Null where the row has no value.
  std::vector<std::vector<Variant>> rows;

  int FieldIndex(const std::string& name) const;  // case-insensitive; -1 when absent
  bool operator==(const DataPacket&) const = default;
};

}  // namespace recebimento::base
