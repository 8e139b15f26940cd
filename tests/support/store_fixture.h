#pragma once
// Each test gets its own store database with the demo data, on SQLite (a file in a
// temporary folder) and on PostgreSQL (a database copied from a template in the
// throwaway server named by RECEBIMENTO_TEST_PG).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "datamodule/store_connection.h"
#include "datamodule/trdm_recebimento.h"
#include "support/temp_dir.h"

namespace recebimento::testing {

enum class Engine { SQLite, PostgreSQL };

std::string EngineName(const ::testing::TestParamInfo<Engine>& info);

// A fresh demo store for one test; removed when the object goes.
class TestStore {
 public:
  explicit TestStore(Engine engine);
  ~TestStore();
  const std::string& connection() const { return connection_; }
  // A second connection of its own, for setting up rows.
  datamodule::StoreConnection& admin() { return *admin_; }
  void Exec(const std::string& sql);

 private:
  Engine engine_;
  std::string connection_;
  std::string pg_database_;
  TempDir dir_;
  std::unique_ptr<datamodule::StoreConnection> admin_;
};

// Base for tests run on both engines. PostgreSQL cases are skipped when no server is
// configured.
class StoreTest : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override;
  void TearDown() override;
  TestStore& store() { return *store_; }
  datamodule::TrdmRecebimento& rdm() { return *rdm_; }
  void Exec(const std::string& sql) { store_->Exec(sql); }

  std::unique_ptr<TestStore> store_;
  std::unique_ptr<datamodule::TrdmRecebimento> rdm_;
};

// An SQLite store at `file` (its folder created), with the demo data or with the schema
// only; returns its connection string. Sales never create a store, so a test that runs
// one needs this.
std::string SqliteStoreAt(const std::filesystem::path& file, bool with_demo = false);

// The admin connection string of the throwaway PostgreSQL ("" when not configured).
std::string PostgresAdminConnInfo();

#define RECEBIMENTO_BOTH_ENGINES(suite)                                                                      \
  INSTANTIATE_TEST_SUITE_P(                                                                                  \
      Engines, suite,                                                                                        \
      ::testing::Values(::recebimento::testing::Engine::SQLite, ::recebimento::testing::Engine::PostgreSQL), \
      ::recebimento::testing::EngineName)

}  // namespace recebimento::testing
