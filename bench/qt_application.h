// The Qt application the desktop back ends need (the printer's and the windows'), on the offscreen
// platform unless one is set.
#pragma once

#include <QApplication>

namespace kv::bench {

inline QApplication& qtApplication() {
  static int argc = 1;
  static char name[] = "kv_bench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(argc, argv);
  return app;
}

}  // namespace kv::bench
