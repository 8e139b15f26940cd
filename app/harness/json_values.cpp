#include "json_values.h"

#include <algorithm>
#include <functional>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "base/text.h"
#include "json_text.h"

namespace recebimento::harness {

using base::DataPacket;
using base::FieldDef;
using base::FieldType;
using base::Variant;
using json = nlohmann::ordered_json;

namespace {

// Inferred text fields are wide enough for what the screen writes back into them.
constexpr int kInferredTextSize = 255;
// Wider than any text a register keeps; a bigger size is a mistake in the file.
constexpr uint64_t kLargestTextSize = 1'000'000;

std::string Member(const std::string& where, const std::string& name) { return where + "." + name; }
std::string Index(const std::string& where, size_t i) { return where + "[" + std::to_string(i) + "]"; }

FieldType TypeNamed(const std::string& type, const std::string& where) {
  static const std::map<std::string, FieldType> types = {{"string", FieldType::String},
                                                         {"integer", FieldType::Integer},
                                                         {"float", FieldType::Float},
                                                         {"boolean", FieldType::Boolean},
                                                         {"datetime", FieldType::DateTime}};
  auto it = types.find(type);
  if (it == types.end())
    throw InputError(where + ": unknown field type '" + base::Excerpt(type) +
                     "' (expected string, integer, float, boolean or datetime)");
  return it->second;
}

// The value for a field of a declared type; a value that cannot be one is refused.
// `where` names the value for a message: made only when there is one to give, as a sale
// holds thousands of values.
Variant FieldValue(const json& v, FieldType type, const std::function<std::string()>& where) {
  if (v.is_null()) return Variant::Null();
  switch (type) {
    case FieldType::String:
      if (v.is_string()) return Variant(v.get<std::string>());
      if (v.is_number() || v.is_boolean()) return Variant(JsonToVariant(v, where()).AsString());
      break;
    case FieldType::Integer:
      if (v.is_number_integer()) return Variant(v.get<int64_t>());
      break;
    case FieldType::Float:
      if (v.is_number()) return Variant(v.get<double>());
      break;
    case FieldType::Boolean:
      if (v.is_boolean()) return Variant(v.get<bool>());
      break;
    case FieldType::DateTime:
      if (v.is_string()) {
        if (auto d = base::DateTime::Parse(v.get<std::string>())) return Variant(*d);
        throw InputError(where() + ": '" + base::Excerpt(v.get<std::string>()) + "' is not a date");
      }
      break;
  }
  throw InputError(where() + ": " + JsonExcerpt(v) + " is not a " + base::FieldTypeName(type) + " value");
}

void Fill(base::Dataset& ds, const std::vector<FieldDef>& fields, const json& rows, const std::string& where) {
  ds.Close();
  ds.SetFields(fields);
  ds.CreateDataSet();
  // Field names looked up through a map: a dataset may bring thousands of fields.
  std::unordered_map<std::string, size_t> field_of;
  for (size_t i = 0; i < fields.size(); ++i) field_of.emplace(base::Utf8Upper(fields[i].name), i);
  for (size_t r = 0; r < rows.size(); ++r) {
    const json& row = rows[r];
    const std::string at = Index(where, r);
    if (!row.is_object()) throw InputError(at + ": a row must be an object of field values");
    ds.Append();
    for (const auto& item : row.items()) {
      const std::string& name = item.key();
      const json& value = item.value();
      const auto f = field_of.find(base::Utf8Upper(name));
      if (f == field_of.end()) throw InputError(Member(at, base::Excerpt(name)) + ": no such field in the dataset");
      const FieldDef& def = fields[f->second];
      ds.Fields(static_cast<int>(f->second)).SetValue(FieldValue(value, def.type, [&] { return Member(at, name); }));
    }
    ds.Post();
  }
  ds.First();
}

}  // namespace

namespace {

Variant JsonToVariantAt(const json& v, const std::string& where, int depth) {
  if (v.is_null()) return Variant::Null();
  if (v.is_boolean()) return Variant(v.get<bool>());
  if (v.is_number_integer()) return Variant(v.get<int64_t>());
  if (v.is_number()) return Variant(v.get<double>());
  if (v.is_string()) return Variant(v.get<std::string>());
  if (v.is_array()) {
    // Values may come from a caller that did not parse them with a bounded depth.
    if (depth >= kMaxJsonDepth)
      throw InputError(where + ": lists nested more than " + std::to_string(kMaxJsonDepth) + " levels deep");
    std::vector<Variant> items;
    for (size_t i = 0; i < v.size(); ++i) items.push_back(JsonToVariantAt(v[i], Index(where, i), depth + 1));
    return Variant(items);
  }
  throw InputError(where + ": a value must be text, number, boolean, null or a list of those");
}

}  // namespace

Variant JsonToVariant(const json& v, const std::string& where) { return JsonToVariantAt(v, where, 0); }

json VariantToJson(const Variant& v) {
  switch (v.kind()) {
    case Variant::Kind::Empty:
    case Variant::Kind::Null: return nullptr;
    case Variant::Kind::Bool: return v.AsBoolean();
    case Variant::Kind::Integer: return v.AsInteger();
    case Variant::Kind::Double: return v.AsFloat();
    case Variant::Kind::String: return v.AsString();
    case Variant::Kind::DateTime: return v.AsDateTime().IsoDateTime();
    case Variant::Kind::Array: {
      json out = json::array();
      for (const auto& item : v.AsArray()) out.push_back(VariantToJson(item));
      return out;
    }
    case Variant::Kind::Packet: return PacketToJson(v.AsPacket());
  }
  return nullptr;
}

void LoadDataset(base::Dataset& ds, const json& value, const std::string& where) {
  if (value.is_array()) {
    if (value.empty())
      throw InputError(where + ": an empty list says nothing of the fields; give {\"fields\": [...], \"rows\": []}");
    // Row objects: fields in order of first appearance, typed by their first non-null
    // value; later values must agree. A field that is null everywhere is text. Names are
    // the same field whatever their case, as they are in a dataset.
    std::vector<FieldDef> fields;
    std::vector<bool> typed;
    std::vector<int> longest;
    std::unordered_map<std::string, size_t> index;
    for (size_t r = 0; r < value.size(); ++r) {
      if (!value[r].is_object()) throw InputError(Index(where, r) + ": a row must be an object of field values");
      for (const auto& item : value[r].items()) {
        const std::string& name = item.key();
        const json& v = item.value();
        auto at = [&] { return Member(Index(where, r), base::Excerpt(name)); };
        if (base::Trim(name).empty()) throw InputError(at() + ": a field needs a name");
        if (v.is_object() || v.is_array()) throw InputError(at() + ": a value must be text, number, boolean or null");
        const auto [known, added] = index.emplace(base::Utf8Upper(name), fields.size());
        if (added) {
          fields.push_back({name, FieldType::String, 0});
          typed.push_back(false);
          longest.push_back(0);
        }
        const size_t i = known->second;
        if (v.is_string())
          longest[i] = std::max(longest[i], static_cast<int>(base::Utf8Length(v.get_ref<const std::string&>())));
        if (v.is_null()) continue;
        const FieldType seen = v.is_boolean()  ? FieldType::Boolean
                               : v.is_number() ? FieldType::Float
                                               : FieldType::String;
        if (!typed[i]) {
          fields[i].type = seen;
          typed[i] = true;
        } else if (fields[i].type != seen) {
          throw InputError(at() + ": " + JsonExcerpt(v) + " does not match the field's earlier " +
                           base::FieldTypeName(fields[i].type) + " values");
        }
      }
    }
    for (size_t i = 0; i < fields.size(); ++i)
      if (fields[i].type == FieldType::String) fields[i].size = std::max(longest[i], kInferredTextSize);
    Fill(ds, fields, value, where);
    return;
  }
  if (value.is_object()) {
    for (const auto& [key, v] : value.items())
      if (key != "fields" && key != "rows")
        throw InputError(Member(where, key) + ": unknown member (expected fields, rows)");
    if (!value.contains("fields") || !value["fields"].is_array())
      throw InputError(Member(where, "fields") + ": a list of {\"name\", \"type\", \"size\"} is required");
    std::vector<FieldDef> fields;
    std::unordered_set<std::string> names;
    const json& defs = value["fields"];
    for (size_t i = 0; i < defs.size(); ++i) {
      const std::string at = Index(Member(where, "fields"), i);
      const json& d = defs[i];
      if (!d.is_object() || !d.contains("name") || !d["name"].is_string() ||
          base::Trim(d["name"].get<std::string>()).empty())
        throw InputError(at + ": a field needs a \"name\"");
      for (const auto& [key, v] : d.items())
        if (key != "name" && key != "type" && key != "size") throw InputError(Member(at, key) + ": unknown member");
      FieldDef f;
      f.name = d["name"].get<std::string>();
      if (d.contains("type") && !d["type"].is_string())
        throw InputError(Member(at, "type") + ": a type is a text (string, integer, float, boolean or datetime)");
      f.type = TypeNamed(d.value("type", std::string("string")), Member(at, "type"));
      if (d.contains("size")) {
        if (!d["size"].is_number_unsigned() || d["size"].get<uint64_t>() > kLargestTextSize)
          throw InputError(Member(at, "size") + ": a size is a whole number of characters, at most " +
                           std::to_string(kLargestTextSize));
        f.size = d["size"].get<int>();
      } else {
        f.size = f.type == FieldType::String ? kInferredTextSize : 0;
      }
      if (!names.insert(base::Utf8Upper(f.name)).second)
        throw InputError(Member(at, "name") + ": field '" + base::Excerpt(f.name) + "' repeats");
      fields.push_back(f);
    }
    if (fields.empty()) throw InputError(Member(where, "fields") + ": a dataset needs at least one field");
    const json rows = value.contains("rows") ? value["rows"] : json::array();
    if (!rows.is_array()) throw InputError(Member(where, "rows") + ": a list of row objects is required");
    Fill(ds, fields, rows, Member(where, "rows"));
    return;
  }
  throw InputError(where + ": a dataset is a list of rows or {\"fields\", \"rows\"}");
}

json PacketToJson(const DataPacket& p) {
  json fields = json::array();
  for (const auto& f : p.fields) {
    json d = {{"name", f.name}, {"type", base::FieldTypeName(f.type)}};
    if (f.type == FieldType::String) d["size"] = f.size;
    fields.push_back(d);
  }
  json rows = json::array();
  for (const auto& row : p.rows) {
    json r = json::object();
    for (size_t i = 0; i < p.fields.size() && i < row.size(); ++i) r[p.fields[i].name] = VariantToJson(row[i]);
    rows.push_back(r);
  }
  return {{"fields", fields}, {"rows", rows}};
}

json DatasetToJson(const base::Dataset& ds) {
  if (!ds.Active()) return {{"fields", json::array()}, {"rows", json::array()}};
  return PacketToJson(ds.Data());
}

}  // namespace recebimento::harness
