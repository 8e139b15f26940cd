#pragma once
// The client dataset: typed fields, rows, a cursor, filters given as predicates,
// edit states and data packets. The host passes its datasets by reference and the
// screen works on those objects in place.
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/data_packet.h"
#include "base/variant.h"

namespace recebimento::base {

class DatasetError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Dataset;

// A value as a field of `def` stores it: converted to the field's type, texts cut to the
// size in characters, blanks in non-text fields read as Null. VariantError when it does not fit.
Variant ConvertForFieldDef(const FieldDef& def, const Variant& v);

// A field of the dataset's current row (or of the row being edited or inserted).
// Reading a field of an empty dataset gives Null. Writing needs the Edit or Insert
// state; a String value longer than the field's size is cut to the size in characters.
class Field {
 public:
  Field(Dataset& ds, int index) : ds_(&ds), index_(index) {}
  const FieldDef& Def() const;
  const std::string& FieldName() const { return Def().name; }
  Variant Value() const;
  bool IsNull() const;
  std::string AsString() const;
  double AsFloat() const;
  int64_t AsInteger() const;
  bool AsBoolean() const;
  DateTime AsDateTime() const;

  void SetValue(const Variant& v);  // converted to the field's type
  void SetAsString(const std::string& v) { SetValue(Variant(v)); }
  void SetAsFloat(double v) { SetValue(Variant(v)); }
  void SetAsInteger(int64_t v) { SetValue(Variant(v)); }
  void SetAsBoolean(bool v) { SetValue(Variant(v)); }
  void SetAsDateTime(const DateTime& v) { SetValue(Variant(v)); }
  void Clear();  // to Null

 private:
  template <typename T>
  T Convert(T (Variant::*as)() const) const;

  Dataset* ds_;
  int index_;
};

// Read-only view of one row, handed to filter predicates.
class RowView {
 public:
  RowView(const Dataset& ds, const std::vector<Variant>& values) : ds_(&ds), values_(&values) {}
  Variant Value(const std::string& field) const;  // DatasetError when the field is unknown
  std::string AsString(const std::string& field) const { return Value(field).AsString(); }
  double AsFloat(const std::string& field) const { return Value(field).AsFloat(); }
  int64_t AsInteger(const std::string& field) const { return Value(field).AsInteger(); }
  bool AsBoolean(const std::string& field) const { return Value(field).AsBoolean(); }

 private:
  const Dataset* ds_;
  const std::vector<Variant>* values_;
};

struct LocateOptions {
  bool case_insensitive = false;
  bool partial_key = false;  // a text key matches a field that starts with it
};

class Dataset {
 public:
  enum class State { Inactive, Browse, Edit, Insert };
  using Filter = std::function<bool(const RowView&)>;
  using Bookmark = uint64_t;  // stable identity of a row while it exists

  explicit Dataset(std::string name = "");

  const std::string& Name() const { return name_; }

  // Structure. Defining fields is allowed only while inactive; CreateDataSet opens an
  // empty dataset with the defined fields.
  void AddField(const std::string& name, FieldType type, int size = 0);
  void SetFields(std::vector<FieldDef> fields);
  const std::vector<FieldDef>& Fields() const { return fields_; }
  int FieldIndex(const std::string& name) const;  // case-insensitive; -1 when absent
  void CreateDataSet();
  void Open();   // DatasetError when no field is defined
  void Close();  // keeps fields and rows; Open shows them again
  bool Active() const { return state_ != State::Inactive; }
  State GetState() const { return state_; }

  // Packets. Data() copies the fields and every row (also rows hidden by a filter), in
  // stored order, with a pending edit included as if posted. SetData replaces fields and
  // rows, opens the dataset and goes to the first row; an empty packet keeps its fields; a
  // packet without fields leaves the dataset closed. A bad packet changes nothing.
  DataPacket Data() const;
  void SetData(const DataPacket& packet);
  void SetData(const Variant& packet);  // DatasetError when the variant holds no packet
  void EmptyDataSet();                  // removes every row, keeps the fields

  // Cursor over the visible rows (filtered and ordered).
  void First();
  void Last();
  void Next();
  void Prior();
  bool Eof() const;
  bool Bof() const;
  int RecNo() const;  // 1-based position among visible rows; 0 when empty
  void SetRecNo(int recno);
  int RecordCount() const;  // visible rows
  bool IsEmpty() const { return RecordCount() == 0; }
  Bookmark GetBookmark() const;  // DatasetError on an empty dataset
  bool BookmarkValid(Bookmark b) const;
  void GotoBookmark(Bookmark b);  // DatasetError when the row is gone or hidden

  // Locate: fields separated by ";" with one value each. Moves to the first visible match
  // and returns true; leaves the cursor where it was and returns false otherwise.
  bool Locate(const std::string& fields, const std::vector<Variant>& values, LocateOptions options = {});
  bool Locate(const std::string& field, const Variant& value, LocateOptions options = {});
  // Value of result_field at the first visible match, Null when none; the cursor stays.
  Variant Lookup(const std::string& fields, const std::vector<Variant>& values, const std::string& result_field) const;

  // Filter: rows for which the predicate is false are hidden while Filtered() is true;
  // they come back when the filter is removed or switched off.
  void SetFilter(Filter filter);  // installs and switches on; the cursor goes to the first row
  void SetFiltered(bool on);
  bool Filtered() const { return filtered_ && static_cast<bool>(filter_); }
  void ClearFilter();

  // Order of the visible rows: field names separated by ";", ascending; "" = stored order.
  void SetIndexFieldNames(const std::string& fields);
  const std::string& IndexFieldNames() const { return index_fields_; }

  // Editing. Edit and Insert/Append fill an edit buffer; Post writes it, Cancel drops it.
  // Moving the cursor posts a pending edit first, as client datasets do.
  void Edit();
  void Insert();  // a new row before the current one
  void Append();  // a new row at the end
  void Post();
  void Cancel();
  void Delete();  // removes the current row; the cursor goes to the next row (or the last, Eof)
  // Appends and posts one row, values in field order (missing trailing values are Null).
  void AppendRecord(const std::vector<Variant>& values);

  Field FieldByName(const std::string& name);  // DatasetError naming the field when absent
  Field Fields(int index);
  std::optional<Field> FindField(const std::string& name);

  // Convenience for the current row.
  Variant Value(const std::string& field) { return FieldByName(field).Value(); }

  // Files in the XML data-packet format (see packet_file.h).
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path) const;

 private:
  friend class Field;
  friend class RowView;
  struct Row {
    Bookmark id;
    std::vector<Variant> values;
  };

  std::string Describe() const;  // "cdsReceb" or "dataset" for messages
  [[noreturn]] void Fail(const std::string& what) const;
  void RequireActive(const char* op) const;
  void RequireFieldsEditable(const char* op) const;
  int RequireField(const std::string& name) const;
  std::vector<int> FieldList(const std::string& fields) const;
  bool Editing() const { return state_ == State::Edit || state_ == State::Insert; }
  // Recomputes the visible rows; the cursor follows `keep` when it stays visible.
  void RebuildView(std::optional<Bookmark> keep);
  void CheckBrowse();  // posts a pending edit
  void ApplyFilter(Filter filter, bool on);
  void MoveTo(int view_pos);
  std::vector<Variant>& CurrentValues();           // edit buffer; DatasetError when not editing
  const std::vector<Variant>* CurrentRow() const;  // edit buffer or current row; nullptr when none
  Variant ConvertForField(int index, const Variant& v) const;
  bool Matches(const std::vector<Variant>& values, const std::vector<int>& idx, const std::vector<Variant>& keys,
               LocateOptions options) const;
  std::optional<size_t> FindVisible(const std::string& fields, const std::vector<Variant>& values,
                                    LocateOptions options) const;
  std::vector<Row> ConvertPacketRows(const DataPacket& packet, const std::vector<FieldDef>& fields) const;

  // The fields are defined anew only through these, which also forget the positions found.
  void ReplaceFields(std::vector<FieldDef> fields);

  std::string name_;
  std::vector<FieldDef> fields_;
  // Positions of the field names asked so far (-1: no such field): a sale's code reads its
  // columns by name on every row.
  mutable std::unordered_map<std::string, int> field_positions_;
  std::vector<Row> rows_;     // stored order
  std::vector<size_t> view_;  // indexes into rows_ of the visible rows, in view order
  int cursor_ = 0;            // index into view_
  bool eof_ = true;
  bool bof_ = true;
  State state_ = State::Inactive;
  std::vector<Variant> edit_buffer_;
  size_t insert_at_ = 0;  // stored position of a pending insert
  int insert_view_pos_ = 0;
  Filter filter_;
  bool filtered_ = false;
  std::string index_fields_;
  std::vector<int> index_columns_;
  Bookmark next_id_ = 1;
};

}  // namespace recebimento::base
