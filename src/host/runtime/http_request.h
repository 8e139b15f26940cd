#pragma once
// The runtime library's HTTP request module, in the three call shapes the integrations
// use. Every call is synchronous and bounded by its time-out; none throws.
//
// Returned text of both RequisicaoHTTPS forms (callers search it for
// "response_code":NNN, cut XML out of it, or drop through its first ","):
//   body is a JSON object        {"response_code":200,<the object's members verbatim>}
//   body is empty (e.g. a 204)   {"response_code":204}
//   any other body (XML, text)   [{"response_code":200},<the body verbatim>]
//   no HTTP status obtained      {"response_code":999,"error":"<reason>"}
#include <string>
#include <string_view>
#include <vector>

#include "base/variant.h"
#include "host/runtime/http_transport.h"

namespace recebimento::runtime {

inline constexpr int kNoHttpStatus = 999;

// List form. `headers` holds "Name=Value" (or "Name: value") entries; "ContentType" is
// sent as Content-Type. `timeout` is a text in seconds ("15"; empty or unreadable: the
// configured default, 30 s). `log_dir` receives the request/response log ("" = none).
// `transport` carries the exchange (an integration's own, or PerformHttpRequest).
std::string RequisicaoHTTPS(const std::string& url, const std::string& body, const std::string& method,
                            const std::vector<std::string>& headers, const std::string& timeout,
                            const std::string& log_dir, const HttpTransport& transport = PerformHttpRequest);

// Flat form. `authorization` is the complete header value ("Bearer ..."; "" = none);
// `content_type` is "json", "xml" or a full media type.
std::string RequisicaoHTTPS(const std::string& url, const std::string& body, const std::string& method,
                            const std::string& authorization, const std::string& timeout, const std::string& log_dir,
                            const std::string& content_type, const HttpTransport& transport = PerformHttpRequest);

// Stream form: [status, response text] with status 999 and the reason as text when no
// HTTP status was obtained. `header_lines` holds "Name:value" headers separated by line
// breaks or ";" (as in "token:abc;"). Not logged: its callers keep their own log.
base::Variant RequisicaoHTTP(const std::string& url, const std::string& content_type, const std::string& method,
                             const std::string& header_lines, const std::string& body, const std::string& timeout);

// --- the pieces above, exposed for the integrations and their tests ---

// The returned text of the RequisicaoHTTPS forms for one exchange (shapes above).
std::string FormatResponseText(const HttpResponse& response);

// "json" -> application/json, "xml" -> application/xml, a full type kept, "" -> "".
std::string MediaTypeFor(std::string_view content_type);

// "Name=Value" / "Name: value" entries as headers; blank entries skipped.
std::vector<HttpHeader> ParseHeaderList(const std::vector<std::string>& entries);

// Header stream text as headers ("token:abc;" -> token: abc).
std::vector<HttpHeader> ParseHeaderLines(std::string_view text);

// Callers write a JSON body with every quote as \" ; the body on the wire must be the
// JSON itself. A body that is valid JSON as given, or is not JSON once unescaped, is
// sent unchanged.
std::string UnescapeQuotedJsonBody(const std::string& body);

}  // namespace recebimento::runtime
