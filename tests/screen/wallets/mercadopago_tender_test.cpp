// The Mercado Pago QR tender on the screen: the order placed on the point of sale, the
// merchant orders of its reference looked at every 15 s until one is seen and then
// every 5 s, the paid order's approved payment as the line, Escape and the time-out
// ending the wait with the point of sale cleared and its reference looked at once more,
// and the refunds of Escape and clear.
#include <gtest/gtest.h>

#include "base/dataset_columns.h"
#include "host/runtime/http_transport.h"
#include "screen/support/wallet_tender_fixture.h"

namespace recebimento::testing {
namespace {

class MercadoPagoTender : public WalletTenderTest {
 protected:
  // Pays `amount` with Mercado Pago while `wait_ms` pass on the clock (the consumer
  // reading the code, paying, or not).
  void PayWaiting(const std::string& amount, int64_t wait_ms) {
    WillType(amount);
    pump_.PushWait(wait_ms);
    parts().selection.DoMenuRecebimentoClick("011", "");
  }
};

constexpr int kEscape = 27;

TEST_F(MercadoPagoTender, ThePaidOrdersPaymentBecomesTheLine) {
  mp_.OrdersFromSearch(1, {{"111", "opened", {}}});
  mp_.OrdersFromSearch(2, {{"111", "paid", {{"501", "approved"}}}});
  PayWaiting("12,50", 60000);  // the consumer reads the code and pays
  ASSERT_EQ(Lines(), (std::vector<std::pair<std::string, double>>{{"011", 12.5}}));
  movi_.First();
  EXPECT_EQ(base::ColumnText(movi_, "CDNSUHOSTTEF"), "501");
  EXPECT_EQ(base::ColumnText(movi_, "NMBANDTEF"), "MercadoPago");
  EXPECT_EQ(base::ColumnText(movi_, "DSCARTDIGITAL"), "Int. Mercado Pago");
  EXPECT_EQ(parts().wallets.PaymentsToRefund(), "501");
  EXPECT_EQ(mp_.Searches(), 2) << "at 15 s, then 5 s later once the order was seen";
  EXPECT_TRUE(Shown("Pagamento realizado"));
  ASSERT_EQ(mp_.OrderBodies().size(), 1u);
  for (const char* member : {"\"total_amount\":12.5,", "\"unit_price\":12.5,", "\"total_amount\":12.5}"})
    EXPECT_NE(mp_.OrderBodies()[0].find(member), std::string::npos) << member;
  EXPECT_FALSE(ctl("panTef").visible);
  EXPECT_EQ(ctl("panTef").left, 258);
  EXPECT_EQ(ctl("lblTef").caption, "Aguardando retorno do TEF...");
  EXPECT_EQ(mp_.Deletes(), 1) << "only the order a previous sale may have left";
  EXPECT_EQ(Pending(), 1u) << "the payment, until the sale is recorded or it is refunded";
  EXPECT_FALSE(LoggedAnywhere("APP_USR-t0k3n"));
  EXPECT_TRUE(LoggedAnywhere("criaOrderPresencialV2"));
  parts().wallets.SaleRecorded();
  EXPECT_EQ(Pending(), 0u);
}

TEST_F(MercadoPagoTender, WithoutARelayTheSearchRunsEvery15sUntilAnOrderIsSeenThenEvery5s) {
  PayWaiting("10,00", 120000);  // nobody pays: the wait times out
  EXPECT_EQ(mp_.Searches(), 7) << "at 15, 30, 45, 60, 75 and 90 s, and once the point of sale is cleared";
  EXPECT_TRUE(Shown("Operação cancelada."));
  EXPECT_TRUE(Lines().empty());
  EXPECT_TRUE(sale().boFalhaReceb);
  EXPECT_EQ(mp_.Deletes(), 2) << "before the order, and after the time-out";
  EXPECT_EQ(Pending(), 0u) << "the unpaid order left the point of sale";

  const int before = mp_.Searches();
  mp_.OrdersFromSearch(before + 1, {{"222", "opened", {{"601", "pending"}}}});
  std::string caption_after_20s;
  WillType("10,00");
  pump_.PushWait(20000);
  pump_.Push([&] { caption_after_20s = ctl("lblTef").caption; }, "a look at the panel");
  pump_.PushWait(100000);
  parts().selection.DoMenuRecebimentoClick("011", "");
  EXPECT_EQ(mp_.Searches() - before, 18) << "at 15 s, then every 5 s up to 95 s, then the last look";
  EXPECT_EQ(Pending(), 0u) << "a pending payment is no payment";
  EXPECT_EQ(caption_after_20s, "Qr code lido.\nAguardando confirmação do pagamento.\nAperte Esc para cancelar.");
}

TEST_F(MercadoPagoTender, ARelayThatWasNotifiedIsAskedAndTheNotificationDiscarded) {
  StoreSetting("DSURLNOTIFICMP = '" + mp_.RelayUrl() + "'");
  mp_.OrdersFromSearch(1, {{"333", "opened", {}}});
  mp_.OrdersFromSearch(2, {{"333", "paid", {{"701", "approved"}}}});
  mp_.Notified({"333"});
  PayWaiting("10,00", 60000);
  ASSERT_EQ(Lines().size(), 1u);
  std::vector<std::string> relay;
  for (const auto& r : mp_.Server().Requests())
    if (r.path == "/relay") relay.push_back(r.target);
  ASSERT_EQ(relay.size(), 2u);
  EXPECT_EQ(relay[0], "/relay?id=333&topic=merchant_order&action=get");
  EXPECT_EQ(relay[1], "/relay?id=333&topic=merchant_order&action=del");
}

TEST_F(MercadoPagoTender, APaidOrderWhoseFirstPaymentWasRejectedIsLookedUpForTheApprovedOne) {
  mp_.OrdersFromSearch(1, {{"444", "paid", {{"801", "rejected"}, {"802", "approved"}}}});
  PayWaiting("10,00", 60000);
  ASSERT_EQ(Lines().size(), 1u);
  movi_.First();
  EXPECT_EQ(base::ColumnText(movi_, "CDNSUHOSTTEF"), "802") << "the payment that paid, not the rejected attempt";
  EXPECT_EQ(mp_.Server().Requests().back().path, "/merchant_orders/444");
}

TEST_F(MercadoPagoTender, EscapeEndsTheWaitAndClearsThePointOfSale) {
  WillType("10,00");
  pump_.PushWait(7000);
  WillPressEscape();
  parts().selection.DoMenuRecebimentoClick("011", "");
  EXPECT_TRUE(Lines().empty());
  EXPECT_TRUE(sale().boFalhaReceb);
  EXPECT_FALSE(sale().boVendaOk);
  EXPECT_FALSE(window_.Closed()) << "Escape ended the wait, not the screen";
  EXPECT_EQ(mp_.Deletes(), 2);
  EXPECT_FALSE(ctl("panTef").visible);
  EXPECT_FALSE(Shown("Operação cancelada."));
}

TEST_F(MercadoPagoTender, APaymentMadeAsTheWaitEndsIsRefundedOrLeftForTheNextStart) {
  mp_.OrdersFromSearch(1, {{"111", "paid", {{"501", "approved"}}}});
  PayWaiting("10,00", 20000);
  ASSERT_EQ(Lines().size(), 1u);

  // The consumer pays just before Escape: the look after the point of sale is cleared
  // finds it, and only that payment goes back.
  mp_.OrdersFromSearch(mp_.Searches() + 1, {{"121", "paid", {{"551", "approved"}}}});
  WillType("10,00");
  pump_.PushWait(7000);
  WillPressEscape();
  parts().selection.DoMenuRecebimentoClick("011", "");
  EXPECT_EQ(Lines().size(), 1u);
  EXPECT_EQ(mp_.Refunded(), std::vector<std::string>{"551"});
  EXPECT_TRUE(Shown("Pagamento feito no Mercado Pago após o cancelamento foi estornado."));
  EXPECT_EQ(parts().wallets.PaymentsToRefund(), "501") << "the sale's own payment stays the sale's";
  EXPECT_EQ(Pending(), 1u) << "only the sale's payment";

  // The wait times out and the last look fails: the order is kept for the next start,
  // which finds what was paid and refunds it.
  mp_.Override(FakeMercadoPago::kSearch, ServerError());
  PayWaiting("10,00", 120000);
  EXPECT_TRUE(Shown("Operação cancelada."));
  EXPECT_EQ(Lines().size(), 1u);
  EXPECT_EQ(Pending(), 2u);
  mp_.Override(FakeMercadoPago::kSearch, std::nullopt);
  mp_.OrdersFromSearch(mp_.Searches() + 1, {{"131", "paid", {{"561", "approved"}}}});
  parts().wallets.SaleRecorded();  // the sale closes with its own payment
  parts().wallets.LoadSettings();  // the next start
  EXPECT_EQ(mp_.Refunded(), (std::vector<std::string>{"551", "561"}));
  EXPECT_EQ(Pending(), 0u);
}

TEST_F(MercadoPagoTender, AServiceThatNeverAnswersEndsTheTenderAndLeavesTheScreenUsable) {
  const runtime::HttpSettings saved = runtime::GetHttpSettings();
  runtime::HttpSettings quick = saved;
  quick.max_timeout_seconds = 1;
  runtime::SetHttpSettings(quick);

  mp_.Override(FakeMercadoPago::kCreate, SlowReply(2000));
  Pay("011", "10,00");
  EXPECT_TRUE(Shown("Erro ao criar Ordem de Pagamento"));
  EXPECT_TRUE(Lines().empty());
  EXPECT_FALSE(ctl("panTef").visible);
  EXPECT_EQ(Pending(), 0u) << "the reference was looked at: nothing paid";
  mp_.Override(FakeMercadoPago::kCreate, std::nullopt);

  mp_.Override(FakeMercadoPago::kSearch, SlowReply(2000));
  PayWaiting("10,00", 120000);
  EXPECT_TRUE(Lines().empty());
  EXPECT_TRUE(Shown("Operação cancelada."));
  EXPECT_FALSE(ctl("panTef").visible);
  EXPECT_EQ(Pending(), 1u) << "paid for all anyone knows: left for the next start";
  mp_.Override(FakeMercadoPago::kSearch, std::nullopt);
  runtime::SetHttpSettings(saved);

  mp_.OrdersFromSearch(mp_.Searches() + 1, {{"141", "paid", {{"571", "approved"}}}});
  PayWaiting("10,00", 20000);
  EXPECT_EQ(Lines(), (std::vector<std::pair<std::string, double>>{{"011", 10.0}}));
}

TEST_F(MercadoPagoTender, EscapeRefundsEveryPaymentInTheOrderTheyWereTaken) {
  mp_.OrdersFromSearch(1, {{"111", "paid", {{"501", "approved"}}}});
  PayWaiting("10,00", 20000);
  mp_.OrdersFromSearch(mp_.Searches() + 1, {{"112", "paid", {{"502", "approved"}}}});
  PayWaiting("10,00", 20000);
  ASSERT_EQ(parts().wallets.PaymentsToRefund(), "501,502");

  ctl("panKeyboard").visible = false;
  int key = kEscape;
  parts().keyboard.KeyDown(key, false, false, false);
  EXPECT_EQ(mp_.Refunded(), (std::vector<std::string>{"501", "502"}));
  EXPECT_EQ(parts().wallets.PaymentsToRefund(), "");
  EXPECT_EQ(Pending(), 0u);
  EXPECT_TRUE(window_.Closed());
}

TEST_F(MercadoPagoTender, ARefusedRefundIsToldAndLeftForTheNextStart) {
  mp_.OrdersFromSearch(1, {{"111", "paid", {{"501", "approved"}}}});
  PayWaiting("10,00", 20000);
  mp_.Override(FakeMercadoPago::kRefund,
               FakeReply(401, R"({"message":"no permission","error":"unauthorized","status":401})"));
  parts().wallets.RefundMercadoPagoPayments();
  EXPECT_TRUE(Shown("Sem permissão para cancelar a transação no Mercado Pago."));
  EXPECT_EQ(parts().wallets.PaymentsToRefund(), "");
  ASSERT_EQ(Pending(), 1u);
  parts().wallets.SaleRecorded();  // the cleared sale then closes with another tender
  ASSERT_EQ(Pending(), 1u) << "the cleared payment is not the recorded sale's";
  mp_.Override(FakeMercadoPago::kRefund, std::nullopt);
  parts().wallets.LoadSettings();  // the next start refunds it
  EXPECT_EQ(mp_.Refunded(), std::vector<std::string>{"501"});
  EXPECT_EQ(Pending(), 0u);
}

TEST_F(MercadoPagoTender, ServiceFailuresLeaveNoLineAndNoHang) {
  mp_.Override(FakeMercadoPago::kCreate, ServerError());
  Pay("011", "10,00");
  EXPECT_TRUE(Shown("Erro ao criar Ordem de Pagamento"));
  EXPECT_FALSE(ctl("panTef").visible);
  EXPECT_EQ(Pending(), 0u);
  mp_.Override(FakeMercadoPago::kCreate, std::nullopt);

  // A branch without Mercado Pago settings asks nobody and leaves nothing to settle.
  StoreSetting("DSACCESSTOKENMP = NULL");
  const size_t asked = mp_.Server().RequestCount();
  Pay("011", "10,00");
  EXPECT_TRUE(Shown("Erro ao criar Ordem de Pagamento"));
  EXPECT_EQ(mp_.Server().RequestCount(), asked);
  EXPECT_EQ(Pending(), 0u);
  StoreSetting("DSACCESSTOKENMP = 'APP_USR-t0k3n'");

  for (const FakeReply& broken : {ServerError(), MalformedJson(), EmptyReply(200), FakeReply(200, "[1,2]")}) {
    mp_.Override(FakeMercadoPago::kSearch, broken);
    PayWaiting("10,00", 120000);
    EXPECT_TRUE(Lines().empty()) << broken.body;
  }
  mp_.Override(FakeMercadoPago::kSearch, std::nullopt);
  mp_.OrdersFromSearch(mp_.Searches() + 1, {{"555", "paid", {{"901", "rejected"}}}});
  mp_.Override(FakeMercadoPago::kOrderById, ServerError());
  PayWaiting("10,00", 120000);
  EXPECT_TRUE(Lines().empty()) << "paid, but no approved payment could be found";
}

}  // namespace
}  // namespace recebimento::testing
