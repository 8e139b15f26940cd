#pragma once
// A fake HTTP(S) service on 127.0.0.1 with an ephemeral port, for integration tests:
// replies per method and path, and a record of every request received.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace httplib {
class Server;
}

namespace recebimento::testing {

struct RecordedRequest {
  std::string method;
  std::string path;                                // without the query
  std::string target;                              // path and query as sent
  std::multimap<std::string, std::string> params;  // decoded query parameters
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  // First header of that name (any case); "" when absent.
  std::string Header(const std::string& name) const;
};

struct FakeReply {
  FakeReply(int status_code = 200, std::string reply_body = "", std::string type = "application/json", int delay = 0)
      : status(status_code), body(std::move(reply_body)), content_type(std::move(type)), delay_ms(delay) {}
  int status = 200;
  std::string body;
  std::string content_type = "application/json";
  int delay_ms = 0;  // wait before answering (ends early when the server stops)
  std::vector<std::pair<std::string, std::string>> headers;
};

class FakeHttpServer {
 public:
  using Handler = std::function<FakeReply(const RecordedRequest&)>;

  FakeHttpServer();  // plain HTTP
  // HTTPS with the given PEM certificate and key.
  FakeHttpServer(const std::string& cert_file, const std::string& key_file);
  ~FakeHttpServer();
  FakeHttpServer(const FakeHttpServer&) = delete;
  FakeHttpServer& operator=(const FakeHttpServer&) = delete;

  // Reply for an exact method and path; a later registration replaces an earlier one.
  // Unregistered routes get 404 with the body "no route".
  void On(const std::string& method, const std::string& path, FakeReply reply);
  void On(const std::string& method, const std::string& path, Handler handler);

  int port() const { return port_; }
  std::string BaseUrl() const;  // "http://127.0.0.1:PORT" or "https://..."

  std::vector<RecordedRequest> Requests() const;
  size_t RequestCount() const;
  RecordedRequest LastRequest() const;  // throws std::logic_error when none arrived

  void Stop();

 private:
  void Start();
  void Serve(const RecordedRequest& request, int& status, std::string& body, std::string& content_type,
             std::vector<std::pair<std::string, std::string>>& headers);

  std::unique_ptr<httplib::Server> server_;
  bool tls_ = false;
  int port_ = 0;
  std::thread thread_;
  std::atomic<bool> listen_returned_{false};
  mutable std::mutex mutex_;
  std::condition_variable stopping_cv_;
  bool stopping_ = false;
  std::map<std::pair<std::string, std::string>, Handler> routes_;
  std::vector<RecordedRequest> requests_;
};

// A loopback port that nothing listens on (bound, read and closed at once), for
// "connection refused" cases.
int UnusedLocalPort();

}  // namespace recebimento::testing
