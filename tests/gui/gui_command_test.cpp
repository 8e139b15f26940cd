// The touch screen's programs on a machine without a display: the help is printed, and
// a sale is refused in one line that says how to run it there, instead of Qt aborting.
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace recebimento::gui {
namespace {

struct Ran {
  int exit_code = -1;
  std::string out, err;
};

// Runs `command` (already quoted) with every display setting taken away.
Ran RunWithoutDisplay(const std::string& command, const testing::TempDir& dir) {
  const std::string out = (dir / "out").string(), err = (dir / "err").string();
  const std::string line =
      "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + command + " >'" + out + "' 2>'" + err + "'";
  const int status = std::system(line.c_str());
  Ran r;
  r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = dir.Read("out");
  r.err = dir.Read("err");
  return r;
}

const std::string kPrograms = std::string(RECEBIMENTO_BINARY_DIR) + "/app/cli/";

TEST(GuiWithoutDisplay, HelpIsPrintedAndASaleIsRefusedInOneLine) {
  testing::TempDir dir;
  for (const std::string& command : {kPrograms + "recebimento gui --help", kPrograms + "recebimento-gui --help"}) {
    SCOPED_TRACE(command);
    const Ran help = RunWithoutDisplay(command, dir);
    EXPECT_EQ(help.exit_code, 0) << help.err;
    EXPECT_NE(help.out.find("--sale"), std::string::npos) << help.out;
  }

  dir.Write("sale.json", "{}");
  const Ran sale = RunWithoutDisplay(kPrograms + "recebimento gui --sale '" + (dir / "sale.json").string() + "'", dir);
  EXPECT_EQ(sale.exit_code, 1);
  EXPECT_NE(sale.err.find("no display"), std::string::npos) << sale.err;
  EXPECT_NE(sale.err.find("QT_QPA_PLATFORM=offscreen"), std::string::npos) << sale.err;
  EXPECT_NE(sale.err.find("xvfb-run"), std::string::npos) << sale.err;
  EXPECT_EQ(sale.err.find('\n'), sale.err.size() - 1) << "one line: " << sale.err;
}

}  // namespace
}  // namespace recebimento::gui
