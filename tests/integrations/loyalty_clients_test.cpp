// The CRM Bonus, ClubPetro and GCOM clients against fake services: what each request
// sends, how the replies are read, and failures (status 500, empty, malformed, time-out)
// that leave a clear message, nothing taken, and no credential in any log.
#include <gtest/gtest.h>

#include "base/dataset_columns.h"
#include "integrations/clubpetro/clubpetro_client.h"
#include "integrations/crmbonus/crmbonus_client.h"
#include "integrations/gcom/gcom_client.h"
#include "support/fake_loyalty_services.h"
#include "support/fake_wallet_services.h"
#include "wallet_test_support.h"

namespace recebimento::testing {
namespace {

using namespace integrations;

class CrmBonusClientTest : public WalletClientTest {
 protected:
  CrmBonusClientTest() {
    settings_.IDCRMBONUS = "S";
    settings_.CDURLCRMBONUS = fake_.Base();
    settings_.CDAUTHCRMBONUS = "crm-auth-9f2";
    settings_.CDCODECRMBONUS = "EMP01";
  }
  CrmBonusClient Client() { return CrmBonusClient(context_, log_, frame_, state_, shared_, settings_); }

  FakeCrmBonus fake_;
  CrmBonusSettings settings_;
  CrmBonusFrame frame_;
  CrmBonusState state_;
  SharedFrameVariables shared_;
};

TEST_F(CrmBonusClientTest, BalanceQuerySendsTheOrderAndReadsBalanceAndBonus) {
  ASSERT_TRUE(Client().ConsultaSaldo("11999990000", 1234.5));
  EXPECT_EQ(BodiesTo(fake_.Server(), "/crm/getBalance").at(0),
            "<root><data><companyCode>EMP01</companyCode><authorization>crm-auth-9f2</authorization><order><phone>"
            "11999990000</phone><value>1234.50</value></order></data></root>");
  EXPECT_EQ(fake_.Server().LastRequest().Header("Content-Type"), "application/xml");
  EXPECT_DOUBLE_EQ(state_.doSaldoCRMBONUS, 25.5);
  EXPECT_EQ(state_.stIdOrdemCRMBONUS, "BNS123456789");
  EXPECT_TRUE(FilesHolding("crm-auth-9f2").empty()) << "the authorisation code is never logged";
  EXPECT_FALSE(FilesHolding("RETORNO  = ").empty());
}

TEST_F(CrmBonusClientTest, BonusIdIsSentWholeThenCutToNineCharacters) {
  ASSERT_TRUE(Client().ConsultaSaldo("11999990000", 50));
  ASSERT_TRUE(Client().ProcessaBonus("11999990000", 50, true, 20));
  const std::string body = BodiesTo(fake_.Server(), "/crm/bonusProcessing").at(0);
  EXPECT_NE(body.find("<type>R</type><bonusId>BNS123456789</bonusId><bonusUsed>20.00</bonusUsed>"
                      "<saleCode>BNS123456202612061200</saleCode><nfceCode>BNS123456202612061200</nfceCode>"),
            std::string::npos)
      << body;
  EXPECT_EQ(state_.stIdOrdemCRMBONUS, "BNS123456");
  ASSERT_TRUE(Client().InformaVenda("11999990000", "50.00"));
  EXPECT_NE(BodiesTo(fake_.Server(), "/crm/addTotalSales")
                .at(0)
                .find("<bonusId>BNS123456</bonusId><orderIdCRM>ORD-CRM-1</orderIdCRM><nfceCode>BNS123456</nfceCode>"),
            std::string::npos);
}

TEST_F(CrmBonusClientTest, DecliningReportsZeroAndASaleCodeFromThePhone) {
  ASSERT_TRUE(Client().ConsultaSaldo("11999990000", 50));
  ASSERT_TRUE(Client().ProcessaBonus("11999990000", 50, false, 0));
  const std::string body = BodiesTo(fake_.Server(), "/crm/bonusProcessing").at(0);
  EXPECT_NE(body.find("<bonusUsed>0.00</bonusUsed><saleCode>11999990000202612061200</saleCode>"), std::string::npos)
      << body;
}

TEST_F(CrmBonusClientTest, FailedRepliesAreErrorsWithTheirMessage) {
  for (const FakeReply& bad :
       {ServerError(), EmptyReply(), FakeReply(200, "<root><data>", "application/xml"),
        FakeReply(200, "<root><error>true</error></root>", "application/xml"),
        FakeReply(500, "<root><error>false</error><data><balance>9</balance></data></root>", "application/xml")}) {
    fake_.Override("/crm/getBalance", bad);
    state_ = {};
    EXPECT_FALSE(Client().ConsultaSaldo("11999990000", 50)) << bad.body;
    EXPECT_EQ(state_.doSaldoCRMBONUS, 0);
    EXPECT_EQ(frame_.stMensagemCRMBONUS.rfind("Erro na requisição: ", 0), 0u);
  }
  ShortTimeouts quick;
  fake_.Override("/crm/getBalance", SlowReply(3000));
  EXPECT_FALSE(Client().ConsultaSaldo("11999990000", 50));
}

TEST(CrmBonusReplies, ReaderTakesTheEnvelopeOffAndAbsorbsAnything) {
  const CrmBonusReply ok = ReadCrmBonusReply(
      "[{\"response_code\":200},<root><error>false</error><data><balance>1.5</balance></data></root>]");
  EXPECT_TRUE(ok.ok);
  EXPECT_EQ(ok.Value("balance"), "1.5");
  for (const char* bad : {"", "[]", ",", "{\"response_code\":999,\"error\":\"refused\"}", "[{},<root><data>"})
    EXPECT_FALSE(ReadCrmBonusReply(bad).ok) << bad;
  EXPECT_EQ(CrmBonusAmount(1234.5), "1234.50") << "no thousands separator left in an amount";
}

class ClubPetroClientTest : public WalletClientTest {
 protected:
  ClubPetroClientTest() {
    settings_.DSIDRESGS = "cp-client";
    settings_.DSSENHARESGS = "cp-s3cr3t";
    settings_.token_url = fake_.TokenUrl();
    state_.stCNPJFil = "11222333000181";
  }
  ClubPetroClient Client() { return ClubPetroClient(context_, log_, frame_, state_, shared_, settings_); }

  FakeClubPetro fake_;
  ClubPetroSettings settings_;
  ClubPetroFrame frame_;
  ClubPetroState state_;
  SharedFrameVariables shared_;
};

TEST_F(ClubPetroClientTest, TokenGivesTheApiAddressWithASlashBeforeSale) {
  ASSERT_TRUE(Client().buscaTokenResgate());
  EXPECT_EQ(frame_.stTokenApiClubPetro, fake_.Token());
  EXPECT_EQ(state_.UrlRaizAPIClubPetro, fake_.Server().BaseUrl() + "/api/sale");
  EXPECT_EQ(fake_.Server().LastRequest().body,
            "{\"grant_type\":\"client_credentials\",\"client_id\":\"cp-client\",\"client_secret\":\"cp-s3cr3t\"}");
  EXPECT_TRUE(FilesHolding("cp-s3cr3t").empty());
  EXPECT_TRUE(FilesHolding(fake_.Token()).empty());

  settings_.DSSENHARESGS.clear();
  EXPECT_FALSE(Client().buscaTokenResgate());
  EXPECT_EQ(state_.stIDTIPORESGATE, "F");
}

TEST_F(ClubPetroClientTest, AnUnknownCpfIsAskedAgainAsAForeignDocument) {
  fake_.Consumer("AR5566", "1,234.5", true);
  ASSERT_TRUE(Client().buscaTokenResgate());
  ASSERT_TRUE(Client().buscaDadosConsClubPetro(frame_.stTokenApiClubPetro, "AR5566", "N"));
  const auto bodies = fake_.SaleBodies();
  ASSERT_EQ(bodies.size(), 2u);
  EXPECT_EQ(bodies[0], "{\"cliente\":{\"operacao\":\"Consulta\",\"cpf\":\"AR5566\",\"cod_loja\":\"11222333000181\"}}");
  EXPECT_NE(bodies[1].find("\"dni\":\"AR5566\""), std::string::npos);
  EXPECT_EQ(base::ColumnText(state_.cdsConsClubPetro, "SALDOPONTOS"), "1234,5000");
  EXPECT_DOUBLE_EQ(state_.PointsBalance(), 1234.5);

  ClubPetroRefusal why{};
  EXPECT_FALSE(Client().buscaDadosConsClubPetro(frame_.stTokenApiClubPetro, "99999999999", "N", &why));
  EXPECT_EQ(why, ClubPetroRefusal::Unknown);
  EXPECT_EQ(frame_.stMensagemClubPetro, "CLICLUBPETRO_NAO");
  EXPECT_EQ(fake_.SaleBodies().size(), 4u) << "once as CPF, once as foreign document, no more";
}

TEST_F(ClubPetroClientTest, VazioBalanceIsKeptAndBlockedConsumersRefused) {
  fake_.Consumer("12345678909", "VAZIO");
  ASSERT_TRUE(Client().buscaTokenResgate());
  ASSERT_TRUE(Client().buscaDadosConsClubPetro(frame_.stTokenApiClubPetro, "12345678909", "N"));
  EXPECT_EQ(base::ColumnText(state_.cdsConsClubPetro, "SALDOPONTOS"), "VAZIO");
  EXPECT_EQ(state_.PointsBalance(), 0);

  fake_.Override("Consulta", FakeReply(200, "{\"status_retorno\":true,\"bloqueado\":\"1\",\"cod_cliente\":\"9\"}"));
  ClubPetroRefusal why{};
  EXPECT_FALSE(Client().buscaDadosConsClubPetro(frame_.stTokenApiClubPetro, "12345678909", "N", &why));
  EXPECT_EQ(why, ClubPetroRefusal::Blocked);
  EXPECT_EQ(frame_.stMensagemClubPetro, "CLICLUBPET_BLOQ");
}

TEST_F(ClubPetroClientTest, FailuresLeaveNoConsumerAndTheProgrammeOffline) {
  fake_.Consumer("12345678909", "10");
  ASSERT_TRUE(Client().buscaTokenResgate());
  for (const FakeReply& bad : {ServerError(), EmptyReply(503)}) {
    fake_.Override("Consulta", bad);
    state_.ResetConsumers();
    ClubPetroRefusal why{};
    EXPECT_FALSE(Client().buscaDadosConsClubPetro(frame_.stTokenApiClubPetro, "12345678909", "N", &why));
    EXPECT_EQ(why, ClubPetroRefusal::NoAnswer);
    EXPECT_TRUE(state_.cdsConsClubPetro.IsEmpty());
    EXPECT_EQ(state_.stClubPetroOnline, "N");
  }
  fake_.Override("Consulta", MalformedJson());
  EXPECT_TRUE(Client().buscaDadosConsClubPetro(frame_.stTokenApiClubPetro, "12345678909", "N"));
  EXPECT_EQ(state_.PointsBalance(), 0) << "a reply without a balance offers nothing";
  fake_.Override("/oauth/token", FakeReply(200, "{\"expires_in\":3600}"));
  EXPECT_FALSE(Client().buscaTokenResgate()) << "a token reply without a token is no token";
}

TEST_F(ClubPetroClientTest, RedemptionAndSaleReportCarryTheSale) {
  fake_.Consumer("12345678909", "50.00");
  ASSERT_TRUE(Client().buscaTokenResgate());
  ASSERT_TRUE(Client().buscaDadosConsClubPetro(frame_.stTokenApiClubPetro, "12345678909", "N"));
  state_.stIdUnicoClubPetro = "0001001202612061200";
  const base::DateTime moment = base::DateTime::FromYMD(2026, 12, 6, 9, 5, 7);
  ASSERT_TRUE(Client().ResgataPontos(frame_.stTokenApiClubPetro, 12.5, "OP7", moment));
  EXPECT_EQ(state_.stCDINTRESGSALDO, "AUT-7781");
  EXPECT_EQ(state_.stIDTIPORESGATE, "O");
  EXPECT_DOUBLE_EQ(state_.doSaldoRest, 12.5);
  const std::string redemption = fake_.SaleBodies().back();
  EXPECT_NE(redemption.find("\"pontostotal\":\"12.50\",\"atendente\":\"OP7\""), std::string::npos) << redemption;
  EXPECT_NE(redemption.find("\"data\":\"2026-12-06\",\"hora\":\"09-05-07\""), std::string::npos);

  ClubPetroItem fuel{"2201", 2, 5.5, 0, 1, 0};
  ClubPetroItem odd{"9990", 1, 3, 0, 0, 0.25};
  ClubPetroItem drink{"2010", 1, 4, 0, 0, 0};
  ASSERT_TRUE(Client().InformaVenda({fuel, odd, drink}, moment));
  const std::string sale = fake_.SaleBodies().back();
  EXPECT_NE(sale.find("\"hora\":\"09:05:07\",\"abastecimento\":\"1\",\"id_venda\":\"0001001202612061200\","
                      "\"cartao\":\"60011234\""),
            std::string::npos)
      << sale;
  EXPECT_NE(sale.find("\"valortotal\":\"17.25\",\"vendedor\":\"\",\"qtd_volume_total\":\"4\""), std::string::npos)
      << sale;
  EXPECT_NE(sale.find("{\"id_item\":\"001\",\"produto\":\"LANCHONETE\",\"codigoproduto\":\"220\","
                      "\"grupoproduto\":\"LANCHONETE\",\"quantidade\":\"2\",\"valor\":\"10.00\"}"),
            std::string::npos)
      << sale;
  EXPECT_NE(sale.find("\"id_item\":\"002\",\"produto\":\"LANCHONETE\""), std::string::npos)
      << "an unknown code keeps the family before it";
  EXPECT_NE(sale.find("\"id_item\":\"003\",\"produto\":\"BEBIDAS\""), std::string::npos);
}

class GcomClientTest : public WalletClientTest {
 protected:
  GcomClientTest() {
    settings_.IDUTLINTEGCOM = "S";
    settings_.CDURLGCOM = fake_.Base();
    settings_.IDTOKENAPIGCOM = "gcom-t0k3n";
    settings_.CDBRANDIDGCOM = "BR7";
    settings_.NRINSJURFILI = "11222333000181";
    state_.phone = "11988887777";
  }
  GcomClient Client() { return GcomClient(context_, log_, state_, settings_); }

  FakeGcom fake_;
  GcomSettings settings_;
  GcomState state_;
};

TEST_F(GcomClientTest, BalanceAndReservationGoThroughTheCommonInterface) {
  GcomClient client = Client();
  CashbackProvider& provider = client;
  CashbackBalance balance;
  std::string problem;
  ASSERT_TRUE(provider.ConsultBalance(balance, problem));
  EXPECT_EQ(fake_.Server().LastRequest().body,
            "<root><data><consumerPhone>11988887777</consumerPhone><storeId>11222333000181</storeId><brandId>BR7"
            "</brandId></data></root>");
  EXPECT_DOUBLE_EQ(balance.balance, 30);
  EXPECT_EQ(balance.campaign, "CASHBACK POSTO");
  EXPECT_TRUE(state_.consulted);
  ASSERT_TRUE(provider.Reserve(12.5, problem));
  EXPECT_EQ(fake_.Server().LastRequest().body,
            "<root><data><value>12.50</value><branchId>B1</branchId><fidelityId>F1</fidelityId><fildetyVersion>3"
            "</fildetyVersion><brandId>BR7</brandId><storeId>11222333000181</storeId><consumerId>CONS-9</consumerId>"
            "</data></root>");
  EXPECT_EQ(base::ColumnText(state_.cdsGetConsumerGCOM, "RESERVEID"), "RSV-42");
  EXPECT_TRUE(FilesHolding("gcom-t0k3n").empty());
}

TEST_F(GcomClientTest, FailuresClearTheConsultation) {
  CashbackBalance balance;
  std::string problem;
  for (const FakeReply& bad : {ServerError(), EmptyReply(), FakeReply(200, "<root><error>", "application/xml"),
                               FakeReply(200, "<root><error>true</error></root>", "application/xml")}) {
    fake_.Override("/gcom/getConsumerBalance", bad);
    EXPECT_FALSE(Client().ConsultBalance(balance, problem)) << bad.body;
    EXPECT_FALSE(state_.consulted);
  }
  fake_.Override("/gcom/getConsumerBalance", FakeReply(200, "<root><error>false</error></root>", "application/xml"));
  EXPECT_FALSE(Client().ConsultBalance(balance, problem));
  EXPECT_EQ(problem, "CLI_N_DADOS_GCOM");

  fake_.Override("/gcom/getConsumerBalance", std::nullopt);
  ASSERT_TRUE(Client().ConsultBalance(balance, problem));
  fake_.Override(
      "/gcom/balanceReserve",
      FakeReply(200, "<root><error>true</error><message>saldo insuficiente</message></root>", "application/xml"));
  EXPECT_FALSE(Client().Reserve(10, problem));
  EXPECT_EQ(problem, "N_RESERV_CASHBAC");
  EXPECT_EQ(state_.error_message, "saldo insuficiente");
  EXPECT_FALSE(state_.consulted);
}

}  // namespace
}  // namespace recebimento::testing
