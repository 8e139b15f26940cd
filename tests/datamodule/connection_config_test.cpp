#include "datamodule/connection_config.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace recebimento::testing {
namespace {

using datamodule::DatabaseKind;
using datamodule::ParseConnectionString;

TEST(ConnectionString, FormsAndKinds) {
  auto t = ParseConnectionString("sqlite:/tmp/a b.db");
  EXPECT_EQ(t.kind, DatabaseKind::SQLite);
  EXPECT_EQ(t.sqlite_file, "/tmp/a b.db");
  EXPECT_EQ(t.connect_string, "db=\"/tmp/a b.db\"") << "SOCI cuts an unquoted value at the blank";
  EXPECT_EQ(ParseConnectionString("store.db").connect_string, "db=store.db");
  EXPECT_EQ(ParseConnectionString("C:\\pdv\\store.db").sqlite_file, "C:\\pdv\\store.db") << "a drive letter";
  t = ParseConnectionString("sqlite3://db=/tmp/x.db timeout=10");
  EXPECT_EQ(t.connect_string, "db=/tmp/x.db timeout=10");
  EXPECT_EQ(t.sqlite_file, "/tmp/x.db");
  EXPECT_EQ(ParseConnectionString("sqlite3://dbname=\"/tmp/a b.db\"").sqlite_file, "/tmp/a b.db");
  t = ParseConnectionString(" postgresql:host=h dbname=d ");
  EXPECT_EQ(t.kind, DatabaseKind::PostgreSQL);
  EXPECT_EQ(t.connect_string, "host=h dbname=d connect_timeout=10") << "an unreachable server must not hang a sale";
  EXPECT_EQ(ParseConnectionString("postgres:dbname=d connect_timeout=3").connect_string, "dbname=d connect_timeout=3");
  EXPECT_EQ(ParseConnectionString("odbc:DSN=x").kind, DatabaseKind::MSSQL);
  EXPECT_EQ(ParseConnectionString("odbc:Driver={Oracle in XE};DBQ=x").kind, DatabaseKind::Oracle);
  EXPECT_EQ(ParseConnectionString("odbc-oracle:DSN=x").kind, DatabaseKind::Oracle);
  EXPECT_THROW(ParseConnectionString("  "), std::invalid_argument);
  EXPECT_THROW(ParseConnectionString("sqlite:"), std::invalid_argument);
}

// libpq URIs are taken apart here: handed on whole, the database came out as "pos=".
TEST(ConnectionString, PostgresUrisBecomeKeywordForms) {
  auto keywords = [](const std::string& uri) { return ParseConnectionString(uri).connect_string; };
  EXPECT_EQ(keywords("postgresql://postgres@127.0.0.1:5432/pos"),
            "host=127.0.0.1 port=5432 user=postgres dbname=pos connect_timeout=10");
  EXPECT_EQ(keywords("postgres://u:p%40ss%20w@h/d"), "host=h user=u password='p@ss w' dbname=d connect_timeout=10");
  EXPECT_EQ(keywords("postgresql://h1:5432,h2:5433/loja?sslmode=disable&application_name=pdv%201"),
            "host=h1,h2 port=5432,5433 dbname=loja sslmode=disable application_name='pdv 1' connect_timeout=10");
  EXPECT_EQ(keywords("postgresql://[::1]:5544/d"), "host=::1 port=5544 dbname=d connect_timeout=10");
  EXPECT_EQ(keywords("postgresql:///d?host=%2Fvar%2Frun"), "dbname=d host=/var/run connect_timeout=10");
  EXPECT_EQ(keywords("postgresql://u:it's@h/d"), "host=h user=u password='it\\'s' dbname=d connect_timeout=10");
  EXPECT_THROW(ParseConnectionString("postgresql://h:port/d"), std::invalid_argument);
  EXPECT_THROW(ParseConnectionString("postgresql://h/d?novalue"), std::invalid_argument);
  EXPECT_THROW(ParseConnectionString("postgresql://h/%zz"), std::invalid_argument);
}

TEST(ConnectionString, UnknownSchemesAreRefusedNotTakenForFileNames) {
  for (const char* c : {"mysql:host=x", "mssql://sa@h/db", "file:store.db", "sqlserver:x"}) {
    try {
      ParseConnectionString(c);
      ADD_FAILURE() << c << " was accepted";
    } catch (const std::invalid_argument& e) {
      EXPECT_NE(std::string(e.what()).find("unknown kind of database"), std::string::npos) << e.what();
    }
  }
  try {
    ParseConnectionString("mysql://u:secret@h/d");
  } catch (const std::invalid_argument& e) {
    EXPECT_EQ(std::string(e.what()).find("secret"), std::string::npos) << "no password in the message: " << e.what();
  }
}

TEST(ConnectionString, PasswordsAreMaskedInEveryForm) {
  using datamodule::MaskConnectionPassword;
  EXPECT_EQ(MaskConnectionPassword("postgresql:host=h user=u password=s3cr3t dbname=d"),
            "postgresql:host=h user=u password=**** dbname=d");
  EXPECT_EQ(MaskConnectionPassword("postgresql:host=h password = 'a b' dbname=d"),
            "postgresql:host=h password = **** dbname=d");
  EXPECT_EQ(MaskConnectionPassword("postgresql://u:s3cr3t@h:5432/d"), "postgresql://u:****@h:5432/d");
  EXPECT_EQ(MaskConnectionPassword("postgresql://u@h/d?password=s3cr3t&sslmode=require"),
            "postgresql://u@h/d?password=****&sslmode=require");
  EXPECT_EQ(MaskConnectionPassword("odbc:DSN=loja;UID=sa;PWD=s3cr3t;"), "odbc:DSN=loja;UID=sa;PWD=****;");
  EXPECT_EQ(MaskConnectionPassword("odbc:Driver={x};Password={s3;cr3t};"), "odbc:Driver={x};Password=****;");
  EXPECT_EQ(MaskConnectionPassword("sqlite:/srv/pdv/password.db"), "sqlite:/srv/pdv/password.db");
}

TEST(ConnectionString, LockWaitIsBoundedAndConfigurable) {
  unsetenv("RECEBIMENTO_DB_WAIT_MS");
  datamodule::SetStoreLockWaitMs(-1);
  EXPECT_EQ(datamodule::StoreLockWaitMs(), 5000);
  setenv("RECEBIMENTO_DB_WAIT_MS", "250", 1);
  EXPECT_EQ(datamodule::StoreLockWaitMs(), 250);
  setenv("RECEBIMENTO_DB_WAIT_MS", "forever", 1);
  EXPECT_EQ(datamodule::StoreLockWaitMs(), 5000) << "a bad setting falls back to the default";
  datamodule::SetStoreLockWaitMs(40);
  EXPECT_EQ(datamodule::StoreLockWaitMs(), 40);
  datamodule::SetStoreLockWaitMs(-1);
  unsetenv("RECEBIMENTO_DB_WAIT_MS");
}

TEST(ConnectionString, ExplicitThenEnvironmentThenHostFolder) {
  datamodule::SetStringConexZem("");
  datamodule::SetHostFolder("/srv/pdv");
  unsetenv("RECEBIMENTO_DB");
  EXPECT_EQ(datamodule::_GetStringConexZem(""), "sqlite:/srv/pdv/Dados/recebimento.db");
  setenv("RECEBIMENTO_DB", "postgresql:dbname=env", 1);
  EXPECT_EQ(datamodule::_GetStringConexZem(""), "postgresql:dbname=env");
  EXPECT_EQ(datamodule::_UsedDatabase(), "POSTGRESQL");
  datamodule::SetStringConexZem("sqlite:/x.db");
  EXPECT_EQ(datamodule::_GetStringConexZem(""), "sqlite:/x.db");
  datamodule::SetStringConexZem("");
  unsetenv("RECEBIMENTO_DB");
  datamodule::SetHostFolder("");
}

}  // namespace
}  // namespace recebimento::testing
