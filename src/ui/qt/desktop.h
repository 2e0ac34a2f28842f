// The desktop back end of the forms layer (Qt 6 Widgets): each loaded window becomes a top-level widget
// with a child widget per control, kept in step with the model; real keys, clicks and focus changes
// become the windows' events (Input), with the same effect as in the headless back end.
#pragma once

#include "ui/layer_guard.h"

#include <memory>
#include <string_view>

class QWidget;

namespace kv::ui {
class Application;
class Control;
class Form;
}  // namespace kv::ui

namespace kv::ui::desktop {

class DesktopBackend;

// Runs the program on the desktop: shows the first window and serves events until the program ends.
// Without a display (no DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM) it says so and returns non-zero.
int runDesktop(int argc, char** argv, std::string_view firstForm);

// The desktop back end and the application of the windows on it, over a QApplication that exists.
class DesktopSession {
 public:
  DesktopSession();
  ~DesktopSession();
  DesktopSession(const DesktopSession&) = delete;
  DesktopSession& operator=(const DesktopSession&) = delete;

  Application& app() { return *app_; }
  DesktopBackend& backend() { return *backend_; }
  // The widget that shows a window or a control (null when none).
  QWidget* widgetOf(const Form& form) const;
  QWidget* widgetOf(const Control& control) const;

 private:
  std::unique_ptr<DesktopBackend> backend_;
  std::unique_ptr<Application> app_;
};

}  // namespace kv::ui::desktop
