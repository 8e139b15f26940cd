// `recebimento-gui`: a sale paid on the touch screen, and pictures of the screen and of
// the dialogs for the documentation.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string_view>

#include <CLI/CLI.hpp>
#include <QApplication>

#include "datamodule/store_init.h"
#include "gui_sale.h"
#include "host_copy.h"
#include "screen_pictures.h"

namespace {

// Whether Qt has somewhere to show the screen: an X server, a Wayland compositor, or a
// platform named outright (QT_QPA_PLATFORM=offscreen, -platform offscreen). Without
// one Qt aborts in its platform plugin, so the program must not start Qt at all.
bool HasDisplay(int argc, char** argv) {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  for (int i = 1; i < argc; ++i)
    if (std::string_view(argv[i]) == "-platform") return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace recebimento;
  const bool display = HasDisplay(argc, argv);
  // Qt takes its own options off the command line before ours are read.
  std::optional<QApplication> qt;
  if (display) qt.emplace(argc, argv);
  CLI::App app{"recebimento-gui: the payment screen on a touch display"};
  app.require_subcommand(0, 1);

  gui::GuiSaleOptions sale;
  app.add_option("--host-dir", sale.host_dir, "the host program's folder");
  app.add_option("--sale", sale.sale_path, "SALE.json");
  app.add_option("--db", sale.db, "store connection (default: the embedded store under the host folder)");
  app.add_flag("--windowed", sale.windowed, "an 800 x 600 window instead of full screen");
  app.add_option("--script", sale.script_path, "SCRIPT.jsonl: play these operator actions on the window");
  app.add_flag("--report-first-paint", sale.report_first_paint,
               "write \"first paint\" on standard output once the screen has painted (start-up measures)");

  std::string pictures_dir;
  gui::GuiSaleOptions shots;
  auto* shots_cmd = app.add_subcommand("screenshots", "PNG pictures of the screen's states and of the dialogs");
  shots_cmd->add_option("--out", pictures_dir, "folder of the pictures")->required();
  shots_cmd->add_option("--host-dir", shots.host_dir, "the host program's folder");
  shots_cmd->add_option("--sale", shots.sale_path, "SALE.json");
  shots_cmd->add_option("--script", shots.script_path, "SCRIPT.jsonl whose snapshot lines name the pictures");
  shots_cmd->add_option("--db", shots.db, "store connection");
  std::string parameters_file;
  shots_cmd->add_option("--parameters", parameters_file,
                        "JSON object of host parameters: the sale runs on a copy of the host folder with them "
                        "(and, without --db, a demo store of its own)");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : 1;
  }
  if (!display) {
    std::cerr << "recebimento-gui: no display (DISPLAY and WAYLAND_DISPLAY are not set); run it with "
                 "QT_QPA_PLATFORM=offscreen to work without a screen, or on a virtual display: "
                 "xvfb-run -a recebimento-gui ...\n";
    return 1;
  }

  if (*shots_cmd) {
    try {
      for (const auto& file : gui::WriteDialogPictures(pictures_dir)) std::cout << file << "\n";
    } catch (const std::exception& e) {
      std::cerr << "recebimento-gui screenshots: " << e.what() << "\n";
      return 1;
    }
    if (shots.sale_path.empty()) return 0;
    shots.windowed = true;
    shots.screenshots_dir = pictures_dir;
    // The copy lives in a folder of its own that goes when the pictures are made.
    struct WorkFolder {
      std::filesystem::path path;
      ~WorkFolder() {
        std::error_code ec;
        if (!path.empty()) std::filesystem::remove_all(path, ec);
      }
    } work;
    if (!parameters_file.empty()) {
      try {
        work.path = std::filesystem::temp_directory_path() /
                    ("recebimento-pictures-" + std::to_string(QCoreApplication::applicationPid()));
        std::filesystem::remove_all(work.path);
        std::filesystem::create_directories(work.path);
        const std::string copy = (work.path / "host").string();
        harness::CopyHostWithParametersFile(shots.host_dir, copy, parameters_file);
        shots.host_dir = copy;
        if (shots.db.empty()) {
          shots.db = "sqlite:" + (work.path / "host" / "Dados" / "recebimento.db").string();
          datamodule::InitStoreDatabase(shots.db, true);
        }
      } catch (const std::exception& e) {
        std::cerr << "recebimento-gui screenshots: " << e.what() << "\n";
        return 1;
      }
    }
    const gui::GuiSaleOutcome outcome = gui::RunSaleOnScreen(shots);
    for (const auto& file : outcome.pictures) std::cout << file << "\n";
    if (outcome.exit_code != 0) std::cerr << "recebimento-gui screenshots: " << outcome.message << "\n";
    return outcome.exit_code;
  }

  if (sale.sale_path.empty()) {
    std::cerr << "recebimento-gui: --sale SALE.json is required\n";
    return 1;
  }
  const gui::GuiSaleOutcome outcome = gui::RunSaleOnScreen(sale);
  if (outcome.exit_code == 1) {
    std::cerr << "recebimento-gui: " << outcome.message << "\n";
    return 1;
  }
  std::cout << "Receipt\n-------\n";
  if (outcome.printed.empty()) std::cout << "(nothing printed: the sale was not completed)\n";
  for (const auto& line : outcome.printed) std::cout << line << "\n";
  std::cout << "\nResult\n------\n" << (outcome.result ? "sale completed" : "sale not completed") << "\n";
  if (outcome.exit_code == 2) std::cout << "error: " << outcome.message << "\n";
  return outcome.exit_code;
}
