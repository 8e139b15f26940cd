#include "base/text.h"

#include <gtest/gtest.h>

namespace recebimento::base {
namespace {

TEST(TextTest, LengthsAndCutsCountCharactersNotBytes) {
  const std::string s = "Ação café";  // 9 characters, 12 bytes
  EXPECT_EQ(Utf8Length(s), 9u);
  EXPECT_EQ(Utf8Left(s, 3), "Açã");
  EXPECT_EQ(Utf8Right(s, 4), "café");
  EXPECT_EQ(Utf8Mid(s, 2, 3), "ão ");
  EXPECT_EQ(Utf8Mid(s, 5), "café");
  EXPECT_EQ(Utf8Copy(s, 1, 4), "Ação");
  EXPECT_EQ(Utf8Copy(s, 0, 2), "Aç");
  EXPECT_EQ(Utf8Copy(s, 3, -1), "");
  EXPECT_EQ(Utf8Left(s, 100), s);
  EXPECT_EQ(Utf8Mid(s, 100, 2), "");
  EXPECT_EQ(Utf8Truncate("Promoção especial", 10, "..."), "Promoçã...");
  EXPECT_EQ(Utf8Truncate("Pão", 10, "..."), "Pão");
  EXPECT_EQ(Utf8Length(Utf8Truncate("Promoção", 2, "...")), 2u);
}

TEST(TextTest, PaddingAndCentringMakeFixedWidthColumns) {
  EXPECT_EQ(Utf8PadRight("Pão", 6, "."), "Pão...");
  EXPECT_EQ(Utf8PadLeft("1,50", 6), "  1,50");
  EXPECT_EQ(Utf8PadLeft("7", 3, "0"), "007");
  EXPECT_EQ(Utf8PadRight("Açúcar", 3), "Açúcar");
  EXPECT_EQ(Utf8PadRight("x", 3, "ç"), "xçç");
  EXPECT_EQ(Utf8Center("Troco", 10, "-"), "--Troco---");
  EXPECT_EQ(Utf8Center("Informação", 4), "Info");
  EXPECT_EQ(Utf8Length(Utf8Center("Não", 40)), 40u);
}

TEST(TextTest, CaseMappingCoversPortugueseLetters) {
  EXPECT_EQ(Utf8Upper("ação à vista, pé, avô, pão, güera"), "AÇÃO À VISTA, PÉ, AVÔ, PÃO, GÜERA");
  EXPECT_EQ(Utf8Lower("CRÉDITO ÚNICO ÍNDIO ÕES"), "crédito único índio ões");
  EXPECT_EQ(Utf8Upper("a×b"), "A×B");  // the multiplication sign is not a letter
  EXPECT_TRUE(IEquals("Cartão Débito", "CARTÃO DÉBITO"));
  EXPECT_FALSE(IEquals("cartao", "CARTÃO"));
  EXPECT_TRUE(IStartsWith("authorized", "AUTH"));
}

TEST(TextTest, InvalidUtf8CountsEachStrayByteAndSurvivesEveryHelper) {
  const std::string bad = std::string("a\xC3") + "b\xFF\x80" + "\xE2\x82";  // cut and stray bytes
  EXPECT_EQ(Utf8Length(bad), 7u);
  EXPECT_EQ(Utf8Left(bad, 2), "a\xC3");
  EXPECT_EQ(Utf8Upper(bad), std::string("A\xC3") + "B\xFF\x80" + "\xE2\x82");
  EXPECT_EQ(RemoveAccents(bad), "a?b????");
  EXPECT_EQ(Utf8Length(Utf8PadRight(bad, 9)), 9u);
  EXPECT_EQ(Utf8Length(std::string("\xF0\x9F\x98\x80")), 1u);  // a four-byte character
}

TEST(TextTest, TrimSplitAndPrefixes) {
  EXPECT_EQ(Trim(" \t x y \r\n"), "x y");
  EXPECT_EQ(TrimLeft("  x "), "x ");
  EXPECT_EQ(TrimRight("  x "), "  x");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Split("NRBUTTON;NRBUTTONAUX;;X", ";"), (std::vector<std::string>{"NRBUTTON", "NRBUTTONAUX", "", "X"}));
  EXPECT_EQ(Split("", ";"), std::vector<std::string>{""});
  EXPECT_EQ(Split("a<>b", "<>"), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(StartsWith("tcbBalcao01", "tcbBalcao"));
  EXPECT_FALSE(StartsWith("tcb", "tcbBalcao"));
  EXPECT_TRUE(EndsWith("ultTef.cds", ".cds"));
}

TEST(TextTest, ExcerptsAreValidUtf8OfBoundedLength) {
  EXPECT_EQ(Excerpt("Ação"), "Ação");
  EXPECT_EQ(Excerpt("pasta\xFF\xC3(\x01"
                    "fim"),
            "pasta\\xFF\\xC3(\\x01fim");
  EXPECT_EQ(Excerpt("abcdef", 3), "abc...");
  EXPECT_EQ(Excerpt("ãéíóú", 2), "ãé...");
  const std::string huge(1 << 20, '\xFF');
  const std::string e = Excerpt(huge, 80);
  EXPECT_TRUE(IsValidUtf8(e));
  EXPECT_EQ(e.size(), 80u * 4 + 3);
}

TEST(TextTest, RemoveAccentsFoldsToPrintableAscii) {
  EXPECT_EQ(RemoveAccents("Ação À Vista: crédito, pão, avô, Müller, nº 5"),
            "Acao A Vista: credito, pao, avo, Muller, no 5");
  EXPECT_EQ(RemoveAccents("“Olá” – ok…"), "\"Ola\" - ok...");
  EXPECT_EQ(RemoveAccents("日"), "?");
}

}  // namespace
}  // namespace recebimento::base
