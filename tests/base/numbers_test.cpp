// Numbers of the one regional profile: how they are shown, how they are read back, how they are rounded
// and stored.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>

#include "base/numbers.h"

namespace kv {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

float floatFromBits(std::uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

float readBackSingle(const std::string& shown) { return static_cast<float>(leadingNumber(shown)); }

TEST(SingleText, SevenSignificantDigitsDecimalCommaNoGrouping) {
  EXPECT_EQ(singleText(0.0f), "0");
  EXPECT_EQ(singleText(-0.0f), "0");
  EXPECT_EQ(singleText(12.5f), "12,5");
  EXPECT_EQ(singleText(-12.5f), "-12,5");
  EXPECT_EQ(singleText(1234567.0f), "1234567");
  EXPECT_EQ(singleText(100.0f), "100");
  EXPECT_EQ(singleText(0.1f), "0,1");
  EXPECT_EQ(singleText(1.0f / 3.0f), "0,3333333");
  EXPECT_EQ(singleText(2.0f / 3.0f), "0,6666667");
  EXPECT_EQ(singleText(123456.7f), "123456,7");
  EXPECT_EQ(singleText(-0.75f), "-0,75");
}

TEST(SingleText, ExponentFormBelowOneTenThousandthAndFromTenMillionOn) {
  EXPECT_EQ(singleText(0.0001f), "0,0001");
  EXPECT_EQ(singleText(0.00001f), "1E-05");
  EXPECT_EQ(singleText(-0.00001f), "-1E-05");
  EXPECT_EQ(singleText(9999999.0f), "9999999");
  EXPECT_EQ(singleText(10000000.0f), "1E+07");
  EXPECT_EQ(singleText(12345678.0f), "1,234568E+07");
  EXPECT_EQ(singleText(-12345678.0f), "-1,234568E+07");
  EXPECT_EQ(singleText(std::numeric_limits<float>::max()), "3,402823E+38");
  EXPECT_EQ(singleText(std::numeric_limits<float>::denorm_min()), "1,401298E-45");
}

TEST(SingleText, RoundingToSevenDigitsCarriesIntoTheNextPowerOfTen) {
  EXPECT_EQ(singleText(9.9999999f), "10");
  EXPECT_EQ(singleText(0.099999999f), "0,1");
  // Finer than seven digits is not shown: the float just above 1 shows as 1.
  EXPECT_EQ(singleText(std::nextafter(1.0f, 2.0f)), "1");
}

TEST(DoubleText, FifteenSignificantDigits) {
  EXPECT_EQ(doubleText(0.1), "0,1");
  EXPECT_EQ(doubleText(1.0 / 3.0), "0,333333333333333");
  EXPECT_EQ(doubleText(123456789012345.0), "123456789012345");
  EXPECT_EQ(doubleText(1e15), "1E+15");
  EXPECT_EQ(doubleText(-2.5e-7), "-2,5E-07");
}

TEST(RecordNumberText, OneLeadingBlankTakesTheSignPlace) {
  EXPECT_EQ(recordNumberText(7), " 7");
  EXPECT_EQ(recordNumberText(-3), "-3");
  EXPECT_EQ(recordNumberText(0), " 0");
  EXPECT_EQ(recordNumberText(32767), " 32767");
  EXPECT_EQ(recordNumberText(-32768), "-32768");
}

TEST(CurrencyText, TwoDecimalsDotGroupingAndTheLira) {
  EXPECT_EQ(currencyText(1234.56), "1.234,56 TL");
  EXPECT_EQ(currencyText(0.0), "0,00 TL");
  EXPECT_EQ(currencyText(-1234.56), "-1.234,56 TL");
  EXPECT_EQ(currencyText(5.0), "5,00 TL");
  EXPECT_EQ(currencyText(999.0), "999,00 TL");
  EXPECT_EQ(currencyText(1000.0), "1.000,00 TL");
  EXPECT_EQ(currencyText(1234567.891), "1.234.567,89 TL");
  EXPECT_EQ(currencyText(-12345678.0), "-12.345.678,00 TL");
  EXPECT_EQ(currencyText(0.05), "0,05 TL");
}

TEST(CurrencyText, HalfACentRoundsAwayFromZeroAndAZeroAmountHasNoSign) {
  EXPECT_EQ(currencyText(0.125), "0,13 TL");
  EXPECT_EQ(currencyText(-0.125), "-0,13 TL");
  EXPECT_EQ(currencyText(-0.004), "0,00 TL");
  EXPECT_EQ(currencyText(9.999), "10,00 TL");
}

TEST(CurrencyText, AmountsBeyondTheIntegerRangeKeepAllTheirDigits) {
  EXPECT_EQ(currencyText(1e20), "100.000.000.000.000.000.000,00 TL");
  EXPECT_EQ(currencyText(-1e18), "-1.000.000.000.000.000.000,00 TL");
  EXPECT_EQ(currencyText(static_cast<double>(std::numeric_limits<float>::max())).size(),
            39u + 12u + 6u);  // 39 digits, 12 group dots, ",00 TL"
  EXPECT_EQ(currencyText(kInf), "Inf TL");
  EXPECT_EQ(currencyText(std::nan("")), "NaN TL");
}

TEST(LeadingNumber, ReadsTheNumberAtTheStartOfAText) {
  EXPECT_EQ(leadingNumber("12,50 EUR"), 12.5);
  EXPECT_EQ(leadingNumber("12.50 EUR"), 12.5);
  EXPECT_EQ(leadingNumber("1.250,00 EUR"), 1.25);  // the second separator ends the number
  EXPECT_EQ(leadingNumber("abc"), 0.0);
  EXPECT_EQ(leadingNumber(""), 0.0);
  EXPECT_EQ(leadingNumber("   "), 0.0);
  EXPECT_EQ(leadingNumber("-"), 0.0);
  EXPECT_EQ(leadingNumber(","), 0.0);
  EXPECT_EQ(leadingNumber("42abc"), 42.0);
  EXPECT_EQ(leadingNumber("+7"), 7.0);
  EXPECT_EQ(leadingNumber(",5"), 0.5);
  EXPECT_EQ(leadingNumber("-,5"), -0.5);
  EXPECT_EQ(leadingNumber("5,"), 5.0);
}

TEST(LeadingNumber, BlanksAnywhereAreSkipped) {
  EXPECT_EQ(leadingNumber("1 000"), 1000.0);
  EXPECT_EQ(leadingNumber("  - 12 , 5 kg"), -12.5);
  EXPECT_EQ(leadingNumber("\t3"), 3.0);
}

TEST(LeadingNumber, ExponentsWithEOrD) {
  EXPECT_EQ(leadingNumber("-3E2"), -300.0);
  EXPECT_EQ(leadingNumber("2,5D1"), 25.0);
  EXPECT_EQ(leadingNumber("1e3"), 1000.0);
  EXPECT_EQ(leadingNumber("1,234568E+07"), 12345680.0);
  EXPECT_EQ(leadingNumber("1E-05"), 1e-5);
  EXPECT_EQ(leadingNumber("5E"), 5.0);   // an exponent without digits is no exponent
  EXPECT_EQ(leadingNumber("5E+x"), 5.0);
  EXPECT_EQ(leadingNumber("5 E 2"), 500.0);
}

TEST(LeadingNumber, TooLargeReadsInfiniteSoThatCallersCanRefuseItTooSmallReadsZero) {
  EXPECT_EQ(leadingNumber("1E999"), kInf);
  EXPECT_EQ(leadingNumber("-1E999"), -kInf);
  EXPECT_EQ(leadingNumber("1" + std::string(400, '0')), kInf);
  EXPECT_EQ(leadingNumber("1E-999"), 0.0);
  EXPECT_EQ(leadingNumber("-1E-999"), 0.0);
  EXPECT_EQ(leadingNumber("0," + std::string(400, '0') + "1"), 0.0);
  EXPECT_EQ(leadingNumber("-0," + std::string(400, '0') + "1"), 0.0);
  EXPECT_EQ(leadingNumber("1" + std::string(400, '0') + "E-10"), kInf);  // a negative exponent alone is no underflow
  EXPECT_EQ(leadingNumber("0," + std::string(400, '0') + "1E+500"), 1e99);
  EXPECT_FALSE(toSingle(leadingNumber("1E999")).has_value());
}

TEST(ShownNumbersReadBack, EverySingleTheUserCanTypeReadsBackToTheSameFloat) {
  // Decimals of up to seven significant digits over the whole range of a Single.
  std::mt19937 rng(952);
  std::uniform_int_distribution<int> mantissa(1, 9999999);
  std::uniform_int_distribution<int> exponent(-44, 31);
  for (int i = 0; i < 200000; ++i) {
    std::string typed = std::to_string(mantissa(rng)) + "e" + std::to_string(exponent(rng));
    float f = 0;
    std::from_chars(typed.data(), typed.data() + typed.size(), f);
    if (f == 0.0f) continue;
    if (i % 2) f = -f;
    std::string shown = singleText(f);
    ASSERT_EQ(readBackSingle(shown), f) << typed << " shown as " << shown;
  }
}

TEST(ShownNumbersReadBack, FractionsAndMoneyAmountsReadBackToTheSameFloat) {
  std::mt19937 rng(1254);
  std::uniform_int_distribution<int> cents(-10000000, 10000000);
  for (int i = 0; i < 100000; ++i) {
    float f = static_cast<float>(cents(rng)) / 100.0f;
    std::string shown = singleText(f);
    ASSERT_EQ(readBackSingle(shown), f) << shown;
  }
  for (float f : {0.1f, 0.2f, 0.3f, 1.1f, 2.675f, 3.14159f, 0.0001f, 1e-5f, 12.5f, 7e6f, 1.5e7f, 33.33f}) {
    EXPECT_EQ(readBackSingle(singleText(f)), f) << singleText(f);
    EXPECT_EQ(readBackSingle(singleText(-f)), -f) << singleText(-f);
  }
}

TEST(ShownNumbersReadBack, AnyFloatShowsAsTheNearestSevenDigitValueAndReadsBackToIt) {
  // A float with more than seven digits cannot survive seven digits, but what is shown reads back to the
  // float nearest the shown value, and that float is shown the same way again.
  std::mt19937 rng(2008);
  for (int i = 0; i < 200000; ++i) {
    float f = floatFromBits(static_cast<std::uint32_t>(rng()));
    if (!std::isfinite(f)) continue;
    std::string shown = singleText(f);
    float back = readBackSingle(shown);
    ASSERT_EQ(singleText(back), shown) << "bits " << std::hex << std::bit_cast<std::uint32_t>(f);
    if (f != 0.0f) {
      double unit = std::pow(10.0, std::floor(std::log10(std::fabs(static_cast<double>(back)))) - 6);
      ASSERT_LE(std::fabs(static_cast<double>(back) - f), unit) << shown;
    }
  }
}

TEST(ReadCurrencyText, ReadsEveryCurrencyTextBack) {
  EXPECT_EQ(readCurrencyText("1.234,56 TL"), 1234.56);
  EXPECT_EQ(readCurrencyText("-1.234.567,89 TL"), -1234567.89);
  EXPECT_EQ(readCurrencyText("0,00 TL"), 0.0);
  EXPECT_EQ(readCurrencyText("  12,5 tl "), 12.5);
  EXPECT_EQ(readCurrencyText("12,5"), 12.5);

  std::mt19937_64 rng(390);
  std::uniform_int_distribution<std::int64_t> cents(-99999999999999, 99999999999999);
  for (int i = 0; i < 100000; ++i) {
    double amount = static_cast<double>(cents(rng)) / 100.0;
    std::string shown = currencyText(amount);
    ASSERT_EQ(readCurrencyText(shown), amount) << shown;
  }
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(roundToInteger(0.5), 0);
  EXPECT_EQ(roundToInteger(1.5), 2);
  EXPECT_EQ(roundToInteger(2.5), 2);
  EXPECT_EQ(roundToInteger(3.5), 4);
  EXPECT_EQ(roundToInteger(-0.5), 0);
  EXPECT_EQ(roundToInteger(-1.5), -2);
  EXPECT_EQ(roundToInteger(-2.5), -2);
  EXPECT_EQ(roundToInteger(2.4999), 2);
  EXPECT_EQ(roundToInteger(2.5001), 3);
  EXPECT_EQ(roundToLong(0.5), 0);
  EXPECT_EQ(roundToLong(2.5), 2);
  EXPECT_EQ(roundToLong(-2.5), -2);
  EXPECT_EQ(roundToLong(1e9 + 0.5), 1000000000);
  EXPECT_EQ(roundToLong(1e9 + 1.5), 1000000002);
}

TEST(Rounding, A16BitResultMustFit) {
  EXPECT_EQ(roundToInteger(32767.4), 32767);
  EXPECT_FALSE(roundToInteger(32767.5).has_value());
  EXPECT_FALSE(roundToInteger(40000).has_value());
  EXPECT_EQ(roundToInteger(-32768.4), -32768);
  EXPECT_EQ(roundToInteger(-32768.5), -32768);
  EXPECT_FALSE(roundToInteger(-32768.6).has_value());
  EXPECT_FALSE(roundToInteger(std::nan("")).has_value());
  EXPECT_FALSE(roundToInteger(kInf).has_value());
}

TEST(Rounding, A32BitResultMustFit) {
  EXPECT_EQ(roundToLong(2147483647.4), 2147483647);
  EXPECT_FALSE(roundToLong(2147483647.5).has_value());
  EXPECT_EQ(roundToLong(-2147483648.5), std::numeric_limits<std::int32_t>::min());
  EXPECT_FALSE(roundToLong(-2147483648.6).has_value());
  EXPECT_FALSE(roundToLong(1e10).has_value());
  EXPECT_FALSE(roundToLong(-kInf).has_value());
  EXPECT_FALSE(roundToLong(std::nan("")).has_value());
}

TEST(CurrencyValue, FourDecimalsRoundedHalfToEven) {
  EXPECT_EQ(Currency::fromDouble(1234.5678)->raw, 12345678);
  EXPECT_EQ(Currency::fromDouble(0.15625)->raw, 1562);  // 1562,5 units
  EXPECT_EQ(Currency::fromDouble(0.46875)->raw, 4688);  // 4687,5 units
  EXPECT_EQ(Currency::fromDouble(-0.15625)->raw, -1562);
  EXPECT_EQ(Currency::fromDouble(0.0)->raw, 0);
  EXPECT_EQ(Currency{12345678}.toDouble(), 1234.5678);
}

TEST(CurrencyValue, OutOfRangeOrNotANumberIsRefused) {
  EXPECT_FALSE(Currency::fromDouble(1e15).has_value());
  EXPECT_FALSE(Currency::fromDouble(-1e15).has_value());
  EXPECT_FALSE(Currency::fromDouble(922337203685477.6).has_value());
  EXPECT_FALSE(Currency::fromDouble(kInf).has_value());
  EXPECT_FALSE(Currency::fromDouble(std::nan("")).has_value());
  auto largest = Currency::fromDouble(922337203685477.0);
  ASSERT_TRUE(largest.has_value());
  EXPECT_GT(largest->raw, 9223372036854760000);
  auto smallest = Currency::fromDouble(-922337203685477.5808);
  ASSERT_TRUE(smallest.has_value());
  EXPECT_EQ(smallest->raw, std::numeric_limits<std::int64_t>::min());
}

// Every amount comes back from its exact digits; a text of at most fifteen digits and four decimals reads
// as it reads through a double.
TEST(CurrencyValue, ExactDigitsReadBackAndShortTextsReadAsThroughADouble) {
  std::mt19937_64 rng(11);
  for (int i = 0; i < 20000; ++i) {
    const Currency v{static_cast<std::int64_t>(rng() >> (rng() % 64))};
    for (const Currency c : {v, Currency{-v.raw}}) EXPECT_EQ(Currency::fromText(c.exactText()), c) << c.exactText();
    std::string text = std::to_string(rng() % 100000000000ULL);
    if (rng() % 2) text.append(",").append(std::to_string(rng() % 10000));
    if (rng() % 2) text = "-" + text;
    EXPECT_EQ(Currency::fromText(text), Currency::fromDouble(leadingNumber(text))) << text;
  }
  EXPECT_EQ(Currency{std::numeric_limits<std::int64_t>::min()}.exactText(), "-922337203685477,5808");
  EXPECT_EQ(Currency{12345000}.exactText(), "1234,5");
  const std::pair<const char*, std::optional<Currency>> cases[] = {
      {"0,00005", Currency{0}},   {"0,00015", Currency{2}},         {"-0,000051", Currency{-1}},
      {"1,5E-4", Currency{2}},    {"1E-99", Currency{0}},           {"1E99", std::nullopt},
      {"abc", Currency{0}},       {" 12,5 TL", Currency{125000}},   {"922337203685477,5808", std::nullopt},
      {"-922337203685477,5808", Currency{std::numeric_limits<std::int64_t>::min()}}};
  for (const auto& [text, read] : cases) EXPECT_EQ(Currency::fromText(text), read) << text;
}

TEST(SingleValue, ValuesTooLargeForAFloatAreRefused) {
  EXPECT_EQ(toSingle(12.5), 12.5f);
  EXPECT_EQ(toSingle(3.4e38), 3.4e38f);
  EXPECT_EQ(toSingle(-3.4e38), -3.4e38f);
  EXPECT_FALSE(toSingle(3.5e38).has_value());
  EXPECT_FALSE(toSingle(-1e39).has_value());
  EXPECT_FALSE(toSingle(kInf).has_value());
  EXPECT_FALSE(toSingle(std::nan("")).has_value());
}

}  // namespace
}  // namespace kv
