// The top-level widget of a window: it paints the form's drawing surface and turns clicks on the window's
// background, the close box and the user's resizing into the window's events.
#pragma once

#include "ui/layer_guard.h"

#include <QFont>
#include <QWidget>

#include "ui/backend.h"

namespace kv::ui {
class Form;
}

namespace kv::ui::desktop {

class FormWidget : public QWidget {
 public:
  explicit FormWidget(Form& form);
  // The window is being unloaded: the widget no longer speaks for it.
  void detach() { form_ = nullptr; }
  Form* form() const { return form_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  Form* form_;
  bool afterDouble_ = false;  // the release that ends a double click is no click
};

QFont qtFont(const Font& font);

}  // namespace kv::ui::desktop
