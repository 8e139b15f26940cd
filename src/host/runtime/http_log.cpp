#include "host/runtime/http_log.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <filesystem>
#include <fmt/format.h>
#include <fstream>

namespace recebimento::runtime {

namespace {

constexpr std::string_view kSensitiveParts[] = {"secret", "password", "passwd", "senha",  "token",
                                                "authorization", "apikey", "cookie", "signature"};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsFieldNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.';
}

std::tm LocalTime(std::chrono::system_clock::time_point when) {
  std::time_t t = std::chrono::system_clock::to_time_t(when);
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm;
}

// End of the JSON string whose opening quote is at `open` (index of the closing quote),
// or npos when the text ends first.
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

std::string MaskJsonMembers(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '"') {
      out += text[i++];
      continue;
    }
    size_t close = JsonStringEnd(text, i);
    if (close == std::string_view::npos) {
      out.append(text.substr(i));
      break;
    }
    std::string_view key = text.substr(i + 1, close - i - 1);
    out.append(text.substr(i, close - i + 1));
    size_t k = close + 1;
    while (k < text.size() && IsBlank(text[k])) ++k;
    if (k >= text.size() || text[k] != ':' || !IsSensitiveName(key)) {
      i = close + 1;
      continue;
    }
    ++k;
    while (k < text.size() && IsBlank(text[k])) ++k;
    out.append(text.substr(close + 1, k - close - 1));
    if (k < text.size() && text[k] == '"') {
      size_t value_end = JsonStringEnd(text, k);
      out += '"';
      out += kMaskedValue;
      out += '"';
      i = value_end == std::string_view::npos ? text.size() : value_end + 1;
    } else if (k < text.size() && (text[k] == '{' || text[k] == '[')) {
      i = k;  // nested members are looked at one by one
    } else {
      size_t value_end = k;
      while (value_end < text.size() && !IsBlank(text[value_end]) && text[value_end] != ',' &&
             text[value_end] != '}' && text[value_end] != ']')
        ++value_end;
      if (value_end > k) out += kMaskedValue;
      i = value_end;
    }
  }
  return out;
}

// name=value pairs of forms, queries and XML attributes.
std::string MaskNameValuePairs(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    bool at_name_start = IsFieldNameChar(text[i]) && (i == 0 || !IsFieldNameChar(text[i - 1]));
    if (!at_name_start) {
      out += text[i++];
      continue;
    }
    size_t name_end = i;
    while (name_end < text.size() && IsFieldNameChar(text[name_end])) ++name_end;
    std::string_view name = text.substr(i, name_end - i);
    out.append(name);
    i = name_end;
    if (i >= text.size() || text[i] != '=' || !IsSensitiveName(name)) continue;
    out += '=';
    ++i;
    size_t value_end = i;
    if (value_end < text.size() && text[value_end] == '"') {
      size_t close = text.find('"', value_end + 1);
      value_end = close == std::string_view::npos ? text.size() : close + 1;
      out += '"';
      out += kMaskedValue;
      out += '"';
    } else {
      while (value_end < text.size() && text[value_end] != '&' && text[value_end] != '#' &&
             !IsBlank(text[value_end]))
        ++value_end;
      if (value_end > i) out += kMaskedValue;
    }
    i = value_end;
  }
  return out;
}

std::string MaskXmlElements(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '<') {
      out += text[i++];
      continue;
    }
    size_t name_end = i + 1;
    while (name_end < text.size() && (IsFieldNameChar(text[name_end]) || text[name_end] == ':')) ++name_end;
    std::string_view name = text.substr(i + 1, name_end - i - 1);
    size_t tag_end = text.find('>', name_end);
    if (name.empty() || tag_end == std::string_view::npos || text[tag_end - 1] == '/' || !IsSensitiveName(name)) {
      out += text[i++];
      continue;
    }
    out.append(text.substr(i, tag_end - i + 1));
    size_t content_end = text.find('<', tag_end + 1);
    if (content_end == std::string_view::npos) content_end = text.size();
    if (content_end > tag_end + 1) out += kMaskedValue;
    i = content_end;
  }
  return out;
}

}  // namespace

bool IsSensitiveName(std::string_view name) {
  std::string folded;
  for (char c : name) {
    if (c == '-' || c == '_') continue;
    folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return std::any_of(std::begin(kSensitiveParts), std::end(kSensitiveParts),
                     [&](std::string_view part) { return folded.find(part) != std::string::npos; });
}

std::string MaskHeaderValue(std::string_view name, std::string_view value) {
  if (!IsSensitiveName(name) || value.empty()) return std::string(value);
  // Keep the scheme ("Bearer", "Basic"): it tells which credential was sent.
  size_t blank = value.find(' ');
  if (blank != std::string_view::npos && blank > 0 &&
      std::all_of(value.begin(), value.begin() + static_cast<long>(blank),
                  [](char c) { return std::isalpha(static_cast<unsigned char>(c)); }))
    return std::string(value.substr(0, blank + 1)) + std::string(kMaskedValue);
  return std::string(kMaskedValue);
}

std::string MaskUrl(std::string_view url) {
  std::string out(url);
  size_t scheme = out.find("://");
  if (scheme != std::string::npos) {
    size_t authority = scheme + 3;
    size_t authority_end = out.find_first_of("/?#", authority);
    if (authority_end == std::string::npos) authority_end = out.size();
    size_t at = out.rfind('@', authority_end);
    if (at != std::string::npos && at > authority) {
      size_t colon = out.find(':', authority);
      if (colon != std::string::npos && colon < at)
        out.replace(colon + 1, at - colon - 1, kMaskedValue);
    }
  }
  size_t query = out.find('?');
  if (query == std::string::npos) return out;
  return out.substr(0, query + 1) + MaskNameValuePairs(std::string_view(out).substr(query + 1));
}

std::string MaskSecrets(std::string_view text) {
  return MaskXmlElements(MaskNameValuePairs(MaskJsonMembers(text)));
}

std::string HttpLogFileName(std::chrono::system_clock::time_point when) {
  std::tm tm = LocalTime(when);
  return fmt::format("HTTP_{:04d}{:02d}{:02d}.log", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

std::string FormatHttpLogEntry(const HttpLogEntry& entry) {
  std::tm tm = LocalTime(entry.started);
  std::string out = fmt::format("{:02d}/{:02d}/{:04d} {:02d}:{:02d}:{:02d} - {} {}\n", tm.tm_mday, tm.tm_mon + 1,
                                tm.tm_year + 1900, tm.tm_hour, tm.tm_min, tm.tm_sec, entry.method,
                                MaskUrl(entry.url));
  for (const auto& [name, value] : entry.headers)
    out += fmt::format("Header: {}: {}\n", name, MaskHeaderValue(name, value));
  out += fmt::format("Body: {}\n", MaskSecrets(entry.body));
  if (entry.status == 999) {
    out += fmt::format("Status: 999 (no HTTP status) after {} ms\n", entry.elapsed_ms);
  } else {
    out += fmt::format("Status: {} after {} ms\n", entry.status, entry.elapsed_ms);
  }
  if (!entry.error.empty()) out += fmt::format("Error: {}\n", entry.error);
  out += fmt::format("Response: {}\n", MaskSecrets(entry.response));
  out += std::string(80, '-') + "\n";
  return out;
}

bool AppendHttpLog(const std::string& log_dir, const HttpLogEntry& entry) {
  if (log_dir.empty()) return false;
  try {
    std::string folder = log_dir;
    std::replace(folder.begin(), folder.end(), '\\', '/');
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return false;
    std::ofstream file(std::filesystem::path(folder) / HttpLogFileName(entry.started),
                       std::ios::binary | std::ios::app);
    if (!file) return false;
    std::string text = FormatHttpLogEntry(entry);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.flush();
    return static_cast<bool>(file);
  } catch (...) {
    return false;
  }
}

}  // namespace recebimento::runtime
