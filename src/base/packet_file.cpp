#include "base/packet_file.h"

#include <pugixml.hpp>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>
#include <unordered_map>
#include <unordered_set>

#include "base/atomic_file.h"
#include "base/text.h"
#include "base/text_keyed_cache.h"

namespace recebimento::base {

namespace {

// How a FIELD's value text is read.
enum class ValueForm { Text, Integer, Float, Boolean, Date, DateTime, Time };

struct ColumnSpec {
  std::string attr;  // attribute name used in ROW
  ValueForm form = ValueForm::Text;
};

[[noreturn]] void Fail(const std::string& source, const std::string& what) {
  throw PacketFileError(Excerpt(source, 300) + ": " + what);
}

std::optional<std::pair<FieldType, ValueForm>> MapFieldType(const std::string& fieldtype, const std::string& subtype) {
  const std::string t = Utf8Lower(fieldtype);
  if (t == "string" || t == "string.uni" || t == "wstring") return {{FieldType::String, ValueForm::Text}};
  if (t == "i1" || t == "i2" || t == "i4" || t == "i8" || t == "ui1" || t == "ui2" || t == "ui4" || t == "ui8") {
    return {{FieldType::Integer, ValueForm::Integer}};
  }
  if (t == "r8" || t == "r4" || t == "fixed" || t == "fixedfmt") return {{FieldType::Float, ValueForm::Float}};
  if (t == "boolean") return {{FieldType::Boolean, ValueForm::Boolean}};
  if (t == "date") return {{FieldType::DateTime, ValueForm::Date}};
  if (t == "datetime" || t == "sqldatetime") return {{FieldType::DateTime, ValueForm::DateTime}};
  if (t == "time") return {{FieldType::DateTime, ValueForm::Time}};
  if (t == "bin.hex") {
    const std::string s = Utf8Lower(subtype);
    if (s == "text" || s == "widetext") return {{FieldType::String, ValueForm::Text}};
  }
  return std::nullopt;
}

// "hh:nn:ss" with optional milliseconds ("12:00:00000" or "12:00:00.000").
std::optional<DateTime> ParseTimeOfDay(const std::string& text) {
  if (auto dt = DateTime::Parse("18991230T" + text)) return dt;
  return std::nullopt;
}

Variant ParseValue(const std::string& raw, ValueForm form, bool& ok) {
  ok = true;
  switch (form) {
    case ValueForm::Text: return Variant(EnsureUtf8(raw));
    case ValueForm::Integer: {
      int64_t v = 0;
      const std::string t = Trim(raw);
      const auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
      if (ec == std::errc() && p == t.data() + t.size() && !t.empty()) return Variant(v);
      break;
    }
    case ValueForm::Float: {
      try {
        return Variant(Variant(raw).AsFloat());
      } catch (const VariantError&) {
      }
      break;
    }
    case ValueForm::Boolean: {
      const std::string t = Utf8Upper(Trim(raw));
      if (t == "TRUE" || t == "1") return Variant(true);
      if (t == "FALSE" || t == "0") return Variant(false);
      break;
    }
    case ValueForm::Date:
    case ValueForm::DateTime:
      if (auto dt = DateTime::Parse(raw)) return Variant(*dt);
      break;
    case ValueForm::Time:
      if (auto dt = ParseTimeOfDay(Trim(raw))) return Variant(*dt);
      if (auto dt = DateTime::Parse(raw)) return Variant(*dt);
      break;
  }
  ok = false;
  return Variant::Null();
}

// Row states of a saved change log: 1 = original of a modified row, 2 = deleted,
// 4 = inserted, 8 = modified. Only the current version of each row is data.
constexpr int kRowOriginal = 1;
constexpr int kRowDeleted = 2;
constexpr int kRowModified = 8;

}  // namespace

DataPacket ParsePacketXml(std::string_view xml, const std::string& source) {
  size_t first = 0;
  if (xml.substr(0, 3) == "\xEF\xBB\xBF") first = 3;
  while (first < xml.size() && static_cast<unsigned char>(xml[first]) <= ' ') ++first;
  if (first == xml.size()) Fail(source, "empty file, not a data packet");
  if (xml[first] != '<') Fail(source, "not an XML data packet (binary or other format)");

  pugi::xml_document doc;
  const pugi::xml_parse_result parsed = doc.load_buffer(xml.data(), xml.size());
  if (!parsed) {
    Fail(source, std::string("not valid XML: ") + parsed.description() + " at offset " + std::to_string(parsed.offset));
  }
  const pugi::xml_node root = doc.child("DATAPACKET");
  if (!root) Fail(source, "not a data packet (no DATAPACKET element)");
  const pugi::xml_node fields_node = root.child("METADATA").child("FIELDS");
  if (!fields_node) Fail(source, "not a data packet (no METADATA/FIELDS element)");

  DataPacket packet;
  std::vector<ColumnSpec> columns;
  // Names are looked up through sets, never by scanning: a packet may bring many
  // thousands of fields, and every row as many attributes.
  std::unordered_set<std::string> field_names;
  std::unordered_map<std::string, size_t> column_of_attr;
  for (const pugi::xml_node f : fields_node.children("FIELD")) {
    const std::string attr = f.attribute("attrname").as_string();
    if (attr.empty()) Fail(source, "a FIELD has no attrname");
    const std::string name = f.attribute("fieldname") ? f.attribute("fieldname").as_string() : attr;
    const std::string fieldtype = f.attribute("fieldtype").as_string();
    const auto mapped = MapFieldType(fieldtype, f.attribute("SUBTYPE").as_string());
    if (!mapped) Fail(source, "field '" + Excerpt(name) + "' has unsupported type \"" + Excerpt(fieldtype) + "\"");
    FieldDef def{EnsureUtf8(name), mapped->first, 0};
    if (def.type == FieldType::String) {
      def.size = f.attribute("WIDTH").as_int(0);
      if (def.size < 0) Fail(source, "field '" + Excerpt(name) + "' has a negative WIDTH");
    }
    if (!field_names.insert(Utf8Upper(def.name)).second) Fail(source, "duplicate field '" + Excerpt(name) + "'");
    column_of_attr.emplace(attr, columns.size());  // the first field of an attribute name reads it
    packet.fields.push_back(std::move(def));
    columns.push_back({attr, mapped->second});
  }

  std::vector<Variant> original;  // values of the last "original" row, for modified rows
  std::vector<const char*> texts(columns.size());
  size_t row_number = 0;
  for (const pugi::xml_node r : root.child("ROWDATA").children("ROW")) {
    ++row_number;
    const int state = r.attribute("RowState").as_int(0);
    std::fill(texts.begin(), texts.end(), nullptr);
    size_t expected = 0;  // a row lists its values in field order, skipping the nulls
    for (const pugi::xml_attribute a : r.attributes()) {
      size_t c = expected;
      if (c >= columns.size() || columns[c].attr != a.name()) {
        const auto it = column_of_attr.find(a.name());
        if (it == column_of_attr.end()) continue;
        c = it->second;
      }
      if (!texts[c]) texts[c] = a.value();
      expected = c + 1;
    }
    std::vector<Variant> values;
    values.reserve(columns.size());
    for (size_t c = 0; c < columns.size(); ++c) {
      if (!texts[c]) {
        // A modified row carries only what changed.
        values.push_back((state & kRowModified) && c < original.size() ? original[c] : Variant::Null());
        continue;
      }
      bool ok = true;
      Variant v = ParseValue(texts[c], columns[c].form, ok);
      if (!ok) {
        Fail(source, "row " + std::to_string(row_number) + ", field '" + Excerpt(packet.fields[c].name) + "': bad " +
                         FieldTypeName(packet.fields[c].type) + " value \"" + Excerpt(texts[c], 60) + "\"");
      }
      values.push_back(std::move(v));
    }
    if (state & kRowOriginal) {
      original = std::move(values);
      continue;
    }
    original.clear();
    if (state & kRowDeleted) continue;
    packet.rows.push_back(std::move(values));
  }
  return packet;
}

std::string PacketToXml(const DataPacket& packet) {
  pugi::xml_document doc;
  pugi::xml_node decl = doc.append_child(pugi::node_declaration);
  decl.append_attribute("version") = "1.0";
  decl.append_attribute("standalone") = "yes";
  pugi::xml_node root = doc.append_child("DATAPACKET");
  root.append_attribute("Version") = "2.0";
  pugi::xml_node meta = root.append_child("METADATA");
  pugi::xml_node fields = meta.append_child("FIELDS");
  for (size_t c = 0; c < packet.fields.size(); ++c) {
    const FieldDef& def = packet.fields[c];
    pugi::xml_node f = fields.append_child("FIELD");
    f.append_attribute("attrname") = def.name.c_str();
    switch (def.type) {
      case FieldType::String:
        if (def.size > 0) {
          f.append_attribute("fieldtype") = "string";
          f.append_attribute("WIDTH") = def.size;
        } else {
          f.append_attribute("fieldtype") = "bin.hex";
          f.append_attribute("SUBTYPE") = "Text";
        }
        break;
      case FieldType::Integer: {
        bool wide = false;
        for (const auto& row : packet.rows) {
          if (c < row.size() && row[c].kind() == Variant::Kind::Integer) {
            const int64_t v = row[c].AsInteger();
            wide = wide || v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max();
          }
        }
        f.append_attribute("fieldtype") = wide ? "i8" : "i4";
        break;
      }
      case FieldType::Float: f.append_attribute("fieldtype") = "r8"; break;
      case FieldType::Boolean: f.append_attribute("fieldtype") = "boolean"; break;
      case FieldType::DateTime: f.append_attribute("fieldtype") = "dateTime"; break;
    }
  }
  meta.append_child("PARAMS");
  pugi::xml_node rowdata = root.append_child("ROWDATA");
  for (size_t r = 0; r < packet.rows.size(); ++r) {
    const auto& row = packet.rows[r];
    if (row.size() != packet.fields.size()) {
      throw PacketFileError("data packet row " + std::to_string(r + 1) + " has " + std::to_string(row.size()) +
                            " values for " + std::to_string(packet.fields.size()) + " fields");
    }
    pugi::xml_node x = rowdata.append_child("ROW");
    for (size_t c = 0; c < row.size(); ++c) {
      const Variant& v = row[c];
      if (v.IsEmptyOrNull()) continue;
      const FieldDef& def = packet.fields[c];
      std::string text;
      try {
        switch (def.type) {
          case FieldType::String: text = v.AsString(); break;
          case FieldType::Integer: text = std::to_string(v.AsInteger()); break;
          case FieldType::Float: {
            const double d = v.AsFloat();
            if (!std::isfinite(d)) throw VariantError("not a finite number");
            text = Variant(d).AsString();
            break;
          }
          case FieldType::Boolean: text = v.AsBoolean() ? "TRUE" : "FALSE"; break;
          case FieldType::DateTime: text = v.AsDateTime().Format("yyyymmddThh:nn:sszzz"); break;
        }
      } catch (const VariantError& e) {
        throw PacketFileError("data packet row " + std::to_string(r + 1) + ", field '" + def.name + "': " + e.what());
      }
      x.append_attribute(def.name.c_str()) = text.c_str();
    }
  }
  std::ostringstream out;
  doc.save(out, "", pugi::format_raw, pugi::encoding_utf8);
  return out.str();
}

namespace {

// The host's settings files, read on every call.
TextKeyedCache<DataPacket>& PacketCache() {
  static TextKeyedCache<DataPacket> cache(8, 256 * 1024);
  return cache;
}

}  // namespace

std::string ReadPacketText(const std::string& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (!std::filesystem::exists(status)) Fail(path, "file not found");
  if (std::filesystem::is_directory(status)) Fail(path, "is a folder, not a data packet file");
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail(path, "cannot open the file");
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) Fail(path, "read error");
  return std::move(content).str();
}

DataPacket ReadPacketFile(const std::string& path) {
  std::string text = ReadPacketText(path);
  auto& cache = PacketCache();
  if (auto cached = cache.Find(path, text)) return std::move(*cached);
  DataPacket packet = ParsePacketXml(text, path);
  cache.Remember(path, std::move(text), packet);
  return packet;
}

void WritePacketFile(const std::string& path, const DataPacket& packet) {
  std::string xml;
  try {
    xml = PacketToXml(packet);
  } catch (const PacketFileError& e) {
    Fail(path, e.what());
  }
  try {
    WriteFileAtomically(path, xml);
  } catch (const AtomicFileError& e) {
    throw PacketFileError(e.what());
  }
}

}  // namespace recebimento::base
