#pragma once
// The store's prepaid-card service ("Cartão Todo"): an XML API at an address configured
// per branch, asked for a card's balance ("getSaldo") and to redeem an amount from a card
// ("useCard"). Each call is one POST with a body
//   <root><store_cnpj/><card_number/>[<card_password/><total/>]</root>
// answered with <root><error/><message/><balance/><response_code/></root>; "error"
// "false" is the only success. The calls are traced in LogCartaoTodo, with the card's
// password and the middle of its number never written in clear.
#include <string>

#include "integrations/integration_context.h"
#include "integrations/rest/loggers.h"

namespace recebimento::integrations {

// What a call sends besides the card: where the service is, the store it speaks for and
// the register that asks.
struct PrepaidCardSettings {
  std::string stCDURLINTCARTPRE;  // the service's address as configured
  std::string stNRINSJURFILI;     // the branch's CNPJ
  std::string stCdCaixa;          // the register, for the trace
};

// The four values a call takes: "CONSULTA" (balance) or "RESGATE" (redemption), the
// card, its password (redemption only) and the amount to redeem.
struct PrepaidCardRequest {
  std::string operation;
  std::string card_number;
  std::string card_password;
  double amount = 0;
};

// The four values a call gives back: success, the service's message, the card's balance
// and the service's own response code ("00" redeemed, "55" password wanted, ...).
struct PrepaidCardResult {
  bool success = false;
  std::string message;
  double balance = 0;
  std::string response_code;
};

// The address with "https://" for "http://" and a "/" at its end.
std::string NormalisePrepaidAddress(std::string address);
// "getSaldo" for "CONSULTA", "useCard" for any other operation.
std::string PrepaidEndpoint(const std::string& operation);
// The request's XML body, on one line; the amount with two decimals and a point.
std::string PrepaidCardBody(const PrepaidCardSettings& settings, const PrepaidCardRequest& request);
// The card number as the trace shows it: its first six and last four digits, the rest
// masked ("603689******1234"); a short number is masked whole but its last two.
std::string MaskedCardNumber(const std::string& card_number);

// The reply of the request module read: its status must be 200 and its text hold a
// <root> element with "error" "false". Anything else is a failure whose message says why
// (the service's own message when it gave one). `root_text` receives the XML cut out of
// the reply, for the trace. Never throws.
PrepaidCardResult ReadPrepaidCardReply(const std::string& reply, std::string& root_text);

// One call to the service, traced; a failure of any kind comes back as success false.
PrepaidCardResult CartaoPrePago(const IntegrationContext& context, const Loggers& log,
                                const PrepaidCardSettings& settings, const PrepaidCardRequest& request);

}  // namespace recebimento::integrations
