#pragma once
// The request module's own request/response log: one daily file per log folder, one
// entry per request, with credentials masked so no secret reaches the disk in clear.
#include <chrono>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/runtime/secret_masking.h"

namespace recebimento::runtime {

struct HttpLogEntry {
  std::chrono::system_clock::time_point started;
  long elapsed_ms = 0;
  std::string method;
  std::string url;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  int status = 999;      // 999 when no HTTP status was obtained
  std::string response;  // the body received
  std::string error;     // transport error, when there was one
};

// "HTTP_yyyymmdd.log" for the local day of `when`.
std::string HttpLogFileName(std::chrono::system_clock::time_point when);

// The masked entry as written to the file.
std::string FormatHttpLogEntry(const HttpLogEntry& entry);

// Appends the entry to the day's file in `log_dir` (created with its parents when
// missing; "\" taken as "/"). An empty folder means no log. Never throws: a log that
// cannot be written must not fail the request; the result tells whether it was written.
bool AppendHttpLog(const std::string& log_dir, const HttpLogEntry& entry);

}  // namespace recebimento::runtime
