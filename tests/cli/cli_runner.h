#pragma once
// Runs the built `recebimento` command and captures its exit status and output.
#include <chrono>
#include <string>
#include <vector>

namespace recebimento::testing {

struct CliResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// The command's path under the build tree.
std::string CliPath();
// Runs it with `args` (each passed as one argument), working files in `work_dir`.
CliResult RunCli(const std::vector<std::string>& args, const std::string& work_dir);
// Starts it with `args` (output discarded) and kills it (SIGKILL) after `delay` unless it
// ended first. True when it ended by itself.
bool RunAndKill(const std::vector<std::string>& args, std::chrono::microseconds delay);

}  // namespace recebimento::testing
