// A connection to the embedded store hands its session to the next connection of the
// process to the same file. The next one must still see the store as it is now: another
// file put in its place, a removed store, a migrated schema; and a kept session must not
// stand in the way of another connection's writing; closing the kept sessions closes the
// store file.
#include <gtest/gtest.h>

#include <filesystem>

#include "datamodule/catalogue_support.h"
#include "datamodule/connection_config.h"
#include "support/open_files.h"
#include "support/store_fixture.h"
#include "support/temp_dir.h"

namespace recebimento::testing {
namespace {

namespace fs = std::filesystem;
using base::FieldType;
using datamodule::FirstValue;
using datamodule::Statement;
using datamodule::StoreConnection;

const Statement kName{"name", "SELECT NMCONSUMIDOR FROM CONSUMIDOR WHERE CDCLIENTE = '000001' AND CDCONSUMIDOR = :K"};

std::string NameOf(const std::string& connection, const std::string& consumer) {
  StoreConnection c([connection] { return connection; });
  return FirstValue(c.Query(kName, {{"K", consumer}}), "NMCONSUMIDOR").AsString();
}

void Write(const std::string& connection, const std::string& sql) {
  StoreConnection c([connection] { return connection; });
  c.ExecuteRaw(sql);
}

TEST(KeptSessions, TheNextConnectionSeesTheStoreAsItIsNow) {
  TempDir dir;
  const fs::path file = dir.path() / "store.db";
  const std::string store = SqliteStoreAt(file, true);
  EXPECT_EQ(NameOf(store, "0001"), "Maria da Silva");
  Write(store, "UPDATE CONSUMIDOR SET NMCONSUMIDOR = 'Maria Souza' WHERE CDCONSUMIDOR = '0001'");
  EXPECT_EQ(NameOf(store, "0001"), "Maria Souza") << "a write of the session before";

  // Another store copied in place of the file (a restore): its rows, not the old file's.
  const fs::path other = dir.path() / "other.db";
  SqliteStoreAt(other, true);
  fs::rename(other, file);
  EXPECT_EQ(NameOf(store, "0001"), "Maria da Silva");

  // A removed store is missing, as it would be without a kept session.
  Write(store, "SELECT 1");
  fs::remove(file);
  StoreConnection gone([store] { return store; });
  try {
    gone.Open();
    FAIL() << "a removed store opened";
  } catch (const datamodule::DatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("no store database"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(fs::exists(file)) << "never a new empty store";
}

TEST(KeptSessions, AColumnAddedMeanwhileIsTypedByTheNextConnection) {
  TempDir dir;
  const std::string store = SqliteStoreAt(dir.path() / "store.db", true);
  EXPECT_EQ(NameOf(store, "0001"), "Maria da Silva");  // leaves a session with the types read
  // Another program migrates the store (its own connection: another way of naming it).
  Write("sqlite3://db=" + (dir.path() / "store.db").string(),
        "ALTER TABLE CONSUMIDOR ADD COLUMN VRNOVOLIMITE NUMERIC(18,4)");
  StoreConnection next([store] { return store; });
  const auto packet =
      next.Query({"q", "SELECT VRNOVOLIMITE FROM CONSUMIDOR WHERE CDCLIENTE = '000001' AND CDCONSUMIDOR = '0001'"});
  ASSERT_EQ(packet.fields.size(), 1u);
  EXPECT_EQ(packet.fields[0].type, FieldType::Float) << "the declared type, also for a null value";
}

TEST(KeptSessions, AKeptSessionHoldsNoLock) {
  TempDir dir;
  const std::string store = SqliteStoreAt(dir.path() / "store.db", true);
  const int wait = datamodule::StoreLockWaitMs();
  datamodule::SetStoreLockWaitMs(200);
  {
    StoreConnection reader([store] { return store; });
    EXPECT_EQ(reader.Query({"all", "SELECT NMCONSUMIDOR FROM CONSUMIDOR"}).rows.size(), 4u);
    EXPECT_EQ(NameOf(store, "0001"), "Maria da Silva");
  }
  // Another register writes through its own session while this one's wait on the shelf:
  // it must not wait for them, and they must read what it wrote.
  StoreConnection writer([f = "sqlite3://db=" + (dir.path() / "store.db").string()] { return f; });
  writer.Begin(true);
  writer.ExecuteRaw("UPDATE CONSUMIDOR SET NMCONSUMIDOR = 'Ana Lima' WHERE CDCONSUMIDOR = '0003'");
  EXPECT_NO_THROW(writer.Commit());
  EXPECT_EQ(NameOf(store, "0003"), "Ana Lima");
  datamodule::SetStoreLockWaitMs(wait);
}

TEST(KeptSessions, ClosingTheKeptSessionsClosesTheStoreFile) {
  TempDir dir;
  const fs::path file = dir.path() / "store.db";
  const std::string store = SqliteStoreAt(file, true);
  EXPECT_EQ(NameOf(store, "0001"), "Maria da Silva");
  ASSERT_EQ(OpenDescriptorsOf(file), 1) << "the session is kept for the next connection";
  StoreConnection::CloseKeptSessions();
  EXPECT_EQ(OpenDescriptorsOf(file), 0);
  EXPECT_EQ(NameOf(store, "0001"), "Maria da Silva") << "the next connection opens the store anew";
}

}  // namespace
}  // namespace recebimento::testing
