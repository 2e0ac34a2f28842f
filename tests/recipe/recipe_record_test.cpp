// The recipe and level records byte for byte: the bytes of a record with every field set are assembled
// here field after field, in file order, so that each field is checked at its offset and the fields are
// checked to fill the record without gap or overlap.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "base/text.h"
#include "records/recipe_record.h"

namespace kv {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The bytes of a record in file order.
struct Layout {
  Bytes bytes;
  Layout& i16(std::int16_t v) { return le(static_cast<std::uint16_t>(v), 2); }
  Layout& i32(std::int32_t v) { return le(static_cast<std::uint32_t>(v), 4); }
  Layout& f32(float v) { return le(std::bit_cast<std::uint32_t>(v), 4); }
  Layout& text(const std::string& cp1254, std::size_t width) {
    std::string t = cp1254.substr(0, width);
    t.resize(width, ' ');
    bytes.insert(bytes.end(), t.begin(), t.end());
    return *this;
  }
  Layout& le(std::uint32_t v, int width) {
    for (int i = 0; i < width; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return *this;
  }
};

template <class Rec>
Bytes encoded(const Rec& r) {
  Bytes b(Rec::Length, 0xA5);  // every byte must be written, whatever the buffer held
  r.encode(b.data());
  return b;
}

RecipeRecord everyRecipeField() {
  RecipeRecord r;
  r.ItemRecord = 0x0102;
  r.LineType = -7;
  r.Code = "ÇİĞ-ŞÖÜ 0123456789AB-cut"_w;
  r.Name = "Dişli çark Ø40"_w;
  r.Quantity = 2.5f;
  r.Unit = "Metre";
  r.Deleted = "H";
  r.Cost = -0.1f;
  r.Coefficient = 1e-40f;
  r.Price = 3.4e38f;
  r.Total = -0.0f;
  r.Day = 0x0304;
  r.Month = 0x0506;
  r.Year = 2025;
  r.OwnerCode = "ÜRÜN-1"_w;
  r.OwnerRecord = 32767;
  r.OwnerRandomNumber = -2147483647 - 1;
  r.NextLine = 0x7F010203;
  r.Sequence = -32768;
  return r;
}

LevelRecord everyLevelField() {
  LevelRecord r;
  r.Code = "MİL-20"_w;
  r.Name = std::string(41, 'n');
  r.Unit = "Kg";
  r.TypeChar = "4";
  r.ParentCode = "ŞASİ"_w;
  r.ParentRecord = 0x0A0B;
  r.LineType = 4;
  r.RecipeLine = 40000;
  r.NextLine = -1;
  r.Level = 20;
  r.IndexInGroup = 0x0C0D;
  r.Reserved = 0;
  r.ParentLevelRecord = 32767;
  r.Quantity = 0.3f;
  r.UnitCost = 1234.5678f;
  r.Total = 370.37034f;
  return r;
}

TEST(RecipeRecordLayout, EveryFieldAtItsOffset) {
  Layout want;
  want.i16(0x0102).i16(-7).text("ÇİĞ-ŞÖÜ 0123456789AB"_w, 20).text("Dişli çark Ø40"_w, 40).f32(2.5f);
  want.text("Metre", 5).text("H", 1).f32(-0.1f).f32(1e-40f).f32(3.4e38f).f32(-0.0f);
  want.i16(0x0304).i16(0x0506).i16(2025).text("ÜRÜN-1"_w, 20).i16(32767).i32(-2147483647 - 1);
  want.i32(0x7F010203).i16(-32768);
  ASSERT_EQ(want.bytes.size(), 128u);
  EXPECT_EQ(encoded(everyRecipeField()), want.bytes);

  RecipeRecord back = RecipeRecord::decode(want.bytes.data());
  EXPECT_EQ(encoded(back), want.bytes);
  EXPECT_EQ(back.ItemRecord, 0x0102);
  EXPECT_EQ(back.Code.view(), "ÇİĞ-ŞÖÜ 0123456789AB"_w);
  EXPECT_EQ(back.Deleted.view(), "H");
  EXPECT_EQ(back.Quantity, 2.5f);
  EXPECT_TRUE(std::signbit(back.Total));
  EXPECT_EQ(back.OwnerCode.view(), fitText("ÜRÜN-1"_w, 20));
  EXPECT_EQ(back.OwnerRandomNumber, -2147483647 - 1);
  EXPECT_EQ(back.NextLine, 0x7F010203);
  EXPECT_EQ(back.Sequence, -32768);
}

TEST(LevelRecordLayout, EveryFieldAtItsOffset) {
  Layout want;
  want.text("MİL-20"_w, 20).text(std::string(40, 'n'), 40).text("Kg", 5).text("4", 1).text("ŞASİ"_w, 20);
  want.i16(0x0A0B).i16(4).i32(40000).i32(-1).i16(20).i16(0x0C0D).i16(0).i16(32767);
  want.f32(0.3f).f32(1234.5678f).f32(370.37034f);
  ASSERT_EQ(want.bytes.size(), 118u);
  EXPECT_EQ(encoded(everyLevelField()), want.bytes);

  LevelRecord back = LevelRecord::decode(want.bytes.data());
  EXPECT_EQ(encoded(back), want.bytes);
  EXPECT_EQ(back.ParentCode.view(), fitText("ŞASİ"_w, 20));
  EXPECT_EQ(back.RecipeLine, 40000);
  EXPECT_EQ(back.NextLine, -1);
  EXPECT_EQ(back.ParentLevelRecord, 32767);
  EXPECT_EQ(back.UnitCost, 1234.5678f);
}

TEST(RecipeRecordLayout, NewRecordsAreBlankTextAndZeroNumbers) {
  Layout recipe;
  recipe.i16(0).i16(0).text("", 20).text("", 40).f32(0).text("", 5).text("", 1).f32(0).f32(0).f32(0).f32(0);
  recipe.i16(0).i16(0).i16(0).text("", 20).i16(0).i32(0).i32(0).i16(0);
  EXPECT_EQ(encoded(RecipeRecord{}), recipe.bytes);
  Layout level;
  level.text("", 20).text("", 40).text("", 5).text("", 1).text("", 20).i16(0).i16(0).i32(0).i32(0);
  level.i16(0).i16(0).i16(0).i16(0).f32(0).f32(0).f32(0);
  EXPECT_EQ(encoded(LevelRecord{}), level.bytes);
}

// A line read and written back keeps every byte, even those no field of this program gives meaning to
// (not-a-number payloads, bytes that are no Windows-1254 letter).
TEST(RecipeRecordLayout, AnyBytesSurviveDecodeAndEncode) {
  std::mt19937 rng(952);
  for (int i = 0; i < 200; ++i) {
    Bytes recipe(RecipeRecord::Length), level(LevelRecord::Length);
    for (auto& b : recipe) b = static_cast<std::uint8_t>(rng());
    for (auto& b : level) b = static_cast<std::uint8_t>(rng());
    ASSERT_EQ(encoded(RecipeRecord::decode(recipe.data())), recipe);
    ASSERT_EQ(encoded(LevelRecord::decode(level.data())), level);
  }
}

}  // namespace
}  // namespace kv
