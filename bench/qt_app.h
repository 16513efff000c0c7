#pragma once
#include <QApplication>
#include <cstdlib>

namespace qvx::bench {

// The one Qt application of a benchmark, created on first use, offscreen unless the
// environment names another platform.
inline QApplication& app() {
  static int argc = 1;
  static char name[] = "qvx_bench";
  static char* argv[] = {name, nullptr};
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QApplication a(argc, argv);
  return a;
}

}  // namespace qvx::bench
