// A working copy of a host folder with some parameters changed: what the demo, the
// screen pictures and the tests run on, leaving the example host untouched.
#include <filesystem>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "base/dataset.h"
#include "host_copy.h"
#include "support/temp_dir.h"

namespace recebimento::testing {
namespace {

namespace fs = std::filesystem;
using harness::CopyHostWithParameters;
using harness::CopyHostWithParametersFile;

TEST(HostCopy, TakesTheParametersGivenAndRefusesWhatItCannotSet) {
  TempDir dir;
  const fs::path source = fs::path(RECEBIMENTO_SOURCE_DIR) / "examples" / "host";
  const fs::path copy = dir / "copy";
  CopyHostWithParameters(source.string(), copy.string(),
                         {{"UTILIZAIMPFIS", false}, {"IDIMPCUPMEI", "S"}, {"VRPEMAXREPIQMRX", 12.5}});
  base::Dataset p("cdsParametrosZem");
  p.LoadFromFile((copy / "PARAMETROSZEM.CDS").string());
  p.First();
  EXPECT_FALSE(p.FieldByName("UTILIZAIMPFIS").AsBoolean());
  EXPECT_EQ(p.FieldByName("IDIMPCUPMEI").AsString(), "S");
  EXPECT_DOUBLE_EQ(p.FieldByName("VRPEMAXREPIQMRX").AsFloat(), 12.5);
  EXPECT_EQ(p.FieldByName("CDFILIAL").AsString(), "0001") << "the other parameters stay";
  EXPECT_TRUE(fs::exists(copy / "Dados" / "Cadastros"));

  EXPECT_THROW(CopyHostWithParameters(source.string(), copy.string(), nlohmann::json::object()), std::runtime_error)
      << "an existing copy is never overwritten";
  EXPECT_THROW(CopyHostWithParameters(source.string(), (dir / "b").string(), {{"NAOEXISTE", 1}}), std::runtime_error);
  EXPECT_THROW(CopyHostWithParameters(source.string(), (dir / "c").string(), {{"IDIMPCUPMEI", {1, 2}}}),
               std::runtime_error);
  const std::string broken = dir.Write("p.json", "{ nope").string();
  EXPECT_THROW(CopyHostWithParametersFile(source.string(), (dir / "d").string(), broken), std::runtime_error);
}

}  // namespace
}  // namespace recebimento::testing
