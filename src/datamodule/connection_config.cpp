#include "datamodule/connection_config.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <vector>

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

const std::string kMasked = "****";
constexpr int kDefaultLockWaitMs = 5000;
int explicit_lock_wait_ms = -1;

// "postgresql" of "postgresql://..." or "mysql" of "mysql:host=x", lower case; empty
// when the text starts with no scheme (a path, or a Windows drive letter "C:").
std::string SchemeOf(const std::string& c) {
  if (c.empty() || !std::isalpha(static_cast<unsigned char>(c[0]))) return "";
  size_t i = 1;
  while (i < c.size() && (std::isalnum(static_cast<unsigned char>(c[i])) || c[i] == '+' || c[i] == '-' || c[i] == '.'))
    ++i;
  if (i < 2 || i >= c.size() || c[i] != ':') return "";
  return Lower(c.substr(0, i));
}

// SOCI's SQLite backend reads "db=VALUE" up to a blank unless the value is in double
// quotes.
std::string SociQuoted(const std::string& value) {
  if (value.find_first_of(" \t") == std::string::npos) return value;
  if (value.find('"') != std::string::npos) throw std::invalid_argument("SQLite file name with both blanks and quotes");
  return "\"" + value + "\"";
}

// The file of SOCI's own SQLite form ("db=PATH timeout=10", "dbname=\"a b.db\"").
std::string SociSqliteFile(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    const size_t eq = text.find('=', i);
    if (eq == std::string::npos) break;
    const std::string key = Trim(text.substr(i, eq - i));
    size_t value = eq + 1, value_end;
    std::string v;
    if (value < text.size() && text[value] == '"') {
      value_end = text.find('"', value + 1);
      if (value_end == std::string::npos) throw std::invalid_argument("unclosed quote in \"" + text + "\"");
      v = text.substr(value + 1, value_end - value - 1);
      ++value_end;
    } else {
      value_end = value;
      while (value_end < text.size() && !std::isspace(static_cast<unsigned char>(text[value_end]))) ++value_end;
      v = text.substr(value, value_end - value);
    }
    if (key == "db" || key == "dbname") return v;
    i = value_end;
  }
  return "";
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecoded(const std::string& s, const std::string& uri) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '%') {
      out += s[i];
      continue;
    }
    const int hi = i + 2 < s.size() ? HexValue(s[i + 1]) : -1;
    const int lo = hi >= 0 ? HexValue(s[i + 2]) : -1;
    if (lo < 0) throw std::invalid_argument("bad percent-encoding in \"" + MaskConnectionPassword(uri) + "\"");
    out += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return out;
}

// A value as libpq's key=value form wants it: quoted when empty or holding blanks,
// quotes or backslashes.
std::string KeywordValue(const std::string& v) {
  if (!v.empty() && v.find_first_of(" \t'\\") == std::string::npos) return v;
  std::string q = "'";
  for (char c : v) {
    if (c == '\'' || c == '\\') q += '\\';
    q += c;
  }
  return q + "'";
}

// postgresql://[user[:password]@][host][:port][,host[:port]...][/dbname][?key=value&...]
// in libpq's key=value form: a URI handed on as it is is not understood by every layer
// between here and the server.
std::string PostgresUriToKeywords(const std::string& uri) {
  const size_t begin = uri.find("://") + 3;
  std::string rest = uri.substr(begin);
  std::string query;
  if (const size_t q = rest.find('?'); q != std::string::npos) {
    query = rest.substr(q + 1);
    rest.erase(q);
  }
  std::string dbname;
  if (const size_t slash = rest.find('/'); slash != std::string::npos) {
    dbname = rest.substr(slash + 1);
    rest.erase(slash);
  }
  std::string user, password;
  bool has_password = false;
  if (const size_t at = rest.rfind('@'); at != std::string::npos) {
    const std::string userinfo = rest.substr(0, at);
    rest.erase(0, at + 1);
    const size_t colon = userinfo.find(':');
    user = userinfo.substr(0, colon);
    if (colon != std::string::npos) {
      password = userinfo.substr(colon + 1);
      has_password = true;
    }
  }
  std::vector<std::string> hostspecs;
  for (size_t from = 0;;) {
    const size_t comma = rest.find(',', from);
    hostspecs.push_back(rest.substr(from, comma == std::string::npos ? std::string::npos : comma - from));
    if (comma == std::string::npos) break;
    from = comma + 1;
  }
  std::string hosts, ports;
  bool any_host = false, any_port = false;
  for (size_t i = 0; i < hostspecs.size(); ++i) {
    std::string host = hostspecs[i], port;
    if (!host.empty() && host[0] == '[') {
      const size_t close = host.find(']');
      if (close == std::string::npos)
        throw std::invalid_argument("unclosed [ in \"" + MaskConnectionPassword(uri) + "\"");
      port = close + 1 < host.size() && host[close + 1] == ':' ? host.substr(close + 2) : "";
      host = host.substr(1, close - 1);
    } else if (const size_t colon = host.rfind(':'); colon != std::string::npos) {
      port = host.substr(colon + 1);
      host.erase(colon);
    }
    for (char c : port) {
      if (!std::isdigit(static_cast<unsigned char>(c))) {
        throw std::invalid_argument("bad port \"" + port + "\" in \"" + MaskConnectionPassword(uri) + "\"");
      }
    }
    any_host = any_host || !host.empty();
    any_port = any_port || !port.empty();
    hosts += (i > 0 ? "," : "") + PercentDecoded(host, uri);
    ports += (i > 0 ? "," : "") + port;
  }
  std::string out;
  auto add = [&out](const std::string& key, const std::string& value) {
    out += (out.empty() ? "" : " ") + key + "=" + KeywordValue(value);
  };
  if (any_host) add("host", hosts);
  if (any_port) add("port", ports);
  if (!user.empty()) add("user", PercentDecoded(user, uri));
  if (has_password) add("password", PercentDecoded(password, uri));
  if (!dbname.empty()) add("dbname", PercentDecoded(dbname, uri));
  size_t from = 0;
  while (from < query.size()) {
    const size_t amp = std::min(query.find('&', from), query.size());
    const std::string pair = query.substr(from, amp - from);
    from = amp + 1;
    if (pair.empty()) continue;
    const size_t eq = pair.find('=');
    if (eq == std::string::npos || eq == 0) {
      throw std::invalid_argument("bad parameter \"" + pair + "\" in \"" + MaskConnectionPassword(uri) + "\"");
    }
    add(PercentDecoded(pair.substr(0, eq), uri), PercentDecoded(pair.substr(eq + 1), uri));
  }
  if (out.empty()) throw std::invalid_argument("URI without a server or database: \"" + uri + "\"");
  return out;
}

std::string WithConnectTimeout(const std::string& keywords) {
  if (Lower(keywords).find("connect_timeout") != std::string::npos) return keywords;
  return keywords + (keywords.empty() ? "" : " ") + "connect_timeout=10";
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
  const std::string scheme = SchemeOf(connection);
  const std::string rest = scheme.empty() ? connection : connection.substr(scheme.size() + 1);
  if (scheme.empty()) {
    t.backend = "sqlite3";
    t.sqlite_file = connection;
  } else if (scheme == "sqlite" || scheme == "sqlite3") {
    t.backend = "sqlite3";
    if (StartsWith(rest, "//")) {
      // SOCI's own form: "sqlite3://db=PATH timeout=10".
      t.connect_string = rest.substr(2);
      t.sqlite_file = SociSqliteFile(t.connect_string);
    } else {
      t.sqlite_file = rest;
    }
  } else if (scheme == "postgresql" || scheme == "postgres") {
    t.kind = DatabaseKind::PostgreSQL;
    t.backend = "postgresql";
    t.connect_string = WithConnectTimeout(StartsWith(rest, "//") ? PostgresUriToKeywords(connection) : Trim(rest));
  } else if (scheme == "odbc-oracle") {
    t.kind = DatabaseKind::Oracle;
    t.backend = "odbc";
    t.connect_string = rest;
  } else if (scheme == "odbc") {
    t.backend = "odbc";
    t.connect_string = rest;
    t.kind = Lower(t.connect_string).find("oracle") != std::string::npos ? DatabaseKind::Oracle : DatabaseKind::MSSQL;
  } else {
    throw std::invalid_argument("unknown kind of database \"" + scheme + ":\" in the connection \"" +
                                MaskConnectionPassword(connection) +
                                "\" (known: sqlite:, sqlite3://, postgresql:, postgres:, postgresql://, "
                                "postgres://, odbc:, odbc-oracle:, or a bare SQLite file path)");
  }
  if (t.backend == "sqlite3") {
    if (Trim(t.sqlite_file).empty()) {
      throw std::invalid_argument("SQLite connection string without a file: \"" + connection + "\"");
    }
    if (t.connect_string.empty()) t.connect_string = "db=" + SociQuoted(t.sqlite_file);
  }
  if (t.connect_string.empty())
    throw std::invalid_argument("connection string without its details: \"" + connection + "\"");
  return t;
}

std::string MaskConnectionPassword(const std::string& connection) {
  std::string out = connection;
  // The user:password@ of a URI.
  if (const size_t authority = out.find("://"); authority != std::string::npos) {
    const size_t begin = authority + 3;
    const size_t end = std::min(out.find_first_of("/?", begin), out.size());
    const size_t at = out.rfind('@', end - 1);
    if (at != std::string::npos && at >= begin && at < end) {
      const size_t colon = out.find(':', begin);
      if (colon != std::string::npos && colon < at) out.replace(colon + 1, at - colon - 1, kMasked);
    }
  }
  // password=..., PWD=..., in key=value, ODBC and URI query forms.
  for (size_t i = 0; i < out.size(); ++i) {
    const bool starts_key = i == 0 || std::isspace(static_cast<unsigned char>(out[i - 1])) || out[i - 1] == ';' ||
                            out[i - 1] == '?' || out[i - 1] == '&';
    if (!starts_key) continue;
    size_t key_end = i;
    while (key_end < out.size() && (std::isalnum(static_cast<unsigned char>(out[key_end])) || out[key_end] == '_'))
      ++key_end;
    const std::string key = Lower(out.substr(i, key_end - i));
    if (key != "password" && key != "pwd" && key != "pass") continue;
    size_t eq = key_end;
    while (eq < out.size() && out[eq] == ' ') ++eq;
    if (eq >= out.size() || out[eq] != '=') continue;
    size_t value = eq + 1;
    while (value < out.size() && out[value] == ' ') ++value;
    size_t value_end = value;
    if (value < out.size() && (out[value] == '\'' || out[value] == '"' || out[value] == '{')) {
      const char close = out[value] == '{' ? '}' : out[value];
      value_end = value + 1;
      while (value_end < out.size() && out[value_end] != close) value_end += out[value_end] == '\\' ? 2 : 1;
      value_end = std::min(value_end + 1, out.size());
    } else {
      while (value_end < out.size() && !std::isspace(static_cast<unsigned char>(out[value_end])) &&
             out[value_end] != ';' && out[value_end] != '&')
        ++value_end;
    }
    out.replace(value, value_end - value, kMasked);
    i = value + kMasked.size() - 1;
  }
  return out;
}

int StoreLockWaitMs() {
  {
    std::lock_guard<std::mutex> lock(config_mutex);
    if (explicit_lock_wait_ms >= 0) return explicit_lock_wait_ms;
  }
  if (const char* env = std::getenv("RECEBIMENTO_DB_WAIT_MS"); env && *env) {
    char* end = nullptr;
    const long v = std::strtol(env, &end, 10);
    if (end && *end == '\0' && v >= 0 && v <= 600000) return static_cast<int>(v);
  }
  return kDefaultLockWaitMs;
}

void SetStoreLockWaitMs(int milliseconds) {
  std::lock_guard<std::mutex> lock(config_mutex);
  explicit_lock_wait_ms = milliseconds < 0 ? -1 : milliseconds;
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
