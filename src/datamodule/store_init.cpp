#include "datamodule/store_init.h"

#include <cctype>
#include <set>
#include <stdexcept>

#include "datamodule/migrations.h"
#include "datamodule/store_connection.h"
#include "datamodule/transaction_scope.h"

namespace recebimento::datamodule {

namespace {

const Statement kCreateVersionTable{"SchemaVersionTable",
                                    "CREATE TABLE IF NOT EXISTS SCHEMA_VERSION (VERSION INTEGER NOT NULL PRIMARY KEY, "
                                    "NMARQUIVO VARCHAR(100), DTAPLICACAO TIMESTAMP)"};
const Statement kCreateSeedTable{
    "SchemaSeedTable",
    "CREATE TABLE IF NOT EXISTS SCHEMA_SEED (NMSEED VARCHAR(50) NOT NULL PRIMARY KEY, DTAPLICACAO TIMESTAMP)"};
const Statement kAppliedVersions{"SchemaVersions", "SELECT VERSION FROM SCHEMA_VERSION"};
const Statement kRecordVersion{"SchemaVersionAdd",
                               "INSERT INTO SCHEMA_VERSION (VERSION, NMARQUIVO, DTAPLICACAO) "
                               "VALUES (:VERSION, :NMARQUIVO, CURRENT_TIMESTAMP)"};
const Statement kSeedApplied{"SchemaSeed", "SELECT NMSEED FROM SCHEMA_SEED WHERE NMSEED = :NMSEED"};
const Statement kRecordSeed{"SchemaSeedAdd",
                            "INSERT INTO SCHEMA_SEED (NMSEED, DTAPLICACAO) VALUES (:NMSEED, CURRENT_TIMESTAMP)"};
const Statement kMaxVersion{"SchemaMaxVersion",
                            "SELECT MAX(VERSION) AS VERSION FROM SCHEMA_VERSION",
                            {},
                            {{"VERSION", base::FieldType::Integer}}};

// Holds the store's write lock for one unit of work: two inits running at once apply
// each migration once.
void LockSchema(StoreConnection& c) {
  if (c.Kind() == DatabaseKind::PostgreSQL) c.ExecuteRaw("LOCK TABLE SCHEMA_VERSION IN EXCLUSIVE MODE");
}

std::set<int> AppliedVersions(StoreConnection& c) {
  std::set<int> versions;
  for (const auto& row : c.Query(kAppliedVersions).rows) versions.insert(static_cast<int>(row[0].AsInteger()));
  return versions;
}

void RunFile(StoreConnection& c, const SqlFile& file) {
  for (const auto& sql : SplitSqlStatements(file.text)) {
    try {
      c.ExecuteRaw(sql);
    } catch (const std::exception& e) {
      std::string head = sql.substr(0, 120);
      throw std::runtime_error("db/" + file.path + ": " + e.what() + "\n  in: " + head);
    }
  }
}

}  // namespace

int MigrationVersion(const std::string& path) {
  const auto slash = path.find_last_of('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  int v = 0;
  for (char ch : name) {
    if (!std::isdigit(static_cast<unsigned char>(ch))) break;
    v = v * 10 + (ch - '0');
  }
  return v;
}

std::vector<std::string> SplitSqlStatements(const std::string& text) {
  std::vector<std::string> out;
  std::string current;
  bool has_code = false;
  char quote = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quote) {
      current += c;
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '-' && i + 1 < text.size() && text[i + 1] == '-') {
      while (i < text.size() && text[i] != '\n') ++i;
      current += '\n';
      continue;
    }
    if (c == ';') {
      if (has_code) out.push_back(current);
      current.clear();
      has_code = false;
      continue;
    }
    if (c == '\'' || c == '"') quote = c;
    if (!std::isspace(static_cast<unsigned char>(c))) has_code = true;
    current += c;
  }
  if (has_code) out.push_back(current);
  return out;
}

void InitStoreDatabase(const std::string& connection, bool with_demo_data) {
  StoreConnection c([connection] { return connection; });
  c.CreateMissing();
  try {
    c.Open();
    c.ExecuteRaw(kCreateVersionTable.sql);
    c.ExecuteRaw(kCreateSeedTable.sql);
    for (const auto& file : StoreMigrationFiles()) {
      const int version = MigrationVersion(file.path);
      if (version <= 0) throw std::runtime_error("db/" + file.path + ": migration file name without a version");
      InOwnTransaction(
          c,
          [&] {
            if (AppliedVersions(c).count(version)) return;
            RunFile(c, file);
            c.Execute(kRecordVersion, {{"VERSION", version}, {"NMARQUIVO", file.path}});
          },
          LockSchema);
    }
    if (with_demo_data) {
      for (const auto& file : DemoStoreFiles()) {
        InOwnTransaction(
            c,
            [&] {
              if (!c.Query(kSeedApplied, {{"NMSEED", file.path}}).rows.empty()) return;
              RunFile(c, file);
              c.Execute(kRecordSeed, {{"NMSEED", file.path}});
            },
            LockSchema);
      }
    }
  } catch (const std::exception& e) {
    throw std::runtime_error("store database initialisation failed (" + MaskConnectionPassword(connection) +
                             "): " + std::string(e.what()));
  }
}

void RequireStoreSchema(StoreConnection& c) {
  try {
    const auto packet = c.Query(kMaxVersion);
    if (!packet.rows.empty() && packet.rows[0][0].AsInteger() > 0) return;
  } catch (const std::exception& e) {
    const std::string text = e.what();
    const bool no_table =
        text.find("no such table") != std::string::npos || text.find("does not exist") != std::string::npos;
    if (!no_table) throw DatabaseError(ADOExceptionMessage(e, c, ""));
    if (c.Kind() == DatabaseKind::PostgreSQL && c.InTransaction()) c.Rollback();
  }
  const std::string where = c.Describe();
  throw DatabaseError("the store database " + where + " has no schema; create it with: recebimento db init --db " +
                      where);
}

int StoreSchemaVersion(const std::string& connection) {
  StoreConnection c([connection] { return connection; });
  try {
    c.Open();
    c.ExecuteRaw(kCreateVersionTable.sql);
    const auto packet = c.Query(kMaxVersion);
    return packet.rows.empty() ? 0 : static_cast<int>(packet.rows[0][0].AsInteger());
  } catch (const std::exception& e) {
    throw std::runtime_error("cannot read the store's schema version: " + std::string(e.what()));
  }
}

}  // namespace recebimento::datamodule
