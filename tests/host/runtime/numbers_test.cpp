#include "host/runtime/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "host/runtime/format.h"

namespace recebimento::runtime {
namespace {

TEST(TruncTest, CutsTheDecimalValueNotItsBinaryApproximation) {
  EXPECT_EQ(Trunc2(0.29), 0.29);
  EXPECT_EQ(Trunc2(1.15), 1.15);
  EXPECT_EQ(Trunc2(-0.29), -0.29);
  EXPECT_EQ(Trunc2(12.349), 12.34);
  EXPECT_EQ(Trunc2(-12.349), -12.34);
  EXPECT_EQ(Trunc2(0.1 + 0.2), 0.3);        // 0.30000000000000004
  EXPECT_EQ(Trunc2(0.7 + 0.1 + 0.1), 0.9);  // 0.8999999999999999
  EXPECT_EQ(Trunc2(0.009), 0.0);
  EXPECT_FALSE(std::signbit(Trunc2(-0.009))) << "a cut to nothing must not show as -0,00";

  EXPECT_EQ(Trunc3(1.2345), 1.234);
  EXPECT_EQ(Trunc3(0.285), 0.285);
  EXPECT_EQ(Trunc3(-2.0009), -2.0);
  EXPECT_EQ(TruncDec(7.9, 0), 7.0);
}

TEST(RoundDecTest, RoundsHalvesAwayFromZeroOnTheDecimalValue) {
  EXPECT_EQ(RoundDec(2.675, 2), 2.68);
  EXPECT_EQ(RoundDec(1.005, 2), 1.01);
  EXPECT_EQ(RoundDec(-1.005, 2), -1.01);
  EXPECT_EQ(RoundDec(0.125, 2), 0.13);
  EXPECT_EQ(RoundDec(2.5, 0), 3.0);
  EXPECT_EQ(RoundDec(-2.5, 0), -3.0);
  EXPECT_EQ(RoundDec(1.0049999, 2), 1.0);
  EXPECT_EQ(RoundDec(10.0 / 3.0, 2), 3.33);
  EXPECT_DOUBLE_EQ(RoundDec(1.23456, 20), 1.23456);  // decimals are clamped to what a double holds
  EXPECT_EQ(Trunc2(1e17 + 16), 1e17 + 16);
  EXPECT_TRUE(std::isnan(RoundDec(std::nan(""), 2)));
  EXPECT_TRUE(std::isinf(Trunc2(INFINITY)));
}

// Every amount n/100 must come back with exactly its cents through the cut, the rounding
// and the display format: cents lost here become differences in the cash register.
void ExpectCentsKept(int64_t n) {
  const double amount = static_cast<double>(n) / 100;
  ASSERT_EQ(Trunc2(amount), amount) << n;
  ASSERT_EQ(Trunc2(-amount), -amount) << n;
  ASSERT_EQ(RoundDec(amount, 2), amount) << n;
  ASSERT_EQ(Trunc3(amount), amount) << n;
}

std::string PlainCents(int64_t n) {
  std::string cents = std::to_string(n % 100);
  return std::to_string(n / 100) + "," + (cents.size() == 1 ? "0" + cents : cents);
}

TEST(AmountExactnessTest, EveryCentUpToOneHundredThousandKeepsItsValueAndText) {
  ScopedNumberLocale brazil(BrazilianNumberLocale());
  for (int64_t n = 0; n <= 10000000; ++n) {
    ExpectCentsKept(n);
    ASSERT_EQ(FormatFloat("0.00", static_cast<double>(n) / 100), PlainCents(n)) << n;
  }
}

TEST(AmountExactnessTest, SampledCentsUpToTheLargestAmountKeepValueAndText) {
  ScopedNumberLocale brazil(BrazilianNumberLocale());
  std::mt19937_64 random(20261206);
  std::uniform_int_distribution<int64_t> cents(10000000, 99999999);
  auto check = [](int64_t n) {
    ExpectCentsKept(n);
    ASSERT_EQ(FormatFloat("0.00", static_cast<double>(n) / 100), PlainCents(n)) << n;
  };
  for (int i = 0; i < 300000; ++i) check(cents(random));
  for (int64_t n = 10000000; n <= 99999999; n += 997) check(n);
  check(99999999);
  // Amounts computed rather than typed carry more noise; a sum of cents still cuts right.
  double total = 0;
  for (int i = 0; i < 1000; ++i) total += 0.01;
  EXPECT_EQ(Trunc2(total), 10.0);
}

}  // namespace
}  // namespace recebimento::runtime
