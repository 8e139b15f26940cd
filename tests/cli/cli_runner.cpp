#include "cli_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

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

bool RunAndKill(const std::vector<std::string>& args, std::chrono::microseconds delay) {
  using Clock = std::chrono::steady_clock;
  std::vector<std::string> argv_text = {CliPath()};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argv_text) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    ADD_FAILURE() << "cannot start " << argv[0];
    return false;
  }
  const auto deadline = Clock::now() + delay;
  int status = 0;
  while (Clock::now() < deadline) {
    if (waitpid(pid, &status, WNOHANG) == pid) return true;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  ::kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  return WIFEXITED(status);
}

}  // namespace recebimento::testing
