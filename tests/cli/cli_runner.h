#pragma once
// Runs the built `recebimento` command and captures its exit status and output.
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

// Starts it with `args` without waiting, its output discarded; the process id, or -1.
int StartCli(const std::vector<std::string>& args);
// Whether a command StartCli started still runs (false once it ended, and reaped).
bool CliRunning(int pid);
// Kills it (SIGKILL) and reaps it.
void KillCli(int pid);

}  // namespace recebimento::testing
