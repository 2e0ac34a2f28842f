#include "ui/flexgrid.h"

#include <algorithm>
#include <cctype>
#include <numeric>
#include <stdexcept>

#include "base/collation.h"
#include "base/numbers.h"
#include "base/text.h"
#include "ui/keys.h"

namespace kv::ui {

FlexGrid::FlexGrid(Form& form, std::string name) : Control(form, std::move(name), true) {
  setCols(2);
  setRows(2);
}

FlexGrid::FlexGrid(Frame& frame, std::string name) : Control(frame, std::move(name), true) {
  setCols(2);
  setRows(2);
}

void FlexGrid::checkCell(int r, int c) const {
  if (r < 0 || r >= rows() || c < 0 || c >= cols_) throw std::out_of_range("FlexGrid cell out of range");
}

void FlexGrid::setRows(const int& v) {
  const int n = std::max(v, 0);
  cells_.resize(n, std::vector<std::string>(cols_));
  rowData_.resize(n, 0);
  fixedRows_ = std::min(fixedRows_, n);
  const int last = std::max(n - 1, 0);
  row_ = std::min(row_, last);
  rowSel_ = std::min(rowSel_, last);
  topRow_ = std::clamp(topRow_, std::min(fixedRows_, last), last);
  changed();
}

void FlexGrid::setCols(const int& v) {
  cols_ = std::max(v, 0);
  for (auto& r : cells_) r.resize(cols_);
  colWidths_.resize(cols_, -1);
  colAlign_.resize(cols_, FlexAlign::General);
  fixedCols_ = std::min(fixedCols_, cols_);
  const int last = std::max(cols_ - 1, 0);
  col_ = std::min(col_, last);
  colSel_ = std::min(colSel_, last);
  changed();
}

void FlexGrid::setFixedRows(const int& v) {
  if (v < 0 || v > rows()) throw std::out_of_range("FlexGrid.FixedRows out of range");
  fixedRows_ = v;
  if (row_ < fixedRows_ && fixedRows_ < rows()) row_ = rowSel_ = fixedRows_;
  if (topRow_ < fixedRows_ && fixedRows_ < rows()) topRow_ = fixedRows_;
  changed();
}

void FlexGrid::setFixedCols(const int& v) {
  if (v < 0 || v > cols_) throw std::out_of_range("FlexGrid.FixedCols out of range");
  fixedCols_ = v;
  if (col_ < fixedCols_ && fixedCols_ < cols_) col_ = colSel_ = fixedCols_;
  changed();
}

void FlexGrid::setRow(const int& v) {
  checkCell(v, 0);
  row_ = rowSel_ = v;
  changed();
}

void FlexGrid::setCol(const int& v) {
  checkCell(0, v);
  col_ = colSel_ = v;
  changed();
}

void FlexGrid::setRowSel(const int& v) {
  checkCell(v, 0);
  rowSel_ = v;
  changed();
}

void FlexGrid::setColSel(const int& v) {
  checkCell(0, v);
  colSel_ = v;
  changed();
}

void FlexGrid::setTopRow(const int& v) {
  checkCell(v, 0);
  topRow_ = std::max(v, std::min(fixedRows_, rows() - 1));
  changed();
}

void FlexGrid::scrolledTo(int topRow) {
  if (topRow >= fixedRows_ && topRow < rows()) topRow_ = topRow;
}

std::string FlexGrid::textMatrix(int r, int c) const {
  checkCell(r, c);
  return cells_[r][c];
}

void FlexGrid::setTextMatrix(int r, int c, const std::string& v) {
  checkCell(r, c);
  cells_[r][c] = v;
  changed();
}

int FlexGrid::rowData(int r) const {
  checkCell(r, 0);
  return rowData_[r];
}

void FlexGrid::setRowData(int r, const int& v) {
  checkCell(r, 0);
  rowData_[r] = v;
}

int FlexGrid::colWidth(int c) const {
  checkCell(0, c);
  return colWidths_[c] < 0 ? kDefaultColWidth : colWidths_[c];
}

void FlexGrid::setColWidth(int c, const int& v) {
  checkCell(0, c);
  colWidths_[c] = v;
  changed();
}

int FlexGrid::colAlignment(int c) const {
  checkCell(0, c);
  return colAlign_[c];
}

void FlexGrid::setColAlignment(int c, const int& v) {
  checkCell(0, c);
  colAlign_[c] = v;
  changed();
}

namespace {

bool looksNumeric(std::string_view s) {
  s = trimView(s);
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) s.remove_prefix(1);
  bool digit = false, point = false;
  for (char ch : s) {
    if (std::isdigit(static_cast<unsigned char>(ch)))
      digit = true;
    else if ((ch == '.' || ch == ',') && !point)
      point = true;
    else
      return false;
  }
  return digit;
}

// Texts in the program's own order of characters (Ç after C, I before İ, ...); characters outside it
// after all of them, by byte.
int rankOf(unsigned char c, bool noCase) {
  if (noCase) c = upperChar(c);
  const int rank = collationRank(c);
  return rank > 0 ? rank : 200 + c;
}

int compareText(const std::string& a, const std::string& b, bool noCase) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int d = rankOf(static_cast<unsigned char>(a[i]), noCase) - rankOf(static_cast<unsigned char>(b[i]), noCase);
    if (d != 0) return d;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

int compareNumber(const std::string& a, const std::string& b) {
  const double x = leadingNumber(a), y = leadingNumber(b);
  return x < y ? -1 : x > y ? 1 : 0;
}

int compareCells(const std::string& a, const std::string& b, int order) {
  switch (order) {
    case FlexSort::GenericAscending:
    case FlexSort::GenericDescending:
      if (looksNumeric(a) && looksNumeric(b)) return compareNumber(a, b);
      return compareText(a, b, true);
    case FlexSort::NumericAscending:
    case FlexSort::NumericDescending:
      return compareNumber(a, b);
    case FlexSort::StringNoCaseAscending:
    case FlexSort::StringNoCaseDescending:
      return compareText(a, b, true);
    default:
      return compareText(a, b, false);
  }
}

}  // namespace

void FlexGrid::Sort(int order) {
  if (order < FlexSort::GenericAscending || order > FlexSort::StringDescending) return;
  const bool descending = order % 2 == 0;
  const int first = std::min(col_, colSel_), last = std::max(col_, colSel_);
  std::vector<int> index(rows() - fixedRows_);
  std::iota(index.begin(), index.end(), fixedRows_);
  std::stable_sort(index.begin(), index.end(), [&](int x, int y) {
    for (int c = first; c <= last; ++c) {
      const int d = compareCells(cells_[x][c], cells_[y][c], order);
      if (d != 0) return descending ? d > 0 : d < 0;
    }
    return false;
  });
  std::vector<std::vector<std::string>> cells(cells_.begin(), cells_.begin() + fixedRows_);
  std::vector<std::int32_t> data(rowData_.begin(), rowData_.begin() + fixedRows_);
  for (int i : index) {
    cells.push_back(std::move(cells_[i]));
    data.push_back(rowData_[i]);
  }
  cells_ = std::move(cells);
  rowData_ = std::move(data);
  changed();
}

void FlexGrid::clickAt(int r, int c) {
  mouseRow_ = r;
  mouseCol_ = c;
  if (r < 0 || r >= rows() || c < 0 || c >= cols_) return;
  const bool headingRow = r < fixedRows_, headingCol = c < fixedCols_;
  const int firstRow = std::min(fixedRows_, rows() - 1), firstCol = std::min(fixedCols_, cols_ - 1);
  if (headingRow && headingCol) {
    row_ = firstRow, rowSel_ = rows() - 1, col_ = firstCol, colSel_ = cols_ - 1;
  } else if (headingRow) {
    row_ = firstRow, rowSel_ = rows() - 1, col_ = colSel_ = c;
  } else if (headingCol) {
    row_ = rowSel_ = r, col_ = firstCol, colSel_ = cols_ - 1;
  } else {
    row_ = rowSel_ = r, col_ = colSel_ = c;
  }
  changed();
}

void FlexGrid::keepCurrentInView() {
  if (row_ < topRow_) topRow_ = row_;
  if (row_ >= topRow_ + pageRows_) topRow_ = row_ - pageRows_ + 1;
  topRow_ = std::max(topRow_, fixedRows_);
}

void FlexGrid::keyDownAction(int KeyCode, int Shift) {
  (void)Shift;
  if (rows() <= fixedRows_ || cols_ <= fixedCols_) return;
  int r = row_, c = col_;
  switch (KeyCode) {
    case Key::Up:
      --r;
      break;
    case Key::Down:
      ++r;
      break;
    case Key::Left:
      --c;
      break;
    case Key::Right:
      ++c;
      break;
    case Key::PageUp:
      r -= pageRows_;
      break;
    case Key::PageDown:
      r += pageRows_;
      break;
    case Key::Home:
      c = fixedCols_;
      break;
    case Key::End:
      c = cols_ - 1;
      break;
    default:
      return;
  }
  row_ = rowSel_ = std::clamp(r, fixedRows_, rows() - 1);
  col_ = colSel_ = std::clamp(c, fixedCols_, cols_ - 1);
  keepCurrentInView();
  changed();
}

}  // namespace kv::ui
