#include "datamodule/connection_config.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <stdexcept>

namespace recebimento::datamodule {

namespace {

std::mutex config_mutex;
std::string explicit_connection;
std::string host_folder = ".";

bool StartsWith(const std::string& s, const std::string& prefix) {
  return s.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), s.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         });
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

}  // namespace

const char* DatabaseKindName(DatabaseKind kind) {
  switch (kind) {
    case DatabaseKind::SQLite: return "SQLITE";
    case DatabaseKind::PostgreSQL: return "POSTGRESQL";
    case DatabaseKind::MSSQL: return "MSSQL";
    case DatabaseKind::Oracle: return "ORACLE";
  }
  return "SQLITE";
}

ConnectionTarget ParseConnectionString(const std::string& raw) {
  const std::string connection = Trim(raw);
  if (connection.empty()) throw std::invalid_argument("empty database connection string");
  ConnectionTarget t;
  if (StartsWith(connection, "sqlite3://")) {
    t.backend = "sqlite3";
    t.connect_string = connection.substr(10);
  } else if (StartsWith(connection, "sqlite3:") || StartsWith(connection, "sqlite:")) {
    t.backend = "sqlite3";
    t.connect_string = "db=" + connection.substr(connection.find(':') + 1);
  } else if (StartsWith(connection, "postgresql://") || StartsWith(connection, "postgres://")) {
    t.kind = DatabaseKind::PostgreSQL;
    t.backend = "postgresql";
    t.connect_string = connection;  // libpq reads the URI itself
  } else if (StartsWith(connection, "postgresql:") || StartsWith(connection, "postgres:")) {
    t.kind = DatabaseKind::PostgreSQL;
    t.backend = "postgresql";
    t.connect_string = connection.substr(connection.find(':') + 1);
  } else if (StartsWith(connection, "odbc-oracle:")) {
    t.kind = DatabaseKind::Oracle;
    t.backend = "odbc";
    t.connect_string = connection.substr(12);
  } else if (StartsWith(connection, "odbc:")) {
    t.backend = "odbc";
    t.connect_string = connection.substr(5);
    t.kind = Lower(t.connect_string).find("oracle") != std::string::npos ? DatabaseKind::Oracle : DatabaseKind::MSSQL;
  } else {
    t.backend = "sqlite3";
    t.connect_string = "db=" + connection;
  }
  if (t.backend == "sqlite3" && t.connect_string == "db=") {
    throw std::invalid_argument("SQLite connection string without a file: \"" + connection + "\"");
  }
  return t;
}

std::string _GetStringConexZem(const std::string& /*name*/) {
  std::lock_guard<std::mutex> lock(config_mutex);
  if (!explicit_connection.empty()) return explicit_connection;
  if (const char* env = std::getenv("RECEBIMENTO_DB"); env && *env) return env;
  return "sqlite:" + (std::filesystem::path(host_folder) / "Dados" / "recebimento.db").string();
}

void SetStringConexZem(const std::string& connection) {
  std::lock_guard<std::mutex> lock(config_mutex);
  explicit_connection = Trim(connection);
}

void SetHostFolder(const std::string& folder) {
  std::lock_guard<std::mutex> lock(config_mutex);
  host_folder = folder.empty() ? "." : folder;
}

std::string HostFolder() {
  std::lock_guard<std::mutex> lock(config_mutex);
  return host_folder;
}

std::string _UsedDatabase() {
  try {
    return DatabaseKindName(ParseConnectionString(_GetStringConexZem("")).kind);
  } catch (const std::exception&) {
    return DatabaseKindName(DatabaseKind::SQLite);
  }
}

}  // namespace recebimento::datamodule
