// The request module against fake services on 127.0.0.1.
#include "host/runtime/http_request.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "support/fake_http_server.h"
#include "support/temp_dir.h"
#include "support/test_certificates.h"

namespace recebimento::runtime {
namespace {

using recebimento::testing::FakeHttpServer;
using recebimento::testing::FakeReply;
using recebimento::testing::SharedTestCertificates;
using recebimento::testing::TempDir;
using recebimento::testing::UnusedLocalPort;

class HttpRequestTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = GetHttpSettings(); }
  void TearDown() override { SetHttpSettings(saved_); }
  HttpSettings saved_;
};

TEST_F(HttpRequestTest, ListFormSendsHeadersAndBodyAndMergesTheCodeIntoJson) {
  FakeHttpServer server;
  server.On("PUT", "/orders", FakeReply{201, R"({"id":"ord-1","qrCodeLink":"https:\/\/q"})"});
  std::string reply = RequisicaoHTTPS(
      server.BaseUrl() + "/orders", R"({\"title\":\"Venda_Brisova\",\"amount\":1234})", "PUT",
      {"Authorization=Bearer tok-1", "Accept=*/*", "ContentType=application/json", "x-api-mode=P"}, "5", "");
  EXPECT_EQ(reply, R"({"response_code":201,"id":"ord-1","qrCodeLink":"https:\/\/q"})");
  auto seen = server.LastRequest();
  EXPECT_EQ(seen.method, "PUT");
  EXPECT_EQ(seen.body, R"({"title":"Venda_Brisova","amount":1234})");
  EXPECT_EQ(seen.Header("Authorization"), "Bearer tok-1");
  EXPECT_EQ(seen.Header("Content-Type"), "application/json");
  EXPECT_EQ(seen.Header("Accept"), "*/*");
  EXPECT_EQ(seen.Header("x-api-mode"), "P");
  EXPECT_EQ(seen.Header("Expect"), "");
}

TEST_F(HttpRequestTest, EveryStatusIsCarriedWhateverTheBody) {
  FakeHttpServer server;
  const std::string xml = "<root><error>false</error><balance>10.5</balance></root>";
  server.On("POST", "/xml", FakeReply{200, xml, "application/xml"});
  server.On("DELETE", "/orders", FakeReply{204, "", "application/json"});
  server.On("POST", "/boom", FakeReply{500, "Internal failure", "text/plain"});
  server.On("GET", "/missing", FakeReply{404, R"({"error":"not_found"})"});

  std::string xml_reply = RequisicaoHTTPS(server.BaseUrl() + "/xml", "<root/>", "POST", "", "5", "", "xml");
  EXPECT_EQ(xml_reply, R"([{"response_code":200},)" + xml + "]");
  EXPECT_EQ(server.LastRequest().Header("Content-Type"), "application/xml");
  EXPECT_EQ(server.LastRequest().Header("Authorization"), "");

  EXPECT_EQ(RequisicaoHTTPS(server.BaseUrl() + "/orders", "", "DELETE", "Bearer t", "5", "", "json"),
            R"({"response_code":204})");
  EXPECT_EQ(server.LastRequest().method, "DELETE");
  EXPECT_EQ(server.LastRequest().body, "");

  std::string failure = RequisicaoHTTPS(server.BaseUrl() + "/boom", "", "POST", std::vector<std::string>{}, "5", "");
  EXPECT_NE(failure.find(R"("response_code":500)"), std::string::npos);
  EXPECT_NE(failure.find("Internal failure"), std::string::npos);

  EXPECT_EQ(RequisicaoHTTPS(server.BaseUrl() + "/missing", "", "GET", "", "5", "", "json"),
            R"({"response_code":404,"error":"not_found"})");
}

TEST_F(HttpRequestTest, QueryParametersAndLatin1RepliesArriveIntact) {
  FakeHttpServer server;
  std::string latin1_body = "{\"nome\":\"Jo\xE3o\"}";
  server.On("GET", "/callbackaut", FakeReply{200, latin1_body, "application/json; charset=ISO-8859-1"});
  std::string reply = RequisicaoHTTPS(server.BaseUrl() + "/callbackaut?id=abc-123&topic=merchant_order", "", "GET", "",
                                      "5", "", "json");
  EXPECT_EQ(reply, R"({"response_code":200,"nome":"João"})");
  auto seen = server.LastRequest();
  EXPECT_EQ(seen.params.find("id")->second, "abc-123");
  EXPECT_EQ(seen.params.find("topic")->second, "merchant_order");
}

TEST_F(HttpRequestTest, TransportFailuresGive999AndNeverHang) {
  FakeHttpServer server;
  server.On("POST", "/slow", FakeReply{200, "{}", "application/json", 3000});

  auto start = std::chrono::steady_clock::now();
  std::string timed_out = RequisicaoHTTPS(server.BaseUrl() + "/slow", "{}", "POST", "", "1", "", "json");
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LT(elapsed, std::chrono::milliseconds(2500));
  EXPECT_EQ(timed_out.rfind(R"({"response_code":999,"error":)", 0), 0u) << timed_out;
  EXPECT_EQ(timed_out.find(R"("response_code":200)"), std::string::npos);

  std::string refused = RequisicaoHTTPS("http://127.0.0.1:" + std::to_string(UnusedLocalPort()) + "/x", "", "GET",
                                        std::vector<std::string>{}, "2", "");
  auto parsed = nlohmann::json::parse(refused);
  EXPECT_EQ(parsed["response_code"], 999);
  EXPECT_FALSE(parsed["error"].get<std::string>().empty());

  base::Variant stream = RequisicaoHTTP(server.BaseUrl() + "/slow", "JSON", "POST", "", "{}", "0.5");
  ASSERT_EQ(stream.Size(), 2u);
  EXPECT_EQ(stream[0].AsInteger(), kNoHttpStatus);
  EXPECT_FALSE(stream[1].AsString().empty());
}

TEST_F(HttpRequestTest, UnsafeInputIsRefusedBeforeAnythingIsSent) {
  FakeHttpServer server;
  server.On("GET", "/x", FakeReply{200, "{}"});
  std::string injected =
      RequisicaoHTTPS(server.BaseUrl() + "/x", "", "GET", {"Authorization=Bearer a\r\nX-Evil: 1"}, "2", "");
  EXPECT_EQ(injected.rfind(R"({"response_code":999,)", 0), 0u);
  std::string bad_method = RequisicaoHTTPS(server.BaseUrl() + "/x", "", "GET /y HTTP/1.1\r\n", "", "2", "", "json");
  EXPECT_EQ(bad_method.rfind(R"({"response_code":999,)", 0), 0u);
  std::string no_url = RequisicaoHTTPS("", "", "GET", "", "2", "", "json");
  EXPECT_EQ(no_url.rfind(R"({"response_code":999,)", 0), 0u);
  std::string other_scheme = RequisicaoHTTPS("file:///etc/passwd", "", "GET", "", "2", "", "json");
  EXPECT_EQ(other_scheme.rfind(R"({"response_code":999,)", 0), 0u);
  EXPECT_EQ(server.RequestCount(), 0u);
}

TEST_F(HttpRequestTest, StreamFormReturnsStatusAndRawReply) {
  FakeHttpServer server;
  server.On("POST", "/oauth/token", FakeReply{200, R"({"access_token":"t","access_point":"https:\/\/a"})"});
  server.On("POST", "/sale", FakeReply{401, "token invalido", "text/plain"});

  base::Variant ok = RequisicaoHTTP(server.BaseUrl() + "/oauth/token", "JSON", "POST", "",
                                    R"({"grant_type":"client_credentials"})", "30");
  ASSERT_EQ(ok.Size(), 2u);
  EXPECT_EQ(ok[0].AsInteger(), 200);
  EXPECT_EQ(ok[1].AsString(), R"({"access_token":"t","access_point":"https:\/\/a"})");
  EXPECT_EQ(server.LastRequest().Header("Content-Type"), "application/json");
  EXPECT_EQ(server.LastRequest().body, R"({"grant_type":"client_credentials"})");

  base::Variant refused = RequisicaoHTTP(server.BaseUrl() + "/sale", "JSON", "POST", "token:abc123;", "{}", "15");
  EXPECT_EQ(refused[0].AsInteger(), 401);
  EXPECT_EQ(refused[1].AsString(), "token invalido");
  EXPECT_EQ(server.LastRequest().Header("token"), "abc123");
}

TEST_F(HttpRequestTest, TlsIsVerifiedAndAConfiguredCaIsTrusted) {
  const auto& certs = SharedTestCertificates();
  FakeHttpServer signed_server(certs.server_cert.string(), certs.server_key.string());
  FakeHttpServer lone_server(certs.self_signed_cert.string(), certs.self_signed_key.string());
  signed_server.On("GET", "/ping", FakeReply{200, R"({"ok":true})"});
  lone_server.On("GET", "/ping", FakeReply{200, R"({"ok":true})"});

  // Without the CA nothing vouches for the service.
  std::string untrusted = RequisicaoHTTPS(signed_server.BaseUrl() + "/ping", "", "GET", "", "5", "", "json");
  EXPECT_EQ(untrusted.rfind(R"({"response_code":999,)", 0), 0u) << untrusted;

  HttpSettings settings = GetHttpSettings();
  settings.extra_ca_file = certs.ca_cert.string();
  SetHttpSettings(settings);
  EXPECT_EQ(RequisicaoHTTPS(signed_server.BaseUrl() + "/ping", "", "GET", "", "5", "", "json"),
            R"({"response_code":200,"ok":true})");
  base::Variant stream = RequisicaoHTTP(signed_server.BaseUrl() + "/ping", "JSON", "GET", "", "", "5");
  EXPECT_EQ(stream[0].AsInteger(), 200);

  // The CA does not make a certificate signed by itself acceptable.
  std::string self_signed = RequisicaoHTTPS(lone_server.BaseUrl() + "/ping", "", "GET", "", "5", "", "json");
  EXPECT_EQ(self_signed.rfind(R"({"response_code":999,)", 0), 0u) << self_signed;
  // Only the trusted exchange reached a handler.
  EXPECT_EQ(signed_server.RequestCount(), 2u);
  EXPECT_EQ(lone_server.RequestCount(), 0u);
}

TEST_F(HttpRequestTest, LogsEachExchangeWithSecretsMaskedAndSurvivesABrokenLogFolder) {
  FakeHttpServer server;
  server.On("POST", "/auth/oauth/token", FakeReply{200, R"({"access_token":"tok-SECRET-9","expires_in":3600})"});
  TempDir dir;
  std::string log_dir = dir.str() + "\\Dados\\logApiAME";
  std::string reply = RequisicaoHTTPS(
      server.BaseUrl() + "/auth/oauth/token?client_secret=QS-1", "grant_type=client_credentials&client_secret=FORM-2",
      "POST", {"Authorization=Basic dXNlcjpwYXNz", "ContentType=application/x-www-form-urlencoded"}, "5", log_dir);
  EXPECT_NE(reply.find(R"("response_code":200)"), std::string::npos);

  auto folder = dir.path() / "Dados" / "logApiAME";
  ASSERT_TRUE(std::filesystem::is_directory(folder));
  auto files = std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator());
  ASSERT_EQ(files, 1);
  std::string log =
      dir.Read("Dados/logApiAME/" + std::filesystem::directory_iterator(folder)->path().filename().string());
  for (const char* secret : {"tok-SECRET-9", "QS-1", "FORM-2", "dXNlcjpwYXNz"})
    EXPECT_EQ(log.find(secret), std::string::npos) << secret;
  EXPECT_NE(log.find("POST " + server.BaseUrl() + "/auth/oauth/token?client_secret=****"), std::string::npos);
  EXPECT_NE(log.find("Authorization: Basic ****"), std::string::npos);
  EXPECT_NE(log.find("grant_type=client_credentials"), std::string::npos);
  EXPECT_NE(log.find("Status: 200"), std::string::npos);
  EXPECT_NE(log.find(R"("expires_in":3600)"), std::string::npos);

  // The secret reached the service in clear: only the log is masked.
  EXPECT_EQ(server.LastRequest().Header("Authorization"), "Basic dXNlcjpwYXNz");

  auto blocker = dir.Write("ocupado", "x");
  std::string still_ok =
      RequisicaoHTTPS(server.BaseUrl() + "/auth/oauth/token", "", "POST", "", "5", (blocker / "logs").string(), "json");
  EXPECT_NE(still_ok.find(R"("response_code":200)"), std::string::npos);
}

}  // namespace
}  // namespace recebimento::runtime
