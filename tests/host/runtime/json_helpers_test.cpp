#include "host/runtime/json_helpers.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace recebimento::runtime {
namespace {

TEST(RetornaJSON, BuildsTheTokenRequestBodyInListOrder) {
  std::string text = retornaJSON({"grant_type=client_credentials", "client_id=abc-1", "client_secret=s3cr=et"});
  EXPECT_EQ(text, R"({"grant_type":"client_credentials","client_id":"abc-1","client_secret":"s3cr=et"})");
}

TEST(RetornaJSON, WritesNumberAndKeywordLiteralsUnquotedAndVerbatim) {
  std::string text =
      retornaJSON({"amount=1.10", "count=-3", "big=12345678901234567890", "exp=2e3", "ok=true", "nada=null"});
  EXPECT_EQ(text, R"({"amount":1.10,"count":-3,"big":12345678901234567890,"exp":2e3,"ok":true,"nada":null})");
  EXPECT_TRUE(nlohmann::json::accept(text));
}

TEST(RetornaJSON, QuotesTextsThatOnlyLookNumeric) {
  // Leading zeros (documents, codes) and decimal commas are texts, kept exactly.
  auto parsed = nlohmann::json::parse(retornaJSON({"cpf=01234567890", "valor=1,5", "x=1.", "y=.5", "z=+1", "t=True"}));
  EXPECT_EQ(parsed["cpf"], "01234567890");
  EXPECT_EQ(parsed["valor"], "1,5");
  EXPECT_EQ(parsed["x"], "1.");
  EXPECT_EQ(parsed["y"], ".5");
  EXPECT_EQ(parsed["z"], "+1");
  EXPECT_EQ(parsed["t"], "True");
}

TEST(RetornaJSON, EscapesQuotesBackslashesControlsAndKeepsUtf8) {
  std::string value = "a\"b\\c\nd\te ção";
  auto parsed = nlohmann::json::parse(retornaJSON({"texto=" + value}));
  EXPECT_EQ(parsed["texto"], value);
}

TEST(RetornaJSON, HandlesOddEntries) {
  EXPECT_EQ(retornaJSON({}), "{}");
  EXPECT_EQ(retornaJSON({"", "  "}), "{}");
  EXPECT_EQ(retornaJSON({"semvalor"}), R"({"semvalor":""})");
  EXPECT_EQ(retornaJSON({"a=1", "b=x", "a=2"}), R"({"a":2,"b":"x"})");
  EXPECT_EQ(retornaJSON({"vazio="}), R"({"vazio":""})");
}

TEST(JsonQuote, ReplacesInvalidUtf8InsteadOfFailing) {
  std::string quoted = JsonQuote(std::string("a\xff") + "b");
  EXPECT_TRUE(nlohmann::json::accept(quoted));
  EXPECT_EQ(nlohmann::json::parse(quoted),
            "a\xEF\xBF\xBD"
            "b");
}

}  // namespace
}  // namespace recebimento::runtime
