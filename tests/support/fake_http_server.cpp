#include "support/fake_http_server.h"

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <stdexcept>

namespace recebimento::testing {

namespace {

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::string RecordedRequest::Header(const std::string& name) const {
  for (const auto& [key, value] : headers)
    if (SameNameIgnoringCase(key, name)) return value;
  return "";
}

FakeHttpServer::FakeHttpServer() : server_(std::make_unique<httplib::Server>()) { Start(); }

FakeHttpServer::FakeHttpServer(const std::string& cert_file, const std::string& key_file)
    : server_(std::make_unique<httplib::SSLServer>(cert_file.c_str(), key_file.c_str())), tls_(true) {
  if (!server_->is_valid()) throw std::runtime_error("fake HTTPS server: certificate or key not usable");
  Start();
}

FakeHttpServer::~FakeHttpServer() { Stop(); }

void FakeHttpServer::Start() {
  auto dispatch = [this](const httplib::Request& req, httplib::Response& res) {
    RecordedRequest recorded;
    recorded.method = req.method;
    recorded.path = req.path;
    recorded.target = req.target;
    recorded.body = req.body;
    for (const auto& [key, value] : req.params) recorded.params.emplace(key, value);
    for (const auto& [key, value] : req.headers) recorded.headers.emplace_back(key, value);
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(recorded);
    }
    int status = 404;
    std::string body;
    std::string content_type = "text/plain";
    std::vector<std::pair<std::string, std::string>> headers;
    Serve(recorded, status, body, content_type, headers);
    res.status = status;
    for (const auto& [key, value] : headers) res.set_header(key, value);
    if (!body.empty() || content_type != "text/plain") res.set_content(body, content_type.c_str());
  };
  const std::string any = ".*";
  server_->Get(any, dispatch);
  server_->Post(any, dispatch);
  server_->Put(any, dispatch);
  server_->Patch(any, dispatch);
  server_->Delete(any, dispatch);
  server_->Options(any, dispatch);
  port_ = server_->bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("fake HTTP server: cannot bind 127.0.0.1");
  // The socket already listens: connections queue until the loop below accepts them.
  thread_ = std::thread([this] {
    server_->listen_after_bind();
    listen_returned_ = true;
  });
  // stop() is ignored until the accept loop runs; an early Stop() would then hang.
  while (!server_->is_running() && !listen_returned_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void FakeHttpServer::Serve(const RecordedRequest& request, int& status, std::string& body, std::string& content_type,
                           std::vector<std::pair<std::string, std::string>>& headers) {
  Handler handler;
  {
    std::lock_guard lock(mutex_);
    auto route = routes_.find({request.method, request.path});
    if (route == routes_.end()) {
      status = 404;
      body = "no route";
      return;
    }
    handler = route->second;
  }
  FakeReply reply = handler(request);
  if (reply.delay_ms > 0) {
    std::unique_lock lock(mutex_);
    stopping_cv_.wait_for(lock, std::chrono::milliseconds(reply.delay_ms), [this] { return stopping_; });
  }
  status = reply.status;
  body = std::move(reply.body);
  content_type = std::move(reply.content_type);
  headers = std::move(reply.headers);
}

void FakeHttpServer::On(const std::string& method, const std::string& path, FakeReply reply) {
  On(method, path, [reply](const RecordedRequest&) { return reply; });
}

void FakeHttpServer::On(const std::string& method, const std::string& path, Handler handler) {
  std::lock_guard lock(mutex_);
  routes_[{method, path}] = std::move(handler);
}

std::string FakeHttpServer::BaseUrl() const {
  return std::string(tls_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_);
}

std::vector<RecordedRequest> FakeHttpServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

size_t FakeHttpServer::RequestCount() const {
  std::lock_guard lock(mutex_);
  return requests_.size();
}

RecordedRequest FakeHttpServer::LastRequest() const {
  std::lock_guard lock(mutex_);
  if (requests_.empty()) throw std::logic_error("the fake server received no request");
  return requests_.back();
}

void FakeHttpServer::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  stopping_cv_.notify_all();
  if (server_) server_->stop();
  if (thread_.joinable()) thread_.join();
}

int UnusedLocalPort() {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) throw std::runtime_error("cannot open a socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof(address);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(fd);
    throw std::runtime_error("cannot bind a loopback port");
  }
  ::close(fd);
  return ntohs(address.sin_port);
}

}  // namespace recebimento::testing
