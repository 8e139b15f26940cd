#include "datamodule/store_connection.h"

#include <soci/soci.h>
#include <soci/sqlite3/soci-sqlite3.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <ctime>
#include <deque>
#include <filesystem>
#include <mutex>
#include <new>

#include <dlfcn.h>
#include <strings.h>
#include <sys/stat.h>

extern "C" {
soci::backend_factory const* factory_sqlite3();
}

namespace recebimento::datamodule {

namespace {

using base::FieldDef;
using base::FieldType;
using base::Variant;

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Declared column type -> packet field definition.
FieldDef FieldFromDeclared(const std::string& name, const std::string& declared, int length) {
  const std::string t = Upper(declared);
  FieldDef f{name, FieldType::String, 0};
  if (t.find("CHAR") != std::string::npos || t.find("TEXT") != std::string::npos ||
      t.find("CLOB") != std::string::npos) {
    f.size = length;
    if (f.size <= 0) {
      // SQLite keeps the declared size only in the type text: "VARCHAR(16)".
      const auto open = t.find('(');
      if (open != std::string::npos) f.size = std::atoi(t.c_str() + open + 1);
    }
  } else if (t.find("BOOL") != std::string::npos) {
    f.type = FieldType::Boolean;
  } else if (t.find("INT") != std::string::npos) {
    f.type = FieldType::Integer;
  } else if (t.find("NUMERIC") != std::string::npos || t.find("DEC") != std::string::npos ||
             t.find("REAL") != std::string::npos || t.find("FLOA") != std::string::npos ||
             t.find("DOUB") != std::string::npos) {
    f.type = FieldType::Float;
  } else if (t.find("TIME") != std::string::npos || t.find("DATE") != std::string::npos) {
    f.type = FieldType::DateTime;
  }
  return f;
}

FieldType FieldTypeOfSoci(int soci_type) {
  switch (soci_type) {
    case soci::dt_double: return FieldType::Float;
    case soci::dt_integer:
    case soci::dt_long_long:
    case soci::dt_unsigned_long_long: return FieldType::Integer;
    case soci::dt_date: return FieldType::DateTime;
    default: return FieldType::String;
  }
}

std::string DateText(const base::DateTime& d) { return d.Format("yyyy-mm-dd hh:nn:ss"); }

bool ParseNumber(const std::string& text, double& out) {
  const char* b = text.data();
  const char* e = b + text.size();
  while (b < e && std::isspace(static_cast<unsigned char>(*b))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(e[-1]))) --e;
  if (b < e && *b == '+') ++b;
  if (b == e) return false;
  auto [p, ec] = std::from_chars(b, e, out);
  return ec == std::errc() && p == e;
}

Variant ReadValue(const soci::row& r, std::size_t i, const FieldDef& field) {
  if (r.get_indicator(i) == soci::i_null) return Variant::Null();
  const auto& props = r.get_properties(i);
  switch (props.get_data_type()) {
    case soci::dt_string: {
      std::string s = r.get<std::string>(i);
      double d = 0;
      switch (field.type) {
        case FieldType::Float:
          if (ParseNumber(s, d)) return Variant(d);
          break;
        case FieldType::Integer:
          if (ParseNumber(s, d)) return Variant(static_cast<int64_t>(std::llround(d)));
          break;
        case FieldType::DateTime:
          if (auto dt = base::DateTime::Parse(s)) return Variant(*dt);
          if (s.empty()) return Variant::Null();
          break;
        case FieldType::Boolean: return Variant(s == "1" || s == "t" || s == "true" || s == "S");
        default: break;
      }
      return Variant(std::move(s));
    }
    case soci::dt_double: {
      const double d = r.get<double>(i);
      if (field.type == FieldType::Integer) return Variant(static_cast<int64_t>(std::llround(d)));
      if (field.type == FieldType::String) return Variant(Variant(d).AsString());
      return Variant(d);
    }
    case soci::dt_integer:
    case soci::dt_long_long:
    case soci::dt_unsigned_long_long: {
      const int64_t v = props.get_data_type() == soci::dt_integer ? r.get<int>(i)
                        : props.get_data_type() == soci::dt_long_long
                            ? r.get<long long>(i)
                            : static_cast<int64_t>(r.get<unsigned long long>(i));
      if (field.type == FieldType::Float) return Variant(static_cast<double>(v));
      if (field.type == FieldType::String) return Variant(std::to_string(v));
      if (field.type == FieldType::Boolean) return Variant(v != 0);
      return Variant(v);
    }
    case soci::dt_date: {
      const std::tm t = r.get<std::tm>(i);
      return Variant(base::DateTime::FromYMD(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec));
    }
    default: return Variant::Null();
  }
}

// How a value is bound: as text (with a null indicator), as an integer or as a double.
char BindKind(const Variant& v, const std::string& name) {
  switch (v.kind()) {
    case Variant::Kind::Integer: return 'I';
    case Variant::Kind::Double: return 'D';
    case Variant::Kind::Empty:
    case Variant::Kind::Null:
    case Variant::Kind::Bool:
    case Variant::Kind::DateTime:
    case Variant::Kind::String: return 'T';
    default: throw DatabaseError("parameter " + name + " cannot hold a value of type " + v.KindName());
  }
}

const Variant* FindParam(const Params& params, const std::string& name) {
  for (const auto& [n, v] : params) {
    if (n.size() == name.size() && strcasecmp(n.c_str(), name.c_str()) == 0) return &v;
  }
  return nullptr;
}

// An object in the library's own static storage that is never destroyed: code running
// while the process's statics are destroyed may still reach it. It holds nothing on the
// heap once ReleaseProcessWideState (below) has run, so a host that unloads the library
// loses nothing with it.
template <typename T>
T& Undestroyed() {
  alignas(T) static unsigned char storage[sizeof(T)];
  static T* object = new (storage) T;
  return *object;
}

// The server engines' backends loaded so far, by name.
struct LoadedBackends {
  std::mutex mutex;
  std::map<std::string, const soci::backend_factory*> factories;
};

// Never destroyed, like the libraries it names: a connection may still open while the
// process's statics are being destroyed (a test's database dropped at exit).
LoadedBackends& ServerBackends() { return Undestroyed<LoadedBackends>(); }

// The factory of a server engine's backend, loaded the first time a store of that kind
// opens (the embedded engine's is linked in).
const soci::backend_factory& ServerBackend(const std::string& backend) {
  auto& state = ServerBackends();
  std::lock_guard<std::mutex> lock(state.mutex);
  auto& loaded = state.factories;
  if (auto it = loaded.find(backend); it != loaded.end()) return *it->second;
  const std::string library = "libsoci_" + backend + ".so.4.0";
  void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    throw DatabaseError("the " + backend + " database library cannot be loaded (" + library +
                        (backend == "postgresql" ? ", Debian package libsoci-postgresql4.0" : "") +
                        "): " + (why ? why : "not found"));
  }
  using Factory = const soci::backend_factory* (*)();
  auto factory = reinterpret_cast<Factory>(dlsym(handle, ("factory_" + backend).c_str()));
  const soci::backend_factory* f = factory ? factory() : nullptr;
  if (!f) throw DatabaseError("the " + backend + " database library " + library + " has no backend in it");
  loaded.emplace(backend, f);
  return *f;
}

bool SqliteFileExists(const std::string& file) {
  if (file == ":memory:") return true;
  std::error_code ec;
  return std::filesystem::exists(file, ec);
}

}  // namespace

std::vector<std::string> ParameterNames(const std::string& sql) {
  std::vector<std::string> names;
  char quote = 0;
  for (size_t i = 0; i < sql.size(); ++i) {
    const char c = sql[i];
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      while (i < sql.size() && sql[i] != '\n') ++i;
    } else if (c == ':' && i + 1 < sql.size() &&
               (std::isalpha(static_cast<unsigned char>(sql[i + 1])) || sql[i + 1] == '_') &&
               (i == 0 || sql[i - 1] != ':')) {
      size_t j = i + 1;
      while (j < sql.size() && IsIdentChar(sql[j])) ++j;
      std::string name = sql.substr(i + 1, j - i - 1);
      if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
      i = j - 1;
    } else if (c == ':' && i + 1 < sql.size() && sql[i + 1] == ':') {
      ++i;  // a PostgreSQL cast
    }
  }
  return names;
}

StoreConnection::StoreConnection(std::function<std::string()> connection_string)
    : connection_string_(std::move(connection_string)), lock_wait_ms_(StoreLockWaitMs()) {}

std::string StoreConnection::Describe() const {
  try {
    return MaskConnectionPassword(connection_string_());
  } catch (const std::exception&) {
    return "";
  }
}

StoreConnection::~StoreConnection() {
  try {
    if (in_transaction_ && Connected()) Rollback();
  } catch (...) {
  }
  Keep();
}

// Sessions of connections that are done, kept for the next connection of the process to
// the same store. The host calls Recebimento once per sale and each call has its own data
// module; opening the store anew for each (the engine reading the store's schema, every
// statement prepared again) costs more than the sale's own queries.
struct StoreConnection::Kept {
  std::string connection;
  int lock_wait_ms = 0;
  ConnectionTarget target;
  dev_t file_device = 0;
  ino_t file_inode = 0;
  std::unique_ptr<soci::session> session;
  std::unordered_map<std::string, std::unique_ptr<PreparedText>> prepared;  // after the session: goes first
};

namespace {

// A register uses one store; a few kept sessions serve a process that opens several at
// once. The shelf is never destroyed; its sessions close when the library is unloaded or
// the process ends, and a connection done after that closes its own.
constexpr size_t kMostKeptSessions = 4;

template <typename T>
struct KeptShelf {
  std::mutex mutex;
  std::vector<std::unique_ptr<T>> sessions;
  bool closed = false;
};

template <typename T>
KeptShelf<T>& Shelf() {
  return Undestroyed<KeptShelf<T>>();
}

// An SQLite statement left busy (a query not read to its end) would hold its read lock
// while the session waits on the shelf, and another register could not write.
void ResetBusyStatements(soci::session& session) {
  if (session.get_backend_name() != "sqlite3") return;
  auto* backend = static_cast<soci::sqlite3_session_backend*>(session.get_backend());
  if (!backend || !backend->conn_) return;
  for (auto* st = sqlite_api::sqlite3_next_stmt(backend->conn_, nullptr); st;
       st = sqlite_api::sqlite3_next_stmt(backend->conn_, st)) {
    if (sqlite_api::sqlite3_stmt_busy(st)) sqlite_api::sqlite3_reset(st);
  }
}

bool SameFile(const std::string& path, dev_t device, ino_t inode) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && st.st_dev == device && st.st_ino == inode;
}

}  // namespace

void StoreConnection::Keep() noexcept {
  try {
    if (!session_ || in_transaction_) return;
    // Only the embedded store's: a server's session kept idle would hold its database
    // (a database with sessions cannot be copied or dropped), and connecting to a server
    // is the server's cost, not the engine's. An in-memory store is its session's own.
    if (target_.kind != DatabaseKind::SQLite || file_inode_ == 0) return;
    ResetBusyStatements(*session_);
    auto kept = std::make_unique<Kept>();
    kept->connection = connection_;
    kept->lock_wait_ms = lock_wait_ms_;
    kept->target = target_;
    kept->file_device = file_device_;
    kept->file_inode = file_inode_;
    kept->session = std::move(session_);
    column_types_.clear();
    kept->prepared = std::move(prepared_);
    auto& shelf = Shelf<Kept>();
    std::lock_guard<std::mutex> lock(shelf.mutex);
    if (shelf.closed) return;  // the kept session closes here
    if (shelf.sessions.size() >= kMostKeptSessions) shelf.sessions.erase(shelf.sessions.begin());
    shelf.sessions.push_back(std::move(kept));
  } catch (...) {
    // Not kept: the session closes as it would have.
  }
}

void StoreConnection::CloseKeptSessions(bool keep_none_after) noexcept {
  std::vector<std::unique_ptr<Kept>> closing;
  {
    auto& shelf = Shelf<Kept>();
    std::lock_guard<std::mutex> lock(shelf.mutex);
    if (keep_none_after) shelf.closed = true;
    closing.swap(shelf.sessions);
  }
  closing.clear();  // outside the lock: closing a session may wait on the disk
}

namespace {

// Runs when the library is unloaded (a host may unload it between sales) or the process
// ends: the kept sessions close (their store files with them) and the table of loaded
// backends lets its memory go, so nothing is left behind that only the library could reach.
struct ReleaseProcessWideState {
  ~ReleaseProcessWideState() {
    StoreConnection::CloseKeptSessions(/*keep_none_after=*/true);
    auto& backends = ServerBackends();
    std::lock_guard<std::mutex> lock(backends.mutex);
    std::map<std::string, const soci::backend_factory*>().swap(backends.factories);
  }
} release_process_wide_state;

}  // namespace

bool StoreConnection::TakeKept(const std::string& connection) {
  std::unique_ptr<Kept> kept;
  {
    auto& shelf = Shelf<Kept>();
    std::lock_guard<std::mutex> lock(shelf.mutex);
    for (auto it = shelf.sessions.begin(); it != shelf.sessions.end(); ++it) {
      if ((*it)->connection == connection && (*it)->lock_wait_ms == lock_wait_ms_) {
        kept = std::move(*it);
        shelf.sessions.erase(it);
        break;
      }
    }
  }
  if (!kept) return false;
  // Still the same store: a path that now names another file (restored from a copy,
  // created again) or none gets a fresh session; the kept one closes here.
  if (!SameFile(kept->target.sqlite_file, kept->file_device, kept->file_inode)) return false;
  target_ = kept->target;
  connection_ = std::move(kept->connection);
  file_device_ = kept->file_device;
  file_inode_ = kept->file_inode;
  prepared_.clear();
  session_ = std::move(kept->session);
  prepared_ = std::move(kept->prepared);
  // Read again on the first query (from the process's copy while the schema's version is
  // the same): the store may have been migrated meanwhile.
  column_types_.clear();
  in_transaction_ = false;
  return true;
}

void StoreConnection::Open() {
  if (Connected()) return;
  // Before connect: the string is fetched anew each time.
  const std::string connection = connection_string_();
  try {
    target_ = ParseConnectionString(connection);
  } catch (const std::exception& e) {
    throw DatabaseError(std::string("invalid database connection: ") + e.what());
  }
  if (target_.backend == "sqlite3" && !create_missing_ && !SqliteFileExists(target_.sqlite_file)) {
    // Never a new empty file in place of the store: a sale recorded in it would be lost
    // to the store, which is worse than no sale.
    throw DatabaseError("no store database at \"" + target_.sqlite_file +
                        "\"; create it with: recebimento db init --db sqlite:" + target_.sqlite_file);
  }
  lock_wait_ms_ = StoreLockWaitMs();
  if (TakeKept(connection)) return;
  auto s = std::make_unique<soci::session>();
  try {
    if (target_.backend == "sqlite3") {
      s->open(*factory_sqlite3(), target_.connect_string);
    } else {
      s->open(ServerBackend(target_.backend), target_.connect_string);
    }
  } catch (const std::exception& e) {
    throw DatabaseError(std::string("cannot connect to the ") + DatabaseKindName(target_.kind) +
                        " store database: " + e.what());
  }
  prepared_.clear();
  session_ = std::move(s);
  in_transaction_ = false;
  column_types_.clear();
  connection_ = connection;
  file_device_ = 0;
  file_inode_ = 0;
  if (target_.kind == DatabaseKind::SQLite) {
    struct stat st {};
    if (target_.sqlite_file != ":memory:" && ::stat(target_.sqlite_file.c_str(), &st) == 0) {
      file_device_ = st.st_dev;
      file_inode_ = st.st_ino;
    }
  }
  // After connect: the session settings (SetADODBSession).
  // A lock another connection holds is waited for a bounded time, never for as long as
  // it is held.
  try {
    if (target_.kind == DatabaseKind::SQLite) {
      ExecuteRaw("PRAGMA busy_timeout = " + std::to_string(lock_wait_ms_));
    } else if (target_.kind == DatabaseKind::PostgreSQL) {
      ExecuteRaw("SET client_encoding TO 'UTF8'");
      ExecuteRaw("SET datestyle TO 'ISO, YMD'");
      ExecuteRaw("SET client_min_messages TO WARNING");
      ExecuteRaw("SET lock_timeout = " + std::to_string(lock_wait_ms_));
    }
  } catch (const std::exception& e) {
    prepared_.clear();
    session_.reset();
    throw DatabaseError(std::string("cannot prepare the database session: ") + e.what());
  }
}

void StoreConnection::Close() {
  prepared_.clear();
  session_.reset();
  in_transaction_ = false;
  column_types_.clear();
}

bool StoreConnection::Connected() const { return session_ != nullptr; }

DatabaseKind StoreConnection::Kind() const {
  if (Connected()) return target_.kind;
  try {
    return ParseConnectionString(connection_string_()).kind;
  } catch (const std::exception&) {
    return DatabaseKind::SQLite;
  }
}

soci::session& StoreConnection::Session() {
  Open();
  return *session_;
}

void StoreConnection::ExecuteRaw(const std::string& sql) {
  if (!session_) Open();
  *session_ << sql;
}

namespace {

// Every column of the SQLite store's tables and views with its declared type, in one
// statement.
void ReadSqliteColumnTypes(soci::session& s, std::map<std::string, FieldDef>& types) {
  soci::rowset<soci::row> cols =
      (s.prepare << "SELECT p.name, p.type FROM sqlite_master m JOIN pragma_table_info(m.name) p "
                    "WHERE m.type IN ('table','view')");
  for (const auto& c : cols) {
    const std::string name = Upper(c.get<std::string>(0));
    const std::string type = c.get_indicator(1) == soci::i_null ? "" : c.get<std::string>(1);
    types.emplace(name, FieldFromDeclared(name, type, 0));
  }
}

}  // namespace

// Column types read from an SQLite store's schema, kept for the process: a store's schema
// changes only with its version, and reading it costs more than a sale's queries.
struct SqliteColumnTypesCache {
  std::mutex mutex;
  std::map<std::string, std::map<std::string, FieldDef>> by_store;  // file + schema version -> types
};

SqliteColumnTypesCache& SqliteColumnTypes() {
  static SqliteColumnTypesCache cache;
  return cache;
}

void StoreConnection::LoadColumnTypes() {
  column_types_.clear();
  soci::session& s = Session();
  // An in-memory store is a new one each time it opens: nothing to keep.
  if (target_.kind == DatabaseKind::SQLite && target_.sqlite_file != ":memory:") {
    int version = 0;
    s << "PRAGMA schema_version", soci::into(version);
    const std::string key = target_.sqlite_file + "#" + std::to_string(version);
    SqliteColumnTypesCache& cache = SqliteColumnTypes();
    {
      std::lock_guard<std::mutex> lock(cache.mutex);
      if (auto it = cache.by_store.find(key); it != cache.by_store.end()) {
        column_types_ = it->second;
        return;
      }
    }
    ReadSqliteColumnTypes(s, column_types_);
    if (column_types_.empty()) column_types_.emplace("", FieldDef{});  // loaded, nothing known
    std::lock_guard<std::mutex> lock(cache.mutex);
    if (cache.by_store.size() >= 64) cache.by_store.clear();  // many stores: tests, not a register
    cache.by_store.emplace(key, column_types_);
    return;
  }
  if (target_.kind == DatabaseKind::SQLite) {
    ReadSqliteColumnTypes(s, column_types_);
  } else if (target_.kind == DatabaseKind::PostgreSQL) {
    soci::rowset<soci::row> cols =
        (s.prepare << "SELECT column_name, data_type, COALESCE(character_maximum_length, 0) "
                      "FROM information_schema.columns WHERE table_schema = current_schema()");
    for (const auto& c : cols) {
      const std::string name = Upper(c.get<std::string>(0));
      column_types_.emplace(name, FieldFromDeclared(name, c.get<std::string>(1), c.get<int>(2)));
    }
  }
  if (column_types_.empty()) column_types_.emplace("", FieldDef{});  // loaded, nothing known
}

FieldDef StoreConnection::DescribeColumn(const Statement& statement, const std::string& name, int soci_type) {
  for (const auto& [col, type] : statement.column_types) {
    if (Upper(col) == name) return FieldDef{name, type, type == FieldType::String ? 255 : 0};
  }
  if (auto it = column_types_.find(name); it != column_types_.end()) return it->second;
  FieldDef f{name, FieldTypeOfSoci(soci_type), 0};
  if (f.type == FieldType::String) f.size = 255;
  return f;
}

// One statement prepared with parameters of given kinds; the values it is bound to live
// here, at fixed addresses, and are set anew before each run.
struct StoreConnection::Prepared {
  std::string kinds;          // 'T', 'I' or 'D' for each parameter; then 'Q' for a query, 'E' else
  std::vector<size_t> slots;  // each parameter's place in its kind's values
  std::deque<std::string> texts;
  std::deque<soci::indicator> indicators;
  std::deque<long long> integers;
  std::deque<double> doubles;
  soci::row row;
  std::vector<FieldDef> fields;
  bool described = false;
  std::unique_ptr<soci::statement> st;  // last: it goes before the values it reads
};

struct StoreConnection::PreparedText {
  std::vector<std::string> names;  // parameters in order of first appearance
  std::vector<std::unique_ptr<Prepared>> variants;
};

void StoreConnection::RefreshColumnTypes() {
  column_types_.clear();
  prepared_.clear();
}

void StoreConnection::Forget(const std::string& sql) { prepared_.erase(sql); }

StoreConnection::Prepared& StoreConnection::Bound(const Statement& statement, const std::string& sql,
                                                  const Params& params, bool query) {
  // A store's statements are few; texts made up at run time must not pile up.
  constexpr size_t kMostTexts = 512;
  auto it = prepared_.find(sql);
  if (it == prepared_.end()) {
    if (prepared_.size() >= kMostTexts) prepared_.clear();
    auto text = std::make_unique<PreparedText>();
    text->names = ParameterNames(sql);
    it = prepared_.emplace(sql, std::move(text)).first;
  }
  PreparedText& text = *it->second;
  std::vector<const Variant*> values;
  values.reserve(text.names.size());
  std::string kinds;
  kinds.reserve(text.names.size() + 1);
  for (const auto& name : text.names) {
    const Variant* v = FindParam(params, name);
    if (!v) throw DatabaseError("statement " + statement.name + ": no value for parameter " + name);
    values.push_back(v);
    kinds.push_back(BindKind(*v, name));
  }
  kinds.push_back(query ? 'Q' : 'E');

  Prepared* p = nullptr;
  for (const auto& v : text.variants)
    if (v->kinds == kinds) p = v.get();
  if (!p) {
    auto fresh = std::make_unique<Prepared>();
    fresh->kinds = kinds;
    fresh->st = std::make_unique<soci::statement>(*session_);
    soci::statement& st = *fresh->st;
    if (query) st.exchange(soci::into(fresh->row));
    for (size_t i = 0; i < text.names.size(); ++i) {
      const std::string& name = text.names[i];
      switch (kinds[i]) {
        case 'I':
          fresh->slots.push_back(fresh->integers.size());
          fresh->integers.emplace_back();
          st.exchange(soci::use(fresh->integers.back(), name));
          break;
        case 'D':
          fresh->slots.push_back(fresh->doubles.size());
          fresh->doubles.emplace_back();
          st.exchange(soci::use(fresh->doubles.back(), name));
          break;
        default:
          fresh->slots.push_back(fresh->texts.size());
          fresh->texts.emplace_back();
          fresh->indicators.push_back(soci::i_ok);
          st.exchange(soci::use(fresh->texts.back(), fresh->indicators.back(), name));
      }
    }
    st.alloc();
    st.prepare(sql);
    st.define_and_bind();
    text.variants.push_back(std::move(fresh));
    p = text.variants.back().get();
  }

  for (size_t i = 0; i < values.size(); ++i) {
    const Variant& v = *values[i];
    const size_t slot = p->slots[i];
    switch (p->kinds[i]) {
      case 'I': p->integers[slot] = v.AsInteger(); break;
      case 'D': p->doubles[slot] = v.AsFloat(); break;
      default: {
        std::string& t = p->texts[slot];
        p->indicators[slot] = soci::i_ok;
        switch (v.kind()) {
          case Variant::Kind::Empty:
          case Variant::Kind::Null:
            t.clear();
            p->indicators[slot] = soci::i_null;
            break;
          case Variant::Kind::Bool: t = v.AsBoolean() ? "S" : "N"; break;
          case Variant::Kind::DateTime: t = DateText(v.AsDateTime()); break;
          default: t = v.AsString();
        }
      }
    }
  }
  return *p;
}

base::DataPacket StoreConnection::Query(const Statement& statement, const Params& params) {
  Open();
  if (column_types_.empty()) LoadColumnTypes();
  const std::string& sql = statement.TextFor(target_.kind);
  Prepared& p = Bound(statement, sql, params, true);
  base::DataPacket packet;
  try {
    bool more = p.st->execute(true);
    const soci::row& r = p.row;
    // Columns the statement itself types may differ between statements of one text.
    if (!p.described || !statement.column_types.empty()) {
      p.fields.clear();
      for (std::size_t i = 0; i < r.size(); ++i) {
        const auto& props = r.get_properties(i);
        p.fields.push_back(DescribeColumn(statement, Upper(props.get_name()), props.get_data_type()));
      }
      p.described = true;
    }
    packet.fields = p.fields;
    while (more) {
      std::vector<Variant> values;
      values.reserve(r.size());
      for (std::size_t i = 0; i < r.size(); ++i) values.push_back(ReadValue(r, i, packet.fields[i]));
      packet.rows.push_back(std::move(values));
      more = p.st->fetch();
    }
  } catch (...) {
    // A statement that failed half way is not run again: the next call prepares afresh.
    Forget(sql);
    throw;
  }
  return packet;
}

long long StoreConnection::Execute(const Statement& statement, const Params& params) {
  Open();
  const std::string& sql = statement.TextFor(target_.kind);
  Prepared& p = Bound(statement, sql, params, false);
  try {
    p.st->execute(true);
    return p.st->get_affected_rows();
  } catch (...) {
    Forget(sql);
    throw;
  }
}

void StoreConnection::Begin(bool immediate) {
  Open();
  ExecuteRaw(immediate && target_.kind == DatabaseKind::SQLite ? "BEGIN IMMEDIATE" : "BEGIN");
  in_transaction_ = true;
}

void StoreConnection::Commit() {
  in_transaction_ = false;
  ExecuteRaw("COMMIT");
}

void StoreConnection::Rollback() {
  in_transaction_ = false;
  if (session_) ExecuteRaw("ROLLBACK");
}

bool StoreConnection::CheckAfterFailure() {
  if (!session_) return false;
  bool alive = true;
  try {
    alive = session_->is_connected();
  } catch (...) {
    alive = false;
  }
  if (!alive) Close();
  return !alive;
}

bool IsLockTimeout(const std::string& text) {
  // SQLite: SQLITE_BUSY once the busy timeout ran out; PostgreSQL: lock_timeout (55P03).
  return text.find("database is locked") != std::string::npos ||
         text.find("database table is locked") != std::string::npos || text.find("lock timeout") != std::string::npos ||
         text.find("55P03") != std::string::npos;
}

std::string ADOExceptionMessage(const std::exception& error, const StoreConnection& connection,
                                const std::string& operation) {
  std::string text = error.what();
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
  if (IsLockTimeout(text)) {
    const int ms = connection.LockWaitMs();
    std::string waited = std::to_string(ms / 1000);
    if (ms % 1000 != 0) waited += "," + std::to_string(ms % 1000 / 100);
    text = "o banco de dados está ocupado por outro caixa ou processo (aguardou " + waited + " s). Tente novamente. [" +
           text + "]";
  }
  std::string result = std::string("Erro no banco de dados (") + DatabaseKindName(connection.Kind()) + "): " + text;
  if (!operation.empty()) result += " [" + operation + "]";
  return result;
}

}  // namespace recebimento::datamodule
