#include "support/store_fixture.h"

#include <soci/soci.h>

#include <unistd.h>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "datamodule/store_init.h"

namespace recebimento::testing {

namespace {

std::mutex template_mutex;

std::string PgConnection(const std::string& dbname) {
  std::string info = PostgresAdminConnInfo();
  const auto pos = info.find("dbname=");
  if (pos != std::string::npos) {
    auto end = info.find(' ', pos);
    info.erase(pos, end == std::string::npos ? std::string::npos : end - pos);
  }
  return "postgresql:" + info + " dbname=" + dbname;
}

// The demo store (and a store with the schema only) is built once per run and copied
// for every test.
const std::string& SqliteTemplate(bool with_demo = true) {
  static TempDir dir;
  static std::string demo_path, schema_path;
  std::lock_guard<std::mutex> lock(template_mutex);
  std::string& path = with_demo ? demo_path : schema_path;
  if (path.empty()) {
    const std::string p = (dir / (with_demo ? "template.db" : "schema.db")).string();
    datamodule::InitStoreDatabase("sqlite:" + p, with_demo);
    path = p;
  }
  return path;
}

// Dropped when the test program ends.
struct PgTemplateDatabase {
  std::string name;
  ~PgTemplateDatabase() {
    if (name.empty()) return;
    try {
      datamodule::StoreConnection admin([] { return "postgresql:" + PostgresAdminConnInfo(); });
      admin.ExecuteRaw("DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
    } catch (...) {
    }
  }
};

const std::string& PgTemplate() {
  static PgTemplateDatabase tmpl;
  std::string& name = tmpl.name;
  std::lock_guard<std::mutex> lock(template_mutex);
  if (name.empty()) {
    const std::string n = "rec_tmpl_" + std::to_string(getpid());
    datamodule::StoreConnection admin([] { return "postgresql:" + PostgresAdminConnInfo(); });
    admin.ExecuteRaw("DROP DATABASE IF EXISTS " + n);
    admin.ExecuteRaw("CREATE DATABASE " + n);
    datamodule::InitStoreDatabase(PgConnection(n), true);
    name = n;
  }
  return name;
}

std::atomic<int> database_counter{0};

}  // namespace

std::string SqliteStoreAt(const std::filesystem::path& file, bool with_demo) {
  std::filesystem::create_directories(file.parent_path());
  std::filesystem::copy_file(SqliteTemplate(with_demo), file, std::filesystem::copy_options::overwrite_existing);
  return "sqlite:" + file.string();
}

std::string PostgresAdminConnInfo() {
  const char* env = std::getenv("RECEBIMENTO_TEST_PG");
  return env ? env : "";
}

std::string EngineName(const ::testing::TestParamInfo<Engine>& info) {
  return info.param == Engine::SQLite ? "SQLite" : "PostgreSQL";
}

TestStore::TestStore(Engine engine) : engine_(engine) {
  if (engine == Engine::SQLite) {
    const auto path = dir_ / "store.db";
    std::filesystem::copy_file(SqliteTemplate(), path);
    connection_ = "sqlite:" + path.string();
  } else {
    const std::string tmpl = PgTemplate();
    pg_database_ = "rec_t" + std::to_string(getpid()) + "_" + std::to_string(++database_counter);
    datamodule::StoreConnection admin([] { return "postgresql:" + PostgresAdminConnInfo(); });
    admin.ExecuteRaw("DROP DATABASE IF EXISTS " + pg_database_);
    admin.ExecuteRaw("CREATE DATABASE " + pg_database_ + " TEMPLATE " + tmpl);
    connection_ = PgConnection(pg_database_);
  }
  const std::string c = connection_;
  admin_ = std::make_unique<datamodule::StoreConnection>([c] { return c; });
}

TestStore::~TestStore() {
  admin_.reset();
  if (!pg_database_.empty()) {
    try {
      datamodule::StoreConnection admin([] { return "postgresql:" + PostgresAdminConnInfo(); });
      admin.ExecuteRaw("DROP DATABASE IF EXISTS " + pg_database_ + " WITH (FORCE)");
    } catch (...) {
    }
  }
}

void TestStore::Exec(const std::string& sql) { admin_->ExecuteRaw(sql); }

void StoreTest::SetUp() {
  if (GetParam() == Engine::PostgreSQL && PostgresAdminConnInfo().empty()) {
    GTEST_SKIP() << "RECEBIMENTO_TEST_PG is not set: no PostgreSQL server for this run";
  }
  store_ = std::make_unique<TestStore>(GetParam());
  rdm_ = std::make_unique<datamodule::TrdmRecebimento>(store_->connection());
}

void StoreTest::TearDown() {
  rdm_.reset();
  store_.reset();
}

}  // namespace recebimento::testing
