// The Qt application the desktop printer back end needs, on the offscreen platform unless one is set.
#pragma once

#include <QGuiApplication>

namespace kv::bench {

inline QGuiApplication& qtApplication() {
  static int argc = 1;
  static char name[] = "kv_bench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(argc, argv);
  return app;
}

}  // namespace kv::bench
