// Prepaid and gift cards as tenders on the screen: the prepaid card's balance asked when
// the tender is chosen and its redemption at the confirmation (the password the service
// may want, a confirmation abandoned on a later card never charging an earlier one
// twice), every failure of the service leaving no payment and the screen usable; the
// gift card redeemed and cancelled by the host, with the host's errors told.
#include <gtest/gtest.h>

#include "base/dataset_columns.h"
#include "host/runtime/http_transport.h"
#include "screen/frame/message_table.h"
#include "screen/support/tender_selection_fixture.h"
#include "support/fake_prepaid_card.h"
#include "support/fake_wallet_services.h"

namespace recebimento::testing {
namespace {

using base::Variant;
using Lines_t = std::vector<std::pair<std::string, double>>;

constexpr const char* kCard = "6036001234567890";
constexpr const char* kLockedCard = "6036009999000011";  // password 4321

class PrepaidCardTender : public TenderSelectionTest {
 protected:
  void SetUp() override {
    TenderSelectionTest::SetUp();
    saved_ = runtime::GetHttpSettings();
    runtime::HttpSettings trusted = saved_;
    trusted.extra_ca_file = FakePrepaidCard::CaFile();
    trusted.max_timeout_seconds = 2;
    runtime::SetHttpSettings(trusted);
    fake_.AddCard(kCard, 50);
    fake_.AddCard(kLockedCard, 80, "4321");
    fake_.AddCard("6036000000000000", 0);
    AddTender("012", "CARTAO TODO", "K", "", "");
    par().stCDURLINTCARTPRE = fake_.ConfiguredAddress();
    par().stNRINSJURFILI = "12345678000199";
    par().stCDCAIXA = "001";
  }
  void TearDown() override { runtime::SetHttpSettings(saved_); }

  // The operator gives the card, accepts its balance and takes `amount` from it.
  void PayWithCard(const std::string& card, const std::string& amount) {
    answers_.Value(Variant(card));
    answers_.Value(Variant(true));
    answers_.Value(Variant(amount));
    parts().selection.DoMenuRecebimentoClick("012", "");
  }

  bool Shown(const std::string& text) const {
    for (const auto& m : Messages())
      if (m.find(text) != std::string::npos) return true;
    return false;
  }
  static std::string Msg2(const char* key) { return screen::Msg(key, screen::MessageComponent::msgPadrao2); }

  FakePrepaidCard fake_;
  runtime::HttpSettings saved_;
};

TEST_F(PrepaidCardTender, TheBalanceIsAskedAndTheCardPaysWhatTheOperatorTakes) {
  PayWithCard(kCard, "30,00");
  ASSERT_EQ(Lines(), (Lines_t{{"012", 30.0}}));
  EXPECT_EQ(sale().doVrAPagar, 70.0);
  EXPECT_TRUE(fake_.Redeemed().empty()) << "nothing is taken before the confirmation";
  ASSERT_EQ(fake_.Bodies(FakePrepaidCard::kBalance).size(), 1u);
  EXPECT_NE(fake_.Bodies(FakePrepaidCard::kBalance)[0].find("<card_number>6036001234567890</card_number>"),
            std::string::npos);

  // The same card again is refused before the service is asked.
  answers_.Value(Variant(kCard));
  parts().selection.DoMenuRecebimentoClick("012", "");
  EXPECT_TRUE(Shown(Msg2("PREPAGO_JA_INF")));
  EXPECT_EQ(fake_.Bodies(FakePrepaidCard::kBalance).size(), 1u);
  EXPECT_EQ(Lines().size(), 1u);
}

TEST_F(PrepaidCardTender, AmountsTheCardOrTheSaleCannotTakeAreRefused) {
  PayWithCard(kCard, "50,01");
  EXPECT_TRUE(Shown(Msg2("VALOR_MAIOR_SALDO")));
  SetTotal(20);
  PayWithCard(kCard, "20,01");
  EXPECT_TRUE(Shown(Msg2("VALOR_MAIOR_VENDA")));
  answers_.Value(Variant(std::string("6036000000000000")));
  parts().selection.DoMenuRecebimentoClick("012", "");
  EXPECT_TRUE(Shown(Msg2("NAO_HA_SALDO")));
  // Declining the balance, or no card at all, goes back without a word.
  answers_.Value(Variant(kCard));
  answers_.Value(Variant(false));
  parts().selection.DoMenuRecebimentoClick("012", "");
  answers_.Cancel();
  parts().selection.DoMenuRecebimentoClick("012", "");
  EXPECT_TRUE(Lines().empty());
  EXPECT_TRUE(parts().prepaid.Cards().IsEmpty());
}

TEST_F(PrepaidCardTender, AServiceThatFailsLeavesNoPaymentAndTheScreenUsable) {
  for (const FakeReply& reply :
       {ServerError(), EmptyReply(), FakeReply(200, "<root><error>false", "application/xml"), SlowReply(4000)}) {
    fake_.Override(FakePrepaidCard::kBalance, reply);
    answers_.Value(Variant(kCard));
    parts().selection.DoMenuRecebimentoClick("012", "");
    EXPECT_TRUE(sale().boFalhaReceb) << reply.body;
    EXPECT_TRUE(Lines().empty()) << reply.body;
    EXPECT_TRUE(Shown(Msg2("FALHA_CONSULTA_SALDO"))) << reply.body;
  }
  fake_.Override(FakePrepaidCard::kBalance, std::nullopt);
  answers_.Value(Variant(std::string("6036111111111111")));
  parts().selection.DoMenuRecebimentoClick("012", "");
  EXPECT_TRUE(Shown("Cartão não encontrado"));
  EXPECT_TRUE(parts().prepaid.Cards().IsEmpty());
  EXPECT_EQ(sale().doVrAPagar, 100.0);
  // The sale goes on: cash pays it.
  Pay("001", "100,00");
  EXPECT_EQ(Lines(), (Lines_t{{"001", 100.0}}));
}

TEST_F(PrepaidCardTender, TheConfirmationRedeemsEachCardOnceAskingThePasswordWhenWanted) {
  parts().exit.Clear();  // the entry's own, keeping the sale as it came
  PayWithCard(kCard, "30,00");
  PayWithCard(kLockedCard, "20,00");
  ASSERT_EQ(Lines().size(), 2u);

  // The second card's redemption fails: the first is taken, and only once.
  fake_.Override(FakePrepaidCard::kRedeem, std::nullopt);
  answers_.Cancel();  // the password keypad dismissed
  EXPECT_FALSE(parts().loyalty.RedeemPrepaidCards());
  EXPECT_EQ(fake_.Redeemed(), std::vector<std::string>{"30.00"});
  EXPECT_TRUE(Shown("Resgate do Cartão Todo realizado com sucesso.\r\nSaldo Disponível: R$20,00"));
  // The first card's money is taken: the payments are not discarded under it.
  parts().exit.Clear();
  EXPECT_TRUE(Shown("já foi debitado pelo cartão pré-pago"));
  EXPECT_EQ(Lines().size(), 2u);

  answers_.Value(Variant(std::string("")));  // an empty password is asked again
  answers_.Value(Variant(std::string("4321")));
  EXPECT_TRUE(parts().loyalty.RedeemPrepaidCards());
  EXPECT_EQ(fake_.Redeemed(), (std::vector<std::string>{"30.00", "20.00"}));
  EXPECT_TRUE(Shown("Senha deve ser informada."));
  EXPECT_DOUBLE_EQ(fake_.Balance(kLockedCard), 60);
  EXPECT_TRUE(parts().loyalty.RedeemPrepaidCards()) << "nothing left to redeem";
  EXPECT_EQ(fake_.Redeemed().size(), 2u);
}

TEST_F(PrepaidCardTender, ARedemptionRefusedAbandonsTheConfirmationWithTheServicesReason) {
  PayWithCard(kCard, "30,00");
  fake_.Override(FakePrepaidCard::kRedeem,
                 FakeReply(200, PrepaidReplyXml(true, "Cartão bloqueado", "0", "62"), "application/xml"));
  EXPECT_FALSE(parts().loyalty.RedeemPrepaidCards());
  EXPECT_TRUE(Shown(Msg2("FALHA_RESG_SALDO") + "Cartão bloqueado"));
  fake_.Override(FakePrepaidCard::kRedeem, ServerError());
  EXPECT_FALSE(parts().loyalty.RedeemPrepaidCards());
  EXPECT_TRUE(fake_.Redeemed().empty());

  // Payments discarded: the card is forgotten and may be entered again.
  parts().prepaid.PaymentsDiscarded();
  EXPECT_TRUE(parts().prepaid.Cards().IsEmpty());
}

class GiftCardTender : public TenderSelectionTest {
 protected:
  void SetUp() override {
    TenderSelectionTest::SetUp();
    AddTender("013", "VALE PRESENTE", "K", "", "");
    sale().stNrComanda = "77";
  }
  pos::ScriptedServices& Host() { return sim_->AnsweringServices(); }
  static Variant Answer(std::vector<Variant> v) { return Variant(std::move(v)); }
  static Variant Errors(const std::string& code, const std::string& text) {
    base::DataPacket p;
    p.fields = {{"CDERRO", base::FieldType::String, 10}, {"DSERROCONS", base::FieldType::String, 100}};
    p.rows.push_back({Variant(code), Variant(text)});
    return Variant(p);
  }
  static Variant RefusedCard(const std::string& card, const std::string& code, const std::string& text) {
    base::DataPacket p;
    for (const char* f : {"NRCARTAO", "IDSUCCESS", "CDRETORNO", "DSRETCONS"})
      p.fields.push_back({f, base::FieldType::String, 60});
    p.rows.push_back({Variant(card), Variant("false"), Variant(code), Variant(text)});
    return Variant(p);
  }
  bool LastShown(const std::string& text) const {
    return !Messages().empty() && Messages().back().find(text) != std::string::npos;
  }
};

TEST_F(GiftCardTender, TheHostRedeemsOneGiftCardASaleAndCancelsItWhenThePaymentsGo) {
  Host().Script("ValePresente:RESGATE",
                {true, Answer({Variant(true), Variant("req-1"), Variant(), Variant(40.0), Variant("9990001")})});
  parts().selection.DoMenuRecebimentoClick("013", "");
  ASSERT_EQ(Lines(), (Lines_t{{"013", 40.0}}));
  EXPECT_EQ(parts().prepaid.GiftRequestId(), "req-1");
  parts().selection.DoMenuRecebimentoClick("013", "");
  EXPECT_TRUE(sale().boFalhaReceb);
  EXPECT_EQ(Lines().size(), 1u);

  // The host cannot cancel: its errors are told and the redemption is kept. (The
  // host's answers are taken in order, the last repeating.)
  Host().Script("ValePresente:CANC-RESGATE", {true, Answer({Variant(false), Variant(), Errors("17", "sem conexão")})});
  Host().Script("ValePresente:CANC-RESGATE", {true, Answer({Variant(true), Variant("req-2"), Variant()})});
  parts().prepaid.CancelaValePresente();
  EXPECT_EQ(parts().prepaid.GiftRequestId(), "req-1");
  bool told = false;
  for (const auto& m : Messages()) told |= m.find("ERRO-17:sem conexão") != std::string::npos;
  EXPECT_TRUE(told);
  parts().prepaid.PaymentsDiscarded();
  EXPECT_TRUE(parts().prepaid.GiftRequestId().empty());
  const auto calls = sim_->Record().CallsOf("ValePresente");
  ASSERT_FALSE(calls.empty());
}

TEST_F(GiftCardTender, ARedemptionTheSaleCannotTakeIsGivenBack) {
  // The host redeemed more than the sale owes: the redemption is cancelled at once.
  Host().Script("ValePresente:RESGATE",
                {true, Answer({Variant(true), Variant("req-9"), Variant(), Variant(150.0), Variant("1")})});
  Host().Script("ValePresente:RESGATE", {false, Variant()});
  Host().Script("ValePresente:CANC-RESGATE", {true, Answer({Variant(true), Variant(), Variant()})});
  parts().selection.DoMenuRecebimentoClick("013", "");
  EXPECT_TRUE(Lines().empty());
  EXPECT_TRUE(parts().prepaid.GiftRequestId().empty());
  EXPECT_EQ(sim_->Record().CallsOf("ValePresente").size(), 2u);
  // A host that fails: its error, or the standard text, and no payment.
  parts().selection.DoMenuRecebimentoClick("013", "");
  EXPECT_TRUE(Lines().empty());
  bool standard = false;
  for (const auto& m : Messages()) standard |= m.find(screen::Msg("ERRO_PADRAO")) != std::string::npos;
  EXPECT_TRUE(standard);
}

TEST_F(GiftCardTender, AFailedRedemptionTellsOnlyItsOwnErrors) {
  Host().Script("ValePresente:RESGATE",
                {true, Answer({Variant(true), Variant("req-1"), Variant(), Variant(40.0), Variant("9990001")})});
  Host().Script("ValePresente:RESGATE",
                {true, Answer({Variant(false), Variant(), Errors("31", "saldo insuficiente")})});
  parts().selection.DoMenuRecebimentoClick("013", "");
  Host().Script("ValePresente:CANC-RESGATE", {true, Answer({Variant(false), Variant(), Errors("17", "sem conexão"),
                                                            RefusedCard("9990001", "05", "bloqueado")})});
  // Cancelled at the second try, the host still lists the card it refused before.
  Host().Script("ValePresente:CANC-RESGATE",
                {true, Answer({Variant(true), Variant(), Variant(), RefusedCard("9990001", "05", "bloqueado")})});
  parts().prepaid.CancelaValePresente();
  ASSERT_TRUE(LastShown("CARTAO-9990001"));
  parts().prepaid.PaymentsDiscarded();  // cancelled now
  ASSERT_TRUE(parts().prepaid.GiftRequestId().empty());

  parts().selection.DoMenuRecebimentoClick("013", "");
  EXPECT_TRUE(LastShown("ERRO-31:saldo insuficiente"));
  EXPECT_FALSE(LastShown("CARTAO-")) << "the cancellation's card is not this redemption's";
}

TEST_F(GiftCardTender, ARedemptionNotGivenBackKeepsTheSaleFromClosingUntilItIs) {
  // The host redeemed more than the sale owes and cannot give it back.
  Host().Script("ValePresente:RESGATE",
                {true, Answer({Variant(true), Variant("req-9"), Variant(), Variant(150.0), Variant("1")})});
  // The give-back fails at once and at the first confirmation, then succeeds.
  for (int i = 0; i < 2; ++i)
    Host().Script("ValePresente:CANC-RESGATE",
                  {true, Answer({Variant(false), Variant(), Errors("17", "sem conexão")})});
  Host().Script("ValePresente:CANC-RESGATE", {true, Answer({Variant(true), Variant(), Variant()})});
  parts().selection.DoMenuRecebimentoClick("013", "");
  ASSERT_TRUE(Lines().empty());
  ASSERT_EQ(parts().prepaid.GiftRequestId(), "req-9");

  EXPECT_FALSE(parts().loyalty.RedeemPrepaidCards()) << "the card is still charged";
  EXPECT_EQ(sim_->Record().CallsOf("ValePresente").size(), 3u) << "the give-back asked again";
  EXPECT_TRUE(parts().loyalty.RedeemPrepaidCards());
  EXPECT_TRUE(parts().prepaid.GiftRequestId().empty());
}

}  // namespace
}  // namespace recebimento::testing
