// The program's own ordering of characters and the comparison of keys built on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "base/collation.h"
#include "base/text.h"

namespace kv {
namespace {

TEST(Collation, TheOrderingIsThe109BytesOfTheCompanyFiles) {
  const std::vector<unsigned char> bytes = {
      0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F, 0x30, 0x31,
      0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x61, 0x42,
      0x62, 0x43, 0x63, 0xC7, 0xE7, 0x44, 0x64, 0x45, 0x65, 0x46, 0x66, 0x47, 0x67, 0xD0, 0xF0, 0x48, 0x68, 0x49,
      0xFD, 0xDD, 0x69, 0x4A, 0x6A, 0x4B, 0x6B, 0x4C, 0x6C, 0x4D, 0x6D, 0x4E, 0x6E, 0x4F, 0x6F, 0xD6, 0xF6, 0x50,
      0x70, 0x51, 0x71, 0x52, 0x72, 0x53, 0x73, 0xDE, 0xFE, 0x54, 0x74, 0x55, 0x75, 0xDC, 0xFC, 0x56, 0x76, 0x57,
      0x77, 0x58, 0x78, 0x59, 0x79, 0x5A, 0x7A, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F, 0x60, 0x7B, 0x7C, 0x7D, 0x7E, 0xA3,
      0xD8};
  ASSERT_EQ(bytes.size(), 109u);
  EXPECT_EQ(collationString(), std::string(bytes.begin(), bytes.end()));
  for (std::size_t i = 0; i < bytes.size(); ++i) EXPECT_EQ(collationRank(bytes[i]), static_cast<int>(i + 1));
  int unranked = 0;
  for (int c = 0; c < 256; ++c) unranked += collationRank(static_cast<unsigned char>(c)) == 0;
  EXPECT_EQ(unranked, 256 - 109);
}

TEST(Collation, KeysSortByTheOrderingNotByByteValue) {
  std::vector<std::string> keys = {"b", "B", "a", "A", "Ç"_w, "c", "ç"_w, "C", "İ"_w, "i", "ı"_w, "I", "Z", "9", "0",
                                   "#", "Ø"_w, "ü"_w, "V"};
  std::sort(keys.begin(), keys.end(), [](const std::string& x, const std::string& y) { return compareKeys(x, y) < 0; });
  std::vector<std::string> want = {"#", "0", "9", "A", "a", "B", "b", "C", "c", "Ç"_w, "ç"_w, "I", "ı"_w, "İ"_w, "i",
                                   "ü"_w, "V", "Z", "Ø"_w};
  EXPECT_EQ(keys, want);
}

TEST(Collation, AShorterKeySortsFirstAndAnUnknownCharacterCountsAsNone) {
  EXPECT_LT(compareKeys("AB", "ABC"), 0);
  EXPECT_GT(compareKeys("ABC", "AB"), 0);
  EXPECT_EQ(compareKeys("AB", "AB"), 0);
  EXPECT_EQ(compareKeys("AB\x80", "AB"), 0);  // € is not in the ordering
  EXPECT_EQ(compareKeys("A\tB", "A\x01" "B"), 0);
  EXPECT_LT(compareKeys("A\tB", "AA"), 0);
  EXPECT_LT(compareKeys("", "A"), 0);
  EXPECT_EQ(compareKeys("", ""), 0);
  EXPECT_GT(compareKeys("Z", "a"), 0);  // by byte value Z would come first
  EXPECT_LT(compareKeys("a", "B"), 0);
}

TEST(Collation, TheBucketIsTheRankOfTheFirstCharacterOfTheTrimmedKey) {
  EXPECT_EQ(keyOf("  KOD 1  "), "KOD 1");
  EXPECT_EQ(bucketOf(keyOf("  KASNAK ")), collationRank('K'));
  EXPECT_EQ(bucketOf("A"), 34);
  EXPECT_EQ(bucketOf("z"), 97);
  EXPECT_EQ(bucketOf("Ø"_w), 109);
  EXPECT_EQ(bucketOf(""), 0);
  EXPECT_EQ(bucketOf("\x80X"), 0);
}

// The two fast forms of the comparison against compareKeys over random texts: blanks inside and around,
// characters outside the ordering, Turkish letters, shared beginnings.
TEST(Collation, RankStringsAndPreparedKeysCompareAsKeysDo) {
  const std::string alphabet = std::string("AaBb  \x80\x01") + "ÇçİıŞş"_w;
  std::mt19937 rng(7);
  auto text = [&] {
    std::string s;
    for (int n = static_cast<int>(rng() % 7); n > 0; --n) s += alphabet[rng() % alphabet.size()];
    return s;
  };
  auto sign = [](int v) { return (v > 0) - (v < 0); };
  for (int i = 0; i < 20000; ++i) {
    const std::string a(keyOf(text())), field = text();
    const std::string b(keyOf(field));
    const int want = sign(compareKeys(a, b));
    ASSERT_EQ(sign(rankString(a).compare(rankString(b))), want) << a << " | " << b;
    ASSERT_EQ(sign(PreparedKey(a).compare(field + std::string(rng() % 3, ' '))), want) << a << " | " << field;
  }
}

}  // namespace
}  // namespace kv
