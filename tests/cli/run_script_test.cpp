// ./run.sh as a newcomer meets it: the demo builds only the command it runs, not the
// test suites nor the touch screen. Played on a copy of the script with a cmake that
// records what it is asked and a package check that finds everything installed.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "base/text.h"
#include "support/temp_dir.h"

namespace recebimento::testing {
namespace {

namespace fs = std::filesystem;

TEST(RunScript, TheDemoBuildsOnlyTheCommandItRuns) {
  TempDir dir;
  fs::copy_file(fs::path(RECEBIMENTO_SOURCE_DIR) / "run.sh", dir / "run.sh");
  // cmake: notes its arguments; a build leaves a command that says it ran.
  dir.Write("bin/cmake",
            "#!/bin/sh\n"
            "echo \"$*\" >> \"$RUN_LOG\"\n"
            "case \"$*\" in --build*) mkdir -p build/app/cli && printf '#!/bin/sh\\necho \"demo: $*\"\\n' "
            "> build/app/cli/recebimento && chmod +x build/app/cli/recebimento ;; esac\n");
  dir.Write("bin/dpkg-query", "#!/bin/sh\necho 'install ok installed'\n");
  for (const char* tool : {"bin/cmake", "bin/dpkg-query"})
    fs::permissions(dir / tool, fs::perms::owner_all, fs::perm_options::add);

  const std::string command = "cd '" + dir.str() + "' && RUN_LOG='" + (dir / "cmake.log").string() + "' PATH='" +
                              (dir / "bin").string() + ":'\"$PATH\" bash run.sh demo >out 2>err";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << dir.Read("err");
  EXPECT_NE(dir.Read("out").find("demo: demo"), std::string::npos) << dir.Read("out");

  int builds = 0;
  for (const std::string& call : base::Split(base::TrimRight(dir.Read("cmake.log")), "\n")) {
    if (!base::StartsWith(call, "--build")) continue;
    ++builds;
    EXPECT_NE(call.find("--target recebimento_cli"), std::string::npos) << call;
  }
  EXPECT_EQ(builds, 1);
}

}  // namespace
}  // namespace recebimento::testing
