#pragma once
// `recebimento run`: calls Recebimento exactly as a host would, with the simulators as
// the host's services, and reports everything as one JSON object.
#include <functional>
#include <string>

#include <nlohmann/json.hpp>

namespace recebimento::harness {

struct RunOptions {
  std::string host_dir = ".";
  std::string sale_path;
  std::string script_path;  // empty: no operator actions
  std::string db;           // empty: the embedded store under the host folder
  std::string clock;        // start of the virtual clock; empty: now
  std::string out_path;     // where the caller writes the result; empty: printed
  int db_wait_ms = -1;      // wait for a store held by another writer; <0: the default
  // Told right before the host's call of Recebimento (true) and right after it (false):
  // what the run does around the call (reading the sale, the output) is the harness's.
  std::function<void(bool calling)> around_call;
};

struct RunOutcome {
  // 0 the call returned, 2 an exception reached the host, 1 bad input or a script error.
  int exit_code = 0;
  // Always written, also on an error (its "error" member then holds the message), so
  // what led to the error is not lost and a stale output is never read as this run's.
  nlohmann::ordered_json output;
  std::string message;  // the error, for exit code 1
};

RunOutcome RunScriptedSale(const RunOptions& options);

}  // namespace recebimento::harness
