#include "support/fake_wallet_services.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace recebimento::testing {

namespace {

using json = nlohmann::ordered_json;

// Mercado Pago's ids are numbers; a test's id that is not stays a text.
json IdValue(const std::string& id) {
  return !id.empty() && std::all_of(id.begin(), id.end(), ::isdigit) ? json(std::stoll(id)) : json(id);
}

std::string Param(const RecordedRequest& r, const std::string& name) {
  const auto it = r.params.find(name);
  return it == r.params.end() ? std::string() : it->second;
}

}  // namespace

FakeReply ServerError() { return FakeReply(500, "{\"message\":\"internal error\",\"error\":\"internal_error\"}"); }
FakeReply MalformedJson() { return FakeReply(200, "{\"id\":\"ord-9\",\"qrCodeLink\":\"https:\\/\\/qr"); }
FakeReply EmptyReply(int status) { return FakeReply(status, ""); }
FakeReply SlowReply(int delay_ms) { return FakeReply(200, "{}", "application/json", delay_ms); }

// --- AME -------------------------------------------------------------------------------

FakeAme::FakeAme() {
  server_.On("POST", "/api/auth/oauth/token", [this](const RecordedRequest& r) { return Answer(kToken, r); });
  server_.On("POST", "/api/orders", [this](const RecordedRequest& r) { return Answer(kOrder, r); });
  server_.On("GET", "/loja/callbackaut", [this](const RecordedRequest& r) { return Answer(kCallback, r); });
}

void FakeAme::Override(Endpoint endpoint, std::optional<FakeReply> reply) {
  std::lock_guard l(m_);
  if (reply) {
    overrides_[endpoint] = *reply;
  } else {
    overrides_.erase(endpoint);
  }
}

void FakeAme::AuthoriseOnQuery(int query, const std::string& status) {
  std::lock_guard l(m_);
  authorise_on_ = query;
  authorised_status_ = status;
}

void FakeAme::AddPaymentRoutes(const std::string& payment) {
  server_.On("PUT", "/api/wallet/user/payments/" + payment + "/capture",
             [this](const RecordedRequest& r) { return Answer(kCapture, r); });
  server_.On("PUT", "/api/wallet/user/payments/" + payment + "/cancel",
             [this](const RecordedRequest& r) { return Answer(kCancel, r); });
}

FakeReply FakeAme::Answer(Endpoint endpoint, const RecordedRequest& r) {
  std::unique_lock l(m_);
  if (endpoint == kCallback) ++callback_queries_;
  if (endpoint == kOrder) order_bodies_.push_back(r.body);
  if (auto o = overrides_.find(endpoint); o != overrides_.end()) return o->second;
  switch (endpoint) {
    case kToken:
      return FakeReply(200, "{\"access_token\":\"" + Token() + "\",\"token_type\":\"bearer\",\"expires_in\":3600}");
    case kOrder: {
      const std::string id = "ord-" + std::to_string(++orders_);
      l.unlock();
      AddPaymentRoutes(PaymentOf(id));
      const std::string link = "\"qrCodeLink\":\"https:\\/\\/ame.test\\/qr\\/" + id + "\"";
      if (without_link_) return FakeReply(201, "{\"id\":\"" + id + "\",\"name\":\"Venda_Brisova\"}");
      return FakeReply(201, "{\"id\":\"" + id + "\",\"name\":\"Venda_Brisova\",\"amount\":1000," + link + "}");
    }
    case kCallback: {
      const std::string order = Param(r, "id");
      // No transaction notified for the order yet.
      if (authorise_on_ == 0 || callback_queries_ < authorise_on_)
        return FakeReply(200, "{\"id\":\"\",\"status\":\"PENDING\",\"type\":\"PAYMENT\",\"order\":\"" + order + "\"}");
      return FakeReply(200, "{\"id\":\"" + PaymentOf(order) + "\",\"status\":\"" + authorised_status_ +
                                "\",\"type\":\"PAYMENT\",\"order\":\"" + order + "\"}");
    }
    case kCapture: {
      const std::string payment = r.path.substr(std::string("/api/wallet/user/payments/").size());
      captured_.push_back(payment.substr(0, payment.find('/')));
      return FakeReply(200, "{\"id\":\"" + captured_.back() + "\",\"status\":\"CAPTURED\"}");
    }
    case kCancel: {
      const std::string payment = r.path.substr(std::string("/api/wallet/user/payments/").size());
      cancelled_.push_back(payment.substr(0, payment.find('/')));
      return FakeReply(200, "{\"id\":\"" + cancelled_.back() + "\",\"status\":\"CANCELLED\"}");
    }
  }
  return FakeReply(404, "no route");
}

int FakeAme::CallbackQueries() const {
  std::lock_guard l(m_);
  return callback_queries_;
}

std::vector<std::string> FakeAme::OrderBodies() const {
  std::lock_guard l(m_);
  return order_bodies_;
}

std::vector<std::string> FakeAme::Captured() const {
  std::lock_guard l(m_);
  return captured_;
}

std::vector<std::string> FakeAme::Cancelled() const {
  std::lock_guard l(m_);
  return cancelled_;
}

// --- Mercado Pago ----------------------------------------------------------------------

FakeMercadoPago::FakeMercadoPago(std::string user, std::string store, std::string pos)
    : user_(std::move(user)), store_(std::move(store)), pos_(std::move(pos)) {
  const std::string collector = "/instore/qr/seller/collectors/" + user_;
  server_.On("PUT", collector + "/stores/" + store_ + "/pos/" + pos_ + "/orders",
             [this](const RecordedRequest& r) { return Answer(kCreate, r); });
  server_.On("DELETE", collector + "/pos/" + pos_ + "/orders",
             [this](const RecordedRequest& r) { return Answer(kDelete, r); });
  server_.On("GET", collector + "/pos/" + pos_ + "/orders",
             [this](const RecordedRequest& r) { return Answer(kPending, r); });
  server_.On("GET", "/merchant_orders", [this](const RecordedRequest& r) { return Answer(kSearch, r); });
  server_.On("GET", "/relay", [this](const RecordedRequest& r) { return Answer(kRelay, r); });
}

void FakeMercadoPago::Override(Endpoint endpoint, std::optional<FakeReply> reply) {
  std::lock_guard l(m_);
  if (reply) {
    overrides_[endpoint] = *reply;
  } else {
    overrides_.erase(endpoint);
  }
}

void FakeMercadoPago::OrdersFromSearch(int search, std::vector<FakeMerchantOrder> orders) {
  AddOrderRoutes(orders);
  std::lock_guard l(m_);
  for (const auto& o : orders) known_orders_[o.id] = o;
  orders_from_search_[search] = std::move(orders);
}

void FakeMercadoPago::Notified(std::vector<std::string> orders) {
  std::lock_guard l(m_);
  notified_ = std::move(orders);
}

void FakeMercadoPago::AddOrderRoutes(const std::vector<FakeMerchantOrder>& orders) {
  for (const auto& o : orders) {
    server_.On("GET", "/merchant_orders/" + o.id, [this](const RecordedRequest& r) { return Answer(kOrderById, r); });
    for (const auto& [payment, status] : o.payments)
      server_.On("POST", "/v1/payments/" + payment + "/refunds",
                 [this](const RecordedRequest& r) { return Answer(kRefund, r); });
  }
}

std::string FakeMercadoPago::OrdersJson(const std::vector<FakeMerchantOrder>& orders) const {
  json elements = json::array();
  for (const auto& o : orders) {
    json payments = json::array();
    for (const auto& [id, status] : o.payments)
      payments.push_back({{"id", IdValue(id)}, {"transaction_amount", 12.5}, {"status", status}});
    elements.push_back({{"id", IdValue(o.id)},
                        {"status", o.order_status == "paid" ? "closed" : "opened"},
                        {"external_reference", reference_},
                        {"payments", payments},
                        {"total_amount", 12.5},
                        {"order_status", o.order_status}});
  }
  return json{{"elements", elements}, {"next_offset", orders.size()}, {"total", orders.size()}}.dump();
}

FakeReply FakeMercadoPago::Answer(Endpoint endpoint, const RecordedRequest& r) {
  std::lock_guard l(m_);
  if (endpoint == kSearch) ++searches_;
  if (endpoint == kDelete) ++deletes_;
  if (endpoint == kCreate) {
    order_bodies_.push_back(r.body);
    const json body = json::parse(r.body, nullptr, false);
    if (body.is_object() && body.contains("external_reference") && body["external_reference"].is_string())
      reference_ = body["external_reference"];
  }
  if (auto o = overrides_.find(endpoint); o != overrides_.end()) return o->second;
  switch (endpoint) {
    case kCreate:
    case kDelete: return FakeReply(204, "");
    case kPending: return FakeReply(200, "{\"external_reference\":\"" + reference_ + "\"}");
    case kSearch: {
      std::vector<FakeMerchantOrder> orders;
      for (const auto& [from, listed] : orders_from_search_)
        if (from <= searches_) orders = listed;
      if (Param(r, "external_reference") != reference_) orders.clear();
      return FakeReply(200, OrdersJson(orders));
    }
    case kOrderById: {
      const std::string id = r.path.substr(std::string("/merchant_orders/").size());
      const auto order = known_orders_.find(id);
      if (order == known_orders_.end()) return FakeReply(404, "{\"message\":\"not found\",\"error\":\"not_found\"}");
      const std::string list = OrdersJson({order->second});
      const json doc = json::parse(list);
      return FakeReply(200, doc["elements"][0].dump());
    }
    case kRefund: {
      const std::string tail = r.path.substr(std::string("/v1/payments/").size());
      refunded_.push_back(tail.substr(0, tail.find('/')));
      return FakeReply(201, "{\"id\":9" + std::to_string(refunded_.size()) +
                                ",\"payment_id\":" + IdValue(refunded_.back()).dump() + ",\"status\":\"approved\"}");
    }
    case kRelay: {
      const bool arrived = std::count(notified_.begin(), notified_.end(), Param(r, "id")) > 0;
      return arrived ? FakeReply(200, "{\"notified\":true}") : FakeReply(404, "{\"notified\":false}");
    }
  }
  return FakeReply(404, "no route");
}

int FakeMercadoPago::Searches() const {
  std::lock_guard l(m_);
  return searches_;
}

int FakeMercadoPago::Deletes() const {
  std::lock_guard l(m_);
  return deletes_;
}

std::vector<std::string> FakeMercadoPago::OrderBodies() const {
  std::lock_guard l(m_);
  return order_bodies_;
}

std::vector<std::string> FakeMercadoPago::Refunded() const {
  std::lock_guard l(m_);
  return refunded_;
}

std::string FakeMercadoPago::LastReference() const {
  std::lock_guard l(m_);
  return reference_;
}

}  // namespace recebimento::testing
