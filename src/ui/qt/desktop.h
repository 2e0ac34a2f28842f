// The desktop back end of the forms layer (Qt 6 Widgets): each loaded window becomes a top-level widget
// with a child widget per control, kept in step with the model; real keys, clicks and focus changes
// become the windows' events (Input), with the same effect as in the headless back end.
#pragma once

#include "ui/layer_guard.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace kv::ui {
class Application;
class Control;
class Form;
}  // namespace kv::ui

namespace kv::ui::desktop {

class DesktopBackend;

// The program's start, before its first window: it takes the arguments that Qt has left (the program's name
// not among them), may tell the user something (MsgBox over no window), and says whether the program goes on.
using ProgramStart = std::function<bool(const std::vector<std::string>& args)>;

// Runs the program on the desktop: runs its start, then shows the first window and serves events until the
// program ends. A start that refuses ends the program with status 1. Without a display (no DISPLAY,
// WAYLAND_DISPLAY or QT_QPA_PLATFORM) it says so and returns non-zero.
int runDesktop(int argc, char** argv, std::string_view firstForm, const ProgramStart& start = {});

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
