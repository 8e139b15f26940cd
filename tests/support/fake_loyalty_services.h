#pragma once
// Fake loyalty services on 127.0.0.1 that speak the shapes the loyalty programmes rely on:
//   FakeCrmBonus  CRM Bonus under "/crm": getBalance, bonusProcessing and addTotalSales,
//                 XML in and out;
//   FakeClubPetro the token endpoint "/oauth/token" (its access point "/api", written
//                 with escaped slashes and no trailing one) and "/api/sale", which
//                 answers the consultation, the redemption and the sale report;
//   FakeGcom      GCOM under "/gcom": getConsumerBalance and balanceReserve, XML.
// Each endpoint answers as the service does unless a test gives it a reply of its own
// (ServerError, EmptyReply, SlowReply of fake_wallet_services.h, or any FakeReply).
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "support/fake_http_server.h"

namespace recebimento::testing {

// Bodies the services received on one path, in order.
std::vector<std::string> BodiesTo(const FakeHttpServer& server, const std::string& path);

class FakeCrmBonus {
 public:
  FakeCrmBonus();
  std::string Base() const { return server_.BaseUrl() + "/crm"; }
  FakeHttpServer& Server() { return server_; }
  // The balance text and bonus id getBalance answers.
  void Balance(const std::string& balance, const std::string& bonus_id = "BNS123456789");
  // The path ("/crm/getBalance", ...) answers `reply` (std::nullopt: as the service does).
  void Override(const std::string& path, std::optional<FakeReply> reply);

 private:
  FakeReply Answer(const RecordedRequest& r);

  FakeHttpServer server_;
  std::mutex m_;
  std::string balance_ = "25.50", bonus_id_ = "BNS123456789";
  std::map<std::string, FakeReply> overrides_;
};

class FakeClubPetro {
 public:
  FakeClubPetro();
  std::string TokenUrl() const { return server_.BaseUrl() + "/oauth/token"; }
  FakeHttpServer& Server() { return server_; }
  std::string Token() const { return "tok-clubpetro-5e1d"; }
  // A consumer of the programme: its document (CPF, or a foreign one) and balance text.
  void Consumer(const std::string& document, const std::string& balance, bool foreign = false,
                const std::string& extra = "");
  // "/oauth/token", or "/api/sale" for one of its operations ("Consulta",
  // "consumo_ponto", "venda"), answers `reply`.
  void Override(const std::string& what, std::optional<FakeReply> reply);
  std::vector<std::string> SaleBodies() const { return BodiesTo(server_, "/api/sale"); }

 private:
  FakeReply Answer(const std::string& what, const RecordedRequest& r);

  FakeHttpServer server_;
  std::mutex m_;
  std::map<std::string, std::string> consumers_;  // "cpf:<doc>" / "dni:<doc>" -> reply members
  std::map<std::string, FakeReply> overrides_;
};

class FakeGcom {
 public:
  FakeGcom();
  std::string Base() const { return server_.BaseUrl() + "/gcom"; }
  FakeHttpServer& Server() { return server_; }
  // The consumer getConsumerBalance answers.
  void Consumer(const std::string& balance, const std::string& percentage, const std::string& status = "S");
  void Override(const std::string& path, std::optional<FakeReply> reply);

 private:
  FakeReply Answer(const RecordedRequest& r);

  FakeHttpServer server_;
  std::mutex m_;
  std::string balance_ = "30.00", percentage_ = "0", status_ = "S";
  std::map<std::string, FakeReply> overrides_;
};

}  // namespace recebimento::testing
