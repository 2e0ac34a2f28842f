// The grid's widget: paints the cells of a FlexGrid (fixed rows and columns stay in place while the rest
// scrolls), and turns clicks on cells into the grid's events.
#pragma once

#include "ui/layer_guard.h"

#include <QAbstractScrollArea>
#include <utility>

namespace kv::ui {
class FlexGrid;
}

namespace kv::ui::desktop {

class GridWidget : public QAbstractScrollArea {
 public:
  GridWidget(FlexGrid& grid, QWidget* parent);
  // The model changed: scroll ranges and a repaint.
  void sync();
  void detach() { grid_ = nullptr; }
  // The cell at a point of the viewport; the last row or column when the point lies beyond them.
  std::pair<int, int> cellAt(QPoint p) const;
  int rowHeight() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  int fixedHeight() const;
  int visibleRows() const;
  int leftCol() const;

  FlexGrid* grid_;
  bool syncing_ = false;
  bool afterDouble_ = false;  // the release that ends a double click is no click
};

}  // namespace kv::ui::desktop
