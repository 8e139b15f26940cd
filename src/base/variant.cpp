#include "base/variant.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "base/data_packet.h"

namespace recebimento::base {

namespace {

std::string Trimmed(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Reads a whole text as a number; "," is accepted as the decimal point.
bool ParseDouble(const std::string& raw, double& out) {
  std::string t = Trimmed(raw);
  if (t.empty()) {
    out = 0;
    return true;
  }
  if (t.find('.') != std::string::npos && t.find(',') != std::string::npos) return false;
  for (char& c : t) {
    if (c == ',') c = '.';
  }
  const char* b = t.data();
  const char* e = b + t.size();
  if (*b == '+') ++b;
  const auto [p, ec] = std::from_chars(b, e, out);
  return ec == std::errc() && p == e && std::isfinite(out);
}

bool ParseInteger(const std::string& raw, int64_t& out) {
  const std::string t = Trimmed(raw);
  if (t.empty()) {
    out = 0;
    return true;
  }
  const char* b = t.data();
  const char* e = b + t.size();
  if (*b == '+') ++b;
  const auto [p, ec] = std::from_chars(b, e, out);
  return ec == std::errc() && p == e;
}

int64_t RoundToInteger(double d, const char* from) {
  const double r = std::round(d);
  if (!std::isfinite(r) || r < -9.2233720368547758e18 || r >= 9.2233720368547758e18) {
    throw VariantError(std::string("Could not convert variant of type (") + from +
                       ") into type (Integer): out of range");
  }
  return static_cast<int64_t>(r);
}

[[noreturn]] void CannotConvert(const Variant& v, const char* to) {
  std::string msg = std::string("Could not convert variant of type (") + v.KindName() + ") into type (" + to + ")";
  if (v.IsString()) msg += ": \"" + v.AsString() + "\"";
  throw VariantError(msg);
}

}  // namespace

Variant::Variant(bool v) : v_(v) {}
Variant::Variant(int v) : v_(static_cast<int64_t>(v)) {}
Variant::Variant(int64_t v) : v_(v) {}
Variant::Variant(double v) : v_(v) {}
Variant::Variant(const char* v) : v_(std::string(v ? v : "")) {}
Variant::Variant(std::string v) : v_(std::move(v)) {}
Variant::Variant(DateTime v) : v_(v) {}
Variant::Variant(std::vector<Variant> v) : v_(std::move(v)) {}
Variant::Variant(DataPacket packet) : v_(std::make_shared<const DataPacket>(std::move(packet))) {}
Variant::Variant(std::shared_ptr<const DataPacket> packet) {
  if (packet) {
    v_ = std::move(packet);
  } else {
    v_ = NullTag{};
  }
}

Variant Variant::Null() {
  Variant v;
  v.v_ = NullTag{};
  return v;
}

Variant Variant::Array(size_t count) { return Variant(std::vector<Variant>(count)); }

Variant::Kind Variant::kind() const { return static_cast<Kind>(v_.index()); }

const char* Variant::KindName() const {
  switch (kind()) {
    case Kind::Empty: return "Empty";
    case Kind::Null: return "Null";
    case Kind::Bool: return "Boolean";
    case Kind::Integer: return "Integer";
    case Kind::Double: return "Double";
    case Kind::String: return "String";
    case Kind::DateTime: return "Date";
    case Kind::Array: return "Array";
    case Kind::Packet: return "Packet";
  }
  return "Unknown";
}

std::string Variant::AsString() const {
  switch (kind()) {
    case Kind::Empty:
    case Kind::Null: return "";
    case Kind::Bool: return std::get<bool>(v_) ? "True" : "False";
    case Kind::Integer: return std::to_string(std::get<int64_t>(v_));
    case Kind::Double: {
      const double d = std::get<double>(v_);
      if (d == 0) return "0";  // also for -0
      char buf[64];
      const auto [p, ec] = std::to_chars(buf, buf + sizeof buf, d);
      return std::string(buf, p);
    }
    case Kind::String: return std::get<std::string>(v_);
    case Kind::DateTime: return std::get<DateTime>(v_).IsoDateTime();
    case Kind::Array:
    case Kind::Packet: break;
  }
  CannotConvert(*this, "String");
}

double Variant::AsFloat() const {
  switch (kind()) {
    case Kind::Empty:
    case Kind::Null: return 0;
    case Kind::Bool: return std::get<bool>(v_) ? 1 : 0;
    case Kind::Integer: return static_cast<double>(std::get<int64_t>(v_));
    case Kind::Double: return std::get<double>(v_);
    case Kind::String: {
      double d = 0;
      if (ParseDouble(std::get<std::string>(v_), d)) return d;
      break;
    }
    case Kind::DateTime: return std::get<DateTime>(v_).DayNumber();
    case Kind::Array:
    case Kind::Packet: break;
  }
  CannotConvert(*this, "Double");
}

int64_t Variant::AsInteger() const {
  switch (kind()) {
    case Kind::Empty:
    case Kind::Null: return 0;
    case Kind::Bool: return std::get<bool>(v_) ? 1 : 0;
    case Kind::Integer: return std::get<int64_t>(v_);
    case Kind::Double: return RoundToInteger(std::get<double>(v_), "Double");
    case Kind::String: {
      int64_t i = 0;
      if (ParseInteger(std::get<std::string>(v_), i)) return i;
      double d = 0;
      if (ParseDouble(std::get<std::string>(v_), d)) return RoundToInteger(d, "String");
      break;
    }
    case Kind::DateTime: return RoundToInteger(std::get<DateTime>(v_).DayNumber(), "Date");
    case Kind::Array:
    case Kind::Packet: break;
  }
  CannotConvert(*this, "Integer");
}

bool Variant::AsBoolean() const {
  switch (kind()) {
    case Kind::Empty:
    case Kind::Null: return false;
    case Kind::Bool: return std::get<bool>(v_);
    case Kind::Integer: return std::get<int64_t>(v_) != 0;
    case Kind::Double: return std::get<double>(v_) != 0;
    case Kind::String: {
      const std::string t = Lower(Trimmed(std::get<std::string>(v_)));
      // "S"/"N" are this system's own yes/no flags.
      if (t == "true" || t == "t" || t == "1" || t == "s") return true;
      if (t == "false" || t == "f" || t == "0" || t == "n" || t.empty()) return false;
      double d = 0;
      if (ParseDouble(t, d)) return d != 0;
      break;
    }
    case Kind::DateTime:
    case Kind::Array:
    case Kind::Packet: break;
  }
  CannotConvert(*this, "Boolean");
}

DateTime Variant::AsDateTime() const {
  switch (kind()) {
    case Kind::Empty:
    case Kind::Null: return DateTime();
    case Kind::Integer:
    case Kind::Double:
      try {
        return DateTime::FromDayNumber(kind() == Kind::Integer ? static_cast<double>(std::get<int64_t>(v_))
                                                               : std::get<double>(v_));
      } catch (const std::out_of_range& e) {
        throw VariantError(e.what());
      }
    case Kind::String: {
      const std::string& s = std::get<std::string>(v_);
      if (Trimmed(s).empty()) return DateTime();
      if (auto dt = DateTime::Parse(s)) return *dt;
      break;
    }
    case Kind::DateTime: return std::get<DateTime>(v_);
    case Kind::Bool:
    case Kind::Array:
    case Kind::Packet: break;
  }
  CannotConvert(*this, "Date");
}

const std::vector<Variant>& Variant::AsArray() const {
  if (!IsArray()) CannotConvert(*this, "Array");
  return std::get<std::vector<Variant>>(v_);
}

std::vector<Variant>& Variant::AsArray() {
  if (!IsArray()) CannotConvert(*this, "Array");
  return std::get<std::vector<Variant>>(v_);
}

size_t Variant::Size() const { return IsArray() ? std::get<std::vector<Variant>>(v_).size() : 0; }

const Variant& Variant::operator[](size_t i) const {
  const auto& a = AsArray();
  if (i >= a.size()) {
    throw VariantError("Variant array index " + std::to_string(i) + " out of bounds (size " + std::to_string(a.size()) +
                       ")");
  }
  return a[i];
}

Variant& Variant::operator[](size_t i) {
  auto& a = AsArray();
  if (i >= a.size()) {
    throw VariantError("Variant array index " + std::to_string(i) + " out of bounds (size " + std::to_string(a.size()) +
                       ")");
  }
  return a[i];
}

const DataPacket& Variant::AsPacket() const {
  if (!IsPacket()) CannotConvert(*this, "Packet");
  return *std::get<std::shared_ptr<const DataPacket>>(v_);
}

std::shared_ptr<const DataPacket> Variant::PacketPtr() const {
  return IsPacket() ? std::get<std::shared_ptr<const DataPacket>>(v_) : nullptr;
}

bool Variant::operator==(const Variant& other) const {
  if (kind() != other.kind()) return false;
  if (IsPacket()) {
    const auto& a = std::get<std::shared_ptr<const DataPacket>>(v_);
    const auto& b = std::get<std::shared_ptr<const DataPacket>>(other.v_);
    return a == b || *a == *b;
  }
  return v_ == other.v_;
}

}  // namespace recebimento::base
