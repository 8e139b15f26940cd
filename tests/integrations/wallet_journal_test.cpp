// The wallet journal: what it keeps across processes, a damaged file set aside, and the
// settlement at a start of what a process that died left open - AME orders cancelled
// (or captured when their sale was recorded), Mercado Pago points of sale cleared and
// payments refunded - retried a few times, then given up with a line in the log.
#include <gtest/gtest.h>

#include <filesystem>

#include "integrations/ame/ame_client.h"
#include "integrations/mercadopago/mp_client.h"
#include "integrations/wallet_journal/wallet_journal.h"
#include "integrations/wallet_journal/wallet_recovery.h"
#include "support/fake_wallet_services.h"
#include "wallet_test_support.h"

namespace recebimento::testing {
namespace {

using integrations::WalletJournal;
using integrations::WalletJournalEntry;

class WalletJournalTest : public WalletClientTest {
 protected:
  WalletJournalTest() {
    ame_.DSLOGIN = "id";
    ame_.DSSENHA = "secret";
    ame_.IDAMBIENTEAME = "H";
    ame_.DSURLSERVAME = fake_ame_.CallbackBase();
    ame_.bases.homologation = fake_ame_.ApiBase();
    using base::Variant;
    for (const char* f :
         {"DSACCESSTOKENMP", "DSUSERIDMP", "DSIDSPONSORMP", "DSURLAPIMP", "CDFILIAL", "CDCAIXA", "CDLOJA", "NMFILIAL"})
      mp_.AddField(f, base::FieldType::String, 250);
    mp_.CreateDataSet();
    mp_.AppendRecord({Variant("tok"), Variant("123456"), Variant("1"), Variant(fake_mp_.ApiBase()), Variant("0001"),
                      Variant("001"), Variant("0001"), Variant("Posto")});
  }

  std::string Path() const { return (dir_ / "Dados" / "wallet_journal.json").string(); }

  static WalletJournalEntry Entry(const char* provider, const char* kind, const std::string& order,
                                  const std::string& payment = "", const char* phase = WalletJournalEntry::kOpen) {
    WalletJournalEntry e;
    e.provider = provider;
    e.kind = kind;
    e.phase = phase;
    e.order = order;
    e.payment = payment;
    return e;
  }

  std::vector<std::string> Settle(WalletJournal& journal) {
    return integrations::SettleWalletJournal(context_, log_, journal, ame_, mp_);
  }

  FakeAme fake_ame_;
  FakeMercadoPago fake_mp_;
  integrations::AmeSettings ame_;
  base::Dataset mp_{"cdsDadosMp"};
};

TEST_F(WalletJournalTest, EntriesOutliveTheProcessAndADamagedFileIsSetAside) {
  {
    WalletJournal journal(Path(), clock_);
    const std::string id = journal.Add(Entry(WalletJournalEntry::kAme, WalletJournalEntry::kOrder, ""));
    ASSERT_FALSE(id.empty());
    WalletJournalEntry e = *journal.Find(id);
    e.order = "ord-1";
    ASSERT_TRUE(journal.Update(e));
    journal.Add(Entry(WalletJournalEntry::kMercadoPago, WalletJournalEntry::kPayment, "ref", "501"));
  }
  WalletJournal again(Path(), clock_);
  ASSERT_EQ(again.Entries().size(), 2u);
  EXPECT_EQ(again.Entries()[0].order, "ord-1");
  EXPECT_EQ(again.Entries()[1].payment, "501");
  EXPECT_EQ(again.Entries()[1].since, "2026-12-06T12:00:00");
  ASSERT_TRUE(again.Remove(again.Entries()[0].id));
  EXPECT_EQ(WalletJournal(Path(), clock_).Entries().size(), 1u);

  dir_.Write("Dados/wallet_journal.json", "{\"entries\": [{\"id\": 3");
  WalletJournal damaged(Path(), clock_);
  EXPECT_TRUE(damaged.Entries().empty());
  EXPECT_NE(damaged.Problem().find("ilegível"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(Path() + ".damaged-20261206120000")) << "kept for whoever looks into it";
}

TEST_F(WalletJournalTest, AJournalThatCannotBeWrittenRefusesTheEntry) {
  dir_.Write("Dados", "a file where the folder should be");
  WalletJournal journal(Path(), clock_);
  EXPECT_EQ(journal.Add(Entry(WalletJournalEntry::kAme, WalletJournalEntry::kOrder, "")), "");
  EXPECT_TRUE(journal.Entries().empty());
  EXPECT_FALSE(journal.Problem().empty());
}

TEST_F(WalletJournalTest, AnAmeOrderLeftOpenIsCancelledOnceItsPaymentIsLookedUp) {
  // The order was created and the process died while it waited for the consumer, who
  // paid in the meantime.
  {
    integrations::AmeFrame frame;
    integrations::AmeState state;
    integrations::SharedFrameVariables shared;
    WalletJournal journal(Path(), clock_);
    integrations::AmeClient client(context_, log_, frame, state, shared, ame_, &journal);
    ASSERT_TRUE(client.buscaTokenAME());
    state.doValorAME = 10;
    ASSERT_TRUE(client.criaOrdemAME());
  }
  WalletJournal journal(Path(), clock_);
  ASSERT_EQ(journal.Entries().size(), 1u);
  EXPECT_EQ(journal.Entries()[0].order, "ord-1");
  const auto lines = Settle(journal);
  EXPECT_EQ(fake_ame_.Cancelled(), std::vector<std::string>{"pay-ord-1"});
  EXPECT_TRUE(journal.Entries().empty());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("cancelada"), std::string::npos);
  EXPECT_TRUE(WalletJournal(Path(), clock_).Entries().empty());
}

TEST_F(WalletJournalTest, AnUnpaidAmeOrderIsForgottenAndARecordedSalesPaymentIsCaptured) {
  WalletJournal journal(Path(), clock_);
  fake_ame_.AuthoriseOnQuery(0);  // nobody paid
  journal.Add(Entry(WalletJournalEntry::kAme, WalletJournalEntry::kOrder, "ord-7"));
  journal.Add(Entry(WalletJournalEntry::kAme, WalletJournalEntry::kOrder, ""));  // died while creating
  Settle(journal);
  EXPECT_TRUE(journal.Entries().empty());
  EXPECT_TRUE(fake_ame_.Cancelled().empty());

  integrations::AmeFrame frame;
  integrations::AmeState state;
  integrations::SharedFrameVariables shared;
  integrations::AmeClient(context_, log_, frame, state, shared, ame_).buscaTokenAME();
  state.doValorAME = 1;
  integrations::AmeClient(context_, log_, frame, state, shared, ame_).criaOrdemAME();  // the fake's routes
  journal.Add(
      Entry(WalletJournalEntry::kAme, WalletJournalEntry::kOrder, "ord-1", "pay-ord-1", WalletJournalEntry::kSale));
  Settle(journal);
  EXPECT_EQ(fake_ame_.Captured(), std::vector<std::string>{"pay-ord-1"});
  EXPECT_TRUE(journal.Entries().empty());
}

TEST_F(WalletJournalTest, AMercadoPagoOrderLeftOpenIsClearedAndWhatWasPaidRefunded) {
  integrations::MercadoPagoFrame frame;
  integrations::MercadoPagoState state;
  {
    WalletJournal journal(Path(), clock_);
    integrations::MercadoPagoClient client(context_, log_, frame, state, &journal);
    client.inicializaVarMP(mp_);
    state.doValorMP = 12.5;
    ASSERT_TRUE(client.criaOrderPresencialV2(""));
  }
  // Paid after the process died, after a rejected attempt; the order's lookup by id
  // fails at the first start, so what was paid is not known yet.
  fake_mp_.OrdersFromSearch(1, {{"111", "paid", {{"500", "rejected"}, {"501", "approved"}}}});
  fake_mp_.Override(FakeMercadoPago::kOrderById, ServerError());
  WalletJournal journal(Path(), clock_);
  ASSERT_EQ(journal.Entries().size(), 1u);
  Settle(journal);
  ASSERT_EQ(journal.Entries().size(), 1u);
  EXPECT_TRUE(fake_mp_.Refunded().empty());
  fake_mp_.Override(FakeMercadoPago::kOrderById, std::nullopt);
  Settle(journal);
  EXPECT_EQ(fake_mp_.Deletes(), 2) << "the point of sale is cleared at each start";
  EXPECT_EQ(fake_mp_.Refunded(), std::vector<std::string>{"501"});
  EXPECT_TRUE(journal.Entries().empty());
}

TEST_F(WalletJournalTest, WhatCannotBeSettledNowIsTriedAtTheNextStartsThenGivenUp) {
  WalletJournal journal(Path(), clock_);
  journal.Add(Entry(WalletJournalEntry::kMercadoPago, WalletJournalEntry::kPayment, "ref", "777"));
  fake_mp_.OrdersFromSearch(1, {{"1", "paid", {{"777", "approved"}}}});
  fake_mp_.Override(FakeMercadoPago::kRefund, ServerError());
  for (int start = 1; start < integrations::kMostSettlementAttempts; ++start) {
    Settle(journal);
    ASSERT_EQ(journal.Entries().size(), 1u) << "start " << start;
    EXPECT_EQ(journal.Entries()[0].attempts, start);
  }
  const auto lines = Settle(journal);
  EXPECT_TRUE(journal.Entries().empty());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("acerte com o provedor"), std::string::npos);

  // A branch without AME settings keeps the order for when it has them.
  integrations::AmeSettings none;
  journal.Add(Entry(WalletJournalEntry::kAme, WalletJournalEntry::kOrder, "ord-1", "pay-ord-1"));
  integrations::SettleWalletJournal(context_, log_, journal, none, mp_);
  ASSERT_EQ(journal.Entries().size(), 1u);
  EXPECT_EQ(journal.Entries()[0].attempts, 1);
}

}  // namespace
}  // namespace recebimento::testing
