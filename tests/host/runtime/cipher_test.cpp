#include "host/runtime/cipher.h"

#include <gtest/gtest.h>

namespace recebimento::runtime {
namespace {

TEST(CipherTest, RoundTripsAccentedTextAndHidesIt) {
  const std::string digest = "MD-5: 9e107d9d372bb6826bd81d3542a419d6 – Ação, São Paulo";
  const std::string enciphered = Cripto(digest, 7);
  EXPECT_EQ(Uncripto(enciphered, 7), digest);
  EXPECT_EQ(enciphered.find("9e107d9d"), std::string::npos);
  EXPECT_EQ(enciphered.find_first_not_of("0123456789ABCDEF"), std::string::npos);
  EXPECT_NE(Cripto(digest, 8), enciphered) << "the key must matter";
  EXPECT_EQ(Uncripto(Cripto("", 3), 3), "");
  EXPECT_EQ(Uncripto(Cripto("x", -12345), -12345), "x");
}

TEST(CipherTest, GarbageWrongKeysAndDamagedValuesGiveEmptyText) {
  const std::string enciphered = Cripto("segredo fiscal", 5);
  EXPECT_EQ(Uncripto(enciphered, 6), "");
  std::string damaged = enciphered;
  damaged[4] = damaged[4] == '0' ? '1' : '0';
  EXPECT_EQ(Uncripto(damaged, 5), "");
  EXPECT_EQ(Uncripto(enciphered.substr(1), 5), "");
  EXPECT_EQ(Uncripto("not hexadecimal!", 5), "");
  EXPECT_EQ(Uncripto("", 5), "");
  EXPECT_EQ(Uncripto("ZZ", 5), "");
  EXPECT_EQ(Uncripto(std::string("\0\0", 2), 5), "");
  // Lower-case hexadecimal reads the same.
  std::string lower = enciphered;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(Uncripto(lower, 5), "segredo fiscal");
}

}  // namespace
}  // namespace recebimento::runtime
