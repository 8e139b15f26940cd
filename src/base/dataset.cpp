#include "base/dataset.h"

#include <algorithm>
#include <numeric>
#include <unordered_set>

#include "base/packet_file.h"
#include "base/text.h"

namespace recebimento::base {

namespace {

// Stored values are already of the field's kind, so ordering compares like with like.
int CompareStored(const Variant& a, const Variant& b, FieldType type) {
  const bool an = a.IsEmptyOrNull();
  const bool bn = b.IsEmptyOrNull();
  if (an || bn) return an == bn ? 0 : (an ? -1 : 1);
  switch (type) {
    case FieldType::String: {
      const int c = a.AsString().compare(b.AsString());
      return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    case FieldType::Integer: {
      const int64_t x = a.AsInteger(), y = b.AsInteger();
      return x < y ? -1 : (x > y ? 1 : 0);
    }
    case FieldType::Float: {
      const double x = a.AsFloat(), y = b.AsFloat();
      return x < y ? -1 : (x > y ? 1 : 0);
    }
    case FieldType::Boolean: return static_cast<int>(a.AsBoolean()) - static_cast<int>(b.AsBoolean());
    case FieldType::DateTime: {
      const DateTime x = a.AsDateTime(), y = b.AsDateTime();
      return x < y ? -1 : (x > y ? 1 : 0);
    }
  }
  return 0;
}

// A key matches a stored value of the field's type. A key that cannot be read as the
// field's type matches nothing.
bool KeyMatches(const Variant& stored, const Variant& key, FieldType type, LocateOptions options) {
  if (type == FieldType::String) {
    // Client datasets do not tell an empty text from a null one.
    std::string s = stored.AsString();
    std::string k = key.IsEmptyOrNull() ? std::string() : key.AsString();
    if (options.case_insensitive) {
      s = Utf8Upper(s);
      k = Utf8Upper(k);
    }
    return options.partial_key ? StartsWith(s, k) : s == k;
  }
  if (key.IsEmptyOrNull() || stored.IsEmptyOrNull()) return key.IsEmptyOrNull() && stored.IsEmptyOrNull();
  if (key.IsString() && Trim(key.AsString()).empty()) return false;
  try {
    switch (type) {
      case FieldType::Integer:
      case FieldType::Float: return stored.AsFloat() == key.AsFloat();
      case FieldType::Boolean: return stored.AsBoolean() == key.AsBoolean();
      case FieldType::DateTime: return stored.AsDateTime() == key.AsDateTime();
      case FieldType::String: break;
    }
  } catch (const VariantError&) {
  }
  return false;
}

void CheckFieldList(const std::vector<FieldDef>& fields, const std::string& owner) {
  // Names compared once each through a set: a packet may bring many thousands of fields.
  std::unordered_set<std::string> seen;
  seen.reserve(fields.size());
  for (const FieldDef& field : fields) {
    if (Trim(field.name).empty()) throw DatasetError(owner + ": a field has no name");
    if (field.size < 0) throw DatasetError(owner + ": field '" + Excerpt(field.name) + "' has a negative size");
    if (!seen.insert(Utf8Upper(field.name)).second) {
      throw DatasetError(owner + ": duplicate field name '" + Excerpt(field.name) + "'");
    }
  }
}

int FindFieldIn(const std::vector<FieldDef>& fields, const std::string& name) {
  for (size_t i = 0; i < fields.size(); ++i) {  // exact spelling first: filters ask per row
    if (fields[i].name == name) return static_cast<int>(i);
  }
  for (size_t i = 0; i < fields.size(); ++i) {
    if (IEquals(fields[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

// "A;B" to field positions; DatasetError naming the first unknown field.
std::vector<int> ResolveColumns(const std::vector<FieldDef>& fields, const std::string& names,
                                const std::string& owner) {
  std::vector<int> idx;
  for (const std::string& part : Split(names, ";")) {
    const std::string name = Trim(part);
    if (name.empty()) continue;
    const int i = FindFieldIn(fields, name);
    if (i < 0) throw DatasetError(owner + ": field '" + name + "' not found");
    idx.push_back(i);
  }
  return idx;
}

}  // namespace

// ---- Field ----------------------------------------------------------------------------

const FieldDef& Field::Def() const {
  if (index_ < 0 || static_cast<size_t>(index_) >= ds_->fields_.size()) {
    ds_->Fail("field position " + std::to_string(index_) + " no longer exists (the fields were redefined)");
  }
  return ds_->fields_[static_cast<size_t>(index_)];
}

Variant Field::Value() const {
  const std::vector<Variant>* values = ds_->CurrentRow();
  if (!values) return Variant::Null();
  if (index_ < 0 || static_cast<size_t>(index_) >= values->size()) {
    ds_->Fail("field position " + std::to_string(index_) + " no longer exists (the fields were redefined)");
  }
  return (*values)[static_cast<size_t>(index_)];
}

bool Field::IsNull() const { return Value().IsEmptyOrNull(); }
std::string Field::AsString() const { return Value().AsString(); }

// Conversion failures name the field so the message says where the bad value sits.
template <typename T>
T Field::Convert(T (Variant::*as)() const) const {
  try {
    return (Value().*as)();
  } catch (const VariantError& e) {
    ds_->Fail("field '" + FieldName() + "': " + e.what());
  }
}

double Field::AsFloat() const { return Convert(&Variant::AsFloat); }
int64_t Field::AsInteger() const { return Convert(&Variant::AsInteger); }
bool Field::AsBoolean() const { return Convert(&Variant::AsBoolean); }
DateTime Field::AsDateTime() const { return Convert(&Variant::AsDateTime); }

void Field::SetValue(const Variant& v) {
  if (!ds_->Editing()) {
    ds_->Fail("dataset not in edit or insert mode (writing field '" + FieldName() + "')");
  }
  Def();  // the position must still exist
  Variant converted = ds_->ConvertForField(index_, v);
  ds_->CurrentValues()[static_cast<size_t>(index_)] = std::move(converted);
}

void Field::Clear() { SetValue(Variant::Null()); }

// ---- RowView --------------------------------------------------------------------------

Variant RowView::Value(const std::string& field) const {
  return (*values_)[static_cast<size_t>(ds_->RequireField(field))];
}

// ---- Structure ------------------------------------------------------------------------

Dataset::Dataset(std::string name) : name_(std::move(name)) {}

std::string Dataset::Describe() const { return name_.empty() ? std::string("dataset") : name_; }

void Dataset::Fail(const std::string& what) const { throw DatasetError(Describe() + ": " + what); }

void Dataset::RequireActive(const char* op) const {
  if (!Active()) Fail(std::string("cannot ") + op + " a closed dataset");
}

void Dataset::RequireFieldsEditable(const char* op) const {
  if (Active()) Fail(std::string("cannot ") + op + " while the dataset is open");
}

void Dataset::ReplaceFields(std::vector<FieldDef> fields) {
  fields_ = std::move(fields);
  field_positions_.clear();
}

int Dataset::FieldIndex(const std::string& name) const {
  if (auto it = field_positions_.find(name); it != field_positions_.end()) return it->second;
  const int i = FindFieldIn(fields_, name);
  // Names made up at run time must not pile up.
  if (field_positions_.size() >= 256) field_positions_.clear();
  field_positions_.emplace(name, i);
  return i;
}

int Dataset::RequireField(const std::string& name) const {
  const int i = FieldIndex(name);
  if (i < 0) Fail("field '" + name + "' not found");
  return i;
}

std::vector<int> Dataset::FieldList(const std::string& fields) const {
  return ResolveColumns(fields_, fields, Describe());
}

void Dataset::AddField(const std::string& name, FieldType type, int size) {
  RequireFieldsEditable("define fields");
  std::vector<FieldDef> fields = fields_;
  fields.push_back({name, type, size});
  CheckFieldList(fields, Describe());
  ReplaceFields(std::move(fields));
  for (Row& r : rows_) r.values.resize(fields_.size(), Variant::Null());
}

void Dataset::SetFields(std::vector<FieldDef> fields) {
  RequireFieldsEditable("define fields");
  CheckFieldList(fields, Describe());
  ReplaceFields(std::move(fields));
  rows_.clear();
  view_.clear();
  index_columns_.clear();  // resolved again when the dataset opens
}

void Dataset::CreateDataSet() {
  if (fields_.empty()) Fail("cannot create a dataset without fields");
  index_columns_ = FieldList(index_fields_);
  rows_.clear();
  edit_buffer_.clear();
  state_ = State::Browse;
  RebuildView(std::nullopt);
  First();
}

void Dataset::Open() {
  if (Active()) return;
  if (fields_.empty()) Fail("cannot open a dataset without fields");
  index_columns_ = FieldList(index_fields_);
  state_ = State::Browse;
  RebuildView(std::nullopt);
  First();
}

void Dataset::Close() {
  edit_buffer_.clear();
  state_ = State::Inactive;
  cursor_ = 0;
  eof_ = bof_ = true;
}

// ---- Packets --------------------------------------------------------------------------

DataPacket Dataset::Data() const {
  DataPacket p;
  p.fields = fields_;
  p.rows.reserve(rows_.size() + 1);
  for (const Row& r : rows_) p.rows.push_back(r.values);
  // A pending edit goes out as if posted.
  if (state_ == State::Edit && !view_.empty()) {
    p.rows[view_[static_cast<size_t>(cursor_)]] = edit_buffer_;
  } else if (state_ == State::Insert) {
    p.rows.insert(p.rows.begin() + static_cast<std::ptrdiff_t>(insert_at_), edit_buffer_);
  }
  return p;
}

std::vector<Dataset::Row> Dataset::ConvertPacketRows(const DataPacket& packet,
                                                     const std::vector<FieldDef>& fields) const {
  std::vector<Row> rows;
  rows.reserve(packet.rows.size());
  Bookmark id = next_id_;
  for (size_t r = 0; r < packet.rows.size(); ++r) {
    const auto& src = packet.rows[r];
    if (src.size() != fields.size()) {
      Fail("packet row " + std::to_string(r + 1) + " has " + std::to_string(src.size()) + " values for " +
           std::to_string(fields.size()) + " fields");
    }
    Row row{id++, {}};
    row.values.reserve(fields.size());
    for (size_t f = 0; f < fields.size(); ++f) {
      try {
        row.values.push_back(ConvertForFieldDef(fields[f], src[f]));
      } catch (const VariantError& e) {
        Fail("packet row " + std::to_string(r + 1) + ", field '" + fields[f].name + "': " + e.what());
      }
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

void Dataset::SetData(const DataPacket& packet) {
  CheckFieldList(packet.fields, Describe());
  // Everything is checked before anything changes.
  std::vector<int> index_columns =
      packet.fields.empty() ? std::vector<int>{} : ResolveColumns(packet.fields, index_fields_, Describe());
  std::vector<Row> rows = ConvertPacketRows(packet, packet.fields);
  ReplaceFields(packet.fields);
  rows_ = std::move(rows);
  next_id_ += rows_.size();
  edit_buffer_.clear();
  index_columns_ = std::move(index_columns);
  if (fields_.empty()) {
    // Like assigning a null packet: no structure, nothing to show.
    Close();
    view_.clear();
    return;
  }
  state_ = State::Browse;
  RebuildView(std::nullopt);
  First();
}

void Dataset::SetData(const Variant& packet) {
  if (!packet.IsPacket()) {
    std::string what = "cannot load a " + std::string(packet.KindName()) + " value as a data packet";
    if (packet.IsString()) what += ": \"" + Utf8Truncate(packet.AsString(), 200, "...") + "\"";
    Fail(what);
  }
  SetData(packet.AsPacket());
}

void Dataset::EmptyDataSet() {
  RequireActive("empty");
  edit_buffer_.clear();
  state_ = State::Browse;
  rows_.clear();
  RebuildView(std::nullopt);
  First();
}

// ---- Cursor ---------------------------------------------------------------------------

void Dataset::MoveTo(int view_pos) {
  cursor_ = std::clamp(view_pos, 0, std::max(0, static_cast<int>(view_.size()) - 1));
}

void Dataset::First() {
  RequireActive("move in");
  CheckBrowse();
  MoveTo(0);
  bof_ = true;
  eof_ = view_.empty();
}

void Dataset::Last() {
  RequireActive("move in");
  CheckBrowse();
  MoveTo(static_cast<int>(view_.size()) - 1);
  eof_ = true;
  bof_ = view_.empty();
}

void Dataset::Next() {
  RequireActive("move in");
  CheckBrowse();
  if (cursor_ + 1 < static_cast<int>(view_.size())) {
    ++cursor_;
    bof_ = false;
    eof_ = false;
  } else {
    eof_ = true;
  }
}

void Dataset::Prior() {
  RequireActive("move in");
  CheckBrowse();
  if (cursor_ > 0 && !view_.empty()) {
    --cursor_;
    bof_ = false;
    eof_ = false;
  } else {
    bof_ = true;
  }
}

bool Dataset::Eof() const { return !Active() || view_.empty() || (eof_ && state_ != State::Insert); }
bool Dataset::Bof() const { return !Active() || view_.empty() || (bof_ && state_ != State::Insert); }

int Dataset::RecNo() const {
  if (!Active()) return 0;
  if (state_ == State::Insert) return insert_view_pos_ + 1;
  return view_.empty() ? 0 : cursor_ + 1;
}

void Dataset::SetRecNo(int recno) {
  RequireActive("move in");
  CheckBrowse();
  if (recno < 1 || recno > static_cast<int>(view_.size())) {
    Fail("record number " + std::to_string(recno) + " out of range (1.." + std::to_string(view_.size()) + ")");
  }
  MoveTo(recno - 1);
  bof_ = eof_ = false;
}

int Dataset::RecordCount() const { return Active() ? static_cast<int>(view_.size()) : 0; }

Dataset::Bookmark Dataset::GetBookmark() const {
  if (!Active() || view_.empty()) Fail("cannot take a bookmark of an empty dataset");
  return rows_[view_[static_cast<size_t>(cursor_)]].id;
}

bool Dataset::BookmarkValid(Bookmark b) const {
  return Active() && std::any_of(view_.begin(), view_.end(), [&](size_t i) { return rows_[i].id == b; });
}

void Dataset::GotoBookmark(Bookmark b) {
  RequireActive("move in");
  CheckBrowse();
  for (size_t v = 0; v < view_.size(); ++v) {
    if (rows_[view_[v]].id == b) {
      MoveTo(static_cast<int>(v));
      bof_ = eof_ = false;
      return;
    }
  }
  Fail("bookmark not found: the row was deleted or is hidden by the filter");
}

void Dataset::RebuildView(std::optional<Bookmark> keep) {
  std::vector<size_t> view;
  view.reserve(rows_.size());
  const bool filtering = Filtered();
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (!filtering || filter_(RowView(*this, rows_[i].values))) view.push_back(i);
  }
  if (!index_columns_.empty()) {
    std::stable_sort(view.begin(), view.end(), [&](size_t a, size_t b) {
      for (int c : index_columns_) {
        const int r = CompareStored(rows_[a].values[static_cast<size_t>(c)], rows_[b].values[static_cast<size_t>(c)],
                                    fields_[static_cast<size_t>(c)].type);
        if (r != 0) return r < 0;
      }
      return false;
    });
  }
  view_ = std::move(view);
  if (keep) {
    for (size_t v = 0; v < view_.size(); ++v) {
      if (rows_[view_[v]].id == *keep) {
        cursor_ = static_cast<int>(v);
        return;
      }
    }
  }
  MoveTo(cursor_);
}

// ---- Locate, filter, order ------------------------------------------------------------

bool Dataset::Matches(const std::vector<Variant>& values, const std::vector<int>& idx, const std::vector<Variant>& keys,
                      LocateOptions options) const {
  for (size_t k = 0; k < idx.size(); ++k) {
    const auto f = static_cast<size_t>(idx[k]);
    if (!KeyMatches(values[f], keys[k], fields_[f].type, options)) return false;
  }
  return true;
}

std::optional<size_t> Dataset::FindVisible(const std::string& fields, const std::vector<Variant>& values,
                                           LocateOptions options) const {
  const std::vector<int> idx = FieldList(fields);
  if (idx.empty()) Fail("no field named to locate on");
  if (idx.size() != values.size()) {
    Fail("locate on '" + fields + "' needs " + std::to_string(idx.size()) + " values, got " +
         std::to_string(values.size()));
  }
  for (size_t v = 0; v < view_.size(); ++v) {
    if (Matches(rows_[view_[v]].values, idx, values, options)) return v;
  }
  return std::nullopt;
}

bool Dataset::Locate(const std::string& fields, const std::vector<Variant>& values, LocateOptions options) {
  RequireActive("locate in");
  CheckBrowse();
  const auto found = FindVisible(fields, values, options);
  if (!found) return false;
  MoveTo(static_cast<int>(*found));
  bof_ = eof_ = false;
  return true;
}

bool Dataset::Locate(const std::string& field, const Variant& value, LocateOptions options) {
  return Locate(field, std::vector<Variant>{value}, options);
}

Variant Dataset::Lookup(const std::string& fields, const std::vector<Variant>& values,
                        const std::string& result_field) const {
  RequireActive("look up in");
  const int result = RequireField(result_field);
  const auto found = FindVisible(fields, values, {});
  return found ? rows_[view_[*found]].values[static_cast<size_t>(result)] : Variant::Null();
}

void Dataset::ApplyFilter(Filter filter, bool on) {
  if (Active()) CheckBrowse();
  Filter old_filter = std::move(filter_);
  const bool old_on = filtered_;
  filter_ = std::move(filter);
  filtered_ = on;
  if (!Active()) return;
  try {
    RebuildView(std::nullopt);
  } catch (...) {
    // A predicate that fails leaves the previous filter in place.
    filter_ = std::move(old_filter);
    filtered_ = old_on;
    throw;
  }
  First();
}

void Dataset::SetFilter(Filter filter) { ApplyFilter(std::move(filter), true); }
void Dataset::SetFiltered(bool on) { ApplyFilter(filter_, on); }
void Dataset::ClearFilter() { ApplyFilter(nullptr, false); }

void Dataset::SetIndexFieldNames(const std::string& fields) {
  if (!Active()) {  // fields may not be defined yet; checked when the dataset opens
    index_fields_ = fields;
    index_columns_.clear();
    return;
  }
  std::vector<int> columns = FieldList(fields);  // DatasetError on an unknown field, nothing changed
  std::optional<Bookmark> keep;
  if (Active()) {
    CheckBrowse();
    if (!view_.empty()) keep = GetBookmark();
  }
  index_fields_ = fields;
  index_columns_ = std::move(columns);
  if (Active()) RebuildView(keep);
}

// ---- Editing --------------------------------------------------------------------------

void Dataset::CheckBrowse() {
  if (Editing()) Post();
}

std::vector<Variant>& Dataset::CurrentValues() {
  if (!Editing()) Fail("dataset not in edit or insert mode");
  return edit_buffer_;
}

const std::vector<Variant>* Dataset::CurrentRow() const {
  if (Editing()) return &edit_buffer_;
  if (!Active() || view_.empty()) return nullptr;
  return &rows_[view_[static_cast<size_t>(cursor_)]].values;
}

Variant Dataset::ConvertForField(int index, const Variant& v) const {
  const FieldDef& def = fields_[static_cast<size_t>(index)];
  try {
    return ConvertForFieldDef(def, v);
  } catch (const VariantError& e) {
    Fail("invalid value for field '" + def.name + "': " + e.what());
  }
}

Variant ConvertForFieldDef(const FieldDef& def, const Variant& v) {
  if (v.IsEmptyOrNull()) return Variant::Null();
  if (v.IsArray() || v.IsPacket()) {
    throw VariantError(std::string("a ") + v.KindName() + " value does not fit a " + FieldTypeName(def.type) +
                       " field");
  }
  if (def.type != FieldType::String && v.IsString() && Trim(v.AsString()).empty()) return Variant::Null();
  switch (def.type) {
    case FieldType::String: {
      std::string s = v.AsString();
      if (def.size > 0 && Utf8Length(s) > static_cast<size_t>(def.size)) s = Utf8Left(s, static_cast<size_t>(def.size));
      return Variant(std::move(s));
    }
    case FieldType::Integer: return Variant(v.AsInteger());
    case FieldType::Float: return Variant(v.AsFloat());
    case FieldType::Boolean: return Variant(v.AsBoolean());
    case FieldType::DateTime: return Variant(v.AsDateTime());
  }
  return v;
}

void Dataset::Edit() {
  RequireActive("edit");
  if (Editing()) return;
  if (view_.empty()) {
    Insert();  // editing an empty dataset starts a new row, as client datasets do
    return;
  }
  edit_buffer_ = rows_[view_[static_cast<size_t>(cursor_)]].values;
  state_ = State::Edit;
}

void Dataset::Insert() {
  RequireActive("insert into");
  CheckBrowse();
  insert_at_ = view_.empty() ? rows_.size() : view_[static_cast<size_t>(cursor_)];
  insert_view_pos_ = view_.empty() ? 0 : cursor_;
  edit_buffer_.assign(fields_.size(), Variant::Null());
  state_ = State::Insert;
}

void Dataset::Append() {
  RequireActive("append to");
  CheckBrowse();
  insert_at_ = rows_.size();
  insert_view_pos_ = static_cast<int>(view_.size());
  edit_buffer_.assign(fields_.size(), Variant::Null());
  state_ = State::Insert;
}

void Dataset::Post() {
  RequireActive("post to");
  if (!Editing()) Fail("dataset not in edit or insert mode");
  Bookmark id = 0;
  if (state_ == State::Edit) {
    Row& row = rows_[view_[static_cast<size_t>(cursor_)]];
    row.values = std::move(edit_buffer_);
    id = row.id;
    if (!Filtered() && index_columns_.empty()) {
      // Every row stays where it was: editing row by row stays linear.
      edit_buffer_.clear();
      state_ = State::Browse;
      bof_ = eof_ = false;
      return;
    }
  } else {
    id = next_id_++;
    const bool at_end = insert_at_ == rows_.size();
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(insert_at_), Row{id, std::move(edit_buffer_)});
    cursor_ = insert_view_pos_;
    if (at_end && !Filtered() && index_columns_.empty()) {
      // Appending in stored order: the view simply grows (keeps bulk appends linear).
      edit_buffer_.clear();
      state_ = State::Browse;
      view_.push_back(rows_.size() - 1);
      cursor_ = static_cast<int>(view_.size()) - 1;
      bof_ = eof_ = false;
      return;
    }
  }
  edit_buffer_.clear();
  state_ = State::Browse;
  RebuildView(id);
  bof_ = eof_ = false;
}

void Dataset::Cancel() {
  if (!Editing()) return;
  edit_buffer_.clear();
  state_ = State::Browse;
}

void Dataset::Delete() {
  RequireActive("delete from");
  if (state_ == State::Insert) {
    Cancel();  // the new row was never stored
    return;
  }
  Cancel();
  if (view_.empty()) Fail("cannot delete from an empty dataset");
  const int pos = cursor_;
  const bool was_last = pos + 1 == static_cast<int>(view_.size());
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(view_[static_cast<size_t>(pos)]));
  cursor_ = pos;
  RebuildView(std::nullopt);
  // Deleting the last row leaves Eof set, so "while not Eof: delete or next" loops end.
  eof_ = view_.empty() || was_last;
  bof_ = view_.empty();
}

void Dataset::AppendRecord(const std::vector<Variant>& values) {
  if (values.size() > fields_.size()) {
    Fail(std::to_string(values.size()) + " values for " + std::to_string(fields_.size()) + " fields");
  }
  Append();
  try {
    for (size_t i = 0; i < values.size(); ++i) edit_buffer_[i] = ConvertForField(static_cast<int>(i), values[i]);
  } catch (...) {
    Cancel();
    throw;
  }
  Post();
}

// ---- Fields ---------------------------------------------------------------------------

Field Dataset::FieldByName(const std::string& name) { return Field(*this, RequireField(name)); }

Field Dataset::Fields(int index) {
  if (index < 0 || index >= static_cast<int>(fields_.size())) {
    Fail("field index " + std::to_string(index) + " out of range");
  }
  return Field(*this, index);
}

std::optional<Field> Dataset::FindField(const std::string& name) {
  const int i = FieldIndex(name);
  if (i < 0) return std::nullopt;
  return Field(*this, i);
}

// ---- Files ----------------------------------------------------------------------------

void Dataset::LoadFromFile(const std::string& path) { SetData(ReadPacketFile(path)); }

void Dataset::SaveToFile(const std::string& path) const { WritePacketFile(path, Data()); }

}  // namespace recebimento::base
