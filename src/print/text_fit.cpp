#include "print/text_fit.h"

namespace kv::print {

std::string turkishFont(Printer& printer, const std::string& name) {
  const std::string turkish = name + " Tur";
  for (int i = 0; i < printer.FontCount(); ++i)
    if (printer.Fonts(i) == turkish) return turkish;
  return name;
}

void useFont(Printer& printer, const std::string& name, double size) {
  printer.FontName = name;
  printer.FontSize = size;
  printer.FontBold = false;
  printer.FontItalic = false;
}

std::string cutToWidth(std::string text, double limit, const TextMeasure& width) {
  if (text.empty() || width(text) <= limit) return text;
  // Dropping one character at a time and measuring again costs the square of the length; a damaged level
  // line can put tens of thousands of blanks before a code. Widths grow with the prefix, so the longest
  // prefix within the limit is found by halving instead, which gives the same text.
  std::size_t fits = 0, tooWide = text.size();
  while (tooWide - fits > 1) {
    const std::size_t mid = fits + (tooWide - fits) / 2;
    if (width(std::string_view(text).substr(0, mid)) <= limit)
      fits = mid;
    else
      tooWide = mid;
  }
  text.resize(fits);
  return text;
}

std::string cutToWidth(Printer& printer, std::string text, double limit) {
  return cutToWidth(std::move(text), limit, [&printer](std::string_view t) { return printer.TextWidth(t); });
}

}  // namespace kv::print
