// A store held by another writer: a bounded wait, then a clear error, and nothing lost.
#include <gtest/gtest.h>

#include "base/clock.h"
#include "datamodule/catalogue_support.h"
#include "datamodule/connection_config.h"
#include "support/store_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;

class StoreLockTest : public StoreTest {
 protected:
  void SetUp() override {
    datamodule::SetStoreLockWaitMs(200);
    StoreTest::SetUp();
  }
  void TearDown() override {
    StoreTest::TearDown();
    datamodule::SetStoreLockWaitMs(-1);
  }

  std::string Counter() {
    const datamodule::Statement q{"q", "SELECT NRSEQUENCIAL FROM NOVOCODIGO WHERE CDCONTADOR = 'PRXVENDA|0001|001'"};
    return datamodule::FirstValue(store().admin().Query(q), "NRSEQUENCIAL").AsString();
  }

  // Another connection holds what a sale number needs: on SQLite the whole file, on
  // PostgreSQL the register's counter row.
  void HoldTheStore() {
    if (GetParam() == Engine::SQLite) {
      store().Exec("BEGIN EXCLUSIVE");
    } else {
      store().Exec("BEGIN");
      store().Exec("SELECT * FROM NOVOCODIGO WHERE CDCONTADOR = 'PRXVENDA|0001|001' FOR UPDATE");
    }
  }
};

TEST_P(StoreLockTest, ANumberWaitsABoundedTimeThenSaysTheStoreIsBusyAndSpendsNothing) {
  ASSERT_EQ(rdm().setNrVendaNFisc("0001", "001", "V").AsString(), "0000000002");
  HoldTheStore();
  const Variant busy = rdm().setNrVendaNFisc("0001", "001", "V");
  EXPECT_NE(busy.AsString().find("ocupado por outro caixa ou processo"), std::string::npos) << busy.AsString();
  EXPECT_NE(busy.AsString().find("Tente novamente"), std::string::npos) << busy.AsString();
  EXPECT_FALSE(rdm().InTransaction());
  store().Exec("ROLLBACK");

  EXPECT_EQ(Counter(), "2") << "the failed attempt took no number";
  EXPECT_EQ(rdm().setNrVendaNFisc("0001", "001", "V").AsString(), "0000000003") << "and the next one follows on";
}

TEST_P(StoreLockTest, AReadOfAStoreLockedWholeIsBoundedToo) {
  if (GetParam() == Engine::PostgreSQL) GTEST_SKIP() << "PostgreSQL readers never wait for writers";
  HoldTheStore();
  const Variant busy = rdm().getConsumidor("000001", "0001", "0001");
  EXPECT_NE(busy.AsString().find("ocupado"), std::string::npos) << busy.AsString();
  store().Exec("ROLLBACK");
  EXPECT_TRUE(rdm().getConsumidor("000001", "0001", "0001").IsPacket());
}

RECEBIMENTO_BOTH_ENGINES(StoreLockTest);

}  // namespace
}  // namespace recebimento::testing
