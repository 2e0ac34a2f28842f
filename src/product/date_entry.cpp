#include "product/date_entry.h"

#include <optional>

#include "base/numbers.h"
#include "base/text.h"

namespace kv {

namespace {

// The whole number at the start of a text, when it fits a 16-bit integer.
std::optional<std::int16_t> leadingInteger(std::string_view text) {
  return roundToInteger(leadingNumber(trimView(text)));
}

}  // namespace

YearWindow dateDialogYears(Date today) { return {today.year() - 1, today.year() + 1}; }
YearWindow rateYears(Date today) { return {today.year() - 4, today.year()}; }

int monthByName(std::string_view name) {
  for (int m = 1; m <= 12; ++m) {
    const std::string shown = turkishMonthName(m);
    if (name == shown || name == upperCase(shown) || name == lowerCase(shown)) return m;
  }
  return 0;
}

DialogDate readDateDialog(std::string_view dayText, std::string_view monthText, std::string_view yearText,
                          DialogDate kept, Date today) {
  DialogDate d = kept;
  if (const auto day = leadingInteger(dayText)) d.day = *day > 31 || *day == 0 ? today.day() : *day;
  if (const auto year = leadingInteger(yearText))
    d.year = dateDialogYears(today).holds(*year) ? *year : today.year();
  const int month = monthByName(trimView(monthText));
  d.month = month != 0 ? month : today.month();
  return d;
}

namespace {

struct MonthEnding {
  int month;
  std::size_t length;  // of the name that is cut off
};

// Only the ending of the word counts; `u` is upper case and not empty.
std::optional<MonthEnding> monthByEnding(std::string_view u) {
  auto endsWith = [u](std::string_view e) { return u.size() >= e.size() && u.substr(u.size() - e.size()) == e; };
  switch (u.back()) {
    case 'K': return endsWith("AK") ? MonthEnding{1, 4} : MonthEnding{12, 6};
    case 'T': return endsWith("RT") ? MonthEnding{3, 4} : MonthEnding{2, 5};
    case 'N': return endsWith("SAN") ? MonthEnding{4, 5} : MonthEnding{6, 7};
    case 'S': return endsWith("OS") ? MonthEnding{8, 7} : MonthEnding{5, 5};
    case 'M': return endsWith("KIM") || endsWith("K\xDDM") ? MonthEnding{10, 4} : MonthEnding{11, 5};
    case 'L': return MonthEnding{9, 5};
    case 'Z': return MonthEnding{7, 6};
    default: return std::nullopt;
  }
}

// The part of a text before its last n characters (nothing when it is shorter).
std::string_view cutEnd(std::string_view s, std::size_t n) { return s.substr(0, s.size() > n ? s.size() - n : 0); }

}  // namespace

RateDay parseRateDay(std::string_view text, RateDay kept, Date today) {
  RateDay d = kept;
  const std::string_view t = trimView(text);
  const std::string_view yearPart = t.substr(t.size() > 4 ? t.size() - 4 : 0);
  d.year = roundToInteger(leadingNumber(yearPart)).value_or(0);
  const std::string_view rest = trimView(cutEnd(t, 4));
  const std::optional<MonthEnding> month = rest.empty() ? std::nullopt : monthByEnding(upperCase(rest));
  if (month) {
    d.month = static_cast<std::int16_t>(month->month);
    d.day = leadingInteger(cutEnd(rest, month->length)).value_or(0);
  } else {
    d.month = static_cast<std::int16_t>(today.month());
  }
  // No day of the month is below 1: a negative day falls back as 0 does, instead of being stored.
  if (d.day < 1 || d.day > 31) d.day = static_cast<std::int16_t>(today.day());
  if (!rateYears(today).holds(d.year)) d.year = static_cast<std::int16_t>(today.year());
  return d;
}

std::string rateDayText(const RateDay& d) {
  return std::to_string(d.day) + " " + turkishMonthName(d.month) + " " + std::to_string(d.year);
}

}  // namespace kv
