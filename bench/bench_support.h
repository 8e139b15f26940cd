#pragma once
// What the benchmark programs share: a temporary folder, a demo store on SQLite or on the
// PostgreSQL server that RECEBIMENTO_TEST_PG names (`./run.sh bench` starts a throwaway
// one), and the JSON files of the examples.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include <unistd.h>
#include <nlohmann/json.hpp>

#include "datamodule/store_connection.h"
#include "datamodule/store_init.h"

namespace recebimento::bench {

inline constexpr const char* kNoPostgres = "skipped: no PostgreSQL server (RECEBIMENTO_TEST_PG is not set)";

// A folder of its own under the temporary folder, removed with everything in it.
struct BenchFolder {
  std::filesystem::path path;
  BenchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "rec-bench.XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    path = pattern;
  }
  ~BenchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;
};

// The operator's script of the measured sale: one real of cash, then the rest by credit
// card (the keypad proposes what is left, the terminal approves, and the sale, paid,
// confirms itself and prints the receipt).
inline constexpr const char* kCashThenCardScript = R"({"click": "tcbBalcao01"})"
                                                   "\n"
                                                   R"({"type": "1,00"})"
                                                   "\n"
                                                   R"({"key": "Enter"})"
                                                   "\n"
                                                   R"({"click": "tcbBalcao02"})"
                                                   "\n"
                                                   R"({"key": "Enter"})"
                                                   "\n";

inline nlohmann::ordered_json ReadJson(const std::string& file) {
  std::ifstream in(file);
  if (!in) throw std::runtime_error("cannot read " + file);
  return nlohmann::ordered_json::parse(in);
}

// The demo store in an SQLite file; its connection string.
inline std::string DemoSqliteStore(const std::filesystem::path& file) {
  const std::string connection = "sqlite:" + file.string();
  datamodule::InitStoreDatabase(connection, true);
  return connection;
}

// The server's libpq connection text, empty when there is none.
inline std::string PostgresServer() {
  const char* env = std::getenv("RECEBIMENTO_TEST_PG");
  return env ? env : "";
}

// The same server with another database named.
inline std::string PostgresDatabase(const std::string& dbname) {
  std::string info = PostgresServer();
  if (const auto pos = info.find("dbname="); pos != std::string::npos) {
    const auto end = info.find(' ', pos);
    info.erase(pos, end == std::string::npos ? std::string::npos : end - pos);
  }
  return info + " dbname=" + dbname;
}

// A database of its own with the demo store on the server, dropped at the end.
struct PostgresDemoStore {
  std::string name;
  std::string connection;  // "postgresql:..."

  static std::unique_ptr<PostgresDemoStore> Create(const std::string& tag) {
    if (PostgresServer().empty()) return nullptr;
    auto store = std::make_unique<PostgresDemoStore>();
    store->name = "rec_bench_" + tag + "_" + std::to_string(getpid());
    Admin("DROP DATABASE IF EXISTS " + store->name);
    Admin("CREATE DATABASE " + store->name);
    store->connection = "postgresql:" + PostgresDatabase(store->name);
    datamodule::InitStoreDatabase(store->connection, true);
    return store;
  }
  ~PostgresDemoStore() {
    try {
      Admin("DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
    } catch (...) {
    }
  }
  static void Admin(const std::string& sql) {
    datamodule::StoreConnection admin([] { return "postgresql:" + PostgresServer(); });
    admin.ExecuteRaw(sql);
  }
};

}  // namespace recebimento::bench
