// The texts the request module hands back and the inputs it accepts, without a network.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "host/runtime/http_request.h"

namespace recebimento::runtime {
namespace {

HttpResponse Reply(int status, std::string body) {
  HttpResponse response;
  response.status = status;
  response.body = std::move(body);
  return response;
}

TEST(HttpResponseText, MergesTheCodeIntoJsonObjectsVerbatim) {
  EXPECT_EQ(FormatResponseText(Reply(201, R"({"id":"a1","amount":1.10})")),
            R"({"response_code":201,"id":"a1","amount":1.10})");
  EXPECT_EQ(FormatResponseText(Reply(200, "{}")), R"({"response_code":200})");
  EXPECT_EQ(FormatResponseText(Reply(200, " \n{ }\n")), R"({"response_code":200 })");
  EXPECT_EQ(FormatResponseText(Reply(204, "")), R"({"response_code":204})");
  EXPECT_EQ(FormatResponseText(Reply(204, "\r\n")), R"({"response_code":204})");
  EXPECT_TRUE(nlohmann::json::accept(FormatResponseText(Reply(200, R"({"a":[1,{"b":null}]})"))));
}

TEST(HttpResponseText, WrapsOtherBodiesSoTheXmlCanBeCutOutUnchanged) {
  const std::string xml = R"(<?xml version="1.0"?><root><error>false</error><message>OK, feito</message></root>)";
  std::string text = FormatResponseText(Reply(200, xml));
  EXPECT_NE(text.find(R"("response_code":200)"), std::string::npos);
  // One reader drops the brackets and everything through the first comma ...
  std::string cut;
  for (char c : text)
    if (c != '[' && c != ']') cut += c;
  EXPECT_EQ(cut.substr(cut.find(',') + 1), xml);
  // ... another cuts from <root> through </root>.
  size_t from = text.find("<root>");
  size_t to = text.find("</root>") + 7;
  EXPECT_EQ(text.substr(from, to - from), xml.substr(xml.find("<root>")));
  // A JSON array and a broken JSON object are bodies like any other.
  EXPECT_EQ(FormatResponseText(Reply(200, "[1,2]")), R"([{"response_code":200},[1,2]])");
  EXPECT_EQ(FormatResponseText(Reply(502, R"({"id":)")), R"([{"response_code":502},{"id":])");
}

TEST(HttpResponseText, ReportsAMissingStatusAs999WithTheReason) {
  HttpResponse failed;
  failed.error = R"(Couldn't connect to "server")";
  std::string text = FormatResponseText(failed);
  auto parsed = nlohmann::json::parse(text);
  EXPECT_EQ(text.rfind(R"({"response_code":999,)", 0), 0u);
  EXPECT_EQ(parsed["error"], failed.error);
}

TEST(HttpTimeoutText, ReadsSecondsAndNeverMeansForever) {
  EXPECT_EQ(TimeoutMilliseconds("30"), 30000);
  EXPECT_EQ(TimeoutMilliseconds(" 15 "), 15000);
  EXPECT_EQ(TimeoutMilliseconds("1,5"), 1500);
  EXPECT_EQ(TimeoutMilliseconds("0.25"), 250);
  for (const char* fallback : {"", "abc", "0", "-5", "15s", "nan", "inf"})
    EXPECT_EQ(TimeoutMilliseconds(fallback), 30000) << fallback;
  EXPECT_EQ(TimeoutMilliseconds("99999999"), 600000);
}

TEST(HttpRequestBody, UndoesTheCallersQuoteEscapingOnlyWhenThatYieldsJson) {
  EXPECT_EQ(UnescapeQuotedJsonBody(R"({\"title\":\"Venda\",\"amount\":1234})"), R"({"title":"Venda","amount":1234})");
  // A quote escaped inside a value before the whole body was escaped comes back too.
  EXPECT_EQ(UnescapeQuotedJsonBody(R"({\"t\":\"a\\"b\"})"), R"({"t":"a\"b"})");
  EXPECT_EQ(UnescapeQuotedJsonBody(R"({"t":"a\"b"})"), R"({"t":"a\"b"})");
  EXPECT_EQ(UnescapeQuotedJsonBody("grant_type=client_credentials"), "grant_type=client_credentials");
  EXPECT_EQ(UnescapeQuotedJsonBody(R"(<root a=\"1\"/>)"), R"(<root a=\"1\"/>)");
  EXPECT_EQ(UnescapeQuotedJsonBody(""), "");
}

TEST(HttpHeaders, ReadsNameValueListsAndHeaderStreams) {
  EXPECT_EQ(ParseHeaderList(
                {"Authorization=Bearer a=b", "ContentType=application/json", "Accept: */*", "", "x-api-mode = P"}),
            (std::vector<HttpHeader>{{"Authorization", "Bearer a=b"},
                                     {"Content-Type", "application/json"},
                                     {"Accept", "*/*"},
                                     {"x-api-mode", "P"}}));
  EXPECT_EQ(ParseHeaderLines("token:abc123;"), (std::vector<HttpHeader>{{"token", "abc123"}}));
  EXPECT_EQ(
      ParseHeaderLines("token:a;x-b: 2\r\nContent-Type: application/json; charset=utf-8\n"),
      (std::vector<HttpHeader>{{"token", "a"}, {"x-b", "2"}, {"Content-Type", "application/json; charset=utf-8"}}));
  EXPECT_TRUE(ParseHeaderLines("").empty());
  EXPECT_EQ(MediaTypeFor("JSON"), "application/json");
  EXPECT_EQ(MediaTypeFor("xml"), "application/xml");
  EXPECT_EQ(MediaTypeFor("text/plain"), "text/plain");
}

}  // namespace
}  // namespace recebimento::runtime
