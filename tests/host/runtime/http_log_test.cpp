#include "host/runtime/http_log.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace recebimento::runtime {
namespace {

using recebimento::testing::TempDir;

TEST(HttpLogMasking, HidesCredentialHeadersButKeepsTheScheme) {
  EXPECT_EQ(MaskHeaderValue("Authorization", "Bearer abc.def"), "Bearer ****");
  EXPECT_EQ(MaskHeaderValue("authorization", "Basic dXNlcjpwYXNz"), "Basic ****");
  EXPECT_EQ(MaskHeaderValue("token", "abc123"), "****");
  EXPECT_EQ(MaskHeaderValue("x-api-key", "k"), "****");
  EXPECT_EQ(MaskHeaderValue("Content-Type", "application/json"), "application/json");
  EXPECT_EQ(MaskHeaderValue("x-api-mode", "P"), "P");
}

TEST(HttpLogMasking, HidesSecretJsonMembersAtAnyDepth) {
  std::string body = R"({"client_id":"id1","client_secret":"s1","user":{"senha":"s2","password" : "s3"},)"
                     R"("access_token":"s4","expires":3600,"token":12345,"list":[{"refresh_token":"s5"}],"nome":"ok"})";
  std::string masked = MaskSecrets(body);
  for (const char* secret : {"s1", "s2", "s3", "s4", "12345", "s5"})
    EXPECT_EQ(masked.find(secret), std::string::npos) << secret << " in " << masked;
  EXPECT_NE(masked.find(R"("client_id":"id1")"), std::string::npos);
  EXPECT_NE(masked.find(R"("client_secret":"****")"), std::string::npos);
  EXPECT_NE(masked.find(R"("token":"****")"), std::string::npos) << "a masked value is always text";
  EXPECT_NE(masked.find(R"("expires":3600)"), std::string::npos);
  EXPECT_NE(masked.find(R"("nome":"ok")"), std::string::npos);
}

TEST(HttpLogMasking, StringValuesThatLookLikeKeysDoNotShiftTheScan) {
  // A value followed by another member must not be taken for a key.
  std::string masked = MaskSecrets(R"({"a":"token","b":"x","senha":"a\"b,c"})");
  EXPECT_EQ(masked, R"({"a":"token","b":"x","senha":"****"})");
}

TEST(HttpLogMasking, HidesFormFieldsXmlElementsAndQueryParameters) {
  EXPECT_EQ(MaskSecrets("grant_type=client_credentials&client_secret=abc&client_id=x"),
            "grant_type=client_credentials&client_secret=****&client_id=x");
  EXPECT_EQ(MaskSecrets("<root><data><companyCode>9</companyCode><authorization>xyz</authorization></data></root>"),
            "<root><data><companyCode>9</companyCode><authorization>****</authorization></data></root>");
  EXPECT_EQ(MaskUrl("https://h/p?id=7&access_token=abc&topic=x"), "https://h/p?id=7&access_token=****&topic=x");
  EXPECT_EQ(MaskUrl("https://user:pw@h:8443/p"), "https://user:****@h:8443/p");
  EXPECT_EQ(MaskUrl("http://127.0.0.1:80/orders"), "http://127.0.0.1:80/orders");
  EXPECT_EQ(MaskSecrets("plain text reply"), "plain text reply");
}

HttpLogEntry SampleEntry() {
  HttpLogEntry entry;
  entry.started = std::chrono::system_clock::now();
  entry.method = "POST";
  entry.url = "https://api.example/auth?token=q1";
  entry.headers = {{"Authorization", "Basic c2VjcmV0"}, {"Accept", "application/json"}};
  entry.body = R"({"password":"p1"})";
  entry.status = 200;
  entry.response = R"({"access_token":"t1","type":"bearer"})";
  return entry;
}

TEST(HttpLogFile, AppendsMaskedEntriesToTheDailyFileInANewFolder) {
  TempDir dir;
  auto folder = dir.path() / "Dados" / "logApiAME";
  HttpLogEntry entry = SampleEntry();
  ASSERT_TRUE(AppendHttpLog(folder.string(), entry));
  entry.status = 999;
  entry.error = "Couldn't connect to server";
  ASSERT_TRUE(AppendHttpLog(folder.string(), entry));

  std::string name = HttpLogFileName(entry.started);
  EXPECT_EQ(name.size(), std::string("HTTP_20261206.log").size());
  EXPECT_EQ(name.rfind("HTTP_", 0), 0u);
  std::string text = dir.Read("Dados/logApiAME/" + name);
  for (const char* secret : {"q1", "c2VjcmV0", "p1", "t1"}) EXPECT_EQ(text.find(secret), std::string::npos) << secret;
  EXPECT_NE(text.find("POST https://api.example/auth?token=****"), std::string::npos);
  EXPECT_NE(text.find("Header: Authorization: Basic ****"), std::string::npos);
  EXPECT_NE(text.find("Header: Accept: application/json"), std::string::npos);
  EXPECT_NE(text.find("Status: 200"), std::string::npos);
  EXPECT_NE(text.find("Status: 999"), std::string::npos);
  EXPECT_NE(text.find("Error: Couldn't connect to server"), std::string::npos);
  EXPECT_NE(text.find(R"("type":"bearer")"), std::string::npos);
}

TEST(HttpLogFile, AcceptsBackslashFoldersAndNeverThrowsOnUnwritableOnes) {
  TempDir dir;
  HttpLogEntry entry = SampleEntry();
  ASSERT_TRUE(AppendHttpLog(dir.str() + "\\Dados\\logApiMP", entry));
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "Dados" / "logApiMP" / HttpLogFileName(entry.started)));

  auto blocker = dir.Write("ocupado", "a file where a folder should be");
  EXPECT_FALSE(AppendHttpLog(blocker.string(), entry));
  EXPECT_FALSE(AppendHttpLog((blocker / "sub").string(), entry));
  EXPECT_FALSE(AppendHttpLog("", entry));
}

}  // namespace
}  // namespace recebimento::runtime
