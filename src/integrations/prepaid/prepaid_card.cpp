#include "integrations/prepaid/prepaid_card.h"

#include <pugixml.hpp>

#include <algorithm>
#include <exception>

#include "host/runtime/http_request.h"
#include "integrations/rest/number_text.h"
#include "integrations/rest/request_sequence.h"

namespace recebimento::integrations {

namespace {

constexpr const char* kTimeout = "15";

std::string XmlText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Element(const std::string& name, const std::string& value) {
  return "<" + name + ">" + XmlText(value) + "</" + name + ">";
}

std::string WithoutLineBreaks(std::string text) {
  text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }), text.end());
  return text;
}

// The <root> element of a reply, from its opening tag through its closing one; "" when
// the reply holds none.
std::string RootElement(const std::string& reply) {
  size_t start = reply.find("<root");
  while (start != std::string::npos && start + 5 < reply.size() && reply[start + 5] != '>' && reply[start + 5] != ' ')
    start = reply.find("<root", start + 5);
  if (start == std::string::npos) return "";
  const size_t end = reply.find("</root>", start);
  if (end == std::string::npos) return "";
  return reply.substr(start, end + 7 - start);
}

PrepaidCardResult Failure(std::string message) {
  PrepaidCardResult result;
  result.message = std::move(message);
  return result;
}

}  // namespace

std::string NormalisePrepaidAddress(std::string address) {
  if (address.rfind("http://", 0) == 0) address = "https://" + address.substr(7);
  if (!address.empty() && address.back() != '/') address += '/';
  return address;
}

std::string PrepaidEndpoint(const std::string& operation) { return operation == "CONSULTA" ? "getSaldo" : "useCard"; }

std::string PrepaidCardBody(const PrepaidCardSettings& settings, const PrepaidCardRequest& request) {
  std::string body = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><root>" +
                     Element("store_cnpj", settings.stNRINSJURFILI) + Element("card_number", request.card_number);
  if (request.operation == "RESGATE")
    body += Element("card_password", request.card_password) + Element("total", FormataFloat(request.amount));
  return body + "</root>";
}

std::string MaskedCardNumber(const std::string& card_number) {
  const size_t n = card_number.size();
  if (n >= 12) return card_number.substr(0, 6) + std::string(n - 10, '*') + card_number.substr(n - 4);
  if (n <= 2) return std::string(n, '*');
  return std::string(n - 2, '*') + card_number.substr(n - 2);
}

PrepaidCardResult ReadPrepaidCardReply(const std::string& reply, std::string& root_text) {
  root_text.clear();
  if (!HasResponseCode(reply, 200)) {
    const std::string code = ResponseCode(reply);
    return Failure("serviço do cartão não respondeu" + (code.empty() ? std::string() : " (" + code + ")"));
  }
  root_text = RootElement(reply);
  root_text.erase(std::remove(root_text.begin(), root_text.end(), '\r'), root_text.end());
  if (root_text.empty()) return Failure("resposta do serviço do cartão sem dados");
  pugi::xml_document doc;
  if (!doc.load_string(root_text.c_str())) return Failure("resposta do serviço do cartão inválida");
  const pugi::xml_node root = doc.child("root");
  PrepaidCardResult result;
  result.message = root.child("message").child_value();
  result.response_code = root.child("response_code").child_value();
  try {
    result.balance = ToFloat(root.child("balance").child_value());
  } catch (const NumberConversionError&) {
    return Failure("saldo inválido na resposta do serviço do cartão");
  }
  result.success = std::string(root.child("error").child_value()) == "false";
  if (!result.success && result.message.empty()) result.message = "serviço do cartão recusou a operação";
  return result;
}

PrepaidCardResult CartaoPrePago(const IntegrationContext& context, const Loggers& log,
                                const PrepaidCardSettings& settings, const PrepaidCardRequest& request) {
  log.LogCartaoTodo(std::string(50, '-'));
  log.LogCartaoTodo("INICIO");
  PrepaidCardResult result;
  try {
    const std::string address = NormalisePrepaidAddress(settings.stCDURLINTCARTPRE);
    const std::string endpoint = PrepaidEndpoint(request.operation);
    const std::string body = WithoutLineBreaks(PrepaidCardBody(settings, request));
    PrepaidCardRequest traced = request;
    traced.card_number = MaskedCardNumber(request.card_number);
    if (!traced.card_password.empty()) traced.card_password = "****";
    log.LogCartaoTodo("P_OPERACAO    = " + request.operation);
    log.LogCartaoTodo("P_CDCAIXA     = " + settings.stCdCaixa);
    log.LogCartaoTodo("P_URL         = " + address + endpoint);
    log.LogCartaoTodo("P_CARTAO      = " + traced.card_number);
    log.LogCartaoTodo("P_XML         = " + WithoutLineBreaks(PrepaidCardBody(settings, traced)));
    log.LogCartaoTodo(std::string("P_TIMEOUT     = ") + kTimeout);
    if (address.empty()) {
      log.LogCartaoTodo("RETORNO       = URL do projeto PHP não informada.");
      result.message = "URL do projeto PHP não informada.";
    } else {
      const std::string reply =
          runtime::RequisicaoHTTPS(address + endpoint, body, "POST", "", kTimeout, "", "xml", context.transport);
      std::string root_text;
      result = ReadPrepaidCardReply(reply, root_text);
      log.LogCartaoTodo("RETORNO       = " + (root_text.empty() ? result.message : root_text));
    }
  } catch (const std::exception& e) {
    log.LogCartaoTodo(std::string("Exception CartaoPrePago: ") + e.what());
    result = Failure(e.what());
  }
  log.LogCartaoTodo("FIM");
  return result;
}

}  // namespace recebimento::integrations
