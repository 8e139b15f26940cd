#include "host/runtime/http_log.h"

#include <fmt/format.h>
#include <algorithm>
#include <cctype>
#include <ctime>
#include <filesystem>
#include <fstream>

namespace recebimento::runtime {

namespace {

std::tm LocalTime(std::chrono::system_clock::time_point when) {
  std::time_t t = std::chrono::system_clock::to_time_t(when);
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm;
}

}  // namespace

std::string HttpLogFileName(std::chrono::system_clock::time_point when) {
  std::tm tm = LocalTime(when);
  return fmt::format("HTTP_{:04d}{:02d}{:02d}.log", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

std::string FormatHttpLogEntry(const HttpLogEntry& entry) {
  std::tm tm = LocalTime(entry.started);
  std::string out = fmt::format("{:02d}/{:02d}/{:04d} {:02d}:{:02d}:{:02d} - {} {}\n", tm.tm_mday, tm.tm_mon + 1,
                                tm.tm_year + 1900, tm.tm_hour, tm.tm_min, tm.tm_sec, entry.method, MaskUrl(entry.url));
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
