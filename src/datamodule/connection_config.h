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
  std::string sqlite_file;     // SQLite: the database file
};

// Accepted forms: "sqlite:PATH", "sqlite3://db=PATH [timeout=N]", a bare PATH (SQLite);
// "postgresql:CONNINFO", "postgres:CONNINFO" (libpq key=value), "postgresql://..." and
// "postgres://..." (libpq URI, taken apart here into key=value); "odbc:CONNECT-STRING"
// (MSSQL unless it names an Oracle driver; "odbc-oracle:" forces Oracle). A PostgreSQL
// connection without connect_timeout gets one of 10 s, so an unreachable server never
// hangs a sale. Throws std::invalid_argument for an empty string, an unknown scheme
// ("mysql:host=x": a name followed by ":" is a scheme, a single drive letter is not) and
// a malformed URI.
ConnectionTarget ParseConnectionString(const std::string& connection);

// The connection string as it may be shown or logged: passwords (password=, PWD=, the
// user:password@ of a URI, ?password=) replaced by "****".
std::string MaskConnectionPassword(const std::string& connection);

// How long a statement waits for a lock that another connection holds (an SQLite writer,
// a PostgreSQL row or table lock) before it fails with a clear error: the explicit
// setting, else the environment variable RECEBIMENTO_DB_WAIT_MS, else 5000 ms.
int StoreLockWaitMs();
// A negative value clears the explicit setting.
void SetStoreLockWaitMs(int milliseconds);

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
