#include "host/runtime/http_request.h"

#include <fmt/format.h>
#include <algorithm>
#include <cctype>
#include <chrono>
#include <nlohmann/json.hpp>

#include "host/runtime/http_log.h"
#include "host/runtime/json_helpers.h"

namespace recebimento::runtime {

namespace {

std::string_view Trim(std::string_view text) {
  size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

bool IsHeaderNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_'; }

HttpHeader MakeHeader(std::string_view name, std::string_view value) {
  name = Trim(name);
  // The callers' lists name the content type "ContentType".
  std::string wire_name = EqualsIgnoringCase(name, "ContentType") ? "Content-Type" : std::string(name);
  return HttpHeader{wire_name, std::string(Trim(value))};
}

bool HasHeader(const std::vector<HttpHeader>& headers, std::string_view name) {
  return std::any_of(headers.begin(), headers.end(),
                     [&](const HttpHeader& h) { return EqualsIgnoringCase(h.name, name); });
}

std::string DefaultMethod(const std::string& method, const std::string& body) {
  if (!Trim(method).empty()) return std::string(Trim(method));
  return body.empty() ? "GET" : "POST";
}

std::string Exchange(HttpRequest request, const std::string& log_dir, const HttpTransport& transport) {
  auto started = std::chrono::system_clock::now();
  auto tick = std::chrono::steady_clock::now();
  HttpResponse response = transport ? transport(request) : PerformHttpRequest(request);
  if (!log_dir.empty()) {
    HttpLogEntry entry;
    entry.started = started;
    entry.elapsed_ms = static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - tick).count());
    entry.method = request.method;
    entry.url = request.url;
    for (const auto& header : request.headers) entry.headers.emplace_back(header.name, header.value);
    entry.body = request.body;
    entry.status = response.HasStatus() ? response.status : kNoHttpStatus;
    entry.response = response.body;
    entry.error = response.error;
    AppendHttpLog(log_dir, entry);
  }
  return FormatResponseText(response);
}

}  // namespace

std::string FormatResponseText(const HttpResponse& response) {
  if (!response.HasStatus())
    return fmt::format("{{\"response_code\":{},\"error\":{}}}", kNoHttpStatus, JsonQuote(response.error));
  std::string code = fmt::format("\"response_code\":{:03d}", response.status);
  std::string_view body = Trim(response.body);
  if (body.empty()) return "{" + code + "}";
  if (body.front() == '{' && nlohmann::json::accept(body)) {
    std::string_view members = body.substr(1);
    bool no_members = !Trim(members).empty() && Trim(members).front() == '}';
    return "{" + code + (no_members ? "" : ",") + std::string(members);
  }
  return "[{" + code + "}," + response.body + "]";
}

std::string MediaTypeFor(std::string_view content_type) {
  std::string_view kind = Trim(content_type);
  if (EqualsIgnoringCase(kind, "json")) return "application/json";
  if (EqualsIgnoringCase(kind, "xml")) return "application/xml";
  return std::string(kind);
}

std::vector<HttpHeader> ParseHeaderList(const std::vector<std::string>& entries) {
  std::vector<HttpHeader> headers;
  for (const auto& entry : entries) {
    if (Trim(entry).empty()) continue;
    size_t split = entry.find_first_of("=:");
    if (split == std::string::npos) {
      headers.push_back(MakeHeader(entry, ""));
    } else {
      headers.push_back(
          MakeHeader(std::string_view(entry).substr(0, split), std::string_view(entry).substr(split + 1)));
    }
  }
  return headers;
}

std::vector<HttpHeader> ParseHeaderLines(std::string_view text) {
  std::vector<HttpHeader> headers;
  size_t line_start = 0;
  while (line_start <= text.size()) {
    size_t line_end = text.find('\n', line_start);
    if (line_end == std::string_view::npos) line_end = text.size();
    std::string_view line = text.substr(line_start, line_end - line_start);
    // ";" ends a header, unless what follows is a parameter of the same value
    // ("application/json; charset=utf-8").
    size_t seg_start = 0;
    while (seg_start <= line.size()) {
      size_t seg_end = line.find(';', seg_start);
      if (seg_end == std::string_view::npos) seg_end = line.size();
      std::string_view segment = line.substr(seg_start, seg_end - seg_start);
      size_t colon = segment.find(':');
      std::string_view name = colon == std::string_view::npos ? std::string_view() : Trim(segment.substr(0, colon));
      bool starts_header = !name.empty() && std::all_of(name.begin(), name.end(), IsHeaderNameChar);
      if (starts_header) {
        headers.push_back(MakeHeader(name, segment.substr(colon + 1)));
      } else if (!Trim(segment).empty()) {
        if (headers.empty()) {
          headers.push_back(MakeHeader(segment, ""));  // the transport refuses it with a clear error
        } else {
          headers.back().value += ";" + std::string(segment);
          headers.back().value = std::string(Trim(headers.back().value));
        }
      }
      seg_start = seg_end + 1;
    }
    line_start = line_end + 1;
  }
  return headers;
}

std::string UnescapeQuotedJsonBody(const std::string& body) {
  if (body.empty() || body.find("\\\"") == std::string::npos || nlohmann::json::accept(body)) return body;
  std::string unescaped;
  unescaped.reserve(body.size());
  for (size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '\\' && i + 1 < body.size() && body[i + 1] == '"') {
      unescaped += '"';
      ++i;
    } else {
      unescaped += body[i];
    }
  }
  return nlohmann::json::accept(unescaped) ? unescaped : body;
}

std::string RequisicaoHTTPS(const std::string& url, const std::string& body, const std::string& method,
                            const std::vector<std::string>& headers, const std::string& timeout,
                            const std::string& log_dir, const HttpTransport& transport) {
  HttpRequest request;
  request.url = std::string(Trim(url));
  request.body = UnescapeQuotedJsonBody(body);
  request.method = DefaultMethod(method, request.body);
  request.headers = ParseHeaderList(headers);
  request.timeout_ms = TimeoutMilliseconds(timeout);
  return Exchange(std::move(request), log_dir, transport);
}

std::string RequisicaoHTTPS(const std::string& url, const std::string& body, const std::string& method,
                            const std::string& authorization, const std::string& timeout, const std::string& log_dir,
                            const std::string& content_type, const HttpTransport& transport) {
  HttpRequest request;
  request.url = std::string(Trim(url));
  request.body = UnescapeQuotedJsonBody(body);
  request.method = DefaultMethod(method, request.body);
  if (std::string media = MediaTypeFor(content_type); !media.empty())
    request.headers.push_back({"Content-Type", media});
  if (!Trim(authorization).empty()) request.headers.push_back({"Authorization", std::string(Trim(authorization))});
  request.timeout_ms = TimeoutMilliseconds(timeout);
  return Exchange(std::move(request), log_dir, transport);
}

base::Variant RequisicaoHTTP(const std::string& url, const std::string& content_type, const std::string& method,
                             const std::string& header_lines, const std::string& body, const std::string& timeout) {
  HttpRequest request;
  request.url = std::string(Trim(url));
  request.body = body;
  request.method = DefaultMethod(method, request.body);
  std::vector<HttpHeader> given = ParseHeaderLines(header_lines);
  if (std::string media = MediaTypeFor(content_type); !media.empty() && !HasHeader(given, "Content-Type"))
    request.headers.push_back({"Content-Type", media});
  request.headers.insert(request.headers.end(), given.begin(), given.end());
  request.timeout_ms = TimeoutMilliseconds(timeout);

  HttpResponse response = PerformHttpRequest(request);
  base::Variant result = base::Variant::Array(2);
  result[0] = base::Variant(response.HasStatus() ? response.status : kNoHttpStatus);
  result[1] = base::Variant(response.HasStatus() ? response.body : response.error);
  return result;
}

}  // namespace recebimento::runtime
