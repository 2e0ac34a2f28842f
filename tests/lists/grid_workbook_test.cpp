// The list grid into a workbook: every cell holds the text the grid shows, in the grid's order.
#include <gtest/gtest.h>

#include <random>

#include "base/text.h"
#include "lists/grid_workbook.h"
#include "sheet/record_cells.h"
#include "support/company.h"

namespace kv {
namespace {

TEST(GridWorkbook, EveryCellHoldsTheGridsText) {
  testing::TempFolder folder;
  std::mt19937 rng(4);
  const char* texts[] = {"12,50 EUR", "00123", "1E3", "=A1", "Çelik ığüş", "", "7"};
  std::vector<std::vector<std::string>> grid = {{"Kayıt No."_w, "Mal Kodu", "Mal Adı"_w, "Fiyat", "Sayım"_w}};
  for (int r = 1; r <= 200; ++r) {
    std::vector<std::string> row = {std::to_string(r)};
    for (int c = 1; c < 5; ++c) row.push_back(w(texts[std::uniform_int_distribution<int>(0, 6)(rng)]));
    grid.push_back(row);
  }
  const sheet::Sheet s = sheet::readFirstSheet(exportGridWorkbook(grid).file);
  EXPECT_EQ(s.name(), "Kalvor");
  ASSERT_EQ(s.rowCount(), 201);
  for (int r = 0; r <= 200; ++r)
    for (int c = 0; c < 5; ++c) {
      const sheet::Cell& cell = s.cell(r + 1, c + 1);
      EXPECT_TRUE(cell.kind == sheet::CellKind::Text || grid[r][c].empty());
      EXPECT_EQ(sheet::cellText(cell), grid[r][c]) << r << "," << c;
    }
}

TEST(GridWorkbook, RowsBeyondTheSheetsLastAreLeftOutAndSaidSo) {
  testing::TempFolder folder;
  std::vector<std::vector<std::string>> grid(sheet::kMaxSheetRows + 1);
  grid.front() = {"Kayıt No."_w};
  grid[sheet::kMaxSheetRows - 1] = {"son"};
  grid.back() = {"fazla"};
  const sheet::WrittenWorkbook written = exportGridWorkbook(grid);
  EXPECT_TRUE(written.cut);
  const sheet::Sheet s = sheet::readFirstSheet(written.file);
  EXPECT_EQ(s.rowCount(), sheet::kMaxSheetRows);
  EXPECT_EQ(sheet::cellText(s.cell(sheet::kMaxSheetRows, 1)), "son");
  EXPECT_FALSE(exportGridWorkbook({{"Kayıt No."_w}, {"1"}}).cut);
}

}  // namespace
}  // namespace kv
