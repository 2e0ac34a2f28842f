// How the fields of a record travel through a workbook, both ways, for every exchange of the program:
// texts without their filling blanks, whole numbers in decimal digits, Singles and Currency amounts in the
// general number form with a decimal comma, all as text cells (the record number of a row is the only
// number cell); and back by the leading-number rule, a value that does not fit its field giving 0.
#pragma once

#include <cstdint>
#include <string>

#include "common/fixed_text.h"
#include "common/numbers.h"
#include "common/text.h"
#include "sheet/sheet.h"

namespace kv::sheet {

// ---- Into a workbook ----
template <std::size_t N>
Cell fieldCell(const FixedText<N>& field) {
  return Cell::text(trim(field.view()));
}
inline Cell fieldCell(std::int16_t v) { return Cell::text(std::to_string(v)); }
inline Cell fieldCell(std::int32_t v) { return Cell::text(std::to_string(v)); }
inline Cell fieldCell(float v) { return Cell::text(singleText(v)); }
// At most four decimals, as the amount holds.
inline Cell fieldCell(Currency v) { return Cell::text(doubleText(v.toDouble())); }

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
inline void readField(const Cell& c, Currency& v) { v = Currency::fromDouble(cellNumber(c)).value_or(Currency{}); }

}  // namespace kv::sheet
