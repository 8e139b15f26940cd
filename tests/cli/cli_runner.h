#pragma once
// Runs the built `recebimento` command and captures its exit status and output.
#include <chrono>
#include <functional>
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

// Starts the command (output discarded) and kills it (SIGKILL) as soon as `kill_now`
// holds, or once `patience` has passed; true when it ended by itself first.
bool RunAndKillWhen(const std::vector<std::string>& args, const std::function<bool()>& kill_now,
                    std::chrono::microseconds patience);
// Kills it after `delay` unless it ended first.
bool RunAndKill(const std::vector<std::string>& args, std::chrono::microseconds delay);

}  // namespace recebimento::testing
