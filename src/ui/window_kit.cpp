#include "ui/window_kit.h"

#include <algorithm>

#include "ui/application.h"

namespace kv::ui {

void centreOnScreen(Form& form) {
  const ScreenSize screen = Screen();
  form.Move(std::max(0, (screen.Width - form.Width()) / 2), std::max(0, (screen.Height - form.Height()) / 2));
}

void moveTwips(Placement& item, int left, int top, int width, int height) {
  item.Move(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

BusyPointer::BusyPointer(Form& form) : form_(form), before_(form.MousePointer()) {
  form_.MousePointer = Pointer::Hourglass;
}

BusyPointer::~BusyPointer() { restore(); }

void BusyPointer::restore() {
  if (!busy_) return;
  busy_ = false;
  form_.MousePointer = before_;
}

}  // namespace kv::ui
