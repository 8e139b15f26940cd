// The programs as a register starts them, measured from outside: `recebimento run` from
// process start until the screen has shown and been left (its first screen state and
// nothing after it but the exit), a 1,000-item scripted sale's peak resident memory, and
// the touch screen (offscreen) from launch until its first paint.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <vector>

#include "bench_support.h"
#include "host_copy.h"

namespace {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;
using Clock = std::chrono::steady_clock;

// A host folder, its store and two sales: one item, and 1,000 items.
struct World {
  recebimento::bench::BenchFolder folder;
  std::string host, db;
  World() {
    host = (folder.path / "host").string();
    recebimento::harness::CopyHostWithParameters(RECEBIMENTO_EXAMPLES_DIR "/host", host, json::object());
    db = recebimento::bench::DemoSqliteStore(folder.path / "store.db");
    json sale = recebimento::bench::ReadJson(RECEBIMENTO_EXAMPLES_DIR "/sales/counter-sale.json");
    json item = sale["datasets"]["cdsItensVenda"][0];
    item["VRPRECCOMVEN"] = 1.0;
    sale["datasets"]["cdsItensVenda"] = json::array({item});
    std::ofstream(folder.path / "one.json") << sale.dump();
    json rows = json::array();
    for (int i = 0; i < 1000; ++i) rows.push_back(item);
    sale["datasets"]["cdsItensVenda"] = rows;
    std::ofstream(folder.path / "thousand.json") << sale.dump();
    std::ofstream(folder.path / "leave.jsonl") << R"({"click": "spbSair"})"
                                                  "\n";
    std::ofstream(folder.path / "pay.jsonl") << recebimento::bench::kCashThenCardScript;
  }
  std::string File(const char* name) const { return (folder.path / name).string(); }
};

const World& TheWorld() {
  static const World world;
  return world;
}

struct Child {
  pid_t pid = -1;
  int out = -1;  // its standard output, when asked for
};

// Starts `argv` with standard output on a pipe (`pipe_out`) or on /dev/null.
Child Start(const std::vector<std::string>& args, bool pipe_out, const std::vector<std::string>& env = {}) {
  int fds[2] = {-1, -1};
  if (pipe_out && pipe(fds) != 0) throw std::runtime_error("pipe failed");
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    if (pipe_out) {
      dup2(fds[1], 1);
      close(fds[0]);
      close(fds[1]);
    } else {
      freopen("/dev/null", "w", stdout);
    }
    freopen("/dev/null", "w", stderr);
    for (const auto& e : env) putenv(const_cast<char*>(e.c_str()));
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  if (pipe_out) close(fds[1]);
  return {pid, pipe_out ? fds[0] : -1};
}

// Waits for the child; its exit status and peak resident memory in kB.
std::pair<int, long> Wait(pid_t pid) {
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), usage.ru_maxrss};
}

std::vector<std::string> Run(const World& w, const char* sale, const char* script) {
  return {RECEBIMENTO_CLI, "run",          "--host-dir", w.host, "--sale",  w.File(sale),
          "--script",      w.File(script), "--db",       w.db,   "--clock", "2026-12-06T12:00:00"};
}

void Measure(benchmark::State& state, const std::vector<std::string>& args) {
  long peak_kb = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    const auto [status, rss] = Wait(Start(args, false).pid);
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    peak_kb = std::max(peak_kb, rss);
    if (status != 0) {
      state.SkipWithError(("the run ended with status " + std::to_string(status)).c_str());
      break;
    }
  }
  state.counters["peak_rss_MB"] = static_cast<double>(peak_kb) / 1024.0;
}

void BM_RunToFirstScreenState(benchmark::State& state) { Measure(state, Run(TheWorld(), "one.json", "leave.jsonl")); }
BENCHMARK(BM_RunToFirstScreenState)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

void BM_ScriptedRun1000Items(benchmark::State& state) { Measure(state, Run(TheWorld(), "thousand.json", "pay.jsonl")); }
BENCHMARK(BM_ScriptedRun1000Items)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

#ifdef RECEBIMENTO_GUI
// Launch to the line the touch screen writes after its first paint; then it is stopped.
void BM_TouchScreenFirstPaint(benchmark::State& state) {
  const World& w = TheWorld();
  const std::vector<std::string> args = {RECEBIMENTO_GUI,    "--windowed", "--report-first-paint",
                                         "--host-dir",       w.host,       "--sale",
                                         w.File("one.json"), "--db",       w.db};
  for (auto _ : state) {
    const auto start = Clock::now();
    const Child child = Start(args, true, {"QT_QPA_PLATFORM=offscreen"});
    std::string seen;
    char buffer[256];
    ssize_t n = 0;
    while (seen.find("first paint") == std::string::npos && (n = read(child.out, buffer, sizeof buffer)) > 0)
      seen.append(buffer, static_cast<size_t>(n));
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    close(child.out);
    kill(child.pid, SIGKILL);
    Wait(child.pid);
    if (seen.find("first paint") == std::string::npos) {
      state.SkipWithError("the touch screen ended before its first paint");
      break;
    }
  }
}
BENCHMARK(BM_TouchScreenFirstPaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
#endif

}  // namespace
