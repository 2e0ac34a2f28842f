// The message box of the desktop: the window's text (a carriage return breaks the line), title, icon and
// buttons with Turkish captions; Esc and the close box answer No or Cancel (OK when that is the only
// button).
#pragma once

#include "ui/layer_guard.h"

#include <string>

#include "base/messages.h"

class QWidget;

namespace kv::ui::desktop {

MsgAnswer showMessageBox(QWidget* parent, const std::string& text, MsgButtons buttons, MsgIcon icon,
                         const std::string& title);

}  // namespace kv::ui::desktop
