// The `recebimento` command: run a scripted sale, run the demo, initialise a store.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include <CLI/CLI.hpp>

#include "base/atomic_file.h"
#include "datamodule/connection_config.h"
#include "datamodule/store_init.h"
#include "demo.h"
#include "host/runtime/http_transport.h"
#include "scripted_run.h"

#ifndef RECEBIMENTO_EXAMPLES_DIR
#define RECEBIMENTO_EXAMPLES_DIR "examples"
#endif

int main(int argc, char** argv) {
  using namespace recebimento;
  CLI::App app{"recebimento: the payment step of the point of sale"};
  app.require_subcommand(1);

  harness::RunOptions run;
  auto* run_cmd = app.add_subcommand("run", "call Recebimento with a sale and an operator script");
  run_cmd->add_option("--host-dir", run.host_dir, "the host program's folder")->required();
  run_cmd->add_option("--sale", run.sale_path, "SALE.json")->required();
  run_cmd->add_option("--script", run.script_path, "SCRIPT.jsonl, one operator action per line");
  run_cmd->add_option("--db", run.db, "store connection (default: the embedded store under the host folder)");
  run_cmd->add_option("--clock", run.clock, "start of the virtual clock, e.g. 2026-12-06T12:00:00");
  run_cmd->add_option("--out", run.out_path, "write the result here instead of printing it");
  run_cmd
      ->add_option("--db-wait", run.db_wait_ms, "milliseconds to wait for a store another writer holds (default 5000)")
      ->check(CLI::Range(0, 600000));
  std::string ca_file;
  run_cmd
      ->add_option("--ca-file", ca_file,
                   "PEM file of a certificate authority trusted besides the system's (a store's own services)")
      ->check(CLI::ExistingFile);

  harness::DemoOptions demo;
  demo.examples_dir = RECEBIMENTO_EXAMPLES_DIR;
  auto* demo_cmd = app.add_subcommand("demo", "run the bundled example sale on a fresh embedded store");
  demo_cmd->add_option("--examples", demo.examples_dir, "the examples folder");
  demo_cmd->add_option("--keep", demo.keep_dir, "leave the demo's host folder here");

  auto* db_cmd = app.add_subcommand("db", "store database");
  db_cmd->require_subcommand(1);
  std::string connection;
  bool empty_store = false;
  auto* init_cmd = db_cmd->add_subcommand("init", "create or upgrade the store schema (with the demo store)");
  init_cmd->add_option("--db", connection, "store connection, e.g. sqlite:/path/store.db")->required();
  init_cmd->add_flag("--empty", empty_store, "schema only, without the demo store");

  auto* gui_cmd = app.add_subcommand("gui", "run a sale on the touch screen (recebimento-gui)");
  gui_cmd->allow_extras();
  gui_cmd->prefix_command();
  gui_cmd->set_help_flag();  // --help goes to the touch screen program

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : 1;
  }

  if (*run_cmd) {
    if (!ca_file.empty()) {
      runtime::HttpSettings settings = runtime::GetHttpSettings();
      settings.extra_ca_file = ca_file;
      runtime::SetHttpSettings(settings);
    }
    const harness::RunOutcome outcome = harness::RunScriptedSale(run);
    if (outcome.exit_code == 1) std::cerr << "recebimento run: " << outcome.message << "\n";
    // The output is written also on an error: it tells what led to it. Whatever bytes a
    // message quoted, it stays valid JSON.
    const std::string text =
        outcome.output.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
    if (run.out_path.empty()) {
      std::cout << text;
    } else {
      try {
        base::WriteFileAtomically(run.out_path, text);
      } catch (const std::exception& e) {
        std::cerr << "recebimento run: " << e.what() << "\n";
        return 1;
      }
    }
    return outcome.exit_code;
  }
  if (*gui_cmd) {
    // The touch screen is its own program (it links Qt); it sits beside this one.
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::string gui = ((ec ? std::filesystem::path(argv[0]) : self).parent_path() / "recebimento-gui").string();
    std::vector<std::string> rest = gui_cmd->remaining();
    std::vector<char*> gui_argv{const_cast<char*>(gui.c_str())};
    for (std::string& a : rest) gui_argv.push_back(a.data());
    gui_argv.push_back(nullptr);
    execv(gui.c_str(), gui_argv.data());
    std::cerr << "recebimento gui: cannot start " << gui << " (built with the Qt front-end?)\n";
    return 1;
  }
  if (*demo_cmd) return harness::RunDemo(demo, std::cout, std::cerr);
  if (*init_cmd) {
    try {
      datamodule::InitStoreDatabase(connection, !empty_store);
      std::cout << "store ready: " << datamodule::MaskConnectionPassword(connection) << "\n";
      return 0;
    } catch (const std::exception& e) {
      std::cerr << "recebimento db init: " << e.what() << "\n";
      return 1;
    }
  }
  return 1;
}
