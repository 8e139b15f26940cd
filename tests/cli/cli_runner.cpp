#include "cli_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

extern char** environ;

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

int StartCli(const std::vector<std::string>& args) {
  std::vector<std::string> texts = {CliPath()};
  texts.insert(texts.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& t : texts) argv.push_back(t.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
}

bool CliRunning(int pid) {
  int status = 0;
  return waitpid(pid, &status, WNOHANG) == 0;
}

void KillCli(int pid) {
  ::kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
}

}  // namespace recebimento::testing
