#include "cli_runner.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace recebimento::testing {

namespace {

std::string Quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

std::string CliPath() { return std::string(RECEBIMENTO_BINARY_DIR) + "/app/cli/recebimento"; }

CliResult RunCli(const std::vector<std::string>& args, const std::string& work_dir) {
  std::string command = Quoted(CliPath());
  for (const auto& a : args) command += " " + Quoted(a);
  const std::string out = work_dir + "/cli.out", err = work_dir + "/cli.err";
  command += " >" + Quoted(out) + " 2>" + Quoted(err);
  const int status = std::system(command.c_str());
  CliResult r;
  r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = ReadAll(out);
  r.err = ReadAll(err);
  return r;
}

}  // namespace recebimento::testing
