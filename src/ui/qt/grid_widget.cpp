#include "ui/qt/grid_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "ui/flexgrid.h"
#include "ui/form.h"
#include "ui/input.h"
#include "ui/qt/form_widget.h"
#include "ui/qt/key_map.h"

namespace kv::ui::desktop {

GridWidget::GridWidget(FlexGrid& grid, QWidget* parent) : QAbstractScrollArea(parent), grid_(&grid) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setFocusProxy(this);
}

int GridWidget::rowHeight() const { return QFontMetrics(qtFont(grid_->font())).height() + 4; }

int GridWidget::fixedHeight() const { return grid_->FixedRows() * rowHeight(); }

int GridWidget::visibleRows() const {
  return std::max(1, (viewport()->height() - fixedHeight()) / std::max(1, rowHeight()));
}

int GridWidget::leftCol() const { return grid_->FixedCols() + horizontalScrollBar()->value(); }

void GridWidget::sync() {
  if (!grid_) return;
  syncing_ = true;
  setFont(qtFont(grid_->font()));
  grid_->setPageRows(visibleRows());
  const int scrollRows = grid_->Rows() - grid_->FixedRows();
  verticalScrollBar()->setRange(0, std::max(0, scrollRows - visibleRows()));
  verticalScrollBar()->setPageStep(visibleRows());
  verticalScrollBar()->setValue(grid_->TopRow() - grid_->FixedRows());
  horizontalScrollBar()->setRange(0, std::max(0, grid_->Cols() - grid_->FixedCols() - 1));
  // Keep the current cell's column in view.
  const int col = grid_->Col();
  if (col >= grid_->FixedCols()) {
    int value = horizontalScrollBar()->value();
    if (col < grid_->FixedCols() + value) value = col - grid_->FixedCols();
    horizontalScrollBar()->setValue(value);
  }
  syncing_ = false;
  viewport()->update();
}

std::pair<int, int> GridWidget::cellAt(QPoint p) const {
  const int h = rowHeight();
  int row;
  if (p.y() < fixedHeight())
    row = p.y() / h;
  else
    row = grid_->TopRow() + (p.y() - fixedHeight()) / h;
  row = std::clamp(row, 0, std::max(0, grid_->Rows() - 1));
  int col = -1, x = 0;
  for (int c = 0; c < grid_->FixedCols() && col < 0; ++c) {
    x += grid_->ColWidth(c);
    if (p.x() < x) col = c;
  }
  for (int c = leftCol(); c < grid_->Cols() && col < 0; ++c) {
    x += grid_->ColWidth(c);
    if (p.x() < x) col = c;
  }
  if (col < 0) col = std::max(0, grid_->Cols() - 1);
  return {row, col};
}

namespace {

Qt::Alignment alignmentOf(int code, const QString& text) {
  if (code == FlexAlign::General) {
    bool number = false;
    QString(text).replace(',', '.').trimmed().toDouble(&number);
    return (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
  }
  const Qt::Alignment h[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
  const Qt::Alignment v[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
  if (code < 0 || code > 8) code = 0;
  return h[code / 3] | v[code % 3];
}

}  // namespace

void GridWidget::paintEvent(QPaintEvent*) {
  if (!grid_) return;
  QPainter p(viewport());
  p.setFont(qtFont(grid_->font()));
  const int h = rowHeight();
  const int rowLo = std::min(grid_->Row(), grid_->RowSel()), rowHi = std::max(grid_->Row(), grid_->RowSel());
  const int colLo = std::min(grid_->Col(), grid_->ColSel()), colHi = std::max(grid_->Col(), grid_->ColSel());
  std::vector<int> rows, cols;
  for (int r = 0; r < grid_->FixedRows(); ++r) rows.push_back(r);
  for (int r = grid_->TopRow(); r < grid_->Rows() && static_cast<int>(rows.size()) * h < viewport()->height(); ++r)
    rows.push_back(r);
  for (int c = 0; c < grid_->FixedCols(); ++c) cols.push_back(c);
  for (int c = leftCol(); c < grid_->Cols(); ++c) cols.push_back(c);
  int y = 0;
  for (int r : rows) {
    int x = 0;
    for (int c : cols) {
      const QRect cell(x, y, grid_->ColWidth(c), h);
      x += grid_->ColWidth(c);
      if (x - grid_->ColWidth(c) > viewport()->width()) break;
      const bool fixed = r < grid_->FixedRows() || c < grid_->FixedCols();
      const bool selected = !fixed && r >= rowLo && r <= rowHi && c >= colLo && c <= colHi;
      p.fillRect(cell, fixed ? palette().button() : selected ? palette().highlight() : palette().base());
      p.setPen(palette().mid().color());
      p.drawRect(cell.adjusted(0, 0, -1, -1));
      p.setPen(selected ? palette().highlightedText().color() : palette().text().color());
      const QString text = toQString(grid_->TextMatrix(r, c)());
      p.drawText(cell.adjusted(3, 1, -3, -1), alignmentOf(grid_->ColAlignment(c), text), text);
      if (hasFocus() && r == grid_->Row() && c == grid_->Col()) {
        p.setPen(QPen(palette().text().color(), 1, Qt::DotLine));
        p.drawRect(cell.adjusted(1, 1, -2, -2));
      }
    }
    y += h;
  }
}

void GridWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (!grid_ || event->button() != Qt::LeftButton) return;
  if (std::exchange(afterDouble_, false)) return;
  const auto [r, c] = cellAt(event->position().toPoint());
  Input::gridClick(*grid_, r, c);
}

void GridWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!grid_ || event->button() != Qt::LeftButton) return;
  afterDouble_ = true;
  const auto [r, c] = cellAt(event->position().toPoint());
  Input::gridDblClick(*grid_, r, c);
}

void GridWidget::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  if (grid_) sync();
}

void GridWidget::scrollContentsBy(int, int) {
  if (!grid_ || syncing_) return;
  grid_->scrolledTo(grid_->FixedRows() + verticalScrollBar()->value());
  viewport()->update();
}

}  // namespace kv::ui::desktop
