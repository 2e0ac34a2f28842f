// Reading the dates users type: the date dialog's three boxes and the exchange-rate window's one line.
#include <gtest/gtest.h>

#include <random>

#include "base/text.h"
#include "product/date_entry.h"

namespace kv {
namespace {

// A function, not a global: the calendar is not ready before main().
Date today() { return Date::fromYmd(2008, 3, 5); }

TEST(DateDialog, ReadsTheBoxesFallingBackToTodayWhereTheyCannotBeRead) {
  struct Case {
    const char *day, *month, *year;
    DialogDate want;
    Date date;  // as the calendar carries the day over
  };
  const DialogDate kept{1, 12, 1964};
  const Case cases[] = {
      {"31", "Şubat", "2009", {31, 2, 2009}, Date::fromYmd(2009, 3, 3)},
      {"0", "Mart", "2007", {5, 3, 2007}, Date::fromYmd(2007, 3, 5)},
      {"45", "ocak", "2008", {5, 1, 2008}, Date::fromYmd(2008, 1, 5)},
      {"-1", "MART", "2008", {-1, 3, 2008}, Date::fromYmd(2008, 2, 28)},
      {" 7 ", " NİSAN ", " 2009 ", {7, 4, 2009}, Date::fromYmd(2009, 4, 7)},
      {"12", "3", "2010", {12, 3, 2008}, Date::fromYmd(2008, 3, 12)},
      {"12", "EKIM", "2006", {12, 3, 2008}, Date::fromYmd(2008, 3, 12)},
      {"12", "eKİm", "", {12, 3, 2008}, Date::fromYmd(2008, 3, 12)},
      {"99999", "Aralık", "99999", {1, 12, 1964}, Date::fromYmd(1964, 12, 1)},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.day) + "|" + k.month + "|" + k.year);
    const DialogDate got = readDateDialog(w(k.day), w(k.month), w(k.year), kept, today());
    EXPECT_EQ(got.day, k.want.day);
    EXPECT_EQ(got.month, k.want.month);
    EXPECT_EQ(got.year, k.want.year);
    EXPECT_EQ(Date::fromYmd(got.year, got.month, got.day), k.date);
  }
}

TEST(DateDialog, EveryMonthIsReadInItsThreeSpellingsAndTheYearsMoveWithThePresent) {
  for (int m = 1; m <= 12; ++m) {
    const std::string shown = turkishMonthName(m);
    for (const std::string& spelling : {shown, upperCase(shown), lowerCase(shown)}) EXPECT_EQ(monthByName(spelling), m);
    EXPECT_EQ(monthByName(" " + shown), 0);
  }
  for (int present : {2008, 2026, 2031}) {
    const Date now = Date::fromYmd(present, 6, 15);
    for (int typed = present - 3; typed <= present + 3; ++typed) {
      const int want = typed >= present - 1 && typed <= present + 1 ? typed : present;
      EXPECT_EQ(readDateDialog("1", "Ocak", std::to_string(typed), {}, now).year, want) << typed;
      const int wantRate = typed >= present - 4 && typed <= present ? typed : present;
      EXPECT_EQ(parseRateDay("1 Ocak " + std::to_string(typed), {}, now).year, wantRate) << typed;
    }
  }
}

TEST(RateDate, TheMonthIsToldByTheEndingOfItsWord) {
  struct Case {
    const char* text;
    RateDay want;
  };
  const RateDay kept{2006, 1, 9};
  const Case cases[] = {
      {"12 Mart 2006", {2006, 3, 12}},   {"12 mart 2006", {2006, 3, 12}},  {"1 Ekim 2005", {2005, 10, 1}},
      {"1 EKIM 2005", {2005, 10, 1}},    {"3 Kasım 2005", {2005, 11, 3}},  {"3 Ocak 2005", {2005, 1, 3}},
      {"3 Aralık 2005", {2005, 12, 3}},  {"3 şubat 2005", {2005, 2, 3}},   {"3 Nisan 2005", {2005, 4, 3}},
      {"3 Haziran 2005", {2005, 6, 3}},  {"3 Ağustos 2005", {2005, 8, 3}}, {"3 Mayıs 2005", {2005, 5, 3}},
      {"3 Eylül 2005", {2005, 9, 3}},    {"3 Temmuz 2005", {2005, 7, 3}},  {"3 Tostos 2005", {2005, 8, 3}},
      {"2006", {2006, 3, 9}},            {"40 Mart 2006", {2006, 3, 5}},   {"12 Mart 2009", {2008, 3, 12}},
      {"12 Mart 2004", {2004, 3, 12}},   {"12 Mart 2003", {2008, 3, 12}},  {"", {2008, 3, 9}},
      {"ab", {2008, 3, 9}},              {"Mart2006", {2006, 3, 5}},       {"12 3 2006", {2006, 3, 9}},
      {"-7 Mart 2006", {2006, 3, 5}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.text);
    EXPECT_EQ(parseRateDay(w(k.text), kept, today()), k.want);
  }
}

TEST(RateDate, EveryDateShownReadsBackAsItself) {
  std::mt19937 rng(1964);
  for (int i = 0; i < 500; ++i) {
    const RateDay d{static_cast<std::int16_t>(2004 + rng() % 5), static_cast<std::int16_t>(1 + rng() % 12),
                    static_cast<std::int16_t>(1 + rng() % 31)};
    EXPECT_EQ(parseRateDay(rateDayText(d), {}, today()), d) << toUtf8(rateDayText(d));
  }
  EXPECT_EQ(toUtf8(rateDayText({1964, 12, 1})), "1 Aralık 1964");
}

}  // namespace
}  // namespace kv
