// The integrations' daily logs: their folders and file names, the lines each writes, a
// new file each day (and a new folder each month for the traces), and no credential in
// clear in any of them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/clock.h"
#include "integrations/rest/loggers.h"
#include "support/temp_dir.h"

namespace recebimento::integrations {
namespace {

namespace fs = std::filesystem;

class LoggersTest : public ::testing::Test {
 protected:
  std::string Read(const std::string& relative) {
    std::ifstream in(dir_ / relative, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  testing::TempDir dir_;
  base::VirtualClock clock_{base::DateTime::FromYMD(2026, 12, 6, 12, 30, 5)};
  IntegrationContext context_{clock_, pos::HostPaths(dir_.str())};
  Loggers log_{context_};
};

TEST_F(LoggersTest, WalletLogsWriteTheTextTheDetailAndARule) {
  log_.logAme("Busca Token Ame", "");
  log_.logAme("Erro na requisição: 500 - x", "Exceção: x\n");
  log_.logMp("obtemOrderSearch");
  const std::string rule(82, '-');
  EXPECT_EQ(Read("Dados/logApiAME/logApiAME06122026.txt"),
            "06/12/2026 12:30:05 - Busca Token Ame\r\n" + rule + "\r\n" +
                "06/12/2026 12:30:05 - Erro na requisição: 500 - x\r\n06/12/2026 12:30:05 - Exceção: x\n\r\n" + rule +
                "\r\n");
  EXPECT_EQ(Read("Dados/logApiMP/logApiMP06122026.txt"), "06/12/2026 12:30:05 - obtemOrderSearch\r\n" + rule + "\r\n");
  log_.logCRMBONUS("getBalance", "Exceção: y\n");
  EXPECT_NE(Read("Dados/logApiCRMBONUS/logApiCRMBONUS06122026.txt").find("Exceção: y"), std::string::npos);

  clock_.Advance(24 * 3600 * 1000LL);
  log_.logMp("next day");
  EXPECT_TRUE(fs::exists(dir_ / "Dados/logApiMP/logApiMP07122026.txt"));
}

TEST_F(LoggersTest, ClubPetroWritesItsStartRuleOrTheTextWithTheDetailAtTheEnd) {
  log_.logClubPetro("ignored", "S", "N", "detail");
  log_.logClubPetro("consulta", "N", "N", "detail");
  log_.logClubPetro("fim", "N", "S", "detail");
  const std::string now = "06/12/2026 12:30:05";
  EXPECT_EQ(Read("Dados/logClubPetro/logClubPetro06122026.txt"),
            now + std::string(36, '-') + "\r\n" + now + " - consulta\r\n" + now + " - fim\r\n" + now + " - detail\r\n" +
                now + std::string(36, '-') + "\r\n");
}

TEST_F(LoggersTest, TracesKeepAFolderPerMonth) {
  log_.logGCOM("gcom");
  log_.LogCartaoTodo("cartao");
  log_.LogRev00000("tela");
  clock_.Set(base::DateTime::FromYMD(2027, 1, 2, 8));
  log_.LogRev00000("janeiro");
  EXPECT_EQ(Read("Dados/logApiGCOM/2026/12/logApiGCOM_06.txt"), "06/12/2026 12:30:05 - gcom\r\n");
  EXPECT_EQ(Read("Dados/LogCartaoTodo/2026/12/LogCartaoTodo_06.txt"), "06/12/2026 12:30:05 - cartao\r\n");
  EXPECT_EQ(Read("Dados/LogRev00000/2026/12/LogRev00000_06.txt"), "06/12/2026 12:30:05 - tela\r\n");
  EXPECT_EQ(Read("Dados/LogRev00000/2027/01/LogRev00000_02.txt"), "02/01/2027 08:00:00 - janeiro\r\n");
}

TEST_F(LoggersTest, CredentialsNeverReachAnIntegrationLogInClear) {
  const std::string reply = R"({"response_code":401,"access_token":"tok-SECRET-1","client_secret":"s3cr3t"})";
  log_.logAme("Erro na requisição: 401 - " + reply, "Exceção: " + reply + "\n");
  log_.logMp(R"({"response_code":200,"access_token":"tok-SECRET-1"})");
  log_.logClubPetro("Authorization: Bearer tok-SECRET-1", "N", "S", "senha=s3cr3t");
  log_.logGCOM("token=tok-SECRET-1");
  for (const auto& file : fs::recursive_directory_iterator(dir_.path())) {
    if (!file.is_regular_file()) continue;
    std::ifstream in(file.path());
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str().find("tok-SECRET-1"), std::string::npos) << file.path();
    EXPECT_EQ(text.str().find("s3cr3t"), std::string::npos) << file.path();
  }
}

TEST_F(LoggersTest, AFolderThatCannotBeWrittenNeverStopsTheCaller) {
  std::ofstream(dir_ / "Dados") << "a file where the folder should be";
  EXPECT_NO_THROW(log_.logAme("x", "y"));
  EXPECT_NO_THROW(log_.LogRev00000("x"));
}

}  // namespace
}  // namespace recebimento::integrations
