// The six recipe reports into a workbook: one row per line of the working file under the report's
// headings, and the grand total of the kinds with cost.
#include <gtest/gtest.h>

#include "base/text.h"
#include "files/files.h"
#include "records/recipe_record.h"
#include "reports/report_workbook.h"
#include "sheet/record_cells.h"
#include "support/company.h"

namespace kv {
namespace {

using Texts = std::vector<std::string>;

class ReportWorkbookTest : public ::testing::Test {
 protected:
  ReportWorkbookTest() {
    FileHandle rct("KLVR952.RCT", RecipeRecord::Length);
    RecipeRecord l;
    l.Code = w("ŞAFT-1"), l.Name = w("Şaft göbeği"), l.Quantity = 2.5f, l.Unit = "AD", l.Cost = 12.5f, l.Total = 99;
    rct.put(1, l);
    l.Code = "00123", l.Name = "=A1", l.Quantity = 4, l.Unit = "", l.Cost = 0.5f;
    rct.put(2, l);
    FileHandle kdm("KLVR952.KDM", LevelRecord::Length);
    const struct {
      const char* code;
      int level;
      float quantity, cost, total;
    } levels[] = {{"GÖVDE", 0, 1, 10, 10}, {"1E3", 1, 3, 2, 6}, {"CIV", 0, 4, 0.5f, 2}};
    for (int i = 0; i < 3; ++i) {
      LevelRecord r;
      r.Code = w(levels[i].code), r.Name = "Ad", r.TypeChar = "2", r.Level = static_cast<std::int16_t>(levels[i].level);
      r.Quantity = levels[i].quantity, r.Unit = "AD", r.UnitCost = levels[i].cost, r.Total = levels[i].total;
      kdm.put(i + 1, r);
    }
  }
  testing::TempFolder folder;
};

TEST_F(ReportWorkbookTest, EachKindHoldsItsRowsAndItsGrandTotal) {
  const struct {
    ReportKind kind;
    std::vector<Texts> rows;
  } cases[] = {
      {ReportKind::ListWithCost,
       {{"Sıra No.", "MAL KODU", "MAL ADI", "MİKTAR", "MALİYET", "TOPLAM"},
        {"1", "ŞAFT-1", "Şaft göbeği", "2,5 AD", "12,5", "31,25"},
        {"2", "00123", "=A1", "4 ", "0,5", "2"},
        {"", "", "", "", "Genel Toplam: ", "33,25"}}},
      {ReportKind::TotalConsumptionWithCost,
       {{"Sıra No.", "Düzey", "Tip", "MAL KODU", "MAL ADI", "MİKTAR", "MALİYET", "TOPLAM"},
        {"1", "*", "2", "GÖVDE", "Ad", "1 AD", "10", "10"},
        {"2", "*", "2", "1E3", "Ad", "3 AD", "2", "6"},
        {"3", "*", "2", "CIV", "Ad", "4 AD", "0,5", "2"},
        {"", "", "", "", "", "", "Genel Toplam: ", "18"}}},
      {ReportKind::LevelsWithCost,
       {{"Sıra No.", "Düzey", "Tip", "MAL KODU", "MAL ADI", "MİKTAR", "MALİYET", "TOPLAM"},
        {"1", "*", "2", "GÖVDE", "Ad", "1 AD", "10", "10"},
        {"2", "1", "2", "1E3", "Ad", "3 AD", "2", "6"},
        {"3", "*", "2", "CIV", "Ad", "4 AD", "0,5", "2"},
        {"", "", "", "", "", "", "Genel Toplam: ", "12"}}},
      {ReportKind::ListWithoutCost,
       {{"Sıra No.", "MAL KODU", "MAL ADI", "MİKTAR"}, {"1", "ŞAFT-1", "Şaft göbeği", "2,5 AD"}, {"2", "00123", "=A1", "4 "}}},
      {ReportKind::TotalConsumptionWithoutCost,
       {{"Sıra No.", "Düzey", "Tip", "MAL KODU", "MAL ADI", "MİKTAR"},
        {"1", "*", "2", "GÖVDE", "Ad", "1 AD"},
        {"2", "*", "2", "1E3", "Ad", "3 AD"},
        {"3", "*", "2", "CIV", "Ad", "4 AD"}}},
      {ReportKind::LevelsWithoutCost,
       {{"Sıra No.", "Düzey", "Tip", "MAL KODU", "MAL ADI", "MİKTAR"},
        {"1", "*", "2", "GÖVDE", "Ad", "1 AD"},
        {"2", "1", "2", "1E3", "Ad", "3 AD"},
        {"3", "*", "2", "CIV", "Ad", "4 AD"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    const ExportedReport done = exportRecipeReport(c.kind, "KLVR952", " P-1 ");
    const sheet::Sheet s = sheet::readFirstSheet(done.file);
    EXPECT_EQ(s.name(), "P-1");
    ASSERT_EQ(s.rowCount(), static_cast<std::int32_t>(c.rows.size()));
    for (std::size_t r = 0; r < c.rows.size(); ++r) {
      Texts got;
      for (std::size_t col = 0; col < c.rows[0].size(); ++col)
        got.push_back(toUtf8(sheet::cellText(s.cell(static_cast<std::int32_t>(r + 1), static_cast<int>(col + 1)))));
      EXPECT_EQ(got, c.rows[r]);
    }
    EXPECT_TRUE(s.cell(2, 1).kind == sheet::CellKind::Number && s.cell(2, 2).kind == sheet::CellKind::Text);
  }
}

}  // namespace
}  // namespace kv
