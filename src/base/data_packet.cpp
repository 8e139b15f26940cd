#include "base/data_packet.h"

#include "base/text.h"

namespace recebimento::base {

const char* FieldTypeName(FieldType type) {
  switch (type) {
    case FieldType::String: return "string";
    case FieldType::Integer: return "integer";
    case FieldType::Float: return "float";
    case FieldType::Boolean: return "boolean";
    case FieldType::DateTime: return "datetime";
  }
  return "unknown";
}

int DataPacket::FieldIndex(const std::string& name) const {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (IEquals(fields[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace recebimento::base
