#pragma once
// Creating and upgrading a store database: the versioned schema and the demo store.
//
// Connection strings (see docs/database.md):
//   "sqlite:/path/to/store.db"                 embedded SQLite file (created here when missing)
//   "/path/to/store.db" or "store.db"           a bare path is an SQLite file too
//   "postgresql:host=127.0.0.1 port=5432 user=u dbname=loja"   a PostgreSQL server
//   "postgresql://user@host:port/dbname"        the URI form works as well
//   "odbc:DSN=loja;UID=..."                     an ODBC data source (MSSQL / Oracle stores)
#include <string>

namespace recebimento::datamodule {

// Applies the migrations the store does not have yet (recorded in SCHEMA_VERSION) and,
// when asked, loads the demo store once. Running it again on an initialised store changes
// nothing. Throws std::runtime_error with a clear message on failure; a migration that
// fails is rolled back as a whole.
void InitStoreDatabase(const std::string& connection, bool with_demo_data);

class StoreConnection;

// DatabaseError unless the store has its schema: a database without it names the
// command that creates it (and nothing is created here).
void RequireStoreSchema(StoreConnection& connection);

// The highest migration version applied to the store (0 for an empty database).
int StoreSchemaVersion(const std::string& connection);

}  // namespace recebimento::datamodule
