#pragma once
#include <QApplication>
#include <QMouseEvent>
#include <fstream>

#include "control/startup.h"
#include "rig.h"
#include "ui/main_window.h"

namespace qvx::ui::testing {

inline void mouse(QWidget* w, QEvent::Type type) {
  QPointF at(w->width() / 2.0, w->height() / 2.0);
  QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton,
                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

inline void clickLikeAUser(QWidget* w) {
  mouse(w, QEvent::MouseButtonPress);
  mouse(w, QEvent::MouseButtonRelease);
}

// The whole window started as the program starts it, on the simulated instrument, with
// the port file naming LPT1 unless `portFile` is false.
struct StartedWindow {
  explicit StartedWindow(sim::Config config = {}, bool portFile = true) : rig(config) {
    if (portFile) std::ofstream("QVXport.cfg") << "1\n";
    rig.host.onPump = [this] {
      window.sync();
      if (onPump) onPump();
    };
    window.setOpeningScale(1);
    window.show();
    Form_Load(rig.scope);
    window.sync();
    Form_Activate(rig.scope);
    window.sync();
    QCoreApplication::processEvents();
  }
  // Runs on every event pump of the program, after the window has been synced.
  std::function<void()> onPump;

  qvx::testing::TempFolder folder;
  qvx::testing::Rig rig;
  MainWindow window{rig.scope.panel};
};

}  // namespace qvx::ui::testing
