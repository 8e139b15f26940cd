#pragma once
// The schema migrations and the demo store that the program carries (the build embeds
// the files of db/), and the splitting of an SQL file into statements.
#include <string>
#include <vector>

namespace recebimento::datamodule {

struct SqlFile {
  std::string path;  // relative to db/: "migrations/001_store_schema.sql"
  std::string text;
};

// In file-name order; a migration's version is the number its file name starts with.
const std::vector<SqlFile>& StoreMigrationFiles();
const std::vector<SqlFile>& DemoStoreFiles();

// The version number a migration file name starts with ("001_x.sql" -> 1); 0 when none.
int MigrationVersion(const std::string& path);

// Statements of an SQL text, split at the semicolons that end them (outside quotes and
// "--" comments); comments and blank statements are dropped.
std::vector<std::string> SplitSqlStatements(const std::string& text);

}  // namespace recebimento::datamodule
