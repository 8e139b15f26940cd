#include "host/runtime/format.h"

#include <gtest/gtest.h>

#include <cmath>

namespace recebimento::runtime {
namespace {

TEST(FormatFloatTest, BrazilianLocaleIsTheDefault) {
  EXPECT_EQ(GetNumberLocale().decimal_separator, ',');
  EXPECT_EQ(FormatFloat("#,##0.00", 1234567.891), "1.234.567,89");
}

TEST(FormatFloatTest, PatternsOfTheScreensInTheBrazilianLocale) {
  const NumberLocale br = BrazilianNumberLocale();
  EXPECT_EQ(FormatFloat("0.00", 12.3, br), "12,30");
  EXPECT_EQ(FormatFloat("0.00", 2.675, br), "2,68");
  EXPECT_EQ(FormatFloat("0.00", 0.005, br), "0,01");
  EXPECT_EQ(FormatFloat("#,##0.00", 999999.99, br), "999.999,99");
  EXPECT_EQ(FormatFloat("###,##0.00", 1000, br), "1.000,00");
  EXPECT_EQ(FormatFloat("#,##0.00", 0.5, br), "0,50");
  EXPECT_EQ(FormatFloat("#,##0", 1234.5, br), "1.235");
  EXPECT_EQ(FormatFloat("0", 2.5, br), "3");
  EXPECT_EQ(FormatFloat("0.000", 1.0005, br), "1,001");
  EXPECT_EQ(FormatFloat("0.0000", 1234.5, br), "1234,5000");
  EXPECT_EQ(FormatFloat("00", 7, br), "07");
  EXPECT_EQ(FormatFloat("0.00%", 0.125, br), "12,50%");
  EXPECT_EQ(FormatFloat("0.##", 1.5, br), "1,5");
  EXPECT_EQ(FormatFloat("#.##", 0.25, br), ",25");
  EXPECT_EQ(FormatFloat("\"R$ \"#,##0.00", 1500, br), "R$ 1.500,00");
}

TEST(FormatFloatTest, NegativesCarryTheirSignUnlessTheyRoundToZero) {
  const NumberLocale br = BrazilianNumberLocale();
  EXPECT_EQ(FormatFloat("0.00", -12.345, br), "-12,35");
  EXPECT_EQ(FormatFloat("#,##0.00", -999999.99, br), "-999.999,99");
  EXPECT_EQ(FormatFloat("0.00", -0.004, br), "0,00");
  EXPECT_EQ(FormatFloat("0.00;(0.00)", -5, br), "(5,00)");
  EXPECT_EQ(FormatFloat("0.00;(0.00);\"zero\"", 0.001, br), "zero");
}

TEST(FormatFloatTest, EnglishLocaleSwapsTheSeparators) {
  ScopedNumberLocale english(EnglishNumberLocale());
  EXPECT_EQ(FormatFloat("#,##0.00", 999999.99), "999,999.99");
  EXPECT_EQ(FormatFloat("#,##0.00", -1234.5), "-1,234.50");
  EXPECT_EQ(FormatFloat("0.00", 0.29), "0.29");
  EXPECT_EQ(FormatFloat("", 2.5), "2.5");
}

TEST(FormatFloatTest, ScopedLocaleRestoresTheOldOneAndOddValuesNeverThrow) {
  { ScopedNumberLocale english(EnglishNumberLocale()); }
  EXPECT_EQ(FormatFloat("0.00", 1.5), "1,50");
  EXPECT_EQ(FormatFloat("", 2.5), "2,5");
  EXPECT_EQ(FormatFloat("0.00", std::nan("")), "NAN");
  EXPECT_EQ(FormatFloat("0.00", -INFINITY), "-INF");
  EXPECT_EQ(FormatFloat("#,##0.00", 1e20), "100.000.000.000.000.000.000,00");
  EXPECT_EQ(FormatFloat("abc", 5), "abc");
  EXPECT_EQ(FormatFloat("0.00\"", 5), "5,00");  // an unclosed quote runs to the end
}

}  // namespace
}  // namespace recebimento::runtime
