#include "ui/qt/desktop_backend.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include "ui/application.h"
#include "ui/combobox.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/forms_registry.h"
#include "ui/input.h"
#include "ui/qt/control_widgets.h"
#include "ui/qt/form_widget.h"
#include "ui/qt/grid_widget.h"
#include "ui/qt/key_map.h"
#include "ui/qt/message_box.h"
#include "ui/textbox.h"

namespace kv::ui::desktop {

class DesktopBackend::Filter : public QObject {
 public:
  explicit Filter(DesktopBackend& backend) : backend_(backend) {}
  bool eventFilter(QObject* watched, QEvent* event) override { return backend_.filter(watched, event); }

 private:
  DesktopBackend& backend_;
};

DesktopBackend::DesktopBackend() : filter_(std::make_unique<Filter>(*this)) { sincePaint_.start(); }

DesktopBackend::~DesktopBackend() {
  for (auto& [timer, state] : timers_) delete state.first;
  for (auto& [form, widget] : forms_) delete widget;
  if (hourglass_) QGuiApplication::restoreOverrideCursor();
  // The widgets of unloaded windows waited for the event loop; it will not come back for them.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QWidget* DesktopBackend::widgetOf(const Form& form) const {
  const auto it = forms_.find(&form);
  return it == forms_.end() ? nullptr : it->second;
}

QWidget* DesktopBackend::widgetOf(const Control& control) const {
  const auto it = widgets_.find(&control);
  return it == widgets_.end() ? nullptr : it->second;
}

// --- model to screen -------------------------------------------------------------------------------

void DesktopBackend::formLoaded(Form& form) {
  auto* w = new FormWidget(form);
  forms_[&form] = w;
  w->installEventFilter(filter_.get());
  dirtyForms_.insert(&form);
  for (Control* c : form.Controls()) controlChanged(*c);
}

void DesktopBackend::formUnloaded(Form& form) {
  for (Control* c : form.Controls()) forget(*c);
  dirtyForms_.erase(&form);
  const auto it = forms_.find(&form);
  if (it == forms_.end()) return;
  FormWidget* w = it->second;
  forms_.erase(it);
  w->detach();
  w->removeEventFilter(filter_.get());
  w->hide();
  // The widget may be running the event that unloaded the window: it goes when that event is over.
  w->deleteLater();
  syncPointer();
}

void DesktopBackend::forget(Control& control) {
  dirtyControls_.erase(&control);
  if (auto t = timers_.find(&control); t != timers_.end()) {
    t->second.first->stop();
    t->second.first->deleteLater();
    timers_.erase(t);
  }
  const auto it = widgets_.find(&control);
  if (it == widgets_.end()) return;
  QWidget* w = it->second;
  widgets_.erase(it);
  for (auto o = controlOf_.begin(); o != controlOf_.end();) {
    if (o->second == &control)
      o = controlOf_.erase(o);
    else
      ++o;
  }
  if (auto* grid = dynamic_cast<GridWidget*>(w)) grid->detach();
  w->hide();
  w->deleteLater();
}

void DesktopBackend::formChanged(Form& form, FormChange what) {
  dirtyForms_.insert(&form);
  if (what == FormChange::MousePointer) syncPointer();
  paintIfDue();
  flushLater();
}

void DesktopBackend::controlChanged(Control& control) {
  if (!forms_.count(&control.Parent())) return;
  dirtyControls_.insert(&control);
  paintIfDue();
  flushLater();
}

void DesktopBackend::flushLater() {
  if (flushPending_ || !app_ || app_->depth() > 0) return;
  flushPending_ = true;
  QTimer::singleShot(0, filter_.get(), [this] {
    flushPending_ = false;
    flush();
  });
}

void DesktopBackend::controlDestroyed(Control& control) { forget(control); }

void DesktopBackend::paintIfDue() {
  if (syncing_ || !app_ || app_->depth() == 0 || sincePaint_.elapsed() < 100) return;
  Form* visible = app_->forms().visible();
  flush();
  if (visible && forms_.count(visible)) forms_[visible]->repaint();
}

void DesktopBackend::refresh(Form& form) {
  flush();
  if (auto it = forms_.find(&form); it != forms_.end()) it->second->repaint();
}

void DesktopBackend::watch(QObject* object, Control& control) {
  controlOf_[object] = &control;
  object->installEventFilter(filter_.get());
}

QWidget* DesktopBackend::ensureWidget(Control& control) {
  if (auto it = widgets_.find(&control); it != widgets_.end()) return it->second;
  const auto formIt = forms_.find(&control.Parent());
  if (formIt == forms_.end() || control.kind() == ControlKind::Timer) return nullptr;
  QWidget* parent = control.Container() ? ensureWidget(*control.Container()) : formIt->second;
  QWidget* w = createControlWidget(control, parent);
  widgets_[&control] = w;
  watch(w, control);
  Control* c = &control;
  switch (control.kind()) {
    case ControlKind::CommandButton:
    case ControlKind::OptionButton:
    case ControlKind::CheckBox:
      // Qt may have changed the button's check by itself: the model's state is shown again afterwards.
      QObject::connect(static_cast<QAbstractButton*>(w), &QAbstractButton::clicked, w, [this, c] {
        if (syncing_ || !widgets_.count(c)) return;
        dirtyControls_.insert(c);
        Input::click(*c);
      });
      break;
    case ControlKind::TextBox:
      followCaret(static_cast<QLineEdit*>(w), control);
      break;
    case ControlKind::ComboBox: {
      auto* box = static_cast<QComboBox*>(w);
      watch(box->lineEdit(), control);
      followCaret(box->lineEdit(), control);
      QObject::connect(box, &QComboBox::activated, box, [this, c](int index) {
        if (syncing_ || !widgets_.count(c)) return;
        dirtyControls_.insert(c);
        Input::pickItem(*static_cast<ComboBox*>(c), index);
      });
      break;
    }
    case ControlKind::TabStrip:
      watch(static_cast<QTabWidget*>(w)->tabBar(), control);
      break;
    case ControlKind::FlexGrid:
      watch(static_cast<GridWidget*>(w)->viewport(), control);
      break;
    default:
      break;
  }
  return w;
}

void DesktopBackend::followCaret(QLineEdit* edit, Control& control) {
  Control* c = &control;
  const auto follow = [this, c, edit] {
    if (syncing_ || !widgets_.count(c)) return;
    const int start = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    const int length = static_cast<int>(edit->selectedText().size());
    if (c->kind() == ControlKind::TextBox)
      static_cast<TextBox*>(c)->caretMoved(start, length);
    else
      static_cast<ComboBox*>(c)->caretMoved(start, length);
  };
  QObject::connect(edit, &QLineEdit::selectionChanged, edit, follow);
  QObject::connect(edit, &QLineEdit::cursorPositionChanged, edit, follow);
}

void DesktopBackend::syncTimer(Timer& timer) {
  auto it = timers_.find(&timer);
  if (it == timers_.end()) {
    auto* t = new QTimer;
    Timer* model = &timer;
    QObject::connect(t, &QTimer::timeout, t, [this, model] {
      if (timers_.count(model)) Input::timerTick(*model);
    });
    it = timers_.emplace(&timer, std::make_pair(t, timer.restarts() - 1)).first;
  }
  QTimer* t = it->second.first;
  if (!timer.Running()) {
    t->stop();
  } else if (!t->isActive() || it->second.second != timer.restarts()) {
    t->start(timer.Interval());
  }
  it->second.second = timer.restarts();
}

void DesktopBackend::syncForm(Form& form) {
  FormWidget* w = forms_.at(&form);
  w->setWindowTitle(toQString(form.Caption()));
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
  if (form.Sizable()) flags |= Qt::WindowMaximizeButtonHint;
  if (w->windowFlags() != flags) w->setWindowFlags(flags);
  if (form.Sizable()) {
    w->setMinimumSize(0, 0);
    w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    w->resize(form.Width(), form.Height());
  } else {
    w->setFixedSize(form.Width(), form.Height());
  }
  w->move(form.Left(), form.Top());
  w->setFont(qtFont(form.font()));
  w->update();
}

void DesktopBackend::syncFocus(Form& form) {
  QWidget* target = form.ActiveControl() ? widgetOf(*form.ActiveControl()) : forms_.at(&form);
  if (!target) return;
  QWidget* has = QApplication::focusWidget();
  if (has == target || (has && controlOf_.count(has) && controlOf_[has] == form.ActiveControl())) return;
  target->setFocus(Qt::OtherFocusReason);
}

void DesktopBackend::syncPointer() {
  const Form* visible = app_ ? app_->forms().visible() : nullptr;
  const bool want = visible && visible->MousePointer() == Pointer::Hourglass && !app_->ended();
  if (want == hourglass_) return;
  hourglass_ = want;
  if (want)
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QGuiApplication::restoreOverrideCursor();
}

void DesktopBackend::flush() {
  if (syncing_ || !app_) return;
  syncing_ = true;
  const std::set<Form*> forms = std::exchange(dirtyForms_, {});
  for (Form* f : forms)
    if (forms_.count(f)) syncForm(*f);
  // Containers first: a frame's widget is the parent of its controls' widgets.
  const std::set<Control*> controls = std::exchange(dirtyControls_, {});
  for (Control* c : controls) {
    if (c->kind() == ControlKind::Timer) {
      syncTimer(static_cast<Timer&>(*c));
    } else if (QWidget* w = ensureWidget(*c)) {
      syncControlWidget(*c, w);
    }
  }
  // Only one window is visible: hide the others before showing it.
  Form* visible = app_->forms().visible();
  for (auto& [form, widget] : forms_)
    if (form != visible && widget->isVisible()) widget->hide();
  if (visible && forms_.count(visible)) {
    FormWidget* w = forms_[visible];
    if (!w->isVisible()) {
      w->show();
      if (QGuiApplication::platformName() != QLatin1String("offscreen")) w->raise();
      w->activateWindow();
    }
    syncFocus(*visible);
  }
  syncPointer();
  syncing_ = false;
  sincePaint_.restart();
}

// --- what the platform offers ------------------------------------------------------------------------

MsgAnswer DesktopBackend::messageBox(Form* owner, const std::string& text, MsgButtons buttons, MsgIcon icon,
                                     const std::string& title) {
  QWidget* parent = owner ? widgetOf(*owner) : nullptr;
  if (parent && !parent->isVisible()) parent = nullptr;
  if (hourglass_) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
  const MsgAnswer answer = showMessageBox(parent, text, buttons, icon, title);
  if (hourglass_) QGuiApplication::restoreOverrideCursor();
  return answer;
}

void DesktopBackend::beep() { QApplication::beep(); }

double DesktopBackend::textWidth(const Font& font, std::string_view text) {
  return QFontMetricsF(qtFont(font)).horizontalAdvance(toQString(text));
}

double DesktopBackend::textHeight(const Font& font) { return QFontMetricsF(qtFont(font)).lineSpacing(); }

ScreenSize DesktopBackend::screen() {
  const QScreen* s = QGuiApplication::primaryScreen();
  if (!s) return {1024, 768};
  return {s->geometry().width(), s->geometry().height()};
}

std::string DesktopBackend::clipboardText() { return fromQString(QGuiApplication::clipboard()->text()); }

void DesktopBackend::setClipboardText(const std::string& text) {
  QGuiApplication::clipboard()->setText(toQString(text));
}

void DesktopBackend::ended() {
  for (auto& [form, widget] : forms_) widget->hide();
  syncPointer();
  QCoreApplication::exit(0);
}

bool DesktopBackend::unhandledError(const std::string& what) {
  showMessageBox(nullptr, what, MsgButtons::Ok, MsgIcon::Stop, "KALVOR 952");
  return false;
}

}  // namespace kv::ui::desktop
