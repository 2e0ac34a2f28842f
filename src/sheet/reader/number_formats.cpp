#include "sheet/reader/number_formats.h"

#include <cstring>

namespace kv::sheet {

bool isDateFormat(std::string_view code) {
  bool quoted = false;
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char c = code[i];
    if (quoted) {
      if (c == '"') quoted = false;
      continue;
    }
    if (c == '"') {
      quoted = true;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;
    } else if (c == '[') {
      // A colour, a condition or a locale; or elapsed hours, minutes or seconds ([h], [mm], [ss]): a
      // duration, which is a number of days and no date.
      const std::size_t close = code.find(']', i);
      if (close == std::string_view::npos) return false;
      const std::string_view inside = code.substr(i + 1, close - i - 1);
      if (!inside.empty() && inside.find_first_not_of("hHmMsS") == std::string_view::npos) return false;
      i = close;
    } else if (c != 0 && std::strchr("dDmMyYhHsS", c) != nullptr) {
      return true;
    }
  }
  return false;
}

bool isBuiltInDateFormat(int id) {
  return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || id == 45 || id == 47 || (id >= 50 && id <= 58);
}

double dateSerial(double value, bool date1904) {
  if (date1904) return value + 1462;
  return value >= 1 && value < 60 ? value + 1 : value;
}

}  // namespace kv::sheet
