// Dates of the one regional profile, and the injectable clock and random source.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/dates.h"
#include "base/text.h"

namespace kv {
namespace {

struct Ymd {
  int y, m, d;
};
Ymd ymdOf(Date d) { return {d.year(), d.month(), d.day()}; }
bool operator==(const Ymd& a, const Ymd& b) { return a.y == b.y && a.m == b.m && a.d == b.d; }
std::ostream& operator<<(std::ostream& o, const Ymd& v) { return o << v.d << "." << v.m << "." << v.y; }

int monthLength(int y, int m) {
  if (m == 2) return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0 ? 29 : 28;
  return m == 4 || m == 6 || m == 9 || m == 11 ? 30 : 31;
}

TEST(DateSerial, DaysCountFromTheThirtiethOfDecember1899) {
  EXPECT_EQ(Date::fromYmd(1899, 12, 30).serial, 0);
  EXPECT_EQ(Date::fromYmd(1899, 12, 31).serial, 1);
  EXPECT_EQ(Date::fromYmd(1900, 1, 1).serial, 2);
  EXPECT_EQ(Date::fromYmd(2008, 1, 1).serial, 39448);
  EXPECT_EQ(Date::fromYmd(2008, 3, 5).serial, 39512);
}

TEST(DateSerial, EveryDayOfTwoCenturiesFollowsTheDayBefore) {
  Date prev = Date::fromYmd(1899, 12, 31);
  for (int y = 1900; y <= 2100; ++y)
    for (int m = 1; m <= 12; ++m)
      for (int d = 1; d <= monthLength(y, m); ++d) {
        Date day = Date::fromYmd(y, m, d);
        ASSERT_EQ(day.serial, prev.serial + 1) << d << "." << m << "." << y;
        ASSERT_EQ(ymdOf(day), (Ymd{y, m, d}));
        ASSERT_EQ(parseShortDate(shortDateText(day)), day) << shortDateText(day);
        prev = day;
      }
}

TEST(DateSerial, DaysAndMonthsOutsideTheirRangeCarry) {
  EXPECT_EQ(ymdOf(Date::fromYmd(2009, 2, 31)), (Ymd{2009, 3, 3}));
  EXPECT_EQ(ymdOf(Date::fromYmd(2008, 2, 31)), (Ymd{2008, 3, 2}));
  EXPECT_EQ(ymdOf(Date::fromYmd(2009, 3, 0)), (Ymd{2009, 2, 28}));
  EXPECT_EQ(ymdOf(Date::fromYmd(2008, 3, 0)), (Ymd{2008, 2, 29}));
  EXPECT_EQ(ymdOf(Date::fromYmd(2009, 1, 0)), (Ymd{2008, 12, 31}));
  EXPECT_EQ(ymdOf(Date::fromYmd(2009, 1, -1)), (Ymd{2008, 12, 30}));
  EXPECT_EQ(ymdOf(Date::fromYmd(2009, 1, 365)), (Ymd{2009, 12, 31}));
  EXPECT_EQ(ymdOf(Date::fromYmd(2009, 12, 32)), (Ymd{2010, 1, 1}));
  EXPECT_EQ(ymdOf(Date::fromYmd(2009, 13, 1)), (Ymd{2010, 1, 1}));
  EXPECT_EQ(ymdOf(Date::fromYmd(2009, 14, 31)), (Ymd{2010, 3, 3}));
  EXPECT_EQ(ymdOf(Date::fromYmd(2009, 25, 1)), (Ymd{2011, 1, 1}));
  EXPECT_EQ(ymdOf(Date::fromYmd(2009, 0, 1)), (Ymd{2008, 12, 1}));
  EXPECT_EQ(ymdOf(Date::fromYmd(2009, -11, 1)), (Ymd{2008, 1, 1}));
  EXPECT_EQ(ymdOf(Date::fromYmd(2009, -12, 15)), (Ymd{2007, 12, 15}));
  // Far beyond the day numbers a date holds: the ends of their range.
  EXPECT_EQ(Date::fromYmd(2020, INT_MIN, 1).serial, INT32_MIN);
  EXPECT_EQ(Date::fromYmd(INT_MAX, INT_MAX, INT_MAX).serial, INT32_MAX);
}

TEST(ShortDate, TenCharactersDayMonthYear) {
  EXPECT_EQ(shortDateText(Date::fromYmd(2008, 3, 5)), "05.03.2008");
  EXPECT_EQ(shortDateText(Date::fromYmd(2009, 12, 31)), "31.12.2009");
  EXPECT_EQ(shortDateText(Date{0}), "30.12.1899");
}

TEST(ShortDate, ReadsDatesWrittenWithOrWithoutLeadingZeros) {
  EXPECT_EQ(parseShortDate("05.03.2008"), Date::fromYmd(2008, 3, 5));
  EXPECT_EQ(parseShortDate("5.3.2008"), Date::fromYmd(2008, 3, 5));
  EXPECT_EQ(parseShortDate("  05.03.2008  "), Date::fromYmd(2008, 3, 5));
  EXPECT_EQ(parseShortDate("29.02.2008"), Date::fromYmd(2008, 2, 29));
  EXPECT_EQ(parseShortDate("29.02.2000"), Date::fromYmd(2000, 2, 29));
}

TEST(ShortDate, ATextThatIsNotADateGivesNoDate) {
  for (const char* text :
       {"", "          ", "31.02.2009", "29.02.2009", "29.02.1900", "31.04.2009", "00.03.2008", "32.01.2008",
        "05.00.2008", "05.13.2008", "05.03.08", "05.03.20081", "005.03.2008", "05-03-2008", "05/03/2008",
        "05.03.2008x", "x05.03.2008", "05.03", "05.03.", "..", "...", ".05.03.2008", "05.03.2008.", "05..2008",
        "\t05.03.2008", "05 .03.2008", "-5.03.2008", "abc", "99999999999999999999"}) {
    EXPECT_FALSE(parseShortDate(text).has_value()) << '"' << text << '"';
  }
}

TEST(TurkishDate, BlankDayBlankMonthYearAndTwoBlanks) {
  EXPECT_EQ(DateToTurkishText(Date::fromYmd(2008, 3, 5)), " 5 Mart 2008  "_w);
  EXPECT_EQ(DateToTurkishText(Date::fromYmd(2009, 12, 31)), " 31 Aralık 2009  "_w);
  EXPECT_EQ(DateToTurkishText(Date::fromYmd(2008, 1, 1)), " 1 Ocak 2008  "_w);
  EXPECT_EQ(DateToTurkishText(Date::fromYmd(2009, 2, 28)), " 28 Şubat 2009  "_w);
}

TEST(TurkishDate, MonthNamesAndDecemberForAnyOtherNumber) {
  const char* names[] = {"Ocak", "Şubat", "Mart",  "Nisan", "Mayıs", "Haziran",
                         "Temmuz", "Ağustos", "Eylül", "Ekim", "Kasım", "Aralık"};
  for (int m = 1; m <= 12; ++m) {
    EXPECT_EQ(turkishMonthName(m), w(names[m - 1])) << m;
    EXPECT_EQ(DateToTurkishText(Date::fromYmd(2010, m, 15)), " 15 " + w(names[m - 1]) + " 2010  ");
  }
  EXPECT_EQ(turkishMonthName(0), "Aralık"_w);
  EXPECT_EQ(turkishMonthName(13), "Aralık"_w);
  EXPECT_EQ(turkishMonthName(-1), "Aralık"_w);
}

// The clock and the random source are program-wide; every test puts the program's own back.
class Injected : public ::testing::Test {
 protected:
  void TearDown() override {
    setClock(nullptr);
    setRandomSource(nullptr);
  }
};

TEST_F(Injected, AFixedClockStandsInForTheSystemClockUntilRemoved) {
  FixedClock fixed(Date::fromYmd(2001, 1, 1), 3600.5);
  setClock(&fixed);
  EXPECT_EQ(clock().today(), Date::fromYmd(2001, 1, 1));
  EXPECT_EQ(clock().secondsSinceMidnight(), 3600.5);
  fixed.set(Date::fromYmd(2008, 3, 5), 10);
  EXPECT_EQ(clock().today(), Date::fromYmd(2008, 3, 5));
  setClock(nullptr);
  EXPECT_GT(clock().today().serial, Date::fromYmd(2020, 1, 1).serial);
  double s = clock().secondsSinceMidnight();
  EXPECT_GE(s, 0.0);
  EXPECT_LT(s, 86400.0);
}

class ConstantRandom : public RandomSource {
 public:
  explicit ConstantRandom(double v) : v_(v) {}
  double next() override { return v_; }

 private:
  double v_;
};

TEST_F(Injected, TheRandomIdentityIsTheDrawTimesTheLargestLongRoundedHalfToEven) {
  ConstantRandom zero(0.0);
  setRandomSource(&zero);
  EXPECT_EQ(drawRandomIdentity(), 0);
  ConstantRandom half(0.5);  // 1073741823,5
  setRandomSource(&half);
  EXPECT_EQ(drawRandomIdentity(), 1073741824);
  ConstantRandom top(std::nextafter(1.0, 0.0));
  setRandomSource(&top);
  EXPECT_EQ(drawRandomIdentity(), 2147483647);
}

TEST_F(Injected, TheProgramsOwnSourceDrawsDifferentIdentitiesInRange) {
  std::set<std::int32_t> seen;
  std::int32_t last = -1;
  for (int i = 0; i < 1000; ++i) {
    std::int32_t id = drawRandomIdentity();
    EXPECT_GE(id, 0);
    EXPECT_NE(id, last);
    last = id;
    seen.insert(id);
  }
  EXPECT_GT(seen.size(), 990u);
}

TEST_F(Injected, ASeededSourceRepeatsItsDraws) {
  auto first = makeSeededRandom(42);
  setRandomSource(first.get());
  std::vector<std::int32_t> a;
  for (int i = 0; i < 20; ++i) a.push_back(drawRandomIdentity());
  auto second = makeSeededRandom(42);
  setRandomSource(second.get());
  std::vector<std::int32_t> b;
  for (int i = 0; i < 20; ++i) b.push_back(drawRandomIdentity());
  EXPECT_EQ(a, b);
  auto other = makeSeededRandom(43);
  setRandomSource(other.get());
  EXPECT_NE(drawRandomIdentity(), a[0]);
}

}  // namespace
}  // namespace kv
