#include "host/runtime/json_helpers.h"

#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>

namespace recebimento::runtime {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool IsJsonNumberLiteral(std::string_view text) {
  size_t i = 0;
  const size_t n = text.size();
  if (i < n && text[i] == '-') ++i;
  if (i >= n) return false;
  if (text[i] == '0') {
    ++i;
  } else if (IsDigit(text[i])) {
    while (i < n && IsDigit(text[i])) ++i;
  } else {
    return false;
  }
  if (i < n && text[i] == '.') {
    ++i;
    if (i >= n || !IsDigit(text[i])) return false;
    while (i < n && IsDigit(text[i])) ++i;
  }
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    if (i >= n || !IsDigit(text[i])) return false;
    while (i < n && IsDigit(text[i])) ++i;
  }
  return i == n;
}

std::string JsonQuote(std::string_view text) {
  return nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string retornaJSON(const std::vector<std::string>& entries) {
  std::vector<std::pair<std::string, std::string>> members;
  for (const auto& entry : entries) {
    if (std::all_of(entry.begin(), entry.end(), [](unsigned char c) { return std::isspace(c); })) continue;
    auto eq = entry.find('=');
    std::string name = entry.substr(0, eq);
    std::string value = eq == std::string::npos ? std::string() : entry.substr(eq + 1);
    auto same = std::find_if(members.begin(), members.end(), [&](const auto& m) { return m.first == name; });
    if (same != members.end()) {
      same->second = std::move(value);
    } else {
      members.emplace_back(std::move(name), std::move(value));
    }
  }
  std::string out = "{";
  for (const auto& [name, value] : members) {
    if (out.size() > 1) out += ',';
    out += JsonQuote(name);
    out += ':';
    bool literal = IsJsonNumberLiteral(value) || value == "true" || value == "false" || value == "null";
    out += literal ? value : JsonQuote(value);
  }
  out += '}';
  return out;
}

}  // namespace recebimento::runtime
