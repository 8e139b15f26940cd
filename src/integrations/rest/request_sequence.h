#pragma once
// The common sequence of the AME and CRM Bonus requests, and what every caller of the
// request module reads in its reply: the HTTP status carried as "response_code":NNN.
//
// A call logs its step, empties its message and detail, sends its body and headers in
// the list form of the request module, and then either holds the reply for its fields
// to be read (the caller reads them and empties the held text) or keeps the reply as
// the failure: stErroRequisicao, the message "Erro na requisição: <status> - <reply>"
// and the detail "Exceção: <reply>" and a line break.
#include <functional>
#include <string>
#include <vector>

#include "integrations/integration_context.h"

namespace recebimento::integrations {

// The status the reply text carries ("500"; "999" when no HTTP status was obtained);
// "" when it carries none.
std::string ResponseCode(const std::string& response);
// The reply text's status is `code` (the callers' success test).
bool HasResponseCode(const std::string& response, int code);
// A JSON body as the callers hand it to the request module: every double quote
// preceded by a backslash.
std::string EscapeQuotes(const std::string& body);

struct ListFormCall {
  std::string url;
  std::string method;
  std::string body;
  std::vector<std::string> headers;  // "Name=Value"
  std::string timeout;               // seconds, as text
  int success_code = 200;
};

// The integration's variables a call fills.
struct CallVariables {
  std::string& message;
  std::string& detail;
  std::string& held;
  std::string& stErroRequisicao;
};

// Sends `call` and returns whether the reply carries its success code. On success the
// reply is in `v.held`; on failure the failure texts are set and, when `log_failure` is
// given, the message is logged with it.
bool RunListFormCall(const IntegrationContext& context, const ListFormCall& call, const std::string& log_dir,
                     CallVariables v, const std::function<void(const std::string&)>& log_failure);

}  // namespace recebimento::integrations
