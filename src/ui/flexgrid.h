// A grid of text cells (the original's MSFlexGrid): fixed heading rows and columns, a current cell and a
// selection, a whole number per row that travels with its row when the grid sorts.
#pragma once

#include "ui/layer_guard.h"

#include <cstdint>
#include <string>
#include <vector>

#include "ui/control.h"

namespace kv::ui {

// Sort orders (the values the original's Sort took).
namespace FlexSort {
inline constexpr int GenericAscending = 1;
inline constexpr int GenericDescending = 2;
inline constexpr int NumericAscending = 3;
inline constexpr int NumericDescending = 4;
inline constexpr int StringNoCaseAscending = 5;
inline constexpr int StringNoCaseDescending = 6;
inline constexpr int StringAscending = 7;
inline constexpr int StringDescending = 8;
}  // namespace FlexSort

// Column alignments (ColAlignment): horizontal left / centre / right, vertical top / centre / bottom.
namespace FlexAlign {
inline constexpr int LeftTop = 0;
inline constexpr int LeftCenter = 1;
inline constexpr int LeftBottom = 2;
inline constexpr int CenterTop = 3;
inline constexpr int CenterCenter = 4;
inline constexpr int CenterBottom = 5;
inline constexpr int RightTop = 6;
inline constexpr int RightCenter = 7;
inline constexpr int RightBottom = 8;
inline constexpr int General = 9;  // numbers right, other texts left, vertically centred
}  // namespace FlexAlign

// Events: Click (MouseRow and MouseCol tell the cell under the mouse), DblClick (after the Click of its
// first press), KeyDown, KeyPress, GotFocus, LostFocus. A click on a data cell makes it the current cell;
// on a heading row it selects that column (Col = ColSel = the column, from the first data row), on a
// heading column that row, on the corner everything. The arrow and page keys move the current cell.
class FlexGrid : public Control {
 private:
  int rows() const { return static_cast<int>(cells_.size()); }
  void setRows(const int& v);
  int cols() const { return cols_; }
  void setCols(const int& v);
  int fixedRows() const { return fixedRows_; }
  void setFixedRows(const int& v);
  int fixedCols() const { return fixedCols_; }
  void setFixedCols(const int& v);
  int row() const { return row_; }
  void setRow(const int& v);
  int col() const { return col_; }
  void setCol(const int& v);
  int rowSel() const { return rowSel_; }
  void setRowSel(const int& v);
  int colSel() const { return colSel_; }
  void setColSel(const int& v);
  std::string text() const { return textMatrix(row_, col_); }
  void setText(const std::string& v) { setTextMatrix(row_, col_, v); }
  int topRow() const { return topRow_; }
  void setTopRow(const int& v);
  std::string textMatrix(int r, int c) const;
  void setTextMatrix(int r, int c, const std::string& v);
  int rowData(int r) const;
  void setRowData(int r, const int& v);
  int colWidth(int c) const;
  void setColWidth(int c, const int& v);
  int colAlignment(int c) const;
  void setColAlignment(int c, const int& v);

 public:
  FlexGrid(Form& form, std::string name);
  FlexGrid(Frame& frame, std::string name);
  ControlKind kind() const override { return ControlKind::FlexGrid; }

  Property<FlexGrid, int, &FlexGrid::rows, &FlexGrid::setRows> Rows{this};
  Property<FlexGrid, int, &FlexGrid::cols, &FlexGrid::setCols> Cols{this};
  Property<FlexGrid, int, &FlexGrid::fixedRows, &FlexGrid::setFixedRows> FixedRows{this};
  Property<FlexGrid, int, &FlexGrid::fixedCols, &FlexGrid::setFixedCols> FixedCols{this};
  // The current cell; setting Row (Col) also makes RowSel (ColSel) the same.
  Property<FlexGrid, int, &FlexGrid::row, &FlexGrid::setRow> Row{this};
  Property<FlexGrid, int, &FlexGrid::col, &FlexGrid::setCol> Col{this};
  // The other corner of the selection.
  Property<FlexGrid, int, &FlexGrid::rowSel, &FlexGrid::setRowSel> RowSel{this};
  Property<FlexGrid, int, &FlexGrid::colSel, &FlexGrid::setColSel> ColSel{this};
  // The text of the current cell.
  Property<FlexGrid, std::string, &FlexGrid::text, &FlexGrid::setText> Text{this};
  // The first data row shown at the top.
  Property<FlexGrid, int, &FlexGrid::topRow, &FlexGrid::setTopRow> TopRow{this};

  ItemRef<FlexGrid, std::string, &FlexGrid::textMatrix, &FlexGrid::setTextMatrix, int, int> TextMatrix(int r, int c) {
    return {this, r, c};
  }
  std::string TextMatrix(int r, int c) const { return textMatrix(r, c); }
  ItemRef<FlexGrid, int, &FlexGrid::rowData, &FlexGrid::setRowData, int> RowData(int r) { return {this, r}; }
  int RowData(int r) const { return rowData(r); }
  // Pixels; -1 gives the default width.
  ItemRef<FlexGrid, int, &FlexGrid::colWidth, &FlexGrid::setColWidth, int> ColWidth(int c) { return {this, c}; }
  int ColWidth(int c) const { return colWidth(c); }
  ItemRef<FlexGrid, int, &FlexGrid::colAlignment, &FlexGrid::setColAlignment, int> ColAlignment(int c) {
    return {this, c};
  }
  int ColAlignment(int c) const { return colAlignment(c); }

  // The cell under the mouse at the last click.
  int MouseRow() const { return mouseRow_; }
  int MouseCol() const { return mouseCol_; }

  // Sorts the data rows (below the fixed rows) on the columns from Col to ColSel, by a FlexSort order.
  // Equal rows keep their order; each row keeps its RowData.
  void Sort(int order);

  static constexpr int kDefaultColWidth = 64;
  // For back ends: how many data rows the view shows (the page of PgUp and PgDn).
  void setPageRows(int n) { pageRows_ = n < 1 ? 1 : n; }
  void scrolledTo(int topRow);

 protected:
  void keyDownAction(int KeyCode, int Shift) override;

 private:
  friend class Input;
  // The user clicked on a cell: mouse cell, current cell and selection as told above.
  void clickAt(int r, int c);
  void checkCell(int r, int c) const;
  void keepCurrentInView();

  std::vector<std::vector<std::string>> cells_;
  std::vector<std::int32_t> rowData_;
  std::vector<int> colWidths_;
  std::vector<int> colAlign_;
  int cols_ = 0;
  int fixedRows_ = 1, fixedCols_ = 1;
  int row_ = 1, col_ = 1, rowSel_ = 1, colSel_ = 1;
  int topRow_ = 1;
  int mouseRow_ = 0, mouseCol_ = 0;
  int pageRows_ = 20;
};

}  // namespace kv::ui
