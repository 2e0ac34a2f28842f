// The widget of each kind of control, and how it shows the control's state.
#pragma once

#include "ui/layer_guard.h"

class QWidget;

namespace kv::ui {
class Control;
}

namespace kv::ui::desktop {

// A new widget for a control (not for a timer), child of parent.
QWidget* createControlWidget(Control& control, QWidget* parent);
// Shows the control's state in its widget.
void syncControlWidget(Control& control, QWidget* widget);

}  // namespace kv::ui::desktop
