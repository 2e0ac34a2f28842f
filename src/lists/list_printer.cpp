#include "lists/list_printer.h"

#include <vector>

#include "common/numbers.h"
#include "common/text.h"
#include "print/text_fit.h"

namespace kv {

namespace {

enum class Field { Code, Name, Unit, Description };

struct Heading {
  const char* text;  // UTF-8
  double left, width;
};
struct TextCell {
  Field field;
  double x, cut;
};

// One list's page: its title, type sizes, headings, rules and cells; the cost and price lists end each
// row with their value, right-aligned in the last column.
struct Layout {
  const char* title;
  double headSize, bodySize;
  std::vector<Heading> headings;
  std::vector<double> rules;
  std::vector<TextCell> cells;
  bool value;
};

constexpr double kLeft = 15, kRight = 190, kHeadWidth = 174, kValueX = 151.5, kValueWidth = 37;

const Layout& layoutOf(ListKind kind) {
  using F = Field;
  static const Layout code{" KOD LİSTESİ", 11, 10,
                           {{"MAL KODU", 15, 25}, {"MAL ADI", 40, 70}, {"BİRİM", 110, 15}, {"AÇIKLAMA", 125, 65}},
                           {15, 40, 110, 125, 190},
                           {{F::Code, 17, 21}, {F::Name, 42, 66}, {F::Unit, 112, 12}, {F::Description, 127, 61}},
                           false};
  static const Layout cost{" MALİYET LİSTESİ", 12, 11,
                           {{"MAL KODU", 15, 40}, {"MAL ADI", 55, 80}, {"BİRİM", 135, 15}, {"MALİYET", 150, 40}},
                           {15, 55, 135, 150, 190},
                           {{F::Code, 17, 36}, {F::Name, 57, 76}, {F::Unit, 137, 12}},
                           true};
  static const Layout price{" FİYAT LİSTESİ", 12, 11,
                            {{"MAL KODU", 15, 40}, {"MAL ADI", 55, 80}, {"BİRİM", 135, 15}, {"FİYAT", 150, 40}},
                            {15, 55, 135, 150, 190},
                            {{F::Code, 17, 36}, {F::Name, 57, 76}, {F::Unit, 137, 12}},
                            true};
  static const Layout count{" SAYIM LİSTESİ", 12, 11,
                            {{"MAL KODU", 15, 40}, {"MAL ADI", 55, 90}, {"SAYIM", 145, 30}, {"BİRİM", 175, 15}},
                            {15, 55, 145, 175, 190},
                            {{F::Code, 17, 36}, {F::Name, 57, 86}, {F::Unit, 177, 12}},
                            false};
  return ofKind(kind, code, cost, price, count);
}

std::string fieldText(const ProductRecord& rec, Field f) {
  switch (f) {
    case Field::Code: return trim(rec.Code.str());
    case Field::Name: return trim(rec.Name.str());
    case Field::Unit: return trim(rec.Unit.str());
    case Field::Description: return trim(rec.Description.str());
  }
  return {};
}

class ListRun {
 public:
  ListRun(print::Printer& p, ListKind kind, const ListPrintHead& head)
      : p_(p), kind_(kind), layout_(layoutOf(kind)), head_(head) {}

  print::PrintedDocument run(const FileHandle& list, std::int32_t count) {
    headFont_ = print::turkishFont(p_, "Times New Roman");
    bodyFont_ = print::turkishFont(p_, "Arial");
    p_.ScaleMode = print::Scale::Millimetre;
    pageHead();
    for (std::int32_t n = 1; n <= count; ++n) {
      if (p_.CurrentY() > p_.ScaleHeight() - (lineHeight_ + 20)) {
        closePage();
        ++page_;
        p_.NewPage();
        pageHead();
      }
      row(list.get<ProductRecord>(n));
    }
    closePage();
    return p_.EndDoc();
  }

 private:
  void rule(double y) {
    lastRule_ = y;
    p_.Line(kLeft, y, kRight, y);
  }

  void pageHead() {
    p_.CurrentY = 18;
    p_.CurrentX = kLeft;
    print::useFont(p_, headFont_, layout_.headSize);
    const std::string title = head_.company + w(layout_.title);
    const std::string pageText = "Sayfa : " + recordNumberText(page_);
    const double spare = kHeadWidth - (p_.TextWidth(head_.dateText) + p_.TextWidth(title) + p_.TextWidth(pageText));
    p_.Print(head_.dateText, p_.Stay);
    p_.CurrentX = p_.CurrentX() + spare / 2 - 5;
    p_.Print(title, p_.Stay);
    p_.CurrentX = p_.CurrentX() + spare / 2 + 5;
    p_.Print(pageText);
    tableTop_ = p_.CurrentY() + 0.5;
    rule(tableTop_);

    print::useFont(p_, headFont_, 11);
    p_.CurrentY = tableTop_ + 1;
    const std::vector<Heading>& hs = layout_.headings;
    for (std::size_t i = 0; i < hs.size(); ++i) {
      const std::string text = w(hs[i].text);
      p_.CurrentX = hs[i].left + (hs[i].width - p_.TextWidth(text)) / 2;
      p_.Print(text, i + 1 < hs.size() ? p_.Stay : print::PrintEnd::NewLine);
    }
    rule(p_.CurrentY() + 0.7);
    print::useFont(p_, bodyFont_, layout_.bodySize);
    lineHeight_ = p_.TextHeight("Ay");
  }

  void row(const ProductRecord& rec) {
    p_.CurrentY = p_.CurrentY() + 1;
    for (const TextCell& c : layout_.cells) {
      const std::string text = print::cutToWidth(p_, fieldText(rec, c.field), c.cut);
      p_.CurrentX = c.x;
      p_.Print(text, p_.Stay);
    }
    if (layout_.value) {
      // A value too wide for its column is left out rather than shown cut.
      const std::string text = kind_ == ListKind::Price ? priceText(rec) : costText(rec);
      const double width = p_.TextWidth(text);
      if (width <= kValueWidth) {
        p_.CurrentX = kValueX + (kValueWidth - width);
        p_.Print(text, p_.Stay);
      }
    }
    p_.Print();
    rule(p_.CurrentY() + 0.5);
  }

  void closePage() {
    for (double x : layout_.rules) p_.Line(x, tableTop_, x, lastRule_);
  }

  print::Printer& p_;
  ListKind kind_;
  const Layout& layout_;
  const ListPrintHead& head_;
  std::string headFont_, bodyFont_;
  int page_ = 1;
  double tableTop_ = 0, lastRule_ = 0, lineHeight_ = 0;
};

}  // namespace

print::PrintedDocument printProductList(print::Printer& printer, ListKind kind, const FileHandle& list,
                                        std::int32_t count, const ListPrintHead& head) {
  return ListRun(printer, kind, head).run(list, count);
}

}  // namespace kv
