#include "base/variant.h"

#include <gtest/gtest.h>

#include "base/data_packet.h"

namespace recebimento::base {
namespace {

TEST(VariantTest, EmptyAndNullReadAsNeutralValuesButStayDistinct) {
  for (const Variant& v : {Variant(), Variant::Null()}) {
    EXPECT_EQ(v.AsString(), "");
    EXPECT_EQ(v.AsFloat(), 0);
    EXPECT_EQ(v.AsInteger(), 0);
    EXPECT_FALSE(v.AsBoolean());
    EXPECT_TRUE(v.IsEmptyOrNull());
  }
  EXPECT_FALSE(Variant() == Variant::Null());
  EXPECT_EQ(Variant(std::shared_ptr<const DataPacket>()).kind(), Variant::Kind::Null);
}

TEST(VariantTest, TextToNumberAcceptsEitherDecimalPointAndRejectsGarbage) {
  EXPECT_DOUBLE_EQ(Variant("12,34").AsFloat(), 12.34);
  EXPECT_DOUBLE_EQ(Variant(" 12.34 ").AsFloat(), 12.34);
  EXPECT_DOUBLE_EQ(Variant("-0,5").AsFloat(), -0.5);
  EXPECT_EQ(Variant("").AsFloat(), 0);
  EXPECT_EQ(Variant("42").AsInteger(), 42);
  EXPECT_EQ(Variant("2,6").AsInteger(), 3);
  EXPECT_THROW(Variant("12a").AsFloat(), VariantError);
  EXPECT_THROW(Variant("1.234,56").AsFloat(), VariantError);
  EXPECT_THROW(Variant("nan").AsFloat(), VariantError);
  EXPECT_THROW(Variant(1e300).AsInteger(), VariantError);
  try {
    Variant("abc").AsInteger();
    FAIL();
  } catch (const VariantError& e) {
    EXPECT_NE(std::string(e.what()).find("String"), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("Integer"), std::string::npos);
  }
}

TEST(VariantTest, NumbersPrintAsShortestRoundTripText) {
  EXPECT_EQ(Variant(0.1 + 0.2).AsString(), "0.30000000000000004");
  EXPECT_EQ(Variant(12.5).AsString(), "12.5");
  EXPECT_EQ(Variant(3.0).AsString(), "3");
  EXPECT_EQ(Variant(-0.0).AsString(), "0");
  EXPECT_EQ(Variant(int64_t{9007199254740993}).AsString(), "9007199254740993");
  EXPECT_EQ(Variant(true).AsString(), "True");
  const double amount = 1234.56;
  EXPECT_EQ(Variant(Variant(amount).AsString()).AsFloat(), amount);
}

TEST(VariantTest, BooleansFromFlagsAndTexts) {
  EXPECT_TRUE(Variant("True").AsBoolean());
  EXPECT_TRUE(Variant("S").AsBoolean());
  EXPECT_FALSE(Variant("N").AsBoolean());
  EXPECT_FALSE(Variant("false").AsBoolean());
  EXPECT_TRUE(Variant(2).AsBoolean());
  EXPECT_THROW(Variant("talvez").AsBoolean(), VariantError);
}

TEST(VariantTest, DatesConvertThroughDayNumbersAndTexts) {
  const DateTime noon = DateTime::FromYMD(2026, 12, 6, 12);
  EXPECT_EQ(Variant(noon.DayNumber()).AsDateTime(), noon);
  EXPECT_EQ(Variant("2026-12-06T12:00:00").AsDateTime(), noon);
  EXPECT_EQ(Variant(noon).AsString(), "2026-12-06T12:00:00");
  EXPECT_THROW(Variant("ontem").AsDateTime(), VariantError);
}

TEST(VariantTest, ArraysAreBoundsChecked) {
  Variant a = Variant::Array(2);
  a[0] = Variant(true);
  a[1] = Variant("x");
  EXPECT_EQ(a.Size(), 2u);
  EXPECT_TRUE(a[1].IsString());
  EXPECT_TRUE(a[0].AsBoolean());
  EXPECT_THROW(a[2], VariantError);
  EXPECT_THROW(Variant(1).AsArray(), VariantError);
  EXPECT_EQ(Variant(1).Size(), 0u);
}

TEST(VariantTest, EqualityNeedsSameKindAndPacketsCompareByContent) {
  EXPECT_FALSE(Variant(1) == Variant(1.0));
  EXPECT_TRUE(Variant("a") == Variant(std::string("a")));
  DataPacket p;
  p.fields.push_back({"CDTIPORECE", FieldType::String, 3});
  p.rows.push_back({Variant("001")});
  const Variant a(p);
  const Variant b(p);
  EXPECT_TRUE(a == b);
  p.rows[0][0] = Variant("002");
  EXPECT_FALSE(a == Variant(p));
  EXPECT_EQ(a.AsPacket().FieldIndex("cdtiporece"), 0);
  EXPECT_THROW(Variant("x").AsPacket(), VariantError);
  EXPECT_THROW(a.AsString(), VariantError);
}

}  // namespace
}  // namespace recebimento::base
