#pragma once
#include <QApplication>
#include <cstdlib>

namespace qvx::testing {

// The one QApplication of the UI tests, offscreen unless the environment chose a platform.
inline QApplication& qtApp() {
  static int argc = 1;
  static char name[] = "qvx_ui_tests";
  static char* argv[] = {name, nullptr};
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QApplication app(argc, argv);
  return app;
}

}  // namespace qvx::testing
