#pragma once
// One HTTP(S) exchange over libcurl: TLS verified, time-outs always set, no signals, no
// redirects followed. The request module's call forms are built on top of this.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace recebimento::runtime {

struct HttpSettings {
  // A PEM file of certificate authorities trusted in addition to the system's own
  // (a store's private CA, the tests' CA). Empty: only the system's certificates.
  std::string extra_ca_file;
  // Applied when a caller's time-out text is empty, not a number, zero or negative:
  // zero would mean "wait forever" to the transport.
  int default_timeout_seconds = 30;
  int max_timeout_seconds = 600;
  int connect_timeout_seconds = 10;  // capped by the request's own time-out
  std::size_t max_response_bytes = 64u << 20;
};

// Process-wide settings; safe to call from any thread.
void SetHttpSettings(HttpSettings settings);
HttpSettings GetHttpSettings();

struct HttpHeader {
  std::string name;
  std::string value;
  bool operator==(const HttpHeader&) const = default;
};

struct HttpRequest {
  std::string method = "GET";
  std::string url;
  std::vector<HttpHeader> headers;
  std::string body;
  long timeout_ms = 30000;
};

struct HttpResponse {
  int status = 0;  // 0: no HTTP status was obtained (see error)
  std::string body;
  std::string content_type;
  std::string error;
  bool HasStatus() const { return status != 0; }
};

// Milliseconds for a time-out text in seconds ("30", "1.5", "1,5"). Empty, unreadable,
// zero or negative texts give the default; long ones are capped.
long TimeoutMilliseconds(std::string_view seconds_text);

// Never throws. Any transport failure (refused, time-out, TLS, response too large, an
// unsafe method or header) comes back without a status and with the reason in `error`;
// a reply cut short is a failure too, never a partial success.
HttpResponse PerformHttpRequest(const HttpRequest& request);

// What carries one exchange: PerformHttpRequest unless a caller gives another one.
using HttpTransport = std::function<HttpResponse(const HttpRequest&)>;

}  // namespace recebimento::runtime
