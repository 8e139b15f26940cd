#include "demo.h"

#include <cstdlib>
#include <filesystem>

#include "datamodule/store_init.h"
#include "scripted_run.h"

namespace recebimento::harness {

namespace fs = std::filesystem;

namespace {

struct TemporaryFolder {
  fs::path path;
  bool keep = false;
  ~TemporaryFolder() {
    std::error_code ec;
    if (!keep && !path.empty()) fs::remove_all(path, ec);
  }
};

}  // namespace

int RunDemo(const DemoOptions& options, std::ostream& out, std::ostream& err) {
  const fs::path examples(options.examples_dir);
  const fs::path sale = examples / "sales" / "table-sale.json";
  const fs::path script = examples / "scripts" / "demo.jsonl";
  if (!fs::exists(sale) || !fs::exists(script) || !fs::exists(examples / "host")) {
    err << "recebimento demo: the examples are not in " << examples << " (use --examples DIR)\n";
    return 1;
  }
  TemporaryFolder folder;
  try {
    if (options.keep_dir.empty()) {
      std::string pattern = (fs::temp_directory_path() / "recebimento-demo-XXXXXX").string();
      if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
      folder.path = pattern;
    } else {
      folder.path = options.keep_dir;
      folder.keep = true;
      fs::create_directories(folder.path);
    }
    // The example host as shipped, fiscal printer and all, on a copy the demo may write to.
    const fs::path host = folder.path / "host";
    if (fs::exists(host)) throw std::runtime_error("the folder " + host.string() + " exists already");
    fs::copy(examples / "host", host, fs::copy_options::recursive);
    const std::string store = "sqlite:" + (host / "Dados" / "recebimento.db").string();
    datamodule::InitStoreDatabase(store, true);

    RunOptions run;
    run.host_dir = host.string();
    run.sale_path = sale.string();
    run.script_path = script.string();
    run.db = store;
    run.clock = "2026-12-06T12:00:00";
    const RunOutcome outcome = RunScriptedSale(run);
    if (outcome.exit_code == 1) {
      err << "recebimento demo: " << outcome.message << "\n";
      return outcome.exit_code;
    }
    const auto& o = outcome.output;
    out << "Receipt\n-------\n";
    if (o["printed"].empty()) out << "(nothing printed: the sale was not completed)\n";
    for (const auto& line : o["printed"]) out << line.get<std::string>() << "\n";
    out << "\nPayment list on the screen\n--------------------------\n";
    if (o["screen"].is_object())
      for (const auto& line : o["screen"]["controls"]["memLista"]["lines"]) out << line.get<std::string>() << "\n";
    out << "\nResult\n------\n"
        << (o["result"].get<bool>() ? "sale completed" : "sale not completed") << "\n"
        << "output arguments: " << o["args"].dump(2) << "\n";
    if (!o["error"].is_null()) out << "error: " << o["error"].get<std::string>() << "\n";
    if (folder.keep) out << "\nHost folder: " << host.string() << "\n";
    return outcome.exit_code;
  } catch (const std::exception& e) {
    err << "recebimento demo: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace recebimento::harness
