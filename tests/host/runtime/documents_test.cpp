#include "host/runtime/documents.h"

#include <gtest/gtest.h>

namespace recebimento::runtime {
namespace {

TEST(CpfTest, AcceptsRightCheckDigitsWithOrWithoutPunctuation) {
  EXPECT_TRUE(CPFOk("52998224725"));
  EXPECT_TRUE(CPFOk("529.982.247-25"));
  EXPECT_TRUE(CPFOk("111.444.777-35"));
  EXPECT_TRUE(CPFOk("12345678909"));
  EXPECT_TRUE(CPFOk("00000000191"));  // leading zeros are digits like any other
}

TEST(CpfTest, RejectsWrongDigitsLengthsLettersAndRepeatedDigits) {
  EXPECT_FALSE(CPFOk("52998224726"));  // second check digit off
  EXPECT_FALSE(CPFOk("52998224715"));  // first check digit off
  EXPECT_FALSE(CPFOk("5299822472"));
  EXPECT_FALSE(CPFOk("529982247250"));
  EXPECT_FALSE(CPFOk("529.982.247-2X"));
  EXPECT_FALSE(CPFOk(""));
  for (char d = '0'; d <= '9'; ++d) EXPECT_FALSE(CPFOk(std::string(11, d))) << d;
  EXPECT_FALSE(CPFOk("11222333000181")) << "a CNPJ is not a CPF";
}

TEST(CnpjTest, ChecksBothDigits) {
  EXPECT_TRUE(CNPJOk("11222333000181"));
  EXPECT_TRUE(CNPJOk("11.222.333/0001-81"));
  EXPECT_TRUE(CNPJOk("12.345.678/0001-95"));
  EXPECT_FALSE(CNPJOk("11.222.333/0001-82"));
  EXPECT_FALSE(CNPJOk("11.222.333/0001-91"));
  EXPECT_FALSE(CNPJOk("00000000000000"));
  EXPECT_FALSE(CNPJOk("52998224725"));
  EXPECT_FALSE(CNPJOk("11.222.333/0001-8A"));
}

TEST(PictPessTest, PunctuatesCpfAndCnpjAndLeavesOtherTextAlone) {
  EXPECT_EQ(PictPess("12345678909"), "123.456.789-09");
  EXPECT_EQ(PictPess("12345678000195"), "12.345.678/0001-95");
  EXPECT_EQ(PictPess("123.456.789-09"), "123.456.789-09");
  EXPECT_EQ(PictPess("1234567890"), "1234567890");
  EXPECT_EQ(PictPess("ABC12345678"), "ABC12345678");
  EXPECT_EQ(PictPess(""), "");
}

}  // namespace
}  // namespace recebimento::runtime
