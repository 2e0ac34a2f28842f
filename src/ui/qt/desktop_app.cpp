#include <QApplication>
#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "ui/application.h"
#include "ui/forms_registry.h"
#include "ui/qt/desktop.h"
#include "ui/qt/desktop_backend.h"

namespace kv::ui::desktop {

DesktopSession::DesktopSession()
    : backend_(std::make_unique<DesktopBackend>()), app_(std::make_unique<Application>(*backend_)) {
  backend_->setApplication(app_.get());
}

DesktopSession::~DesktopSession() {
  app_.reset();
  backend_->setApplication(nullptr);
}

QWidget* DesktopSession::widgetOf(const Form& form) const { return backend_->widgetOf(form); }

QWidget* DesktopSession::widgetOf(const Control& control) const { return backend_->widgetOf(control); }

namespace {

bool set(const char* name) {
  const char* v = std::getenv(name);
  return v && *v;
}

}  // namespace

int runDesktop(int argc, char** argv, std::string_view firstForm, const ProgramStart& start) {
  if (!set("DISPLAY") && !set("WAYLAND_DISPLAY") && !set("QT_QPA_PLATFORM")) {
    std::fputs(
        "KALVOR 952: no graphical display is available (DISPLAY and WAYLAND_DISPLAY are not set).\n"
        "Start the program from a desktop session, or set QT_QPA_PLATFORM.\n",
        stderr);
    return 2;
  }
  int qtArgc = argc;
  QApplication qtApp(qtArgc, argv);
  // Qt takes the desktop's whole locale for the C library; the numbers that the workbook library writes
  // and the workbook reader reads must keep their full stop whatever the desktop's language.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setQuitOnLastWindowClosed(false);  // the program decides when it ends
  DesktopSession session;
  if (start) {
    std::vector<std::string> args;
    for (int i = 1; i < qtArgc; ++i) args.emplace_back(argv[i]);
    if (!start(args)) return 1;
  }
  session.app().forms().show(firstForm);
  if (session.app().ended()) return 0;
  return QApplication::exec();
}

}  // namespace kv::ui::desktop
