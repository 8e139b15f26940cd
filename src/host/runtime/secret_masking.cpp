#include "host/runtime/secret_masking.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

#include <nlohmann/json.hpp>

namespace recebimento::runtime {

namespace {

using json = nlohmann::ordered_json;

// Bodies nested deeper than this are masked as text: the walk below recurses.
constexpr int kMaxDepth = 64;

constexpr std::string_view kSensitiveParts[] = {
    "secret",     "password",  "passwd",     "senha",        "token",          "authorization", "apikey",
    "cookie",     "signature", "credential", "cardnumber",   "numerocartao",   "nrcartao",      "cvv",
    "privatekey", "accesskey", "sessionid",  "securitycode", "codigoseguranca"};
constexpr std::string_view kSensitiveWords[] = {"pwd", "pass", "key", "auth", "cvc", "pin"};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsAlnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }
char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecoded(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size() && HexValue(s[i + 1]) >= 0 && HexValue(s[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(s[i + 1]) * 16 + HexValue(s[i + 2]));
      i += 2;
    } else if (s[i] == '+') {
      out += ' ';
    } else {
      out += s[i];
    }
  }
  return out;
}

// "Ocp-Apim-Subscription-Key" -> ocp apim subscription key; "cardNumber" -> card number.
std::vector<std::string> Words(std::string_view name) {
  std::vector<std::string> words;
  std::string word;
  auto flush = [&] {
    if (!word.empty()) words.push_back(word);
    word.clear();
  };
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (!IsAlnum(c)) {
      flush();
      continue;
    }
    const bool upper = std::isupper(static_cast<unsigned char>(c)) != 0;
    const bool after_lower = i > 0 && std::islower(static_cast<unsigned char>(name[i - 1]));
    if (upper && after_lower) flush();
    word += Lower(c);
  }
  flush();
  return words;
}

std::string_view LocalName(std::string_view name) {
  const size_t colon = name.rfind(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// Everything under a sensitive name becomes the mask; a value that was empty stays empty.
std::string Masked(std::string_view original) { return original.empty() ? std::string() : std::string(kMaskedValue); }

std::optional<std::string> MaskJsonText(std::string_view text, int depth);
std::optional<std::string> MaskXmlText(std::string_view text, int depth);
std::string MaskPlainText(std::string_view text);

// A text found inside a structure: JSON or XML of its own, or plain text.
std::string MaskEmbedded(std::string_view text, int depth) {
  size_t first = 0;
  while (first < text.size() && IsBlank(text[first])) ++first;
  if (first < text.size() && depth < kMaxDepth) {
    if (text[first] == '{' || text[first] == '[') {
      if (auto masked = MaskJsonText(text, depth)) return *masked;
    } else if (text[first] == '<') {
      if (auto masked = MaskXmlText(text, depth)) return *masked;
    }
  }
  return MaskPlainText(text);
}

// ---- JSON ------------------------------------------------------------------------------

// Whether brackets nest deeper than `limit` (strings skipped): such a body is not walked.
bool NestsDeeperThan(std::string_view text, int limit) {
  int level = 0;
  bool in_string = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (in_string) {
      if (c == '\\')
        ++i;
      else if (c == '"')
        in_string = false;
    } else if (c == '"') {
      in_string = true;
    } else if (c == '{' || c == '[') {
      if (++level > limit) return true;
    } else if ((c == '}' || c == ']') && level > 0) {
      --level;
    }
  }
  return false;
}

// The name of a name/value pair object ({"name": "password", "value": "x"}), if any.
bool NamesASecret(const json& object) {
  for (const char* key : {"name", "key", "field", "nome", "chave", "campo"}) {
    auto it = object.find(key);
    if (it != object.end() && it->is_string() && IsSensitiveName(it->get_ref<const std::string&>())) return true;
  }
  return false;
}

void MaskJsonValue(json& value, int depth) {
  if (value.is_object()) {
    const bool pair_of_secret = NamesASecret(value);
    for (auto& [key, member] : value.items()) {
      const bool value_of_pair = pair_of_secret && (key == "value" || key == "valor");
      if (IsSensitiveName(key) || value_of_pair) {
        member = std::string(kMaskedValue);
      } else {
        MaskJsonValue(member, depth + 1);
      }
    }
  } else if (value.is_array()) {
    for (auto& item : value) MaskJsonValue(item, depth + 1);
  } else if (value.is_string()) {
    value = MaskEmbedded(value.get_ref<const std::string&>(), depth + 1);
  }
}

std::optional<std::string> MaskJsonText(std::string_view text, int depth) {
  if (NestsDeeperThan(text, kMaxDepth - depth)) return std::nullopt;
  json value = json::parse(text, nullptr, false);
  if (value.is_discarded() || !value.is_structured()) return std::nullopt;
  MaskJsonValue(value, depth);
  return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

// ---- XML -------------------------------------------------------------------------------

bool SensitiveElement(const pugi::xml_node& element) {
  if (IsSensitiveName(LocalName(element.name()))) return true;
  // <param name="password">x</param>
  for (const char* attr : {"name", "key", "nome"})
    if (IsSensitiveName(element.attribute(attr).value())) return true;
  return false;
}

std::optional<std::string> MaskXmlText(std::string_view text, int depth) {
  pugi::xml_document doc;
  const unsigned options = pugi::parse_default | pugi::parse_declaration | pugi::parse_doctype;
  if (!doc.load_buffer(text.data(), text.size(), options, pugi::encoding_utf8)) return std::nullopt;
  if (!doc.document_element()) return std::nullopt;
  // Walked with a stack of its own: a document may nest deeply.
  std::vector<pugi::xml_node> pending{doc.document_element()};
  while (!pending.empty()) {
    pugi::xml_node node = pending.back();
    pending.pop_back();
    if (node.type() != pugi::node_element) {
      if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata)
        node.set_value(MaskEmbedded(node.value(), depth + 1).c_str());
      continue;
    }
    for (pugi::xml_attribute a : node.attributes())
      if (IsSensitiveName(LocalName(a.name()))) a.set_value(Masked(a.value()).c_str());
    if (SensitiveElement(node)) {
      const bool had_content = node.first_child();
      while (node.first_child()) node.remove_child(node.first_child());
      if (had_content) node.append_child(pugi::node_pcdata).set_value(std::string(kMaskedValue).c_str());
      continue;
    }
    for (pugi::xml_node child : node.children()) pending.push_back(child);
  }
  std::ostringstream out;
  doc.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  return out.str();
}

// ---- Plain text ------------------------------------------------------------------------

// The end of a JSON string whose opening quote is at `open` (its closing quote), or npos.
size_t JsonStringEnd(std::string_view text, size_t open) {
  for (size_t i = open + 1; i < text.size(); ++i) {
    if (text[i] == '\\') {
      ++i;
    } else if (text[i] == '"') {
      return i;
    }
  }
  return std::string_view::npos;
}

// A JSON string's text with its escapes undone, as far as names need it.
std::string JsonUnescaped(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 >= s.size()) {
      out += s[i];
      continue;
    }
    const char e = s[++i];
    if (e == 'u' && i + 4 < s.size()) {
      int cp = 0;
      bool ok = true;
      for (size_t k = 1; k <= 4; ++k) {
        const int h = HexValue(s[i + k]);
        ok = ok && h >= 0;
        cp = cp * 16 + std::max(h, 0);
      }
      if (ok && cp < 0x80) {
        out += static_cast<char>(cp);
        i += 4;
        continue;
      }
    }
    out += e;
  }
  return out;
}

// End (exclusive) of the JSON value starting at `begin`: a string, a bracketed structure
// (brackets matched outside strings) or a bare word.
size_t JsonValueEnd(std::string_view text, size_t begin) {
  if (begin >= text.size()) return begin;
  if (text[begin] == '"') {
    const size_t close = JsonStringEnd(text, begin);
    return close == std::string_view::npos ? text.size() : close + 1;
  }
  if (text[begin] == '{' || text[begin] == '[') {
    int level = 0;
    for (size_t i = begin; i < text.size(); ++i) {
      const char c = text[i];
      if (c == '"') {
        const size_t close = JsonStringEnd(text, i);
        if (close == std::string_view::npos) return text.size();
        i = close;
      } else if (c == '{' || c == '[') {
        ++level;
      } else if ((c == '}' || c == ']') && --level == 0) {
        return i + 1;
      }
    }
    return text.size();
  }
  size_t end = begin;
  while (end < text.size() && !IsBlank(text[end]) && text[end] != ',' && text[end] != '}' && text[end] != ']') ++end;
  return end;
}

// "key": value members of JSON that did not parse as a whole.
std::string MaskJsonMembers(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '"') {
      out += text[i++];
      continue;
    }
    const size_t close = JsonStringEnd(text, i);
    if (close == std::string_view::npos) {
      out.append(text.substr(i));
      break;
    }
    out.append(text.substr(i, close - i + 1));
    size_t k = close + 1;
    while (k < text.size() && IsBlank(text[k])) ++k;
    const std::string key = JsonUnescaped(text.substr(i + 1, close - i - 1));
    if (k >= text.size() || text[k] != ':' || !IsSensitiveName(key)) {
      i = close + 1;
      continue;
    }
    ++k;
    while (k < text.size() && IsBlank(text[k])) ++k;
    out.append(text.substr(close + 1, k - close - 1));
    const size_t value_end = JsonValueEnd(text, k);
    if (value_end > k) out += "\"" + std::string(kMaskedValue) + "\"";
    i = value_end;
  }
  return out;
}

bool IsNameChar(char c) { return IsAlnum(c) || c == '_' || c == '-' || c == '.' || c == '%' || c == '['; }

// name=value pairs of forms, queries and "password = x" texts.
std::string MaskNameValuePairs(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const bool at_name_start = IsNameChar(text[i]) && (i == 0 || !IsNameChar(text[i - 1]));
    if (!at_name_start) {
      out += text[i++];
      continue;
    }
    size_t name_end = i;
    while (name_end < text.size() && (IsNameChar(text[name_end]) || text[name_end] == ']')) ++name_end;
    const std::string_view name = text.substr(i, name_end - i);
    out.append(name);
    i = name_end;
    size_t eq = i;
    while (eq < text.size() && (text[eq] == ' ' || text[eq] == '\t')) ++eq;
    if (eq >= text.size() || text[eq] != '=' || (eq + 1 < text.size() && text[eq + 1] == '=') ||
        !IsSensitiveName(PercentDecoded(name)))
      continue;
    size_t value = eq + 1;
    while (value < text.size() && (text[value] == ' ' || text[value] == '\t')) ++value;
    out.append(text.substr(i, value - i));
    size_t value_end = value;
    if (value < text.size() && (text[value] == '"' || text[value] == '\'')) {
      const size_t close = text.find(text[value], value + 1);
      value_end = close == std::string_view::npos ? text.size() : close + 1;
    } else {
      while (value_end < text.size() && text[value_end] != '&' && text[value_end] != '#' && text[value_end] != ';' &&
             text[value_end] != ',' && !IsBlank(text[value_end]))
        ++value_end;
    }
    out += Masked(text.substr(value, value_end - value));
    i = value_end;
  }
  return out;
}

// A credential with its scheme kept: "Bearer abc" -> "Bearer ****".
std::string MaskCredential(std::string_view value) {
  size_t begin = 0;
  while (begin < value.size() && IsBlank(value[begin])) ++begin;
  const size_t blank = value.find(' ', begin);
  if (blank != std::string_view::npos && blank > begin &&
      std::all_of(value.begin() + static_cast<long>(begin), value.begin() + static_cast<long>(blank),
                  [](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }))
    return std::string(value.substr(0, blank + 1)) + std::string(kMaskedValue);
  return Masked(value);
}

bool IsHeaderNameChar(char c) { return IsAlnum(c) || c == '-' || c == '_'; }

// "Authorization: Bearer x" lines of a body, "senha: x" inside a sentence.
std::string MaskColonPairs(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const bool word_start = IsAlnum(text[i]) && (i == 0 || !IsHeaderNameChar(text[i - 1]));
    if (!word_start) {
      out += text[i++];
      continue;
    }
    size_t name_end = i;
    while (name_end < text.size() && IsHeaderNameChar(text[name_end])) ++name_end;
    size_t colon = name_end;
    while (colon < text.size() && text[colon] == ' ') ++colon;
    // "https://" is no pair.
    const bool pair = colon < text.size() && text[colon] == ':' &&
                      (colon + 1 >= text.size() || text[colon + 1] != '/') &&
                      IsSensitiveName(text.substr(i, name_end - i));
    if (!pair) {
      out.append(text.substr(i, name_end - i));
      i = name_end;
      continue;
    }
    // A header line runs to its end; a pair inside a sentence to the next separator.
    size_t line_start = i;
    while (line_start > 0 && text[line_start - 1] != '\n' && IsBlank(text[line_start - 1])) --line_start;
    const bool whole_line = line_start == 0 || text[line_start - 1] == '\n';
    size_t value = colon + 1;
    while (value < text.size() && text[value] == ' ') ++value;
    size_t value_end = value;
    while (value_end < text.size() && text[value_end] != '\n' && text[value_end] != '\r' &&
           (whole_line || (text[value_end] != ';' && text[value_end] != ',')))
      ++value_end;
    out.append(text.substr(i, value - i));
    out += MaskCredential(text.substr(value, value_end - value));
    i = value_end;
  }
  return out;
}

// "Bearer <token>" wherever it stands.
std::string MaskBearerTokens(std::string_view text) {
  constexpr std::string_view kBearer = "bearer ";
  auto at_bearer = [&](size_t i) {
    if (text.size() - i <= kBearer.size() || (i > 0 && IsAlnum(text[i - 1]))) return false;
    for (size_t k = 0; k < kBearer.size(); ++k)
      if (Lower(text[i + k]) != kBearer[k]) return false;
    return true;
  };
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    if (!at_bearer(i)) {
      out += text[i++];
      continue;
    }
    const size_t token = i + kBearer.size();
    size_t token_end = token;
    while (token_end < text.size() && !IsBlank(text[token_end]) && text[token_end] != '"' && text[token_end] != '\'' &&
           text[token_end] != '<' && text[token_end] != ',')
      ++token_end;
    out.append(text.substr(i, kBearer.size()));
    out += text.substr(token, token_end - token) == kMaskedValue ? text.substr(token, token_end - token)
                                                                 : Masked(text.substr(token, token_end - token));
    i = token_end;
  }
  return out;
}

bool IsXmlNameChar(char c) { return IsAlnum(c) || c == '_' || c == '-' || c == '.' || c == ':'; }

// <name>...</name> elements of XML that did not parse as a whole: everything up to the
// element's closing tag (or the next tag, when there is none) is masked.
std::string MaskXmlElements(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::map<std::string, size_t, std::less<>> closing;  // name -> where "</name" is next, npos: none
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '<') {
      out += text[i++];
      continue;
    }
    size_t name_end = i + 1;
    while (name_end < text.size() && IsXmlNameChar(text[name_end])) ++name_end;
    const std::string_view name = text.substr(i + 1, name_end - i - 1);
    const size_t tag_end = text.find('>', name_end);
    if (name.empty() || tag_end == std::string_view::npos || text[tag_end - 1] == '/' ||
        !IsSensitiveName(LocalName(name))) {
      out += text[i++];
      continue;
    }
    out.append(text.substr(i, tag_end - i + 1));
    const std::string close_tag = "</" + std::string(name);
    auto known = closing.find(close_tag);
    if (known == closing.end() || (known->second != std::string_view::npos && known->second <= tag_end))
      known = closing.insert_or_assign(close_tag, text.find(close_tag, tag_end + 1)).first;
    size_t content_end = known->second;
    if (content_end == std::string_view::npos) {
      content_end = text.find('<', tag_end + 1);
      if (content_end == std::string_view::npos) content_end = text.size();
    }
    if (content_end > tag_end + 1) out += kMaskedValue;
    i = content_end;
  }
  return out;
}

// A path segment that is a key rather than a resource name: long, opaque, with digits.
bool LooksLikeCredential(std::string_view segment) {
  if (segment.size() < 16) return false;
  bool digit = false;
  for (char c : segment) {
    if (!IsAlnum(c) && c != '-' && c != '_' && c != '.' && c != '~' && c != '%') return false;
    digit = digit || std::isdigit(static_cast<unsigned char>(c));
  }
  return digit;
}

std::string MaskPlainText(std::string_view text) {
  return MaskBearerTokens(MaskColonPairs(MaskNameValuePairs(MaskJsonMembers(MaskXmlElements(text)))));
}

}  // namespace

bool IsSensitiveName(std::string_view raw) {
  const std::string name = PercentDecoded(raw);
  std::string folded;
  for (char c : name)
    if (IsAlnum(c)) folded += Lower(c);
  if (std::any_of(std::begin(kSensitiveParts), std::end(kSensitiveParts),
                  [&](std::string_view part) { return folded.find(part) != std::string::npos; }))
    return true;
  for (const std::string& word : Words(name))
    if (std::find(std::begin(kSensitiveWords), std::end(kSensitiveWords), word) != std::end(kSensitiveWords))
      return true;
  return false;
}

std::string MaskHeaderValue(std::string_view name, std::string_view value) {
  if (value.empty()) return std::string(value);
  if (IsSensitiveName(name)) return MaskCredential(value);
  return MaskBearerTokens(MaskColonPairs(value));
}

std::string MaskUrl(std::string_view url) {
  std::string out(url);
  size_t path_begin = 0;
  if (const size_t scheme = out.find("://"); scheme != std::string::npos) {
    const size_t authority = scheme + 3;
    size_t authority_end = out.find_first_of("/?#", authority);
    if (authority_end == std::string::npos) authority_end = out.size();
    const size_t at = out.rfind('@', authority_end);
    if (at != std::string::npos && at > authority) {
      const size_t colon = out.find(':', authority);
      if (colon != std::string::npos && colon < at) {
        out.replace(colon + 1, at - colon - 1, kMaskedValue);
        authority_end = out.find_first_of("/?#", authority);
        if (authority_end == std::string::npos) authority_end = out.size();
      }
    }
    path_begin = authority_end;
  }
  const size_t query = out.find_first_of("?#", path_begin);
  const size_t path_end = query == std::string::npos ? out.size() : query;
  // Path: "/apikey/ABC" and "/key=ABC" or ";token=ABC" segments.
  std::string path;
  bool after_sensitive = false;
  for (size_t i = path_begin; i < path_end;) {
    size_t next = out.find('/', i + 1);
    if (next == std::string::npos || next > path_end) next = path_end;
    std::string segment = out.substr(i, next - i);  // with its leading "/"
    const std::string bare = segment.size() > 1 && segment[0] == '/' ? segment.substr(1) : segment;
    if (after_sensitive && LooksLikeCredential(bare)) {
      segment = (segment[0] == '/' ? "/" : "") + std::string(kMaskedValue);
      after_sensitive = false;
    } else if (bare.find('=') != std::string::npos) {
      segment = MaskNameValuePairs(segment);
    } else {
      after_sensitive = !bare.empty() && IsSensitiveName(bare);
    }
    path += segment;
    i = next;
  }
  std::string rest = out.substr(path_end);
  return out.substr(0, path_begin) + path + MaskNameValuePairs(rest);
}

std::string MaskSecrets(std::string_view text) { return MaskEmbedded(text, 0); }

}  // namespace recebimento::runtime
