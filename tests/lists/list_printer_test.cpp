// The printed lists on the recording printer: the page head of every page, every record's row once and in
// order across the page breaks, breaks only where the next row would not fit, the rules of each page.
#include <gtest/gtest.h>

#include <map>

#include "base/numbers.h"
#include "base/text.h"
#include "lists/list_printer.h"
#include "print/recording_printer.h"
#include "support/company.h"

namespace kv {
namespace {

using print::RecordedDocument;
using print::RecordedPage;

class ListPrinterTest : public ::testing::Test {
 protected:
  void makeList(int n) {
    FileHandle lst("KLVR952.LST", ProductRecord::Length);
    for (int i = 1; i <= n; ++i) {
      ProductRecord r = testing::makeProduct("K-" + std::to_string(i), "Ürün " + std::to_string(i));
      r.Unit = "AD";
      r.Cost = static_cast<float>(i) / 4;
      r.Coefficient = 2;
      r.CostCurrency = "EUR";
      lst.put(i, r);
    }
  }
  const RecordedDocument& print(ListKind kind) {
    const FileHandle lst("KLVR952.LST", ProductRecord::Length);
    print::Printer p;
    printProductList(p, kind, lst, lst.count(), {"KLVR952", w(" 5 Mart 2008  ")});
    return printed.documents().back();
  }
  // The rows of a page: the texts of the body font, by their line.
  static std::vector<std::vector<std::string>> rows(const RecordedPage& page, const std::string& bodyFont) {
    std::map<double, std::vector<std::string>> byLine;
    for (const auto& t : page.texts)
      if (t.font.name == bodyFont) byLine[t.y].push_back(toUtf8(t.text));
    std::vector<std::vector<std::string>> out;
    for (auto& [y, texts] : byLine) out.push_back(texts);
    return out;
  }

  testing::TempFolder folder;
  print::RecordingPrinter printed;
};

TEST_F(ListPrinterTest, EveryRecordIsOneRowInOrderAcrossThePagesEachWithItsHeadAndRules) {
  makeList(130);
  for (ListKind kind : {ListKind::Code, ListKind::Cost, ListKind::Price, ListKind::Count}) {
    const RecordedDocument& doc = print(kind);
    ASSERT_EQ(doc.state, RecordedDocument::State::Ended);
    ASSERT_GT(doc.pages.size(), 2u);
    const double bodySize = kind == ListKind::Code ? 10 : 11;
    const double limit = print::RecordingPrinter::kArea.height - (bodySize / 2 + 20);
    int next = 1;
    for (std::size_t p = 0; p < doc.pages.size(); ++p) {
      const RecordedPage& page = doc.pages[p];
      // The head: the date at the left, the company and the list's title, the page number.
      ASSERT_GE(page.texts.size(), 3u);
      EXPECT_EQ(toUtf8(page.texts[0].text), " 5 Mart 2008  ");
      EXPECT_EQ(toUtf8(page.texts[1].text).rfind("KLVR952 ", 0), 0u);
      EXPECT_EQ(toUtf8(page.texts[2].text), "Sayfa :  " + std::to_string(p + 1));
      for (const auto& row : rows(page, "Arial")) {
        ASSERT_GE(row.size(), 2u);
        EXPECT_EQ(row[0], "K-" + std::to_string(next));
        EXPECT_EQ(row[1], "Ürün " + std::to_string(next));
        if (kind == ListKind::Cost || kind == ListKind::Price) {
          const float value = static_cast<float>(next) / 4 * (kind == ListKind::Price ? 2 : 1);
          EXPECT_EQ(row.back(), toUtf8(singleText(value)) + " EUR");
        }
        ++next;
      }
      // A row follows every rule but the last, and only a row that fits: the page breaks where the next
      // one would not.
      std::vector<double> rules, verticals;
      for (const auto& l : page.lines) (l.y1 == l.y2 ? rules : verticals).push_back(l.y1 == l.y2 ? l.y1 : l.x1);
      for (std::size_t i = 0; i + 1 < rules.size(); ++i) EXPECT_LE(rules[i], limit);
      if (p + 1 < doc.pages.size()) {
        EXPECT_GT(rules.back(), limit);
      }
      EXPECT_EQ(verticals.size(), 5u);
    }
    EXPECT_EQ(next, 131);
  }
}

TEST_F(ListPrinterTest, TextsAreCutToTheirColumnsAndAValueTooWideIsLeftOut) {
  {
    FileHandle lst("KLVR952.LST", ProductRecord::Length);
    ProductRecord r = testing::makeProduct("KOD", std::string(40, 'N'));
    r.Cost = 12345678;
    r.CostCurrency = "EURO";
    lst.put(1, r);
  }
  const RecordedDocument& doc = print(ListKind::Cost);
  const auto body = rows(doc.pages[0], "Arial");
  ASSERT_EQ(body.size(), 1u);
  EXPECT_EQ(body[0].size(), 2u);  // the code and the name; no unit, no value
  EXPECT_LT(body[0][1].size(), 40u);
  EXPECT_EQ(std::string(40, 'N').rfind(body[0][1], 0), 0u);
}

// The Turkish fonts when the printer has them by that exact name; an empty list is its head and headings.
TEST_F(ListPrinterTest, AnEmptyListOnAPrinterWithTheTurkishFonts) {
  { FileHandle lst("KLVR952.LST", ProductRecord::Length); }
  printed.fonts = {"times new roman tur", "Arial Tur", "Times New Roman", "Arial"};
  const RecordedDocument& doc = print(ListKind::Code);
  ASSERT_EQ(doc.pages.size(), 1u);
  EXPECT_EQ(doc.pages[0].texts.size(), 3u + 4u);
  EXPECT_EQ(doc.pages[0].texts[0].font.name, "Times New Roman");
  printed.fonts.push_back("Times New Roman Tur");
  EXPECT_EQ(print(ListKind::Code).pages[0].texts[0].font.name, "Times New Roman Tur");
}

}  // namespace
}  // namespace kv
