// Number reservation across connections, and a connection lost between two calls.
#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "datamodule/next_number.h"
#include "support/store_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;

class NextNumberTest : public StoreTest {};

TEST_P(NextNumberTest, SalesContinueAfterTheRegistersHighestSale) {
  // The demo register 001 already has sale 0000000001.
  EXPECT_EQ(rdm().getPrxVendaVista("0001", "001").AsString(), "0000000002");
  EXPECT_EQ(rdm().getPrxVendaConsumidor("0001", "001").AsString(), "0000000003");
  EXPECT_EQ(rdm().getPrxVendaVista("0001", "002").AsString(), "0000000001");
  EXPECT_EQ(rdm().getNumeroNFCe("0001", "1", "2").AsString(), "1");
  EXPECT_EQ(rdm().getNumeroNFCe("0001", "1", "2").AsString(), "2");
  EXPECT_EQ(rdm().getNumeroNFCe("0001", "1", "1").AsString(), "1");  // another environment
  EXPECT_EQ(rdm().PrxPedidoZem("0001").AsString(), "0000000001");
  EXPECT_EQ(rdm().PrxItPedidoZem("0001", "0000000001").AsString(), "000001");
  EXPECT_EQ(rdm().PrxItPedidoZem("0001", "0000000001").AsString(), "000002");
}

TEST_P(NextNumberTest, RegistersReservingAtOnceNeverShareANumber) {
  constexpr int kThreads = 6;
  constexpr int kEach = 25;
  std::vector<std::vector<std::string>> got(kThreads);
  std::vector<std::string> errors(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      datamodule::TrdmRecebimento own(store().connection());  // a connection of its own
      for (int i = 0; i < kEach; ++i) {
        // Half of them create the day's counter at the same moment.
        const Variant v = (i % 2) ? own.getNumeroNFCe("0001", "9", "2") : own.getPrxVendaVista("0001", "002");
        if (!v.IsString() || v.AsString().empty() || v.AsString().find("Erro") != std::string::npos) {
          errors[t] = v.AsString();
          return;
        }
        got[t].push_back(((i % 2) ? "N" : "V") + v.AsString());
      }
    });
  }
  for (auto& th : threads) th.join();
  std::set<std::string> all;
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_EQ(errors[t], "") << "thread " << t;
    all.insert(got[t].begin(), got[t].end());
  }
  ASSERT_EQ(all.size(), static_cast<size_t>(kThreads * kEach));
  // None lost either: each sequence is dense (13 sales and 12 NFC-e per thread).
  EXPECT_TRUE(all.count("V0000000078"));
  EXPECT_FALSE(all.count("V0000000079"));
  EXPECT_TRUE(all.count("N72"));
  EXPECT_FALSE(all.count("N73"));
}

TEST_P(NextNumberTest, ReservationInsideATransactionIsUndoneByItsRollback) {
  rdm().StartTrans();
  EXPECT_EQ(rdm().getPrxVendaVista("0001", "002").AsString(), "0000000001");
  rdm().RollbackTrans();
  EXPECT_EQ(rdm().getPrxVendaVista("0001", "002").AsString(), "0000000001");
}

TEST_P(NextNumberTest, TransactionCallsOnlyActWhenTheirRuleHolds) {
  rdm().CommitTrans();  // nothing open: nothing happens
  rdm().RollbackTrans();
  rdm().StartTrans();
  rdm().StartTrans();  // already open: the same transaction
  EXPECT_TRUE(rdm().InTransaction());
  rdm().getPrxVendaVista("0001", "002");
  rdm().CommitTrans();
  EXPECT_FALSE(rdm().InTransaction());
  rdm().CommitTrans();
  EXPECT_EQ(rdm().getPrxVendaVista("0001", "002").AsString(), "0000000002");
}

RECEBIMENTO_BOTH_ENGINES(NextNumberTest);

class LostConnectionTest : public StoreTest {};

TEST_P(LostConnectionTest, FailingCallReportsTheNextReconnects) {
  ASSERT_TRUE(rdm().getConsSaldFam("0001", "000001", "0001").IsPacket());
  if (GetParam() == Engine::PostgreSQL) {
    // Ends every other session of the test database: the module's connection dies.
    store().Exec(
        "SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
        "WHERE datname = current_database() AND pid <> pg_backend_pid()");
  } else {
    // The embedded file moved away underneath: the open handle fails to reach it.
    rdm().adcRecebimento().Close();
  }
  const Variant failed = rdm().getConsSaldFam("0001", "000001", "0001");
  if (GetParam() == Engine::PostgreSQL) {
    ASSERT_TRUE(failed.IsString());
    EXPECT_NE(failed.AsString().find("Erro no banco de dados"), std::string::npos) << failed.AsString();
  }
  const Variant again = rdm().getConsSaldFam("0001", "000001", "0001");
  ASSERT_TRUE(again.IsPacket()) << (again.IsString() ? again.AsString() : "");
  EXPECT_EQ(again.AsPacket().rows.size(), 3u);
  EXPECT_EQ(rdm().getPrxVendaVista("0001", "002").AsString(), "0000000001");
}

TEST_P(LostConnectionTest, ConnectionDroppedInsideATransactionForgetsIt) {
  if (GetParam() == Engine::SQLite) GTEST_SKIP() << "an embedded file cannot drop its connection";
  rdm().StartTrans();
  ASSERT_TRUE(rdm().getPrxVendaVista("0001", "002").IsString());
  store().Exec(
      "SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
      "WHERE datname = current_database() AND pid <> pg_backend_pid()");
  const Variant failed = rdm().getPrxVendaVista("0001", "002");
  EXPECT_NE(failed.AsString().find("Erro no banco de dados"), std::string::npos) << failed.AsString();
  EXPECT_FALSE(rdm().InTransaction());
  rdm().RollbackTrans();  // nothing to roll back: no error
  // The reservation of the lost transaction is gone with it.
  EXPECT_EQ(rdm().getPrxVendaVista("0001", "002").AsString(), "0000000001");
}

TEST(LostConnection, UnreachableServerIsAnErrorTextNotACrash) {
  datamodule::TrdmRecebimento rdm("postgresql:host=127.0.0.1 port=1 dbname=none connect_timeout=2");
  const Variant v = rdm.getConsumidor("1", "2", "3");
  ASSERT_TRUE(v.IsString());
  EXPECT_NE(v.AsString().find("cannot connect"), std::string::npos) << v.AsString();
  EXPECT_EQ(rdm.getCNPJFil("0001"), "");
  EXPECT_FALSE(rdm.getProdBeneficio("1003"));
  EXPECT_TRUE(rdm.getPrxVendaVista("0001", "001").IsString());
}

RECEBIMENTO_BOTH_ENGINES(LostConnectionTest);

}  // namespace
}  // namespace recebimento::testing
