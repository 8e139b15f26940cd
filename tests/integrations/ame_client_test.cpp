// The AME client against a fake AME API and callback service: what each request sends,
// how the replies are read (and which ones count), and failures that leave a clear
// message, a log line without credentials, and no hang.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "host/runtime/base64.h"
#include "integrations/ame/ame_client.h"
#include "integrations/ame/ame_messages.h"
#include "support/fake_wallet_services.h"
#include "wallet_test_support.h"

namespace recebimento::testing {
namespace {

using integrations::AmeClient;

class AmeClientTest : public WalletClientTest {
 protected:
  AmeClientTest() {
    settings_.DSLOGIN = "loja-client-id";
    settings_.DSSENHA = "client-s3cr3t";
    settings_.IDAMBIENTEAME = "H";
    settings_.DSURLSERVAME = fake_.CallbackBase();
    settings_.VRCASHBACK = 5;
    settings_.bases.homologation = fake_.ApiBase();
  }

  AmeClient Client() { return AmeClient(context_, log_, frame_, state_, shared_, settings_); }

  FakeAme fake_;
  integrations::AmeSettings settings_;
  integrations::AmeFrame frame_;
  integrations::AmeState state_;
  integrations::SharedFrameVariables shared_;
};

TEST_F(AmeClientTest, TokenIsAskedWithTheClientCredentials) {
  ASSERT_TRUE(Client().buscaTokenAME());
  EXPECT_EQ(frame_.stTokenApiAme, fake_.Token());
  const RecordedRequest r = fake_.Server().LastRequest();
  EXPECT_EQ(r.Header("Authorization"), "Basic " + runtime::encodeBase64("loja-client-id:client-s3cr3t"));
  EXPECT_EQ(r.Header("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(r.Header("Accept"), "application/json");
  EXPECT_EQ(r.body, "grant_type=client_credentials");
  EXPECT_EQ(frame_.stAmeResult, "") << "the held reply is emptied once read";
}

TEST_F(AmeClientTest, TheOrderIsInCentsWithItsCashbackAndTheLinkIsRead) {
  ASSERT_TRUE(Client().buscaTokenAME());
  state_.doValorAME = 10.00;
  ASSERT_TRUE(Client().criaOrdemAME());
  EXPECT_EQ(state_.stIdOrdemAme, "ord-1");
  EXPECT_EQ(state_.stLinkQRCodeAME, "https://ame.test/qr/ord-1") << "backslashes removed";
  const RecordedRequest r = fake_.Server().LastRequest();
  EXPECT_EQ(r.Header("Authorization"), "Bearer " + fake_.Token());
  EXPECT_EQ(r.body, R"({"title":"Venda_Brisova","description":"06/12/2026-12:00:00","amount":1000,"type":"PAYMENT",)"
                    R"("attributes":{"cashbackAmountValue":50,"transactionChangedCallbackUrl":")" +
                        fake_.CallbackBase() + R"(/callbackaut","paymentOnce":true}})");
  EXPECT_EQ(integrations::AmeCents(12.34), "1234");
  EXPECT_EQ(integrations::AmeCents(0.05), "5");
  EXPECT_EQ(integrations::AmeCents(1234567.89), "123456789");
}

TEST_F(AmeClientTest, OnlyAnAuthorisedPaymentEndsTheWaitWhateverTheCase) {
  state_.stIdOrdemAme = "ord-1";
  fake_.AuthoriseOnQuery(2, "authorized");
  EXPECT_TRUE(Client().buscaCallBackAutAME()) << "not yet: keep waiting";
  EXPECT_FALSE(Client().buscaCallBackAutAME());
  EXPECT_EQ(state_.stIdOrdemAmeCaptura, "pay-ord-1");
  EXPECT_EQ(state_.stIdStatusOrdAME, "authorized");
  EXPECT_EQ(state_.stIdTypeOrdAME, "PAYMENT");
  const RecordedRequest r = fake_.Server().LastRequest();
  EXPECT_EQ(r.target, "/loja/callbackaut?id=ord-1");
  EXPECT_EQ(r.Header("x-api-mode"), "H");

  fake_.AuthoriseOnQuery(1, "DENIED");
  EXPECT_TRUE(Client().buscaCallBackAutAME());
  fake_.Override(FakeAme::kCallback, FakeReply(200, R"({"status":"AUTHORIZED","type":"PAYMENT"})"));
  EXPECT_TRUE(Client().buscaCallBackAutAME()) << "authorised without naming the payment: nothing to capture";
}

TEST_F(AmeClientTest, CaptureAndCancelGoToThePaymentAndCancelWordsItsMessages) {
  ASSERT_TRUE(Client().buscaTokenAME());
  EXPECT_FALSE(Client().cancelaOrdemAME()) << "no payment: nothing to cancel";
  EXPECT_FALSE(Client().capturaOrdemAME());
  state_.stIdOrdemAme = "ord-1";
  state_.stIdOrdemAmeCaptura = "pay-ord-1";
  fake_.AuthoriseOnQuery(1);
  state_.doValorAME = 1;
  ASSERT_TRUE(Client().criaOrdemAME());  // the fake's payment routes
  state_.stIdOrdemAme = "ord-1";
  ASSERT_TRUE(Client().capturaOrdemAME());
  EXPECT_EQ(state_.stStatusCapturaAME, "CAPTURED");
  ASSERT_TRUE(Client().cancelaOrdemAME());
  EXPECT_EQ(frame_.stMensagemAme, "Ordem da AME cancelada. ordemCapt: pay-ord-1 OrdemPgto: ord-1");
  EXPECT_EQ(fake_.Captured(), std::vector<std::string>{"pay-ord-1"});
  EXPECT_EQ(fake_.Cancelled(), std::vector<std::string>{"pay-ord-1"});

  fake_.Override(FakeAme::kCancel, ServerError());
  EXPECT_FALSE(Client().cancelaOrdemAME());
  EXPECT_EQ(frame_.stMensagemAme, "Erro na requisição: 500 -> ordemCapt: pay-ord-1 OrdemPgto: ord-1");
  EXPECT_EQ(frame_.stMensagemAmeAux.rfind("Exceção: {\"response_code\":500", 0), 0u);
}

TEST_F(AmeClientTest, FailuresLeaveTheirMessageAndNoSecretInAnyLog) {
  fake_.Override(FakeAme::kToken, FakeReply(401, R"({"error":"invalid_client","client_secret":"client-s3cr3t"})"));
  EXPECT_FALSE(Client().buscaTokenAME());
  EXPECT_EQ(frame_.stMensagemAme.rfind("Erro na requisição: 401 - {\"response_code\":401", 0), 0u);
  EXPECT_EQ(shared_.stErroRequisicao.rfind("{\"response_code\":401", 0), 0u);

  fake_.Override(FakeAme::kToken, FakeReply(200, R"({"token_type":"bearer"})"));
  EXPECT_FALSE(Client().buscaTokenAME()) << "a reply without a token is no token";
  fake_.Override(FakeAme::kToken, std::nullopt);
  ASSERT_TRUE(Client().buscaTokenAME());

  fake_.Override(FakeAme::kOrder, MalformedJson());
  state_.doValorAME = 5;
  EXPECT_FALSE(Client().criaOrdemAME()) << "a 200 is not the 201 of a created order";
  fake_.Override(FakeAme::kOrder, FakeReply(201, "{}"));
  EXPECT_FALSE(Client().criaOrdemAME()) << "created without an id: nothing to follow";
  fake_.Override(FakeAme::kOrder, EmptyReply(201));
  EXPECT_FALSE(Client().criaOrdemAME());

  EXPECT_TRUE(FilesHolding("client-s3cr3t").empty());
  EXPECT_TRUE(FilesHolding(fake_.Token()).empty()) << "the bearer token is masked in the request log";
  EXPECT_FALSE(FilesHolding("Cria Ordem AME").empty());
}

TEST_F(AmeClientTest, AServiceThatDoesNotAnswerIsAFailureInBoundedTime) {
  ShortTimeouts quick;
  fake_.Override(FakeAme::kToken, SlowReply(3000));
  EXPECT_FALSE(Client().buscaTokenAME());
  EXPECT_EQ(frame_.stMensagemAme.rfind("Erro na requisição: 999 - ", 0), 0u);
  fake_.Override(FakeAme::kCallback, SlowReply(3000));
  state_.stIdOrdemAme = "ord-1";
  EXPECT_TRUE(Client().buscaCallBackAutAME()) << "no answer: keep waiting";
  settings_.DSURLSERVAME = "http://127.0.0.1:" + std::to_string(UnusedLocalPort());
  EXPECT_TRUE(Client().buscaCallBackAutAME());
}

}  // namespace
}  // namespace recebimento::testing
