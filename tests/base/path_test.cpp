#include "base/path.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/temp_dir.h"

namespace recebimento::base {
namespace {

using recebimento::testing::TempDir;

TEST(PathTest, HostPathsLandUnderTheBaseFolder) {
  EXPECT_EQ(JoinSpecPath("/host", "\\Dados\\Cadastros\\ControleAcess.cds"), "/host/Dados/Cadastros/ControleAcess.cds");
  EXPECT_EQ(JoinSpecPath("/host/", "Dados/x.cds"), "/host/Dados/x.cds");
  EXPECT_EQ(JoinSpecPath("/host", "C:\\Tefrx\\cupom.tef"), "/host/Tefrx/cupom.tef");
  EXPECT_EQ(JoinSpecPath("/host", "/etc/passwd"), "/host/etc/passwd");
  EXPECT_EQ(JoinSpecPath("/host", "\\Dados\\.\\a\\..\\b.cds"), "/host/Dados/b.cds");
  EXPECT_THROW(JoinSpecPath("/host", "\\..\\..\\etc\\passwd"), PathError);
  EXPECT_THROW(JoinSpecPath("/host", "Dados\\..\\..\\x"), PathError);
}

TEST(PathTest, NamesFromDataNeverLeaveTheirFolder) {
  EXPECT_EQ(SafeChild("/host/imagens", "cartao.bmp"), "/host/imagens/cartao.bmp");
  EXPECT_EQ(SafeChild("/host", "..cds"), "/host/..cds");  // dots inside a name are fine
  for (const std::string& bad :
       std::vector<std::string>{"", ".", "..", "../x", "a/b", "a\\b", "/etc/passwd", "C:x", std::string("a\0b", 3)}) {
    EXPECT_FALSE(IsPlainFileName(bad)) << bad;
    EXPECT_THROW(SafeChild("/host", bad), PathError) << bad;
  }
}

TEST(PathTest, FindsFilesWhateverTheirCase) {
  TempDir dir;
  dir.Write("ParametrosZem.cds", "x");
  dir.Write("Dados/Cadastros/controleacess.CDS", "y");
  EXPECT_EQ(FindFileCaseInsensitive(dir.str(), "PARAMETROSZEM.CDS"), (dir / "ParametrosZem.cds").string());
  EXPECT_EQ(FindFileCaseInsensitive(dir.str(), "ParametrosZem.cds"), (dir / "ParametrosZem.cds").string());
  EXPECT_FALSE(FindFileCaseInsensitive(dir.str(), "Brisova.cds"));
  EXPECT_FALSE(FindFileCaseInsensitive(dir.str(), "../ParametrosZem.cds"));
  EXPECT_FALSE(FindFileCaseInsensitive((dir / "nope").string(), "x"));
  EXPECT_EQ(FindSpecPath(dir.str(), "\\DADOS\\Cadastros\\ControleAcess.cds"),
            (dir / "Dados" / "Cadastros" / "controleacess.CDS").string());
  EXPECT_FALSE(FindSpecPath(dir.str(), "\\Dados\\Cadastros\\Cad_Cliente.cds"));
}

}  // namespace
}  // namespace recebimento::base
