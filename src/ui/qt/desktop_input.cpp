// The platform's events on the windows' widgets (keys, typed text, focus, clicks), turned into the
// windows' events through Input.
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTabBar>
#include <algorithm>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/input.h"
#include "ui/keys.h"
#include "ui/qt/desktop_backend.h"
#include "ui/qt/form_widget.h"
#include "ui/qt/key_map.h"
#include "ui/tabstrip.h"

namespace kv::ui::desktop {

bool DesktopBackend::keyEvent(Form& form, QEvent* event) {
  if (event->type() == QEvent::InputMethod) {
    // Composed characters arrive as committed text: each one typed, those without a byte refused.
    for (char ch : fromQString(static_cast<QInputMethodEvent*>(event)->commitString())) {
      const auto c = static_cast<unsigned char>(ch);
      Input::keystroke(form, keyStrokeOf(c).keyCode, keyStrokeOf(c).shift, c);
    }
    return true;
  }
  const auto* key = static_cast<QKeyEvent*>(event);
  const TranslatedKey k = translateKey(key->key(), key->modifiers(), key->text());
  if (!k.refused && (k.keyCode != 0 || k.character)) Input::keystroke(form, k.keyCode, k.shift, k.character);
  return true;
}

bool DesktopBackend::filter(QObject* watched, QEvent* event) {
  if (!app_) return false;
  const QEvent::Type type = event->type();
  // The window's own widget: keys when no control has the focus.
  if (const auto f = std::find_if(forms_.begin(), forms_.end(), [&](const auto& e) { return e.second == watched; });
      f != forms_.end()) {
    Form& form = *const_cast<Form*>(f->first);
    if (type == QEvent::ShortcutOverride) {
      event->accept();
      return true;
    }
    if (type == QEvent::KeyPress || type == QEvent::InputMethod) return keyEvent(form, event);
    return type == QEvent::KeyRelease;
  }
  const auto it = controlOf_.find(watched);
  if (it == controlOf_.end()) return false;
  Control& c = *it->second;
  Form& form = c.Parent();
  switch (type) {
    case QEvent::ShortcutOverride:
      // No shortcut of Qt takes a key from the windows: every key comes as a KeyPress.
      event->accept();
      return true;
    case QEvent::KeyPress:
    case QEvent::InputMethod:
      return keyEvent(form, event);
    case QEvent::KeyRelease:
      return true;
    case QEvent::FocusIn:
      // Only the user's click moves the model's focus; Qt's own focus moves (window activation, a
      // widget disabled) are put right at the next flush.
      if (!syncing_ && static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
        Input::focus(c);
      else if (!syncing_)
        dirtyForms_.insert(&form);
      return false;
    case QEvent::ContextMenu:
    case QEvent::Wheel:
    case QEvent::DragEnter:
    case QEvent::Drop:
      return c.kind() != ControlKind::FlexGrid;
    default:
      break;
  }
  const auto* mouse = dynamic_cast<const QMouseEvent*>(event);
  if (!mouse) return false;
  if (mouse->button() == Qt::MiddleButton) return true;  // no paste of the X11 selection
  const bool left = mouse->button() == Qt::LeftButton;
  switch (c.kind()) {
    case ControlKind::Label:
    case ControlKind::Frame:
    case ControlKind::PictureBox:
      // These take their own clicks; the window's background does not see them.
      if (left && type == QEvent::MouseButtonRelease && !watched->property("kvAfterDouble").toBool()) Input::click(c);
      if (left && type == QEvent::MouseButtonDblClick) Input::dblClick(c);
      watched->setProperty("kvAfterDouble", type == QEvent::MouseButtonDblClick);
      return true;
    case ControlKind::TextBox:
      if (left && type == QEvent::MouseButtonRelease && !watched->property("kvAfterDouble").toBool()) Input::click(c);
      if (left && type == QEvent::MouseButtonDblClick) Input::dblClick(c);
      if (type != QEvent::MouseMove) watched->setProperty("kvAfterDouble", type == QEvent::MouseButtonDblClick);
      return false;
    case ControlKind::OptionButton:
      if (left && type == QEvent::MouseButtonDblClick) {
        Input::dblClick(c);
        return true;
      }
      return false;
    case ControlKind::TabStrip: {
      auto* bar = qobject_cast<QTabBar*>(watched);
      if (bar && left && type == QEvent::MouseButtonPress) {
        const int index = bar->tabAt(mouse->position().toPoint());
        if (index >= 0) Input::chooseTab(static_cast<TabStrip&>(c), index + 1);
      }
      return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    }
    default:
      return false;
  }
}

}  // namespace kv::ui::desktop
