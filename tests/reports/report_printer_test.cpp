// The six printed recipe reports on the recording printer: the texts of every row in column order, the
// head line, the grand total, and the page breaks worked out from the printer's metrics.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "base/text.h"
#include "files/files.h"
#include "print/recording_printer.h"
#include "records/recipe_record.h"
#include "reports/report_printer.h"
#include "support/company.h"

namespace kv {
namespace {

using print::RecordedPage;
using print::RecordedText;
using Texts = std::vector<std::string>;

RecipeRecord listLine(const char* code, const char* name, float quantity, const char* unit, float cost) {
  RecipeRecord r;
  r.Code = w(code);
  r.Name = w(name);
  r.Quantity = quantity;
  r.Unit = unit;
  r.Cost = cost;
  r.Total = quantity * cost;
  return r;
}

LevelRecord levelLine(const char* code, const char* name, int level, float quantity, float cost, float total) {
  LevelRecord r;
  r.Code = w(code);
  r.Name = w(name);
  r.TypeChar = "2";
  r.Level = static_cast<std::int16_t>(level);
  r.Quantity = quantity;
  r.Unit = "AD";
  r.UnitCost = cost;
  r.Total = total;
  return r;
}

class ReportPrinterTest : public ::testing::Test {
 protected:
  ReportPrinterTest() {
    FileHandle rct("KLVR952.RCT", RecipeRecord::Length);
    rct.put(1, listLine("ŞAFT-1", "Şaft göbeği", 2.5f, "AD", 12.5f));
    rct.put(2, listLine("CIV", "Cıvata", 4, "AD", 0.5f));
    FileHandle kdm("KLVR952.KDM", LevelRecord::Length);
    kdm.put(1, levelLine("GÖVDE", "Gövde", 0, 1, 10, 10));
    kdm.put(2, levelLine("SAC", "Sac", 1, 3, 2, 6));
    kdm.put(3, levelLine("CIV", "Cıvata", 0, 4, 0.5f, 2));
  }
  print::RecordedDocument printKind(ReportKind kind) {
    print::Printer printer;
    const PrintedReport r = printRecipeReport(printer, kind, "KLVR952", {" 5 Mart 2008  ", "P-1 ", " Pompa"});
    grandTotal = r.grandTotal;
    return printed.documents().back();
  }
  // The body texts of a page (the rows and the grand total) by line, left to right.
  static std::vector<Texts> rows(const RecordedPage& page) {
    std::map<double, std::vector<RecordedText>> byY;
    for (const RecordedText& t : page.texts)
      if (t.font.name == "Arial") byY[t.y].push_back(t);
    std::vector<Texts> out;
    for (auto& [y, line] : byY) {
      std::sort(line.begin(), line.end(), [](const auto& a, const auto& b) { return a.x < b.x; });
      Texts texts;
      for (const RecordedText& t : line) texts.push_back(toUtf8(t.text));
      out.push_back(texts);
    }
    return out;
  }

  testing::TempFolder folder;
  print::RecordingPrinter printed;
  float grandTotal = 0;
};

TEST_F(ReportPrinterTest, EachKindPrintsItsRowsInColumnOrderAndItsGrandTotal) {
  struct Case {
    ReportKind kind;
    std::vector<Texts> rows;  // the grand total last, for the kinds with cost
  };
  // The metrics make "AD" 5,5 mm wide at 11 points: stored names are cut from their end to their cell.
  const Case cases[] = {
      {ReportKind::ListWithCost,
       {{"ŞAFT-1", "Şaft göbeği", "2,5", "AD", "12,50 TL", "31,25 TL"},
        {"CIV", "Cıvata", "4", "AD", "0,50 TL", "2,00 TL"},
        {"Genel Toplam : 33,25 TL"}}},
      {ReportKind::TotalConsumptionWithCost,
       {{"2", "GÖVDE", "Gövde", "1", "AD", "10,00 TL", "10,00 TL"},
        {"2", "SAC", "Sac", "3", "AD", "2,00 TL", "6,00 TL"},
        {"2", "CIV", "Cıvata", "4", "AD", "0,50 TL", "2,00 TL"},
        {"Genel Toplam : 18,00 TL"}}},
      {ReportKind::LevelsWithCost,
       {{"2", "GÖVDE", "Gövde", "1", "AD", "10,00 TL", "10,00 TL", "*"},
        {"2", "  SAC", "Sac", "3", "AD", "2,00 TL", "6,00 TL", "1"},
        {"2", "CIV", "Cıvata", "4", "AD", "0,50 TL", "2,00 TL", "*"},
        {"Genel Toplam : 12,00 TL"}}},
      {ReportKind::ListWithoutCost,
       {{"ŞAFT-1", "Şaft göbeği", "2,5", "AD"}, {"CIV", "Cıvata", "4", "AD"}}},
      {ReportKind::TotalConsumptionWithoutCost,
       {{"2", "GÖVDE", "Gövde", "1", "AD"}, {"2", "SAC", "Sac", "3", "AD"}, {"2", "CIV", "Cıvata", "4", "AD"}}},
      {ReportKind::LevelsWithoutCost,
       {{"2", "GÖVDE", "Gövde", "1", "AD", "*"}, {"2", "  SAC", "Sac", "3", "AD", "1"},
        {"2", "CIV", "Cıvata", "4", "AD", "*"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    const print::RecordedDocument doc = printKind(c.kind);
    ASSERT_EQ(doc.state, print::RecordedDocument::State::Ended);
    ASSERT_EQ(doc.pages.size(), 1u);
    // Texts printed as stored keep the blanks that fit their cell: compared without them.
    std::vector<Texts> got = rows(doc.pages[0]);
    for (Texts& line : got)
      for (std::string& t : line) t = trimRight(t);
    EXPECT_EQ(got, c.rows);
    // The head line: the date, the product trimmed, the page.
    Texts head;
    for (const RecordedText& t : doc.pages[0].texts)
      if (t.y == 18) head.push_back(toUtf8(t.text));
    EXPECT_EQ(head, (Texts{" 5 Mart 2008  ", "P-1  Pompa", "Sayfa :  1"}));
  }
  EXPECT_EQ(grandTotal, 0);  // the kinds without cost have none
}

// A page holds rows while the last row's rule stays at or above the page height less one line and 18 mm;
// with the recording metrics that is worked out here from the frame's heights alone.
TEST_F(ReportPrinterTest, PagesBreakWhereTheHeightLeftEndsAndRepeatTheirHead) {
  {
    FileHandle rct("KLVR952.RCT", RecipeRecord::Length);
    for (int n = 1; n <= 80; ++n) rct.put(n, listLine("K", "Ad", 1, "AD", 1));
  }
  const print::RecordedDocument doc = printKind(ReportKind::ListWithoutCost);
  // Kind 4: header 12 points, headings and rows 11: lines 6 and 5,5 mm high.
  const double line = 5.5, limit = 287 - (line + 18);
  std::vector<int> expected;
  double y = 18 + 6 + 0.5 + 1 + line + 1;
  int onPage = 0;
  for (int n = 0; n < 80; ++n) {
    if (y > limit) {
      expected.push_back(onPage);
      onPage = 0;
      y = 18 + 6 + 0.5 + 1 + line + 1;
    }
    y += 1 + line + 0.5;
    ++onPage;
  }
  expected.push_back(onPage);
  std::vector<int> got;
  for (const RecordedPage& page : doc.pages) {
    got.push_back(static_cast<int>(rows(page).size()));
    EXPECT_EQ(page.texts.front().y, 18);  // every page begins with its head line
  }
  EXPECT_EQ(got, expected);
  EXPECT_EQ(toUtf8(doc.pages.back().texts[2].text), "Sayfa :  " + std::to_string(doc.pages.size()));
}

TEST_F(ReportPrinterTest, TheTurkishFontsAreTakenWhenThePrinterOffersThem) {
  printed.fonts = {"Arial", "Arial Tur", "Times New Roman", "Times New Roman Tur"};
  const print::RecordedDocument doc = printKind(ReportKind::ListWithCost);
  std::set<std::string> used;
  for (const RecordedText& t : doc.pages[0].texts) used.insert(t.font.name);
  EXPECT_EQ(used, (std::set<std::string>{"Arial Tur", "Times New Roman Tur"}));
}

}  // namespace
}  // namespace kv
