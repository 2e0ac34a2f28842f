// Dates as the program keeps them: a day number counted from 30.12.1899 (the zero of the original's date
// type), shown in the one short form dd.MM.yyyy and in the Turkish long form of the date labels.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

struct Date {
  std::int32_t serial = 0;  // days since 30.12.1899

  // Calendar arithmetic as the original's DateSerial: a month beyond 12 or below 1 carries into the
  // year, a day beyond the month's last day carries into the next month, a day of 0 or less counts back
  // from the month's start (31 Şubat 2009 is 3 March 2009). A day beyond the range of `serial` gives the
  // range's end.
  static Date fromYmd(int year, int month, int day);
  int year() const;
  int month() const;
  int day() const;
  friend bool operator==(Date, Date) = default;
};

// Short date text, always 10 characters: "05.03.2008".
std::string shortDateText(Date d);

// Strict reading of a short date: blanks around it are ignored, then day and month of one or two digits
// and a four-digit year separated by full stops, naming a day that exists. Anything else is no date.
std::optional<Date> parseShortDate(std::string_view text);

// Turkish month name of 1..11, "Aralık" for any other number (Windows-1254).
std::string turkishMonthName(int month);

// The long date of the date labels: " 5 Mart 2008  " (a blank, the day with its sign place, a blank, the
// month, the year with its sign place, two blanks).
std::string DateToTurkishText(Date d);

}  // namespace kv
