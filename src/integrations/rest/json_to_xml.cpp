#include "integrations/rest/json_to_xml.h"

#include <cctype>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "integrations/rest/json_nesting.h"

namespace recebimento::integrations {

namespace {

using json = nlohmann::json;

bool IsNameStart(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool IsNameChar(unsigned char c) { return IsNameStart(c) || std::isdigit(c) || c == '-' || c == '.'; }

// A key the reader can use as an element name (no namespace prefix).
bool IsXmlName(std::string_view key) {
  if (key.empty() || !IsNameStart(static_cast<unsigned char>(key.front()))) return false;
  for (char c : key)
    if (!IsNameChar(static_cast<unsigned char>(c))) return false;
  return true;
}

// Builds the document as the parser reports each value; nothing recurses, so any nesting
// the limit allows is built in constant stack.
class XmlBuilder : public nlohmann::json_sax<json> {
 public:
  explicit XmlBuilder(pugi::xml_document& doc) : doc_(doc) {}

  bool null() override { return Scalar("null", ""); }
  bool boolean(bool value) override { return Scalar("boolean", value ? "true" : "false"); }
  bool number_integer(number_integer_t value) override { return Scalar("number", std::to_string(value)); }
  bool number_unsigned(number_unsigned_t value) override { return Scalar("number", std::to_string(value)); }
  // The number as written: 12.50 stays 12.50.
  bool number_float(number_float_t, const string_t& text) override { return Scalar("number", text); }
  bool string(string_t& value) override { return Scalar("string", value); }
  bool binary(binary_t&) override { return false; }
  bool start_object(std::size_t) override { return Open("object"); }
  bool end_object() override { return Close(); }
  bool start_array(std::size_t) override { return Open("array"); }
  bool end_array() override { return Close(); }
  bool key(string_t& name) override {
    key_ = name;
    return true;
  }
  bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& e) override {
    error_ = "JSON inválido na posição " + std::to_string(position) + ": " + e.what();
    return false;
  }

  const std::string& Error() const { return error_; }

 private:
  // The element of the value about to be read: "root", an object member, a list entry.
  pugi::xml_node NewElement(const char* type) {
    pugi::xml_node node;
    if (open_.empty()) {
      node = doc_.append_child("root");
    } else if (open_.back().second) {
      node = open_.back().first.append_child("item");
    } else if (IsXmlName(key_)) {
      node = open_.back().first.append_child(key_.c_str());
    } else {
      node = open_.back().first.append_child("a:item");
      node.append_attribute("xmlns:a") = "item";
      node.append_attribute("item") = key_.c_str();
    }
    node.append_attribute("type") = type;
    return node;
  }

  bool Scalar(const char* type, const std::string& text) {
    pugi::xml_node node = NewElement(type);
    if (!text.empty()) node.append_child(pugi::node_pcdata).set_value(text.c_str());
    return true;
  }

  bool Open(const char* type) {
    if (static_cast<int>(open_.size()) >= kMaxJsonNesting) {
      error_ = "JSON aninhado além de " + std::to_string(kMaxJsonNesting) + " níveis";
      return false;
    }
    const bool list = std::string_view(type) == "array";
    open_.emplace_back(NewElement(type), list);
    return true;
  }

  bool Close() {
    open_.pop_back();
    return true;
  }

  pugi::xml_document& doc_;
  std::vector<std::pair<pugi::xml_node, bool>> open_;  // open elements; true for a list
  std::string key_;
  std::string error_;
};

}  // namespace

std::unique_ptr<pugi::xml_document> JsonToXML(std::string_view Json) {
  auto doc = std::make_unique<pugi::xml_document>();
  XmlBuilder builder(*doc);
  const bool ok = json::sax_parse(Json.begin(), Json.end(), &builder, json::input_format_t::json, true);
  if (!ok) throw JsonToXmlError(builder.Error().empty() ? "JSON inválido" : builder.Error());
  return doc;
}

std::string XmlText(const pugi::xml_node& node) {
  std::ostringstream out;
  node.print(out, "", pugi::format_raw | pugi::format_no_declaration);
  return out.str();
}

}  // namespace recebimento::integrations
