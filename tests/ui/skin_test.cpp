#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <fstream>

#include "control/startup.h"
#include "rig.h"
#include "ui/main_window.h"
#include "ui/skin_widgets.h"

namespace qvx::ui {
namespace {

using qvx::testing::Rig;
using qvx::testing::TempFolder;

void clickLikeAUser(QWidget* w) {
  QPointF at(w->width() / 2.0, w->height() / 2.0);
  QPointF global = w->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(w, &release);
}

// The whole window started as the program starts it, on the simulated instrument.
struct StartedWindow {
  TempFolder folder;
  Rig rig;
  MainWindow window{rig.scope.panel};

  StartedWindow() {
    std::ofstream("QVXport.cfg") << "1\n";
    rig.host.onPump = [this] { window.sync(); };
    Form_Load(rig.scope);
    window.sync();
    window.show();
    Form_Activate(rig.scope);
    window.sync();
    QCoreApplication::processEvents();
  }
};

TEST(Skin, ModeButtonStepsToGeneratorAndTheModeBoxRepaints) {
  StartedWindow w;
  Panel& p = w.rig.scope.panel;
  ASSERT_NE(p.SCOPEMODE.texts().find("        SCOPE"), std::string::npos) << p.SCOPEMODE.texts();
  QWidget* modeBox = w.window.widgetFor("SCOPEMODE");
  ASSERT_NE(modeBox, nullptr);
  QImage before = modeBox->grab().toImage();

  clickLikeAUser(w.window.widgetFor("SmodeUP"));
  QCoreApplication::processEvents();

  EXPECT_EQ(w.rig.scope.OperatingMode, 1);
  EXPECT_NE(p.SCOPEMODE.texts().find("   GENERATOR"), std::string::npos) << p.SCOPEMODE.texts();
  EXPECT_NE(modeBox->grab().toImage(), before);
}

TEST(Skin, ControlsFollowTheModel) {
  StartedWindow w;
  Panel& p = w.rig.scope.panel;
  auto* go = static_cast<QPushButton*>(w.window.widgetFor("GOBUTTON"));
  EXPECT_EQ(go->text().toStdString(), p.GOBUTTON.caption);
  EXPECT_FALSE(w.window.widgetFor("CONFIGWINDOW")->isVisible());
  EXPECT_EQ(w.window.windowTitle().toStdString(), p.title);

  // Scaled uniformly: the display keeps its 11900 x 4780 twips shape at any window size.
  w.window.resize(1586, 1200);
  QCoreApplication::processEvents();
  QWidget* screen = w.window.widgetFor("ScopeScreen");
  EXPECT_NEAR(screen->width() / double(screen->height()), 11900.0 / 4780, 0.02);
  EXPECT_NEAR(screen->width(), 1586, 2);

  p.GOBUTTON.enabled = false;
  p.GOBUTTON.caption = "STOP";
  w.window.sync();
  EXPECT_FALSE(go->isEnabled());
  EXPECT_EQ(go->text(), "STOP");
}

TEST(Skin, DraggingTheScrollBarMovesTheModelBar) {
  StartedWindow w;
  Panel& p = w.rig.scope.panel;
  auto* bar = static_cast<QScrollBar*>(w.window.widgetFor("HScroll2"));
  int changes = 0;
  auto previous = p.HScroll2.onChange;
  p.HScroll2.onChange = [&] {
    ++changes;
    if (previous) previous();
  };
  bar->setValue(1500);
  EXPECT_EQ(p.HScroll2.value(), 1500);
  EXPECT_EQ(changes, 1);
  // A change made by the program moves the Qt bar without raising the event again.
  p.HScroll2.setValue(1800);
  w.window.sync();
  EXPECT_EQ(bar->value(), 1800);
  EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace qvx::ui
