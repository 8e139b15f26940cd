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
  EXPECT_EQ(t.connect_string, "db=/tmp/a b.db");
  EXPECT_EQ(ParseConnectionString("store.db").connect_string, "db=store.db");
  t = ParseConnectionString(" postgresql:host=h dbname=d ");
  EXPECT_EQ(t.kind, DatabaseKind::PostgreSQL);
  EXPECT_EQ(t.connect_string, "host=h dbname=d");
  EXPECT_EQ(ParseConnectionString("postgresql://u@h/d").connect_string, "postgresql://u@h/d");
  EXPECT_EQ(ParseConnectionString("odbc:DSN=x").kind, DatabaseKind::MSSQL);
  EXPECT_EQ(ParseConnectionString("odbc:Driver={Oracle in XE};DBQ=x").kind, DatabaseKind::Oracle);
  EXPECT_THROW(ParseConnectionString("  "), std::invalid_argument);
  EXPECT_THROW(ParseConnectionString("sqlite:"), std::invalid_argument);
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
