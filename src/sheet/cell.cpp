// A cell's value as the program shows it and reads it into a record's field.
#include <algorithm>
#include <charconv>
#include <cmath>

#include "base/numbers.h"
#include "sheet/record_cells.h"
#include "sheet/sheet.h"

namespace kv::sheet {

std::optional<std::string> Cell::asText() const {
  switch (kind) {
    case CellKind::Empty:
      return std::string();
    case CellKind::Number:
      return doubleText(value);
    case CellKind::Text:
      return str;
    case CellKind::Date: {
      const double day = std::floor(value);
      if (!(day >= -657434 && day <= 2958465)) return std::nullopt;  // the dates a workbook can hold
      return shortDateText(Date{static_cast<std::int32_t>(day)});
    }
    case CellKind::Boolean:
      return std::string(value != 0 ? "True" : "False");
    case CellKind::Error:
      break;
  }
  return std::nullopt;
}

Cell Cell::single(float v) {
  Cell c = number(v);
  if (v == std::trunc(v) && std::fabs(v) < 1e15f) return c;
  char digits[32];
  char* const end = std::to_chars(digits, digits + sizeof digits, v).ptr;  // the shortest that reads as v
  double read = 0;
  std::from_chars(digits, end, read);
  if (static_cast<float>(read) != v) return c;
  std::replace(digits, end, 'e', 'E');  // as the library writes an exponent
  c.str.assign(digits, end);
  return c;
}

std::string cellText(const Cell& c) { return c.asText().value_or(std::string()); }

double cellNumber(const Cell& c) {
  if (c.kind == CellKind::Number) return c.value;
  if (c.kind == CellKind::Text) return leadingNumber(c.str);
  return leadingNumber(cellText(c));
}

}  // namespace kv::sheet
