// How the fields of a record travel through a workbook, both ways, for every exchange of the program:
// texts without their filling blanks, numbers as number cells holding the exact stored value (so that a
// spreadsheet can sum and sort them); and back by the leading-number rule, a value that does not fit its
// field giving 0. Number fields written as text by earlier versions read back as they always did.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "base/fixed_text.h"
#include "base/numbers.h"
#include "base/text.h"
#include "sheet/sheet.h"

namespace kv::sheet {

// ---- Into a workbook ----
template <std::size_t N>
Cell fieldCell(const FixedText<N>& field) {
  return Cell::text(trim(field.view()));
}
inline Cell fieldCell(std::int16_t v) { return Cell::number(v); }
inline Cell fieldCell(std::int32_t v) { return Cell::number(v); }
// A Single in its shortest digits; one that is no number (a damaged field) goes as the text it shows.
inline Cell fieldCell(float v) { return std::isfinite(v) ? Cell::single(v) : Cell::text(singleText(v)); }
// An amount goes as a number when its number cell reads back to it; the few that a double's digits
// cannot carry go as their exact digits, which are read back digit by digit.
inline Cell fieldCell(Currency v) {
  const double d = v.toDouble();
  return Currency::fromDouble(storedNumber(d)) == v ? Cell::number(d) : Cell::text(v.exactText());
}

// ---- Out of a workbook ----

// The cell as text; an error value gives an empty text.
std::string cellText(const Cell& c);
// The number the cell holds: a number cell its value, anything else the leading number of its text.
double cellNumber(const Cell& c);

// A text cut to the field's width or filled with blanks.
template <std::size_t N>
void readField(const Cell& c, FixedText<N>& field) {
  if (c.kind == CellKind::Text) field = c.str;  // the common case, without a copy
  else field = cellText(c);
}
inline void readField(const Cell& c, std::int16_t& v) { v = roundToInteger(cellNumber(c)).value_or(0); }
inline void readField(const Cell& c, std::int32_t& v) { v = roundToLong(cellNumber(c)).value_or(0); }
inline void readField(const Cell& c, float& v) { v = toSingle(cellNumber(c)).value_or(0.0f); }
inline void readField(const Cell& c, Currency& v) {
  v = (c.kind == CellKind::Text ? Currency::fromText(c.str) : Currency::fromDouble(cellNumber(c))).value_or(Currency{});
}

}  // namespace kv::sheet
