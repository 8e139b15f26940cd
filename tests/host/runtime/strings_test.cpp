#include "host/runtime/strings.h"

#include <gtest/gtest.h>

#include "base/text.h"

namespace recebimento::runtime {
namespace {

TEST(FixedWidthTextTest, WidthsCountCharactersNotBytes) {
  EXPECT_EQ(TamFixo("Café", 6), "Café  ");
  EXPECT_EQ(base::Utf8Length(TamFixo("Café", 6)), 6u);
  EXPECT_EQ(TamFixo("Promoção do dia", 7), "Promoçã");
  EXPECT_EQ(TamFixoR("Café", 6), "  Café");
  EXPECT_EQ(TamFixoR("Açaí grande", 4), "Açaí");
  EXPECT_EQ(Ajusta("TROCO: ", 10), "TROCO:    ");
  EXPECT_EQ(AjustaR("12,34", 8), "   12,34");
  EXPECT_EQ(PadL("Pão", 5), "  Pão");
  EXPECT_EQ(PadL("Pão de queijo", 5), "Pão de queijo") << "PadL never cuts";
  EXPECT_EQ(Centraliza("Ação", 9), "  Ação   ");
  EXPECT_EQ(Centraliza("Recebimento", 5), "Receb");
}

TEST(FixedWidthTextTest, DegenerateWidthsAndTextsAreSafe) {
  EXPECT_EQ(TamFixo("abc", -3), "");
  EXPECT_EQ(TamFixoR("", 3), "   ");
  EXPECT_EQ(PadL("abc", -1), "abc");
  // A stray byte counts as one character and is never split.
  EXPECT_EQ(base::Utf8Length(TamFixo("a\xff"
                                     "b",
                                     5)),
            5u);
}

TEST(FixedWidthTextTest, ZeroPaddingKeepsTheNumberWhole) {
  EXPECT_EQ(AjustaZero("42", 6), "000042");
  EXPECT_EQ(AjustaZero("-42", 6), "-00042");
  EXPECT_EQ(AjustaZero("1234567", 4), "1234567") << "cutting a number would change it";
  EXPECT_EQ(AjustaZero("", 3), "000");
  EXPECT_EQ(AjustaZero("7", 0), "7");
}

}  // namespace
}  // namespace recebimento::runtime
