#include "lists/list_printer.h"

#include <utility>
#include <vector>

#include "base/text.h"
#include "print/ruled_page.h"
#include "print/text_fit.h"

namespace kv {

namespace {

enum class Field { Code, Name, Unit, Description };

struct TextCell {
  Field field;
  double x, cut;
};

// One list's page: its title, frame and cells; the cost and price lists end each row with their value,
// right-aligned in the last column.
struct Layout {
  const char* title;
  print::PageFrame page;
  std::vector<TextCell> cells;
  bool value;
};

constexpr double kValueX = 151.5, kValueWidth = 37;

// Every list has the same edges, head width, heading size, gap under the headings and bottom margin.
print::PageFrame listPage(double headSize, double bodySize, std::vector<print::Heading> headings,
                          std::vector<double> rules) {
  return {15, 190, 174, headSize, 11, bodySize, 0.7, 20, std::move(headings), std::move(rules)};
}

const Layout& layoutOf(ListKind kind) {
  using F = Field;
  static const Layout code{" KOD LİSTESİ",
                           listPage(11, 10, {{"MAL KODU", 15, 25}, {"MAL ADI", 40, 70}, {"BİRİM", 110, 15},
                                             {"AÇIKLAMA", 125, 65}},
                                    {15, 40, 110, 125, 190}),
                           {{F::Code, 17, 21}, {F::Name, 42, 66}, {F::Unit, 112, 12}, {F::Description, 127, 61}},
                           false};
  static const Layout cost{" MALİYET LİSTESİ",
                           listPage(12, 11, {{"MAL KODU", 15, 40}, {"MAL ADI", 55, 80}, {"BİRİM", 135, 15},
                                             {"MALİYET", 150, 40}},
                                    {15, 55, 135, 150, 190}),
                           {{F::Code, 17, 36}, {F::Name, 57, 76}, {F::Unit, 137, 12}},
                           true};
  static const Layout price{" FİYAT LİSTESİ",
                            listPage(12, 11, {{"MAL KODU", 15, 40}, {"MAL ADI", 55, 80}, {"BİRİM", 135, 15},
                                              {"FİYAT", 150, 40}},
                                     {15, 55, 135, 150, 190}),
                            {{F::Code, 17, 36}, {F::Name, 57, 76}, {F::Unit, 137, 12}},
                            true};
  static const Layout count{" SAYIM LİSTESİ",
                            listPage(12, 11, {{"MAL KODU", 15, 40}, {"MAL ADI", 55, 90}, {"SAYIM", 145, 30},
                                              {"BİRİM", 175, 15}},
                                     {15, 55, 145, 175, 190}),
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
      : p_(p),
        kind_(kind),
        layout_(layoutOf(kind)),
        page_(p, layout_.page, head.dateText, head.company + w(layout_.title)) {}

  print::PrintedDocument run(const FileHandle& list, std::int32_t count) {
    page_.begin();
    for (std::int32_t n = 1; n <= count; ++n) {
      page_.breakIfFull();
      row(list.get<ProductRecord>(n));
    }
    page_.close();
    return p_.EndDoc();
  }

 private:
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
    page_.ruleRow();
  }

  print::Printer& p_;
  ListKind kind_;
  const Layout& layout_;
  print::RuledPage page_;
};

}  // namespace

print::PrintedDocument printProductList(print::Printer& printer, ListKind kind, const FileHandle& list,
                                        std::int32_t count, const ListPrintHead& head) {
  return ListRun(printer, kind, head).run(list, count);
}

}  // namespace kv
