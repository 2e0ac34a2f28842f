// Text: the Windows-1254 code page against Unicode, Turkish letter case, blanks and fixed widths.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "base/fixed_text.h"
#include "base/text.h"

namespace kv {
namespace {

std::string byte(unsigned b) { return std::string(1, static_cast<char>(b)); }

// The bytes 80..9F of the code page, taken from the code page chart (0 = undefined).
constexpr char32_t kChart80[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0,      0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0,      0x0178,
};

TEST(CodePage, AsciiAndLatin1BytesAreTheirOwnCodePointsExceptTheSixTurkishLetters) {
  const std::map<unsigned, char32_t> turkish = {{0xD0, 0x011E}, {0xDD, 0x0130}, {0xDE, 0x015E},
                                                {0xF0, 0x011F}, {0xFD, 0x0131}, {0xFE, 0x015F}};
  for (unsigned b = 0; b < 0x80; ++b) EXPECT_EQ(cp1254ToUnicode(static_cast<unsigned char>(b)), b);
  for (unsigned b = 0xA0; b <= 0xFF; ++b) {
    auto it = turkish.find(b);
    char32_t want = it == turkish.end() ? b : it->second;
    EXPECT_EQ(cp1254ToUnicode(static_cast<unsigned char>(b)), want) << std::hex << b;
  }
}

TEST(CodePage, TheBytes80To9FFollowTheChartAndTheUndefinedOnesKeepTheirValue) {
  for (unsigned b = 0x80; b <= 0x9F; ++b) {
    char32_t want = kChart80[b - 0x80] ? kChart80[b - 0x80] : b;
    EXPECT_EQ(cp1254ToUnicode(static_cast<unsigned char>(b)), want) << std::hex << b;
  }
}

TEST(CodePage, EveryByteRoundTripsThroughUtf8) {
  std::string all;
  for (unsigned b = 0; b < 256; ++b) all += byte(b);
  auto back = fromUtf8(toUtf8(all));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, all);

  std::set<char32_t> distinct;
  for (unsigned b = 0; b < 256; ++b) {
    char32_t cp = cp1254ToUnicode(static_cast<unsigned char>(b));
    distinct.insert(cp);
    EXPECT_EQ(unicodeToCp1254(cp), static_cast<unsigned char>(b)) << std::hex << b;
  }
  EXPECT_EQ(distinct.size(), 256u);
}

TEST(CodePage, UndefinedBytesBecomeC2ControlCharactersInUtf8) {
  for (unsigned b : {0x81u, 0x8Du, 0x8Eu, 0x8Fu, 0x90u, 0x9Du, 0x9Eu}) {
    std::string utf8 = toUtf8(byte(b));
    EXPECT_EQ(utf8, std::string("\xC2") + byte(b)) << std::hex << b;
    EXPECT_EQ(fromUtf8(utf8), byte(b));
  }
}

TEST(CodePage, TurkishLettersConvertBothWays) {
  const std::string utf8 = "ÇĞİÖŞÜ çğıöşü €";
  const std::string cp = "\xC7\xD0\xDD\xD6\xDE\xDC \xE7\xF0\xFD\xF6\xFE\xFC \x80";
  EXPECT_EQ(fromUtf8(utf8), cp);
  EXPECT_EQ(toUtf8(cp), utf8);
  EXPECT_EQ("Kayıt yapıldı"_w, "Kay\xFDt yap\xFDld\xFD");
  EXPECT_EQ(w("Şubat"), "\xDE" "ubat");
}

TEST(CodePage, ACharacterWithoutAByteIsRefused) {
  EXPECT_FALSE(unicodeToCp1254(0x0100));   // Ā
  EXPECT_FALSE(unicodeToCp1254(0x0080));   // a C1 control the code page replaces by €
  EXPECT_FALSE(unicodeToCp1254(0x20BA));   // ₺
  EXPECT_FALSE(unicodeToCp1254(0x1F600));  // an emoji
  EXPECT_FALSE(fromUtf8("fiyat 5 ₺").has_value());
  EXPECT_FALSE(fromUtf8("Ā").has_value());
  EXPECT_FALSE(fromUtf8("\xF0\x9F\x98\x80").has_value());
}

TEST(CodePage, MalformedUtf8IsRefused) {
  EXPECT_FALSE(fromUtf8("\x80").has_value());          // a continuation byte alone
  EXPECT_FALSE(fromUtf8("a\xC3").has_value());         // cut off at the end
  EXPECT_FALSE(fromUtf8("\xE2\x82").has_value());      // cut off inside a three-byte form
  EXPECT_FALSE(fromUtf8("\xC3(").has_value());         // a lead byte without its continuation
  EXPECT_FALSE(fromUtf8("\xFF").has_value());
  // Overlong forms spell a character the long way round; they must not slip in as "/" or a NUL.
  EXPECT_FALSE(fromUtf8("\xC0\xAF").has_value());
  EXPECT_FALSE(fromUtf8("\xC0\x80").has_value());
  EXPECT_FALSE(fromUtf8("\xE0\x80\xAF").has_value());
  EXPECT_FALSE(fromUtf8("\xC1\x81").has_value());
  EXPECT_EQ(fromUtf8(""), "");
}

TEST(LetterCase, TheTurkishIsPairDotsAndDotlessSeparately) {
  EXPECT_EQ(upperCase("i"), "\xDD");  // i -> İ
  EXPECT_EQ(upperCase("\xFD"), "I");  // ı -> I
  EXPECT_EQ(lowerCase("I"), "\xFD");  // I -> ı
  EXPECT_EQ(lowerCase("\xDD"), "i");  // İ -> i
  EXPECT_EQ(upperCase("istanbul ılgaz"_w), "İSTANBUL ILGAZ"_w);
  EXPECT_EQ(lowerCase("İSTANBUL ILGAZ"_w), "istanbul ılgaz"_w);
}

TEST(LetterCase, TurkishAndLatinLettersChangeInPairs) {
  EXPECT_EQ(upperCase("çğöşü"_w), "ÇĞÖŞÜ"_w);
  EXPECT_EQ(lowerCase("ÇĞÖŞÜ"_w), "çğöşü"_w);
  EXPECT_EQ(upperCase("àéñåæøšœÿ"_w), "ÀÉÑÅÆØŠŒŸ"_w);
  EXPECT_EQ(lowerCase("ÀÉÑÅÆØŠŒŸ"_w), "àéñåæøšœÿ"_w);
  EXPECT_EQ(upperCase("abcxyz"), "ABCXYZ");
  EXPECT_EQ(lowerCase("ABCXYZ"), "abcxyz");
}

TEST(LetterCase, SignsDigitsAndLettersWithoutAPairStayAsTheyAre) {
  // × and ÷ sit among the Latin-1 letters; ß and µ have no single-byte capital.
  const std::string same = "0123456789 .,-+*/=#" + "×÷ßµ€£ªº"_w;
  EXPECT_EQ(upperCase(same), same);
  EXPECT_EQ(lowerCase(same), same);
}

TEST(LetterCase, UpperOfLowerGivesBackEveryUpperCaseLetter) {
  for (unsigned b = 0; b < 256; ++b) {
    auto c = static_cast<unsigned char>(b);
    unsigned char l = lowerChar(c);
    if (l != c) {
      EXPECT_EQ(upperChar(l), c) << std::hex << b;
    }
    unsigned char u = upperChar(c);
    if (u != c) {
      EXPECT_EQ(lowerChar(u), c) << std::hex << b;
    }
  }
}

TEST(Blanks, TrimRemovesOnlyBlanks) {
  EXPECT_EQ(trim("  KOD 1  "), "KOD 1");
  EXPECT_EQ(trim("\tKOD\t"), "\tKOD\t");
  EXPECT_EQ(trim(std::string("\xA0KOD\xA0")), "\xA0KOD\xA0");  // the no-break space is not a blank
  EXPECT_EQ(trim("    "), "");
  EXPECT_EQ(trim(""), "");
  EXPECT_EQ(trimLeft("  a b  "), "a b  ");
  EXPECT_EQ(trimRight("  a b  "), "  a b");
  EXPECT_EQ(trimRight("\n"), "\n");
}

TEST(FixedWidth, ShortTextsArePaddedWithBlanksLongOnesCut) {
  EXPECT_EQ(fitText("AB", 5), "AB   ");
  EXPECT_EQ(fitText("ABCDEFG", 5), "ABCDE");
  EXPECT_EQ(fitText("ABCDE", 5), "ABCDE");
  EXPECT_EQ(fitText("", 3), "   ");
  EXPECT_EQ(fitText("ABC", 0), "");

  FixedText<5> f;
  EXPECT_EQ(f.view(), "     ");
  f = "ÇAĞ"_w;
  EXPECT_EQ(f.view(), "ÇAĞ  "_w);
  f = std::string("ÜRÜNLER"_w);
  EXPECT_EQ(f.view(), "ÜRÜNL"_w);
  f = "ab";  // a shorter text after a longer one leaves nothing of the longer behind
  EXPECT_EQ(f.view(), "ab   ");
  EXPECT_EQ(FixedText<3>(std::string_view("a\0b", 3)).view(), std::string_view("a\0b", 3));
}

TEST(Pieces, LeftRightMidAndInTextCountFromOne) {
  EXPECT_EQ(leftText("KALVOR", 3), "KAL");
  EXPECT_EQ(leftText("KA", 3), "KA");
  EXPECT_EQ(rightText("KALVOR", 2), "OR");
  EXPECT_EQ(rightText("KA", 5), "KA");
  EXPECT_EQ(midText("KALVOR", 2, 3), "ALV");
  EXPECT_EQ(midText("KALVOR", 4), "VOR");
  EXPECT_EQ(midText("KALVOR", 7), "");
  EXPECT_EQ(midText("KALVOR", 0, 2), "");
  EXPECT_EQ(inText("KALVOR", "LV"), 3u);
  EXPECT_EQ(inText("KALVOR", "X"), 0u);
  EXPECT_EQ(inText("KALVOR", ""), 1u);
}

}  // namespace
}  // namespace kv
