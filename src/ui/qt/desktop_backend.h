// The desktop back end: widgets for the loaded windows and their controls, kept in step with the model
// after every event, and the platform's input turned into Input calls.
#pragma once

#include "ui/layer_guard.h"

#include <QElapsedTimer>
#include <QObject>
#include <memory>
#include <set>
#include <unordered_map>

#include "ui/backend.h"

class QLineEdit;
class QTimer;
class QWidget;

namespace kv::ui {
class Application;
class Timer;
}  // namespace kv::ui

namespace kv::ui::desktop {

class FormWidget;

class DesktopBackend : public Backend {
 public:
  DesktopBackend();
  ~DesktopBackend() override;

  void setApplication(Application* app) { app_ = app; }

  void formLoaded(Form& form) override;
  void formUnloaded(Form& form) override;
  void formChanged(Form& form, FormChange what) override;
  void controlChanged(Control& control) override;
  void controlDestroyed(Control& control) override;
  void refresh(Form& form) override;
  void flush() override;
  MsgAnswer messageBox(Form* owner, const std::string& text, MsgButtons buttons, MsgIcon icon,
                       const std::string& title) override;
  void beep() override;
  double textWidth(const Font& font, std::string_view text) override;
  double textHeight(const Font& font) override;
  ScreenSize screen() override;
  std::string clipboardText() override;
  void setClipboardText(const std::string& text) override;
  void ended() override;
  bool unhandledError(const std::string& what) override;

  QWidget* widgetOf(const Form& form) const;
  QWidget* widgetOf(const Control& control) const;
  // The platform's events on the widgets of the controls (installed as their event filter).
  bool filter(QObject* watched, QEvent* event);

 private:
  class Filter;

  QWidget* ensureWidget(Control& control);
  void watch(QObject* object, Control& control);
  // The caret and selection the user makes with the mouse, into the model (no event).
  void followCaret(QLineEdit* edit, Control& control);
  void forget(Control& control);
  void syncForm(Form& form);
  void syncTimer(Timer& timer);
  void syncFocus(Form& form);
  void syncPointer();
  // During a long handler, shows the screen now and then (titles and labels that report progress).
  void paintIfDue();
  // A change made outside any handler (program start, tests) is shown when the event loop runs next.
  void flushLater();
  bool keyEvent(Form& form, QEvent* event);

  Application* app_ = nullptr;
  std::unique_ptr<Filter> filter_;
  std::unordered_map<const Form*, FormWidget*> forms_;
  std::unordered_map<const Control*, QWidget*> widgets_;
  std::unordered_map<const QObject*, Control*> controlOf_;
  std::unordered_map<const Control*, std::pair<QTimer*, int>> timers_;  // a timer's QTimer and restarts
  std::set<Form*> dirtyForms_;
  std::set<Control*> dirtyControls_;
  bool syncing_ = false;
  bool hourglass_ = false;
  bool flushPending_ = false;
  QElapsedTimer sincePaint_;
};

}  // namespace kv::ui::desktop
