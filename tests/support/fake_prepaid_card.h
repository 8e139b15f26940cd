#pragma once
// A fake of the store's prepaid-card service on 127.0.0.1, over HTTPS with the test CA's
// certificate (the client always speaks https): POST <base>/getSaldo answers a card's
// balance, POST <base>/useCard redeems "total" from it - asking for the password ("55")
// when the card has one and it was not given or is wrong, refusing ("51") more than the
// balance. Unknown cards answer "14". Each endpoint can be given a failure of its own.
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "support/fake_http_server.h"

namespace recebimento::testing {

class FakePrepaidCard {
 public:
  enum Endpoint { kBalance, kRedeem };

  FakePrepaidCard();
  // The service's address as a store configures it: "http://127.0.0.1:PORT/cartao",
  // without the trailing "/" (the client adds it and changes the scheme).
  std::string ConfiguredAddress() const;
  // The PEM file of the authority that signed the fake's certificate.
  static std::string CaFile();
  FakeHttpServer& Server() { return server_; }

  // A card with `balance` and, when not empty, a password the redemption needs.
  void AddCard(const std::string& number, double balance, const std::string& password = "");
  double Balance(const std::string& number) const;
  // The endpoint answers `reply` from now on (std::nullopt: as the service does).
  void Override(Endpoint endpoint, std::optional<FakeReply> reply);

  // The bodies received, in order, per endpoint.
  std::vector<std::string> Bodies(Endpoint endpoint) const;
  // The "total" texts of the redemptions that took money.
  std::vector<std::string> Redeemed() const;

 private:
  FakeReply Answer(Endpoint endpoint, const RecordedRequest& request);

  struct Card {
    double balance = 0;
    std::string password;
  };

  FakeHttpServer server_;
  mutable std::mutex m_;
  std::map<std::string, Card> cards_;
  std::map<Endpoint, FakeReply> overrides_;
  std::map<Endpoint, std::vector<std::string>> bodies_;
  std::vector<std::string> redeemed_;
};

// A reply of the service: the request module's XML carried as the service writes it.
std::string PrepaidReplyXml(bool error, const std::string& message, const std::string& balance,
                            const std::string& response_code);

}  // namespace recebimento::testing
