#include "datamodule/catalogue_support.h"

#include <cctype>

namespace recebimento::datamodule {

base::Variant FirstValue(const base::DataPacket& packet, const std::string& column) {
  const int index = packet.FieldIndex(column);
  if (index < 0) throw DatabaseError("the result has no column " + column);
  if (packet.rows.empty()) return base::Variant::Null();
  return packet.rows.front().at(static_cast<size_t>(index));
}

std::string NormaliseCodeList(const std::string& list) {
  std::string out = ",";
  std::string current;
  auto flush = [&] {
    if (!current.empty()) out += current + ",";
    current.clear();
  };
  for (char c : list) {
    if (c == ',' || c == ';') {
      flush();
    } else if (c != '\'' && c != '"' && !std::isspace(static_cast<unsigned char>(c))) {
      current += c;
    }
  }
  flush();
  return out;
}

std::optional<base::DateTime> MonthOf(const std::string& raw) {
  std::string digits;
  for (char c : raw) {
    if (std::isdigit(static_cast<unsigned char>(c))) digits += c;
  }
  int year = 0, month = 0;
  if (raw.size() == 7 && raw[2] == '/' && digits.size() == 6) {  // MM/YYYY
    month = std::stoi(digits.substr(0, 2));
    year = std::stoi(digits.substr(2));
  } else if (raw.size() == 7 && raw[4] == '-' && digits.size() == 6) {  // YYYY-MM
    year = std::stoi(digits.substr(0, 4));
    month = std::stoi(digits.substr(4));
  } else if (raw.size() == 6 && digits.size() == 6) {  // YYYYMM
    year = std::stoi(digits.substr(0, 4));
    month = std::stoi(digits.substr(4));
  } else if (auto d = base::DateTime::Parse(raw)) {
    year = d->Year();
    month = d->Month();
  }
  if (year < 1900 || month < 1 || month > 12) return std::nullopt;
  return base::DateTime::FromYMD(year, month, 1);
}

}  // namespace recebimento::datamodule
