// The Mercado Pago client against a fake in-store API and notification relay: the
// order's body, the paths of each call, the readers of the search and order replies,
// and a branch without settings or a relay.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "base/dataset.h"
#include "integrations/mercadopago/mp_client.h"
#include "integrations/mercadopago/mp_messages.h"
#include "integrations/rest/json_to_xml.h"
#include "support/fake_wallet_services.h"
#include "wallet_test_support.h"

namespace recebimento::testing {
namespace {

using integrations::MercadoPagoClient;
using json = nlohmann::json;

class MercadoPagoClientTest : public WalletClientTest {
 protected:
  MercadoPagoClientTest() {
    using base::Variant;
    for (const char* f : {"DSACCESSTOKENMP", "DSUSERIDMP", "DSIDSPONSORMP", "DSURLNOTIFICMP", "DSURLAPIMP", "CDFILIAL",
                          "CDCAIXA", "CDLOJA", "NMFILIAL"})
      settings_.AddField(f, base::FieldType::String, 250);
    settings_.CreateDataSet();
    settings_.AppendRecord({Variant("APP_USR-token-9f8e"), Variant("123456"), Variant("987654"), Variant(""),
                            Variant(fake_.ApiBase()), Variant("0001"), Variant("001"), Variant("0001"),
                            Variant("Posto Central")});
    Client().inicializaVarMP(settings_);
  }

  MercadoPagoClient Client() { return MercadoPagoClient(context_, log_, frame_, state_); }

  FakeMercadoPago fake_;
  base::Dataset settings_{"cdsDadosMp"};
  integrations::MercadoPagoFrame frame_;
  integrations::MercadoPagoState state_;
};

TEST_F(MercadoPagoClientTest, SettingsNameTheRegistersPointOfSale) {
  EXPECT_EQ(frame_.stACCESSTOKEN, "APP_USR-token-9f8e");
  EXPECT_EQ(state_.stEXTERNALSTOREID, "LOJA00010001");
  EXPECT_EQ(state_.stEXTERNALPOSID, "CAIXA0001001");
  EXPECT_EQ(state_.stDESCRIPTION, "Posto Central - CAIXA0001001");
  EXPECT_EQ(state_.api_base, fake_.ApiBase());
  ASSERT_TRUE(state_.xmlResponse);
}

TEST_F(MercadoPagoClientTest, TheOrderCarriesTheAmountAsWrittenAndExpiresInTheServersOffset) {
  FakeMercadoPago pos("123456", "LOJA00010001", "CAIXA0001001");
  state_.api_base = pos.ApiBase();
  state_.doValorMP = 12.5;
  ASSERT_TRUE(Client().criaOrderPresencialV2("2026-12-06T12:00:00-02:00"));
  EXPECT_EQ(state_.stEXTERNALREFERENCE, "order-id-12062026120000");
  const RecordedRequest r = pos.Server().LastRequest();
  EXPECT_EQ(r.Header("Authorization"), "Bearer APP_USR-token-9f8e");
  EXPECT_EQ(r.Header("Content-Type"), "application/json");
  EXPECT_EQ(r.body,
            R"({"external_reference":"order-id-12062026120000","title":"Posto Central - CAIXA0001001",)"
            R"("description":"Posto Central - CAIXA0001001","notification_url":"",)"
            R"("expiration_date":"2026-12-06T12:10:04.800-02:00","total_amount":12.5,"items":[{"category":"FOOD",)"
            R"("title":"Posto Central - CAIXA0001001","description":"Posto Central - CAIXA0001001","unit_price":12.5,)"
            R"("quantity":1,"unit_measure":"unit","total_amount":12.5}],"sponsor":{"id":987654}})");
  EXPECT_EQ(integrations::ServerUtcOffset("2026-12-06T12:00:00"), "-03:00") << "no offset given";
  EXPECT_EQ(integrations::MercadoPagoAmount(10), "10");
  EXPECT_EQ(integrations::MercadoPagoAmount(0.29), "0.29");
  state_.stSPONSOR = "abc\"}";
  EXPECT_TRUE(json::accept(integrations::MercadoPagoOrderBody(state_, clock_.Now(), "")))
      << "a sponsor id that is no number is quoted";
}

TEST_F(MercadoPagoClientTest, EachCallGoesToItsPathAndChecksItsStatus) {
  FakeMercadoPago pos("123456", "LOJA00010001", "CAIXA0001001");
  state_.api_base = pos.ApiBase();
  EXPECT_TRUE(Client().excluiOrderV2());
  EXPECT_EQ(pos.Server().LastRequest().target, "/instore/qr/seller/collectors/123456/pos/CAIXA0001001/orders");
  EXPECT_TRUE(Client().obtemOrderPendenteV2());
  state_.stEXTERNALREFERENCE = "order-id-1";
  EXPECT_TRUE(Client().obtemOrderSearch());
  EXPECT_EQ(pos.Server().LastRequest().target, "/merchant_orders?external_reference=order-id-1");
  pos.OrdersFromSearch(1, {{"111", "paid", {{"501", "approved"}}}});
  state_.stIdOrdemMp = "111";
  EXPECT_TRUE(Client().obtemOrderID());
  state_.stPAYMENTID = "501,502";
  EXPECT_TRUE(Client().estornoMP());
  EXPECT_EQ(state_.stPAYMENTIDestorno, "501");
  EXPECT_EQ(pos.Refunded(), std::vector<std::string>{"501"});
  state_.stPAYMENTID = "999";
  EXPECT_FALSE(Client().estornoMP()) << "404 is not 201";
  pos.Override(FakeMercadoPago::kDelete, FakeReply(200, "{}"));
  EXPECT_FALSE(Client().excluiOrderV2()) << "only 204 deletes";
  EXPECT_FALSE(FilesHolding("obtemOrderSearch").empty());
  EXPECT_TRUE(FilesHolding("APP_USR-token-9f8e").empty());
}

TEST_F(MercadoPagoClientTest, TheRelayIsAskedOnlyWhenTheStoreHasOne) {
  const size_t before = fake_.Server().RequestCount();
  EXPECT_FALSE(Client().notificacaoMP("merchant_order", "111", "get"));
  EXPECT_EQ(fake_.Server().RequestCount(), before);
  state_.stNOTIFICATIONURL = fake_.RelayUrl();
  fake_.Notified({"111"});
  EXPECT_TRUE(Client().notificacaoMP("merchant_order", "111", "get"));
  EXPECT_EQ(fake_.Server().LastRequest().target, "/relay?id=111&topic=merchant_order&action=get");
  EXPECT_FALSE(Client().notificacaoMP("merchant_order", "222", "get"));
}

TEST_F(MercadoPagoClientTest, ABranchWithoutSettingsAsksNothing) {
  base::Dataset none{"cdsDadosMp"};
  Client().inicializaVarMP(none);
  state_.stPAYMENTID = "501";
  const size_t before = fake_.Server().RequestCount();
  EXPECT_FALSE(Client().estornoMP());
  EXPECT_FALSE(Client().obtemOrderSearch());
  EXPECT_EQ(fake_.Server().RequestCount(), before);
  EXPECT_EQ(state_.api_base, integrations::kMercadoPagoApi);
}

TEST(MercadoPagoReplies, TheSearchWalkTakesTheFirstPaymentOfEachOrderWhenApproved) {
  const auto doc = integrations::JsonToXML(
      R"({"response_code":200,"elements":[)"
      R"({"id":111,"payments":[{"id":501,"status":"rejected"},{"id":502,"status":"approved"}],"order_status":"paid"},)"
      R"({"id":112,"payments":[{"id":503,"status":"approved"}],"order_status":"paid"},)"
      R"({"id":113,"payments":[],"order_status":"payment_required"},)"
      R"({"payments":[{"id":504,"status":"pending"}]}],"total":4})");
  const auto orders = integrations::ReadMerchantOrders(*doc);
  ASSERT_EQ(orders.size(), 4u);
  EXPECT_EQ(orders[0].id, "111");
  EXPECT_EQ(orders[0].payment_status, "rejected");
  EXPECT_EQ(orders[0].payment_id, "") << "only an approved first payment counts";
  EXPECT_EQ(orders[1].payment_id, "503");
  EXPECT_EQ(orders[2].payment_status, "") << "no payment: nothing carried over from the order before";
  EXPECT_EQ(orders[3].id, "");
  EXPECT_TRUE(integrations::ReadMerchantOrders(*integrations::JsonToXML(R"({"elements":"none"})")).size() <= 1);
}

TEST(MercadoPagoReplies, ThePaidOrderLookedUpGivesItsApprovedPayment) {
  EXPECT_EQ(integrations::ApprovedPaymentOfPaidOrder(
                R"({"response_code":200,"id":111,"payments":[{"id":501,"status":"rejected"},)"
                R"({"id":502,"status":"approved"}],"order_status":"paid"})"),
            "502");
  EXPECT_EQ(integrations::ApprovedPaymentOfPaidOrder(
                R"({"response_code":200,"payments":[{"id":501,"status":"approved"}],"order_status":"opened"})"),
            "");
  EXPECT_EQ(integrations::ApprovedPaymentOfPaidOrder(
                R"({"response_code":200,"payments":[{"id":501,"status":"pending"}],"order_status":"paid"})"),
            "");
  EXPECT_EQ(integrations::ApprovedPaymentOfPaidOrder("not json"), "");
}

}  // namespace
}  // namespace recebimento::testing
