#include "integrations/rest/request_sequence.h"

#include <cctype>

#include "host/runtime/http_request.h"

namespace recebimento::integrations {

namespace {

constexpr std::string_view kMarker = "\"response_code\":";

}  // namespace

std::string ResponseCode(const std::string& response) {
  const size_t at = response.find(kMarker);
  if (at == std::string::npos) return "";
  size_t end = at + kMarker.size();
  while (end < response.size() && std::isdigit(static_cast<unsigned char>(response[end]))) ++end;
  return response.substr(at + kMarker.size(), end - at - kMarker.size());
}

bool HasResponseCode(const std::string& response, int code) {
  // The request module writes the status first: a later "response_code" is the body's
  // own text (an XML or text body is carried verbatim) and must not pass for success.
  return ResponseCode(response) == std::to_string(code);
}

std::string EscapeQuotes(const std::string& body) {
  std::string out;
  out.reserve(body.size() + body.size() / 4);
  for (char c : body) {
    if (c == '"') out += '\\';
    out += c;
  }
  return out;
}

bool RunListFormCall(const IntegrationContext& context, const ListFormCall& call, const std::string& log_dir,
                     CallVariables v, const std::function<void(const std::string&)>& log_failure) {
  v.message.clear();
  v.detail.clear();
  const std::string response = runtime::RequisicaoHTTPS(call.url, call.body, call.method, call.headers, call.timeout,
                                                        log_dir, context.transport);
  if (HasResponseCode(response, call.success_code)) {
    v.held = response;
    return true;
  }
  v.stErroRequisicao = response;
  v.message = "Erro na requisição: " + ResponseCode(response) + " - " + response;
  v.detail = "Exceção: " + response + "\n";
  if (log_failure) log_failure(v.message);
  return false;
}

}  // namespace recebimento::integrations
