#include "host/runtime/base64.h"

#include <gtest/gtest.h>

namespace recebimento::runtime {
namespace {

TEST(Base64, EncodesAndDecodesTheStandardVectors) {
  const std::pair<std::string, std::string> vectors[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
      // the wallet's "login:secret" credential
      {"user:pass", "dXNlcjpwYXNz"},
  };
  for (const auto& [plain, encoded] : vectors) {
    EXPECT_EQ(encodeBase64(plain), encoded) << plain;
    EXPECT_EQ(decodeBase64(encoded), plain) << encoded;
  }
}

TEST(Base64, KeepsEveryByteValueAndUtf8Text) {
  std::string all_bytes;
  for (int i = 0; i < 256; ++i) all_bytes += static_cast<char>(i);
  std::string encoded = encodeBase64(all_bytes);
  EXPECT_NE(encoded.find('+'), std::string::npos);
  EXPECT_NE(encoded.find('/'), std::string::npos);
  EXPECT_EQ(decodeBase64(encoded), all_bytes);
  EXPECT_EQ(encodeBase64("ção"), "w6fDo28=");
}

TEST(Base64, DecoderSkipsLineBreaksAndToleratesMissingPadding) {
  EXPECT_EQ(decodeBase64("Zm9v\r\nYmFy\n"), "foobar");
  EXPECT_EQ(decodeBase64("Zm9vYg"), "foob");
  EXPECT_EQ(decodeBase64("Zm9vYmE"), "fooba");
}

TEST(Base64, DecoderRefusesMalformedText) {
  EXPECT_FALSE(decodeBase64("Zm9v*mFy").has_value());  // outside the alphabet
  EXPECT_FALSE(decodeBase64("Zg==Zm9v").has_value());  // padding in the middle
  EXPECT_FALSE(decodeBase64("Zm9vY").has_value());     // a lone sextet carries no byte
  EXPECT_FALSE(decodeBase64("Zg=").has_value());       // incomplete padding
  EXPECT_FALSE(decodeBase64("Zm9v====").has_value());  // padding after a full group
  EXPECT_FALSE(decodeBase64("Zm-v").has_value());      // URL-safe alphabet is not this one
}

}  // namespace
}  // namespace recebimento::runtime
