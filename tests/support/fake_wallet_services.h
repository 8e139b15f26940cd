#pragma once
// Fake wallet services on 127.0.0.1 that speak the shapes the wallets rely on:
//   FakeAme          the AME API under "/api" (token, orders, capture and cancel of a
//                    payment) and the store's callback service under "/loja"
//                    (GET /loja/callbackaut?id=<order> answering id, status and type:
//                    no id and "PENDING" until the consumer pays);
//   FakeMercadoPago  Mercado Pago's in-store API (the order on the point of sale, the
//                    merchant orders of a reference and by id, refunds) and the store's
//                    notification relay at "/relay".
// Each endpoint answers as the service does unless a test gives it a failure of its own
// (a status, a malformed or empty body, a delay past the caller's time-out).
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/fake_http_server.h"

namespace recebimento::testing {

// Replies for the failure modes.
FakeReply ServerError();                 // 500 with a JSON error
FakeReply MalformedJson();               // 200 with JSON cut short
FakeReply EmptyReply(int status = 200);  // no body
FakeReply SlowReply(int delay_ms);       // 200 "{}" after `delay_ms`

class FakeAme {
 public:
  enum Endpoint { kToken, kOrder, kCallback, kCapture, kCancel };

  FakeAme();
  std::string ApiBase() const { return server_.BaseUrl() + "/api"; }
  std::string CallbackBase() const { return server_.BaseUrl() + "/loja"; }
  FakeHttpServer& Server() { return server_; }

  // The endpoint answers `reply` from now on (std::nullopt: as the service does).
  void Override(Endpoint endpoint, std::optional<FakeReply> reply);
  // The callback service reports the payment authorised from the `query`-th query on
  // (0: never), with this status text.
  void AuthoriseOnQuery(int query, const std::string& status = "AUTHORIZED");
  // The order's reply lacks the QR-code link / puts it before the id.
  void OrderWithoutLink(bool without) {
    std::lock_guard l(m_);
    without_link_ = without;
  }

  std::string Token() const { return "tok-ame-7f3a9c"; }
  // The payment id the callback service reports for the n-th order.
  static std::string PaymentOf(const std::string& order) { return "pay-" + order; }

  int CallbackQueries() const;
  std::vector<std::string> OrderBodies() const;
  std::vector<std::string> Captured() const;
  std::vector<std::string> Cancelled() const;

 private:
  FakeReply Answer(Endpoint endpoint, const RecordedRequest& request);
  void AddPaymentRoutes(const std::string& payment);

  FakeHttpServer server_;
  mutable std::mutex m_;
  std::map<Endpoint, FakeReply> overrides_;
  int authorise_on_ = 1;
  std::string authorised_status_ = "AUTHORIZED";
  bool without_link_ = false;
  int orders_ = 0;
  int callback_queries_ = 0;
  std::vector<std::string> order_bodies_, captured_, cancelled_;
};

// A merchant order as Mercado Pago reports it.
struct FakeMerchantOrder {
  std::string id;
  std::string order_status;                                   // "opened", "paid", ...
  std::vector<std::pair<std::string, std::string>> payments;  // id, status
};

class FakeMercadoPago {
 public:
  enum Endpoint { kCreate, kDelete, kPending, kSearch, kOrderById, kRefund, kRelay };

  // The point of sale of collector `user` and `pos`, in store `store`.
  FakeMercadoPago(std::string user = "123456", std::string store = "LOJA00010001", std::string pos = "CAIXA0001001");
  std::string ApiBase() const { return server_.BaseUrl(); }
  std::string RelayUrl() const { return server_.BaseUrl() + "/relay"; }
  FakeHttpServer& Server() { return server_; }

  void Override(Endpoint endpoint, std::optional<FakeReply> reply);
  // From the `search`-th search on (counted from 1), the reference's merchant orders.
  void OrdersFromSearch(int search, std::vector<FakeMerchantOrder> orders);
  // The relay says a notification arrived for these merchant orders.
  void Notified(std::vector<std::string> orders);

  int Searches() const;
  std::vector<std::string> OrderBodies() const;
  std::vector<std::string> Refunded() const;
  std::string LastReference() const;
  int Deletes() const;

 private:
  FakeReply Answer(Endpoint endpoint, const RecordedRequest& request);
  std::string OrdersJson(const std::vector<FakeMerchantOrder>& orders) const;
  void AddOrderRoutes(const std::vector<FakeMerchantOrder>& orders);

  FakeHttpServer server_;
  std::string user_, store_, pos_;
  mutable std::mutex m_;
  std::map<Endpoint, FakeReply> overrides_;
  std::map<int, std::vector<FakeMerchantOrder>> orders_from_search_;
  std::map<std::string, FakeMerchantOrder> known_orders_;
  std::vector<std::string> notified_;
  std::string reference_;
  int searches_ = 0, deletes_ = 0;
  std::vector<std::string> order_bodies_, refunded_;
};

}  // namespace recebimento::testing
