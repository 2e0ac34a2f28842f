#include "print/ruled_page.h"

#include <utility>

#include "base/numbers.h"
#include "base/text.h"
#include "print/text_fit.h"

namespace kv::print {

std::string pageLabel(int pageNumber) { return "Sayfa : " + recordNumberText(pageNumber); }

RuledPage::RuledPage(Printer& printer, const PageFrame& frame, std::string left, std::string middle)
    : p_(printer), frame_(frame), left_(std::move(left)), middle_(std::move(middle)) {}

void RuledPage::begin() {
  headFont_ = turkishFont(p_, "Times New Roman");
  bodyFont_ = turkishFont(p_, "Arial");
  p_.ScaleMode = Scale::Millimetre;
  head();
}

void RuledPage::breakIfFull() {
  if (p_.CurrentY() <= p_.ScaleHeight() - (lineHeight_ + frame_.bottomMargin)) return;
  close();
  ++page_;
  p_.NewPage();
  head();
}

void RuledPage::ruleRow() { rule(p_.CurrentY() + 0.5); }

void RuledPage::close() {
  for (double x : frame_.rules) p_.Line(x, tableTop_, x, lastRule_);
}

void RuledPage::rule(double y) {
  lastRule_ = y;
  p_.Line(frame_.left, y, frame_.right, y);
}

// The left text at the left edge, the page number ending at the head's width, the middle text between.
void RuledPage::head() {
  const PageFrame& f = frame_;
  p_.CurrentY = 18;
  p_.CurrentX = f.left;
  useFont(p_, headFont_, f.headSize);
  const std::string pageText = pageLabel(page_);
  const double spare = f.headWidth - (p_.TextWidth(left_) + p_.TextWidth(middle_) + p_.TextWidth(pageText));
  p_.Print(left_, p_.Stay);
  p_.CurrentX = p_.CurrentX() + spare / 2 - 5;
  p_.Print(middle_, p_.Stay);
  p_.CurrentX = p_.CurrentX() + spare / 2 + 5;
  p_.Print(pageText);
  tableTop_ = p_.CurrentY() + 0.5;
  rule(tableTop_);

  useFont(p_, headFont_, f.headingSize);
  p_.CurrentY = tableTop_ + 1;
  for (std::size_t i = 0; i < f.headings.size(); ++i) {
    const std::string text = w(f.headings[i].text);
    p_.CurrentX = f.headings[i].left + (f.headings[i].width - p_.TextWidth(text)) / 2;
    p_.Print(text, i + 1 < f.headings.size() ? p_.Stay : PrintEnd::NewLine);
  }
  rule(p_.CurrentY() + f.headingGap);
  useFont(p_, bodyFont_, f.bodySize);
  lineHeight_ = p_.TextHeight("Ay");
}

}  // namespace kv::print
