#include "base/dates.h"

#include <algorithm>
#include <cstdint>

#include "base/numbers.h"
#include "base/text.h"

namespace kv {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
long long daysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

struct Ymd {
  int y;
  int m;
  int d;
};

Ymd civilFromDays(long long z) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long y = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

const long long kEpoch = daysFromCivil(1899, 12, 30);

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

}  // namespace

Date Date::fromYmd(int year, int month, int day) {
  // In 64 bits from the start: any three ints give a day number that fits, which is then held at the
  // ends of the range a Date has.
  long long y = year;
  long long m = static_cast<long long>(month) - 1;
  y += m >= 0 ? m / 12 : -((11 - m) / 12);
  m = ((m % 12) + 12) % 12;
  const long long first = daysFromCivil(y, static_cast<unsigned>(m + 1), 1);
  const long long serial = first - kEpoch + day - 1;
  return Date{static_cast<std::int32_t>(std::clamp<long long>(serial, INT32_MIN, INT32_MAX))};
}

int Date::year() const { return civilFromDays(serial + kEpoch).y; }
int Date::month() const { return civilFromDays(serial + kEpoch).m; }
int Date::day() const { return civilFromDays(serial + kEpoch).d; }

std::string shortDateText(Date d) {
  Ymd c = civilFromDays(d.serial + kEpoch);
  char buf[32];
  int y = c.y < 0 ? 0 : c.y % 10000;
  std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", c.d, c.m, y);
  return buf;
}

std::optional<Date> parseShortDate(std::string_view text) {
  std::string_view t = trimView(text);
  int parts[3] = {0, 0, 0};
  int lengths[3] = {0, 0, 0};
  int part = 0;
  for (char c : t) {
    if (c == '.') {
      if (++part > 2) return std::nullopt;
    } else if (c >= '0' && c <= '9') {
      if (++lengths[part] > 4) return std::nullopt;
      parts[part] = parts[part] * 10 + (c - '0');
    } else {
      return std::nullopt;
    }
  }
  if (part != 2 || lengths[0] < 1 || lengths[0] > 2 || lengths[1] < 1 || lengths[1] > 2 || lengths[2] != 4)
    return std::nullopt;
  int day = parts[0], month = parts[1], year = parts[2];
  if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month)) return std::nullopt;
  return Date::fromYmd(year, month, day);
}

std::string turkishMonthName(int month) {
  switch (month) {
    case 1: return "Ocak"_w;
    case 2: return "Şubat"_w;
    case 3: return "Mart"_w;
    case 4: return "Nisan"_w;
    case 5: return "Mayıs"_w;
    case 6: return "Haziran"_w;
    case 7: return "Temmuz"_w;
    case 8: return "Ağustos"_w;
    case 9: return "Eylül"_w;
    case 10: return "Ekim"_w;
    case 11: return "Kasım"_w;
    default: return "Aralık"_w;
  }
}

std::string DateToTurkishText(Date d) {
  return recordNumberText(d.day()) + " " + turkishMonthName(d.month()) + recordNumberText(d.year()) + "  ";
}

}  // namespace kv
