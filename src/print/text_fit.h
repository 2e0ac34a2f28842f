// What the printed lists and reports do alike with their texts: the Turkish variant of a font when the
// printer offers one, a plain font set in one step, and a cell text cut to the width of its column.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "print/printer.h"

namespace kv::print {

// "<name> Tur" when the printer offers it, else `name`.
std::string turkishFont(Printer& printer, const std::string& name);

// The font, its size, neither bold nor italic.
void useFont(Printer& printer, const std::string& name, double size);

// A text too wide for its cell loses its last characters (trailing blanks of a stored text first) until
// it is at most `limit` wide. `width` measures a text in the cell's font; a longer text is never narrower.
using TextMeasure = std::function<double(std::string_view)>;
std::string cutToWidth(std::string text, double limit, const TextMeasure& width);
// Measured in the printer's present font.
std::string cutToWidth(Printer& printer, std::string text, double limit);

}  // namespace kv::print
