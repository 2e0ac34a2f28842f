// The page frame the printed lists and reports share: a head line on every page (a text at the left, a
// text in the middle, the page number at the right), a rule, centred headings, a rule, the rows in the
// body font with a rule under each, a new page when the next row would come too near the bottom, and the
// vertical rules that close each page from under the head to the last row's rule.
#pragma once

#include <string>
#include <vector>

#include "print/printer.h"

namespace kv::print {

// "Sayfa : " and the page number after a blank.
std::string pageLabel(int pageNumber);

struct Heading {
  const char* text;  // UTF-8
  double left, width;
};

// The numbers in which one page differs from another; millimetres and points.
struct PageFrame {
  double left, right, headWidth;
  double headSize, headingSize, bodySize;
  double headingGap;    // from the line of the headings to the rule under them
  double bottomMargin;  // kept free under the next row
  std::vector<Heading> headings;
  std::vector<double> rules;  // the x of each vertical rule
};

class RuledPage {
 public:
  // The head texts in Windows-1254.
  RuledPage(Printer& printer, const PageFrame& frame, std::string left, std::string middle);

  // The Turkish fonts when the printer offers them, the millimetre scale, the first page's head.
  void begin();
  // Before a row: closes the page and begins the next when the row would come too near the bottom.
  void breakIfFull();
  // The rule under the row just printed.
  void ruleRow();
  // The vertical rules of the page.
  void close();
  int pages() const { return page_; }

 private:
  void head();
  void rule(double y);

  Printer& p_;
  const PageFrame& frame_;
  std::string left_, middle_;
  std::string headFont_, bodyFont_;
  int page_ = 1;
  double tableTop_ = 0, lastRule_ = 0, lineHeight_ = 0;
};

}  // namespace kv::print
