#include "support/fake_prepaid_card.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "support/test_certificates.h"

namespace recebimento::testing {

namespace {

// The text of the first <name> element of a body; "" when absent.
std::string ElementText(const std::string& body, const std::string& name) {
  const std::string open = "<" + name + ">", close = "</" + name + ">";
  const size_t start = body.find(open);
  if (start == std::string::npos) return "";
  const size_t end = body.find(close, start);
  if (end == std::string::npos) return "";
  return body.substr(start + open.size(), end - start - open.size());
}

std::string TwoDecimals(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

FakeReply Xml(const std::string& text) { return FakeReply(200, text, "application/xml"); }

}  // namespace

std::string PrepaidReplyXml(bool error, const std::string& message, const std::string& balance,
                            const std::string& response_code) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<root>\r\n<error>" + std::string(error ? "true" : "false") +
         "</error>\r\n<message>" + message + "</message>\r\n<balance>" + balance + "</balance>\r\n<response_code>" +
         response_code + "</response_code>\r\n</root>";
}

FakePrepaidCard::FakePrepaidCard()
    : server_(SharedTestCertificates().server_cert.string(), SharedTestCertificates().server_key.string()) {
  server_.On("POST", "/cartao/getSaldo", [this](const RecordedRequest& r) { return Answer(kBalance, r); });
  server_.On("POST", "/cartao/useCard", [this](const RecordedRequest& r) { return Answer(kRedeem, r); });
}

std::string FakePrepaidCard::ConfiguredAddress() const {
  return "http://127.0.0.1:" + std::to_string(server_.port()) + "/cartao";
}

std::string FakePrepaidCard::CaFile() { return SharedTestCertificates().ca_cert.string(); }

void FakePrepaidCard::AddCard(const std::string& number, double balance, const std::string& password) {
  std::lock_guard l(m_);
  cards_[number] = {balance, password};
}

double FakePrepaidCard::Balance(const std::string& number) const {
  std::lock_guard l(m_);
  const auto it = cards_.find(number);
  return it == cards_.end() ? 0 : it->second.balance;
}

void FakePrepaidCard::Override(Endpoint endpoint, std::optional<FakeReply> reply) {
  std::lock_guard l(m_);
  if (reply)
    overrides_[endpoint] = *reply;
  else
    overrides_.erase(endpoint);
}

std::vector<std::string> FakePrepaidCard::Bodies(Endpoint endpoint) const {
  std::lock_guard l(m_);
  const auto it = bodies_.find(endpoint);
  return it == bodies_.end() ? std::vector<std::string>() : it->second;
}

std::vector<std::string> FakePrepaidCard::Redeemed() const {
  std::lock_guard l(m_);
  return redeemed_;
}

FakeReply FakePrepaidCard::Answer(Endpoint endpoint, const RecordedRequest& r) {
  std::lock_guard l(m_);
  bodies_[endpoint].push_back(r.body);
  if (const auto it = overrides_.find(endpoint); it != overrides_.end()) return it->second;
  const auto card = cards_.find(ElementText(r.body, "card_number"));
  if (card == cards_.end()) return Xml(PrepaidReplyXml(true, "Cartão não encontrado", "0", "14"));
  Card& c = card->second;
  if (endpoint == kBalance) return Xml(PrepaidReplyXml(false, "Saldo consultado", TwoDecimals(c.balance), "00"));
  if (!c.password.empty() && ElementText(r.body, "card_password") != c.password)
    return Xml(PrepaidReplyXml(true, "Senha do cartão obrigatória", TwoDecimals(c.balance), "55"));
  const std::string total = ElementText(r.body, "total");
  const double amount = std::strtod(total.c_str(), nullptr);
  if (!(amount > 0) || std::round(amount * 100) > std::round(c.balance * 100))
    return Xml(PrepaidReplyXml(true, "Saldo insuficiente", TwoDecimals(c.balance), "51"));
  c.balance = std::round((c.balance - amount) * 100) / 100;
  redeemed_.push_back(total);
  return Xml(PrepaidReplyXml(false, "Resgate efetuado", TwoDecimals(c.balance), "00"));
}

}  // namespace recebimento::testing
