#pragma once
// Where the store database is: the connection string (_GetStringConexZem) and what kind
// of database a connection string names (_UsedDatabase).
#include <string>

namespace recebimento::datamodule {

enum class DatabaseKind { SQLite, PostgreSQL, MSSQL, Oracle };

// "SQLITE", "POSTGRESQL", "MSSQL", "ORACLE".
const char* DatabaseKindName(DatabaseKind kind);

// A connection string taken apart: which SOCI backend opens it and with what text.
struct ConnectionTarget {
  DatabaseKind kind = DatabaseKind::SQLite;
  std::string backend;         // "sqlite3", "postgresql", "odbc"
  std::string connect_string;  // the backend's own connection text
};

// Accepted forms: "sqlite:PATH", "sqlite3://db=PATH", a bare PATH (SQLite);
// "postgresql:CONNINFO", "postgres:CONNINFO", "postgresql://..." (libpq URI);
// "odbc:CONNECT-STRING" (MSSQL unless it names an Oracle driver; "odbc-oracle:" forces
// Oracle). Throws std::invalid_argument for an empty string.
ConnectionTarget ParseConnectionString(const std::string& connection);

// The configured connection: the explicit setting when given (the command line's --db),
// else the environment variable RECEBIMENTO_DB, else "sqlite:<host folder>/Dados/
// recebimento.db". The name selects nothing yet: stores have one database.
std::string _GetStringConexZem(const std::string& name);

// The explicit setting; an empty text clears it.
void SetStringConexZem(const std::string& connection);
// The host program's folder (default: the current folder).
void SetHostFolder(const std::string& folder);
std::string HostFolder();

// The kind of database the configured connection names.
std::string _UsedDatabase();

}  // namespace recebimento::datamodule
