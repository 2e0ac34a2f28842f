// What both readers tell from a cell's number format and from the workbook's date system: whether a number
// is shown as a date or a time, and which day it then is.
#pragma once

#include <string_view>

namespace kv::sheet {

// Does a format code show a date or a time? Quoted texts, escaped characters and [..] parts aside. A
// format of elapsed time ([h]:mm:ss, [mm], [ss]) shows a duration: a number of days, no date.
bool isDateFormat(std::string_view code);
// The built-in formats (by number) that show a date or a time; 46 ([h]:mm:ss) shows a duration.
bool isBuiltInDateFormat(int id);

// A workbook's number shown as a date, as the program's day number (30.12.1899 is 0) with the time as its
// fraction. In the 1900 system the spreadsheet counts a 29 February 1900 that never was, so its first two
// months lie one day off; the 1904 system counts from 1 January 1904.
double dateSerial(double value, bool date1904);

}  // namespace kv::sheet
