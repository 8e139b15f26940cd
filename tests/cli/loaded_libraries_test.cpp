// A sale on the embedded store needs neither a database server's client nor an HTTP
// library: the command must not load them at its start (they bring Kerberos, LDAP and
// TLS libraries and cost every run their loading).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cli_runner.h"

namespace recebimento::testing {
namespace {

TEST(LoadedLibraries, TheCommandStartsWithoutServerClientsOrHttpLibraries) {
  std::string needed;
  FILE* pipe = popen(("ldd '" + CliPath() + "' 2>&1").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char buffer[512];
  while (fgets(buffer, sizeof buffer, pipe)) needed += buffer;
  ASSERT_EQ(pclose(pipe), 0) << needed;
  ASSERT_NE(needed.find("libsqlite3"), std::string::npos) << needed;
  for (const char* library : {"libpq.so", "libcurl", "libgssapi_krb5", "libldap", "libgnutls", "libsoci_postgresql",
                              "libsoci_odbc", "libodbc"})
    EXPECT_EQ(needed.find(library), std::string::npos) << library << " is loaded at start:\n" << needed;
}

}  // namespace
}  // namespace recebimento::testing
