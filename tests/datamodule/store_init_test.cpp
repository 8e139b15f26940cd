#include "datamodule/store_init.h"

#include <gtest/gtest.h>

#include "datamodule/migrations.h"
#include "support/store_fixture.h"

namespace recebimento::testing {
namespace {

using datamodule::Statement;

double CountRows(datamodule::StoreConnection& c, const std::string& table) {
  Statement s{"count", "SELECT COUNT(*) AS N FROM " + table, {}, {{"N", base::FieldType::Float}}};
  return c.Query(s).rows.at(0).at(0).AsFloat();
}

class StoreInitTest : public StoreTest {};

TEST_P(StoreInitTest, RunningAgainAppliesNothingAndKeepsDemoRowsSingle) {
  const double tenders = CountRows(store().admin(), "TIPORECE");
  const double buttons = CountRows(store().admin(), "CONFTELARECE");
  EXPECT_GT(tenders, 15);
  EXPECT_GT(buttons, 20);
  datamodule::InitStoreDatabase(store().connection(), true);
  datamodule::InitStoreDatabase(store().connection(), true);
  EXPECT_EQ(CountRows(store().admin(), "TIPORECE"), tenders);
  EXPECT_EQ(CountRows(store().admin(), "CONFTELARECE"), buttons);
  EXPECT_EQ(datamodule::StoreSchemaVersion(store().connection()),
            datamodule::MigrationVersion(datamodule::StoreMigrationFiles().back().path));
}

TEST_P(StoreInitTest, DemoHasEveryTenderKindAndAPagedGroup) {
  Statement kinds{"kinds", "SELECT DISTINCT IDTIPORECE FROM TIPORECE ORDER BY IDTIPORECE"};
  std::string all;
  for (const auto& r : store().admin().Query(kinds).rows) all += r[0].AsString();
  EXPECT_EQ(all, "123456789ABCDEFGHIJK");
  Statement arrows{"arrows", "SELECT IDTPBUTTON FROM CONFTELARECE WHERE IDTPBUTTON IN ('G','H') ORDER BY IDTPBUTTON"};
  EXPECT_EQ(store().admin().Query(arrows).rows.size(), 2u);
}

RECEBIMENTO_BOTH_ENGINES(StoreInitTest);

TEST(StoreInit, BadConnectionIsAClearError) {
  try {
    datamodule::InitStoreDatabase("postgresql:host=127.0.0.1 port=1 dbname=none connect_timeout=2", false);
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("initialisation failed"), std::string::npos) << e.what();
  }
  EXPECT_THROW(datamodule::InitStoreDatabase("", false), std::runtime_error);
}

TEST(StoreInit, FreshSqliteFileWithoutDemoHasTablesButNoRows) {
  TempDir dir;
  const std::string c = "sqlite:" + (dir / "empty.db").string();
  datamodule::InitStoreDatabase(c, false);
  datamodule::StoreConnection conn([c] { return c; });
  EXPECT_EQ(CountRows(conn, "TIPORECE"), 0);
  EXPECT_EQ(CountRows(conn, "NOVOCODIGO"), 0);
}

TEST(StoreInit, SplitsStatementsOutsideQuotesAndComments) {
  const auto parts = datamodule::SplitSqlStatements(
      "-- a comment; with a semicolon\nINSERT INTO T VALUES ('a;b');\n\n  -- only a comment\n;SELECT 1");
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_NE(parts[0].find("'a;b'"), std::string::npos);
  EXPECT_NE(parts[1].find("SELECT 1"), std::string::npos);
}

}  // namespace
}  // namespace recebimento::testing
