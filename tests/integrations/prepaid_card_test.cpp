// The prepaid-card service's client against the fake service over HTTPS: the address a
// store configures, the bodies sent, the replies read, the trace kept without the
// password, and every way the service can fail ending in a failure, never in a balance.
#include <gtest/gtest.h>

#include <string>

#include "integrations/prepaid/prepaid_card.h"
#include "integrations/wallet_test_support.h"
#include "support/fake_prepaid_card.h"
#include "support/fake_wallet_services.h"

namespace recebimento::testing {
namespace {

using integrations::CartaoPrePago;
using integrations::PrepaidCardRequest;
using integrations::PrepaidCardResult;
using integrations::PrepaidCardSettings;

class PrepaidCardTest : public WalletClientTest {
 protected:
  void SetUp() override {
    saved_ = runtime::GetHttpSettings();
    runtime::HttpSettings trusted = saved_;
    trusted.extra_ca_file = FakePrepaidCard::CaFile();
    runtime::SetHttpSettings(trusted);
    fake_.AddCard("6036001234567890", 50);
    fake_.AddCard("6036009999000011", 80, "4321");
  }
  void TearDown() override { runtime::SetHttpSettings(saved_); }

  PrepaidCardResult Call(const PrepaidCardRequest& request) {
    return CartaoPrePago(context_, log_, settings_, request);
  }

  FakePrepaidCard fake_;
  PrepaidCardSettings settings_{fake_.ConfiguredAddress(), "12345678000199", "001"};
  runtime::HttpSettings saved_;
};

TEST(PrepaidCardText, AddressBodyAndMaskedNumber) {
  using namespace integrations;
  EXPECT_EQ(NormalisePrepaidAddress("http://loja.example/cartao"), "https://loja.example/cartao/");
  EXPECT_EQ(NormalisePrepaidAddress("https://loja.example/cartao/"), "https://loja.example/cartao/");
  EXPECT_EQ(NormalisePrepaidAddress(""), "");
  EXPECT_EQ(PrepaidEndpoint("CONSULTA"), "getSaldo");
  EXPECT_EQ(PrepaidEndpoint("RESGATE"), "useCard");

  const PrepaidCardSettings settings{"", "12345678000199", "001"};
  EXPECT_EQ(PrepaidCardBody(settings, {"CONSULTA", "6036", "9", 1}),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><root><store_cnpj>12345678000199</store_cnpj>"
            "<card_number>6036</card_number></root>");
  // 12.5 goes as 12.50; a number that is not digits cannot change the document.
  EXPECT_EQ(PrepaidCardBody(settings, {"RESGATE", "60<x>", "12", 12.5}),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><root><store_cnpj>12345678000199</store_cnpj>"
            "<card_number>60&lt;x&gt;</card_number><card_password>12</card_password><total>12.50</total></root>");

  EXPECT_EQ(MaskedCardNumber("6036001234567890"), "603600******7890");
  EXPECT_EQ(MaskedCardNumber("123456"), "****56");
}

TEST(PrepaidCardText, RepliesThatAreNotASuccess) {
  using integrations::ReadPrepaidCardReply;
  std::string root;
  const std::string ok =
      "[{\"response_code\":200},<root><error>false</error><message>ok</message>"
      "<balance>12,34</balance><response_code>00</response_code></root>]";
  PrepaidCardResult r = ReadPrepaidCardReply(ok, root);
  EXPECT_TRUE(r.success);
  EXPECT_DOUBLE_EQ(r.balance, 12.34);
  EXPECT_EQ(r.response_code, "00");
  EXPECT_EQ(root.substr(0, 6), "<root>");

  for (const std::string& reply : {
           std::string("{\"response_code\":500,\"error\":\"x\"}"),
           std::string("{\"response_code\":999,\"error\":\"timed out\"}"),
           std::string("[{\"response_code\":200},]"),
           std::string("[{\"response_code\":200},<root><error>false</error>]"),
           std::string("[{\"response_code\":200},<root><error>false</error><balance>abc</balance></root>]"),
           std::string("[{\"response_code\":200},<root><error>true</error><message>m</message></root>]"),
           std::string("[{\"response_code\":200},<root><message>no error member</message></root>]"),
           // A body that quotes a success status is still the 404 it came with.
           std::string("[{\"response_code\":404},\"response_code\":200<root><error>false</error></root>]"),
       }) {
    r = ReadPrepaidCardReply(reply, root);
    EXPECT_FALSE(r.success) << reply;
    EXPECT_FALSE(r.message.empty()) << reply;
  }
}

TEST_F(PrepaidCardTest, BalanceAndRedemptionOverHttpsFromAnHttpAddress) {
  PrepaidCardResult r = Call({"CONSULTA", "6036001234567890", "", 0});
  ASSERT_TRUE(r.success) << r.message;
  EXPECT_DOUBLE_EQ(r.balance, 50);
  EXPECT_EQ(r.response_code, "00");

  r = Call({"RESGATE", "6036001234567890", "", 12.5});
  ASSERT_TRUE(r.success) << r.message;
  EXPECT_EQ(fake_.Redeemed(), std::vector<std::string>{"12.50"});
  EXPECT_DOUBLE_EQ(fake_.Balance("6036001234567890"), 37.5);
  EXPECT_NE(fake_.Bodies(FakePrepaidCard::kRedeem).at(0).find("<store_cnpj>12345678000199</store_cnpj>"),
            std::string::npos);

  // More than the balance, and a card that wants its password.
  r = Call({"RESGATE", "6036001234567890", "", 40});
  EXPECT_FALSE(r.success);
  EXPECT_EQ(r.response_code, "51");
  r = Call({"RESGATE", "6036009999000011", "", 10});
  EXPECT_FALSE(r.success);
  EXPECT_EQ(r.response_code, "55");
  r = Call({"RESGATE", "6036009999000011", "4321", 10});
  EXPECT_TRUE(r.success);

  // The trace has the steps, the masked number, and never the password.
  EXPECT_FALSE(FilesHolding("P_URL         = https://127.0.0.1:").empty());
  EXPECT_FALSE(FilesHolding("603600******7890").empty());
  EXPECT_TRUE(FilesHolding("4321").empty());
  EXPECT_TRUE(FilesHolding("6036001234567890").empty());
}

TEST_F(PrepaidCardTest, EveryFailureOfTheServiceIsAFailure) {
  ShortTimeouts quick;
  for (const FakeReply& reply :
       {FakeReply(500, PrepaidReplyXml(false, "x", "99", "00"), "application/xml"), EmptyReply(), EmptyReply(204),
        FakeReply(200, "<root><error>false</error><balance>9", "application/xml"),
        FakeReply(200, "<html>proxy error</html>", "text/html"), SlowReply(3000)}) {
    fake_.Override(FakePrepaidCard::kBalance, reply);
    const PrepaidCardResult r = Call({"CONSULTA", "6036001234567890", "", 0});
    EXPECT_FALSE(r.success) << reply.status << " " << reply.body;
    EXPECT_EQ(r.balance, 0) << reply.body;
  }
  // No address: nothing is asked.
  settings_.stCDURLINTCARTPRE.clear();
  const size_t before = fake_.Server().RequestCount();
  const PrepaidCardResult r = Call({"CONSULTA", "6036001234567890", "", 0});
  EXPECT_FALSE(r.success);
  EXPECT_EQ(fake_.Server().RequestCount(), before);
  EXPECT_FALSE(FilesHolding("URL do projeto PHP não informada.").empty());
}

}  // namespace
}  // namespace recebimento::testing
