// The grid: cells, the clicked cell, heading clicks that select a column, sorts that carry RowData.
#include <gtest/gtest.h>

#include "test_window.h"

namespace kv::ui::testing {
namespace {

using V = std::vector<std::string>;

// Rows of (number, name) under a heading row, each with its list position as RowData.
void fill(FlexGrid& g, const std::vector<std::pair<std::string, std::string>>& rows) {
  g.Rows = static_cast<int>(rows.size()) + 1;
  g.TextMatrix(0, 1) = "Kayıt No."_w;
  g.TextMatrix(0, 2) = "Mal Adı"_w;
  for (int r = 1; r <= static_cast<int>(rows.size()); ++r) {
    g.TextMatrix(r, 1) = rows[r - 1].first;
    g.TextMatrix(r, 2) = rows[r - 1].second;
    g.RowData(r) = r;
  }
}

std::vector<std::string> column(const FlexGrid& g, int c) {
  std::vector<std::string> out;
  for (int r = g.FixedRows(); r < g.Rows(); ++r) out.push_back(g.TextMatrix(r, c));
  return out;
}

TEST_F(UiTest, GridSortsTextWithoutCaseInTurkishOrderAndNumbersByValue) {
  ui.start("frmTest");
  FlexGrid& g = window().grdA;
  fill(g, {{"10", "şase"_w}, {"2", "Cıvata"_w}, {"1", "çelik"_w}, {"3", "cam"}, {"11", "ince"}, {"12", "Ilık"_w}});
  g.Col = 2;
  g.Sort(FlexSort::StringNoCaseAscending);
  EXPECT_EQ(column(g, 2), (V{"cam", "Cıvata"_w, "çelik"_w, "Ilık"_w, "ince", "şase"_w}));
  EXPECT_EQ(g.RowData(1), 4);                  // every row keeps its data
  EXPECT_EQ(g.TextMatrix(0, 2), "Mal Adı"_w);  // the heading stays
  g.Col = 1;
  g.Sort(FlexSort::NumericAscending);
  EXPECT_EQ(column(g, 1), (V{"1", "2", "3", "10", "11", "12"}));
  EXPECT_EQ(g.RowData(4), 1);
}

TEST_F(UiTest, GridClickTellsTheCellAndAHeadingClickSelectsItsColumn) {
  ui.start("frmTest");
  FlexGrid& g = window().grdA;
  fill(g, {{"1", "a"}, {"2", "b"}, {"3", "c"}});
  int mouseRow = -1, mouseCol = -1;
  g.Click = [&] {
    mouseRow = g.MouseRow();
    mouseCol = g.MouseCol();
  };
  ui.clickCell("grdA", 2, 1);
  EXPECT_EQ(mouseRow, 2);
  EXPECT_EQ(mouseCol, 1);
  EXPECT_EQ(g.Row(), 2);
  EXPECT_EQ(ui.focused(), "grdA");
  ui.clickCell("grdA", 0, 2);  // the heading of column 2
  EXPECT_EQ(mouseRow, 0);
  EXPECT_EQ(g.Col(), 2);
  EXPECT_EQ(g.ColSel(), 2);
  EXPECT_EQ(g.Row(), 1);
  EXPECT_EQ(g.RowSel(), 3);
}

TEST_F(UiTest, GridDoubleClickClicksFirstAndKeysMoveTheCurrentCell) {
  ui.start("frmTest");
  FlexGrid& g = window().grdA;
  fill(g, {{"1", "a"}, {"2", "b"}, {"3", "c"}});
  events().clear();
  ui.dblClickCell("grdA", 3, 2);
  EXPECT_EQ(eventsOf("frmTest.grdA_"), (V{"frmTest.grdA_GotFocus", "frmTest.grdA_Click", "frmTest.grdA_DblClick"}));
  ui.key(Key::Up);
  EXPECT_EQ(g.Row(), 2);
  ui.key(Key::Enter);
  EXPECT_EQ(eventsOf("frmTest.grdA_KeyPress"), (V{"frmTest.grdA_KeyPress 13"}));
  g.ColWidth(2) = 150;
  EXPECT_EQ(g.ColWidth(2), 150);
  EXPECT_EQ(g.ColWidth(0), FlexGrid::kDefaultColWidth);
}

}  // namespace
}  // namespace kv::ui::testing
