#include "sheet/reader/number_formats.h"

#include <cstring>

namespace kv::sheet {

bool isDateFormat(std::string_view code) {
  bool quoted = false;
  int bracket = 0;
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char c = code[i];
    if (quoted) {
      if (c == '"') quoted = false;
      continue;
    }
    if (c == '"') quoted = true;
    else if (c == '\\' || c == '_' || c == '*') ++i;
    else if (c == '[') ++bracket;
    else if (c == ']') bracket = bracket > 0 ? bracket - 1 : 0;
    else if (bracket == 0 && c != 0 && std::strchr("dDmMyYhHsS", c) != nullptr) return true;
  }
  return false;
}

bool isBuiltInDateFormat(int id) {
  return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58);
}

double dateSerial(double value, bool date1904) {
  if (date1904) return value + 1462;
  return value >= 1 && value < 60 ? value + 1 : value;
}

}  // namespace kv::sheet
