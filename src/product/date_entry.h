// Dates typed by the user: the three boxes of the date dialog, and the one line of the exchange-rate
// window ("12 Mart 2006"). Both fall back to today's values for what they cannot read, without a message.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/dates.h"

namespace kv {

// The years a user may type. They move with the present year, so that the program keeps accepting the
// year it is used in.
struct YearWindow {
  int first = 0;
  int last = 0;
  bool holds(int year) const { return year >= first && year <= last; }
};
// The date dialog: the year before, the present one and the next.
YearWindow dateDialogYears(Date today);
// The exchange rates: the four years before and the present one.
YearWindow rateYears(Date today);

// What the date dialog reads from its boxes. `kept` holds the values shown at activation (or the last
// save); a day or year whose number does not fit a 16-bit integer keeps its value from there.
struct DialogDate {
  int day = 0;
  int month = 0;
  int year = 0;
};
DialogDate readDateDialog(std::string_view dayText, std::string_view monthText, std::string_view yearText,
                          DialogDate kept, Date today);

// The month whose name, as shown ("Mart") or all in upper or all in lower case ("MART", "mart"), is
// exactly `name`; 0 for none.
int monthByName(std::string_view name);

// The date the exchange-rate window works on.
struct RateDay {
  std::int16_t year = 0;
  std::int16_t month = 0;
  std::int16_t day = 0;
  friend bool operator==(const RateDay&, const RateDay&) = default;
};
// Reads "day month-name year" from its end: the last four characters are the year, the month is told by
// the ending of the word before it, and what stands before the month is the day. Without a month word the
// month is today's and the day stays `kept.day`.
RateDay parseRateDay(std::string_view text, RateDay kept, Date today);
// "1 Aralık 1964".
std::string rateDayText(const RateDay& d);

}  // namespace kv
