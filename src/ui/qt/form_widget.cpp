#include "ui/qt/form_widget.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <utility>

#include "ui/form.h"
#include "ui/input.h"
#include "ui/qt/key_map.h"

namespace kv::ui::desktop {

QFont qtFont(const Font& font) {
  QFont f(QString::fromStdString(font.name));
  f.setPointSizeF(font.size);
  f.setBold(font.bold);
  return f;
}

FormWidget::FormWidget(Form& form) : QWidget(nullptr), form_(&form) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_DeleteOnClose, false);
}

namespace {

QColor qtColor(Color c) { return QColor(c & 255, (c >> 8) & 255, (c >> 16) & 255); }

}  // namespace

void FormWidget::paintEvent(QPaintEvent*) {
  if (!form_) return;
  QPainter p(this);
  for (const DrawItem& item : form_->Drawing()) {
    p.setPen(qtColor(item.color));
    if (item.kind == DrawItem::Kind::Line) {
      p.drawLine(QPointF(item.x1, item.y1), QPointF(item.x2, item.y2));
    } else {
      const QFont font = qtFont(item.font);
      p.setFont(font);
      p.drawText(QPointF(item.x1, item.y1 + QFontMetricsF(font).ascent()), toQString(item.text));
    }
  }
}

void FormWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (std::exchange(afterDouble_, false)) return;
  if (form_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    Input::formClick(*form_);
}

void FormWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!form_ || event->button() != Qt::LeftButton) return;
  afterDouble_ = true;
  Input::formDblClick(*form_);
}

// The window decides what its close box does (Form_QueryUnload); the widget never closes by itself.
void FormWidget::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (form_) Input::closeBox(*form_);
}

void FormWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // Sizes the model set come back here too; only the user's own resizing is an event.
  if (form_ && form_->Sizable() && isVisible() && (width() != form_->Width() || height() != form_->Height()))
    Input::resized(*form_, width(), height());
}

}  // namespace kv::ui::desktop
