#pragma once
// The variant that carries host results (oleRetorno), data packets and the results of
// the data-module functions (a packet, a value, or the error text in its place).
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "base/datetime.h"

namespace recebimento::base {

struct DataPacket;

class VariantError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Variant {
 public:
  enum class Kind { Empty, Null, Bool, Integer, Double, String, DateTime, Array, Packet };

  Variant() = default;  // Empty (unassigned)
  Variant(bool v);
  Variant(int v);
  Variant(int64_t v);
  Variant(double v);
  Variant(const char* v);
  Variant(std::string v);
  Variant(DateTime v);
  Variant(std::vector<Variant> v);
  Variant(DataPacket packet);
  Variant(std::shared_ptr<const DataPacket> packet);
  static Variant Null();
  // A one-dimensional array of `count` empty elements (VarArrayCreate([0, count-1])).
  static Variant Array(size_t count);

  Kind kind() const;
  bool IsEmpty() const { return kind() == Kind::Empty; }
  bool IsNull() const { return kind() == Kind::Null; }
  bool IsEmptyOrNull() const { return IsEmpty() || IsNull(); }
  bool IsString() const { return kind() == Kind::String; }
  bool IsNumber() const { return kind() == Kind::Integer || kind() == Kind::Double; }
  bool IsArray() const { return kind() == Kind::Array; }
  bool IsPacket() const { return kind() == Kind::Packet; }

  // Conversions. Empty and Null read as "", 0, false. A text converts to a number when it
  // holds one (decimal point "." or ","; a blank text is 0); otherwise VariantError names
  // both kinds. A double reads as an integer rounded half away from zero. Booleans read as
  // "True"/"False"; doubles as the shortest text that reads back equal; date-times as
  // IsoDateTime(). Texts read as booleans: "True"/"False", "T"/"F", "1"/"0", "S"/"N".
  // Arrays and packets convert to nothing else.
  std::string AsString() const;
  double AsFloat() const;
  int64_t AsInteger() const;
  bool AsBoolean() const;
  DateTime AsDateTime() const;

  const std::vector<Variant>& AsArray() const;  // VariantError when not an array
  std::vector<Variant>& AsArray();
  size_t Size() const;                        // elements of an array, 0 otherwise
  const Variant& operator[](size_t i) const;  // VariantError when out of bounds
  Variant& operator[](size_t i);

  const DataPacket& AsPacket() const;  // VariantError when not a packet
  std::shared_ptr<const DataPacket> PacketPtr() const;

  // Same kind and same value; packets compare by content.
  bool operator==(const Variant& other) const;
  const char* KindName() const;

 private:
  struct NullTag {
    bool operator==(const NullTag&) const = default;
  };
  using Storage = std::variant<std::monostate, NullTag, bool, int64_t, double, std::string, DateTime,
                               std::vector<Variant>, std::shared_ptr<const DataPacket>>;
  Storage v_;
};

}  // namespace recebimento::base
