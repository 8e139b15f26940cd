#include "integrations/rest/json_extractors.h"

#include <nlohmann/json.hpp>
#include <vector>

#include "integrations/rest/json_nesting.h"

namespace recebimento::integrations {

namespace {

using json = nlohmann::ordered_json;  // members in the order they stand

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

size_t SkipBlanks(std::string_view text, size_t at) {
  while (at < text.size() && IsBlank(text[at])) ++at;
  return at;
}

// Where the value of the first member named by `quoted_key` (quotes included) starts,
// after the colon and any blanks; npos when no such member stands in the text.
size_t FindMemberValue(std::string_view text, std::string_view quoted_key) {
  for (size_t at = text.find(quoted_key); at != std::string_view::npos; at = text.find(quoted_key, at + 1)) {
    const size_t colon = SkipBlanks(text, at + quoted_key.size());
    if (colon < text.size() && text[colon] == ':') return SkipBlanks(text, colon + 1);
  }
  return std::string_view::npos;
}

// End of a string value that opens at `quote`: the next quote not escaped by a backslash.
size_t EndOfString(std::string_view text, size_t quote) {
  for (size_t i = quote + 1; i < text.size(); ++i) {
    if (text[i] == '\\') {
      ++i;
    } else if (text[i] == '"') {
      return i;
    }
  }
  return text.size();
}

// A value that is not a string: its literal text up to the next "," "}" or "]".
std::string_view LiteralAt(std::string_view text, size_t start) {
  size_t end = text.find_first_of(",}]", start);
  if (end == std::string_view::npos) end = text.size();
  while (end > start && IsBlank(text[end - 1])) --end;
  return text.substr(start, end - start);
}

// The AME reading of `key`; `consume` cuts the text to start at the value read.
std::string ReadPlainKey(std::string& text, std::string_view key, bool consume) {
  const std::string quoted = "\"" + std::string(key) + "\"";
  const size_t start = FindMemberValue(text, quoted);
  if (start == std::string::npos || start >= text.size()) return "";
  std::string value;
  if (text[start] == '"') {
    value = text.substr(start + 1, EndOfString(text, start) - start - 1);
    if (consume) text.erase(0, start + 1);
  } else {
    value = std::string(LiteralAt(text, start));
    if (consume) text.erase(0, start);
  }
  return value;
}

// A member's value as the Mercado Pago reader gives it.
std::string ValueText(const json& value) {
  if (value.is_string()) return value.get<std::string>();
  if ((value.is_object() || value.is_array()) && value.empty()) return "";
  return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

// Every value of a member named `name`, in the order the members stand (depth first).
void CollectMembers(const json& node, const std::string& name, std::vector<const json*>& found, int depth) {
  if (depth > kMaxJsonNesting) return;
  if (node.is_object()) {
    for (auto it = node.begin(); it != node.end(); ++it) {
      if (it.key() == name) found.push_back(&it.value());
      CollectMembers(it.value(), name, found, depth + 1);
    }
  } else if (node.is_array()) {
    for (const json& item : node) CollectMembers(item, name, found, depth + 1);
  }
}

// The objects a member's value holds: the value itself, or the objects of a list.
std::vector<const json*> ObjectsOf(const json& value) {
  std::vector<const json*> objects;
  if (value.is_object()) objects.push_back(&value);
  if (value.is_array())
    for (const json& item : value)
      if (item.is_object()) objects.push_back(&item);
  return objects;
}

}  // namespace

std::string retornaCampoJSONAme(std::string& stAmeResult, std::string_view Key) {
  return ReadPlainKey(stAmeResult, Key, true);
}

std::string retornaCampoJSONClubPetro(const std::string& stClubPetroResult, std::string_view Key) {
  std::string copy = stClubPetroResult;
  return ReadPlainKey(copy, Key, false);
}

std::string retornaCampoJSONCRMBONUS(std::string& stCRMBONUSResult, std::string_view Key) {
  const size_t start = FindMemberValue(stCRMBONUSResult, Key);
  if (start == std::string::npos) return "";
  stCRMBONUSResult.erase(0, start);
  size_t end = std::string::npos;
  if (Key == "\"ids_bonus\"") {
    end = stCRMBONUSResult.find('}');
  } else {
    end = stCRMBONUSResult.find(',');
    if (end == std::string::npos) end = stCRMBONUSResult.find('}');
  }
  return stCRMBONUSResult.substr(0, end);
}

std::string retornaCampoJSONMp(const std::string& stMpResult, std::string_view Campo, std::string_view SubCampo,
                               int Ocorrencia) {
  std::string field(Campo), sub(SubCampo);
  if (field.empty()) std::swap(field, sub);
  if (field.empty() || !WithinJsonNesting(stMpResult)) return "";
  const json doc = json::parse(stMpResult, nullptr, false);
  if (doc.is_discarded()) return "";
  const size_t occurrence = static_cast<size_t>(Ocorrencia < 1 ? 1 : Ocorrencia);

  std::vector<const json*> found;
  CollectMembers(doc, field, found, 0);
  if (found.empty()) return "";
  if (sub.empty()) return ValueText(*found[std::min(occurrence, found.size()) - 1]);

  const std::vector<const json*> objects = ObjectsOf(*found.front());
  if (objects.empty()) return "";
  const json& object = *objects[std::min(occurrence, objects.size()) - 1];
  const auto member = object.find(sub);
  return member == object.end() ? "" : ValueText(*member);
}

}  // namespace recebimento::integrations
