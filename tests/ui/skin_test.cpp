#include <gtest/gtest.h>

#include <QScrollBar>

#include "ui/skin_widgets.h"
#include "ui/started_window.h"

namespace qvx::ui {
namespace {

using testing::clickLikeAUser;
using testing::mouse;
using testing::StartedWindow;

// Scaled uniformly: the display keeps its 11900 x 4780 twips shape at any window size.
TEST(Skin, ScalesUniformlyKeepingTheLayoutsShape) {
  StartedWindow w;
  EXPECT_EQ(w.window.windowTitle().toStdString(), w.rig.scope.panel.title);
  EXPECT_EQ(w.window.size(), w.window.minimumSize()) << "opened at the natural size";
  w.window.resize(1586, 1200);
  QCoreApplication::processEvents();
  QWidget* screen = w.window.widgetFor("ScopeScreen");
  EXPECT_NEAR(screen->width() / double(screen->height()), 11900.0 / 4780, 0.02);
  EXPECT_NEAR(screen->width(), 1586, 2);
}

// Three quarters of the available height at the layout's shape, narrowed to the screen's
// width, never below the natural size.
TEST(Skin, ComfortableSizeForTheScreen) {
  const QSize natural(793, 545);
  EXPECT_EQ(comfortableSize(natural, {1920, 1040}), QSize(1135, 780));
  EXPECT_EQ(comfortableSize(natural, {1000, 1400}), QSize(950, 653));
  EXPECT_EQ(comfortableSize(natural, {800, 600}), natural);
}

TEST(Skin, DraggingTheScrollBarMovesTheModelBar) {
  StartedWindow w;
  Panel& p = w.rig.scope.panel;
  auto* bar = static_cast<QScrollBar*>(w.window.widgetFor("HScroll2"));
  int changes = 0;
  p.HScroll2.onChange = [&] { ++changes; };
  bar->setValue(1500);
  EXPECT_EQ(p.HScroll2.value(), 1500);
  // A change made by the program moves the Qt bar without raising the event again.
  p.HScroll2.setValue(1800);
  w.window.sync();
  EXPECT_EQ(bar->value(), 1800);
  EXPECT_EQ(changes, 2);
}

// With a sine on A: TRIG mode, then a held level button moves the level up, and the
// window shows the panel texts, the level readout and the inverted marker line.
TEST(Skin, TriggerButtonsShowTheLevelMarkerOnTheDisplay) {
  StartedWindow w;
  Scope& s = w.rig.scope;
  QWidget* screen = w.window.widgetFor("ScopeScreen");
  clickLikeAUser(w.window.widgetFor("TMODEBUTTON"));
  EXPECT_NE(s.panel.Picture5.texts().find("  TRIG  "), std::string::npos);
  const QImage before = screen->grab().toImage();

  // The press steps once and then repeats while held; the release arrives while the
  // held button lets events run.
  w.rig.host.afterPumps(1,
                        [&] { mouse(w.window.widgetFor("TRLARGEP"), QEvent::MouseButtonRelease); });
  mouse(w.window.widgetFor("TRLARGEP"), QEvent::MouseButtonPress);
  QCoreApplication::processEvents();

  EXPECT_EQ(s.TrigCursorY, 2048 - 256);
  EXPECT_EQ(s.panel.levelval.texts(), "   1.25");  // a quarter of the 10 V range's half
  const QImage after = screen->grab().toImage();
  // The marker row (1792 of 4106 units below the top) is inverted across the display.
  const int row = static_cast<int>((1792 + 1) * after.height() / 4106.0);
  int changed = 0;
  for (int dy = -2; dy <= 2; ++dy)
    for (int x = 0; x < after.width(); x += 8)
      if (after.pixel(x, row + dy) != before.pixel(x, row + dy)) ++changed;
  EXPECT_GT(changed, after.width() / 8 / 2);
}

}  // namespace
}  // namespace qvx::ui
