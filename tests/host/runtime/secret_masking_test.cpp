// Credentials in every form a request or a reply carries them never reach the log in
// clear; what is not a credential stays readable.
#include "host/runtime/secret_masking.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace recebimento::runtime {
namespace {

// The secret every form below hides; what must stay is "visible".
constexpr const char* kSecret = "Zq7Secret4242";

void ExpectHidden(const std::string& masked, const std::string& form) {
  EXPECT_EQ(masked.find(kSecret), std::string::npos) << form << "\n -> " << masked;
  EXPECT_EQ(masked.find("Zq7"), std::string::npos) << "not even a part of it: " << masked;
}

// The form with the secret in place of each "^".
std::string S(std::string form) {
  for (size_t at = form.find('^'); at != std::string::npos; at = form.find('^', at + 1)) form.replace(at, 1, kSecret);
  return form;
}

TEST(SecretMasking, JsonBodiesAreMaskedByStructureAtAnyDepth) {
  const std::vector<std::string> forms = {
      R"({"password": ["^", "^"], "visible": 1})",                // a password in an array
      R"({"auth": {"token": "^"}, "visible": 1})",                // a token in a nested object
      R"({"token": {"value": "^", "kind": "x"}, "visible": 1})",  // everything under a key
      R"({"pwd": "^", "visible": 1})",                            // keys of every spelling
      R"({"pass": "^", "visible": 1})",
      R"({"credentials": {"user": "u", "id": "^"}, "visible": 1})",
      R"({"cardNumber": "^", "visible": 1})",
      R"({"numeroCartao": "^", "visible": 1})",
      R"({"cvv": "^", "visible": 1})",
      R"({"payload": "{\"password\":\"^\"}", "visible": 1})",                      // JSON inside a string
      R"({"pass\u0077ord": "^", "visible": 1})",                                   // an escaped key
      R"([{"name": "password", "value": "^"}, {"name": "visible", "value": 1}])",  // name/value pairs
      R"({"a": {"b": [{"c": {"senha": "^"}}]}, "visible": 1})",
      R"({"xml": "<senha>^</senha>", "visible": 1})",  // XML inside JSON
  };
  for (const auto& form : forms) {
    const std::string masked = MaskSecrets(S(form));
    ExpectHidden(masked, form);
    EXPECT_NE(masked.find("visible"), std::string::npos) << masked;
  }
  EXPECT_EQ(MaskSecrets(R"({"a":"token","b":"x","senha":"a\"b,c"})"), R"({"a":"token","b":"x","senha":"****"})");
}

TEST(SecretMasking, XmlBodiesAreMaskedByStructure) {
  const std::vector<std::string> forms = {
      "<login><senha><![CDATA[^]]></senha><visible>1</visible></login>",
      "<login><password><value>^</value><kind>x</kind></password><visible>1</visible></login>",
      "<login><cred password=\"^\" visible=\"1\"/></login>",
      "<params><param name=\"token\">^</param><param name=\"visible\">1</param></params>",
      "<soap:Envelope xmlns:soap=\"x\"><soap:Body><ns:apiKey xmlns:ns=\"y\">^</ns:apiKey>"
      "<visible/></soap:Body></soap:Envelope>",
      "<data><json>{\"token\": \"^\"}</json><visible/></data>",
  };
  for (const auto& form : forms) {
    const std::string masked = MaskSecrets(S(form));
    ExpectHidden(masked, form);
    EXPECT_NE(masked.find("visible"), std::string::npos) << masked;
  }
}

TEST(SecretMasking, TextThatDoesNotParseIsScannedForTheSameForms) {
  const std::vector<std::string> forms = {
      "password = ^ and visible",             // with blanks around "="
      "Authorization: Bearer ^\nvisible: 1",  // a header in a body
      "note visible; token: ^",
      "grant_type=password&password=^&visible=1",
      R"({"password": "^", "visible": )",  // JSON cut short
      R"({"password": ["^", {"x": "^"}], "visible": )",
      "<password>^<visible>",  // XML cut short
      "<senha><![CDATA[^]]></senha><visible>",
      "the reply was Bearer ^ (visible)",
  };
  for (const auto& form : forms) {
    const std::string masked = MaskSecrets(S(form));
    ExpectHidden(masked, form);
    EXPECT_NE(masked.find("visible"), std::string::npos) << masked;
  }
  EXPECT_EQ(MaskSecrets("plain text reply"), "plain text reply");
  EXPECT_EQ(MaskSecrets(""), "");
}

TEST(SecretMasking, HeadersByNameAndByTheCredentialTheyCarry) {
  for (const char* name : {"Authorization", "Proxy-Authorization", "Ocp-Apim-Subscription-Key", "X-Access-Key",
                           "x-api-key", "Cookie", "Set-Cookie", "X-Auth-Token", "token"})
    ExpectHidden(MaskHeaderValue(name, S("^")), name);
  EXPECT_EQ(MaskHeaderValue("Authorization", S("Bearer ^")), "Bearer ****") << "the scheme tells which credential";
  EXPECT_EQ(MaskHeaderValue("X-Forwarded-Auth", S("Basic ^")), "Basic ****");
  EXPECT_EQ(MaskHeaderValue("X-Custom", S("Bearer ^")), "Bearer ****") << "a bearer token under any name";
  EXPECT_EQ(MaskHeaderValue("Content-Type", "application/json"), "application/json");
  EXPECT_EQ(MaskHeaderValue("x-api-mode", "P"), "P");
  EXPECT_EQ(MaskHeaderValue("Keyboard-Layout", "abnt2"), "abnt2");
}

TEST(SecretMasking, UrlsInEveryPart) {
  const std::vector<std::string> forms = {
      "https://h/cb#access_token=^&state=visible",  // fragment
      "https://h/v1/apikey/^9999999999/visible",    // a key in the path
      "https://h/v1/key=^/visible",
      "https://h/v1;jsessionid=^/visible",
      "https://h/p?api_key=^&visible=1",
      "https://h/p?pass%77ord=^&visible=1",  // an escaped name
      "https://user:^@h/visible",
  };
  for (const auto& form : forms) {
    const std::string masked = MaskUrl(S(form));
    ExpectHidden(masked, form);
    EXPECT_NE(masked.find("visible"), std::string::npos) << masked;
  }
  EXPECT_EQ(MaskUrl("https://h/auth/oauth/token?grant_type=x"), "https://h/auth/oauth/token?grant_type=x")
      << "endpoint names are not keys";
  EXPECT_EQ(MaskUrl("http://127.0.0.1:80/orders"), "http://127.0.0.1:80/orders");
}

TEST(SecretMasking, DeeplyNestedBodiesAreMaskedWithoutRecursingIntoThem) {
  std::string deep(100000, '[');
  deep += S(R"({"password":"^"})");
  deep += std::string(100000, ']');
  ExpectHidden(MaskSecrets(deep), "100000 levels of JSON");
  std::string xml;
  for (int i = 0; i < 20000; ++i) xml += "<a>";
  xml += S("<senha>^</senha>");
  for (int i = 0; i < 20000; ++i) xml += "</a>";
  ExpectHidden(MaskSecrets(xml), "20000 levels of XML");
}

}  // namespace
}  // namespace recebimento::runtime
