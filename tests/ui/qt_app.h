#pragma once
#include <QApplication>

namespace qvx::testing {

// The one QApplication of the UI tests, made by their main.
inline QApplication& qtApp() { return *static_cast<QApplication*>(QCoreApplication::instance()); }

}  // namespace qvx::testing
