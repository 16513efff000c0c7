// The Bode view in the real program's window, through its screenshot.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <QKeyEvent>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bode/view.h"
#include "sim/signal.h"
#include "ui/started_window.h"

namespace qvx {
namespace {

std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int run(const std::string& arguments) {
  const std::string command =
      std::string("timeout 120 ") + QVXSCOPE_PATH + " " + arguments + " 2>err.txt";
  return WEXITSTATUS(std::system(command.c_str()));
}

// Pixels of the picture's area (in the 1190 x 818 screenshot, a tenth of the layout's
// twips) that are nearly `rgb`.
int pixelsLike(const QImage& image, QRect area, QRgb rgb) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const QRgb c = image.pixel(x, y);
      if (std::abs(qRed(c) - qRed(rgb)) + std::abs(qGreen(c) - qGreen(rgb)) +
              std::abs(qBlue(c) - qBlue(rgb)) <
          40)
        ++n;
    }
  return n;
}

// --show=bode opens the view over the display, --bode sets its plan, and --go runs its
// sweep before the picture is taken: the readouts' yellow box stands where the display
// was, and channel A's trace (dark blue, the wire through the low-pass) is drawn.
TEST(BodeWindow, ShowBodeWithGoPicturesAFinishedSweep) {
  testing::TempFolder folder;
  std::ofstream("QVXport.cfg", std::ios::binary) << " 1 \r\n";
  ASSERT_EQ(run("--sim-a=gen-rc:1600:1e-7 --show=bode --bode=1000:10000:1 --go "
                "--screenshot=bode.png"),
            0)
      << contents("err.txt");
  ASSERT_EQ(run("--sim-a=gen-rc:1600:1e-7 --show=bode --bode=1000:10000:1 --screenshot=idle.png"),
            0)
      << contents("err.txt");
  ASSERT_EQ(run("--screenshot=plain.png"), 0) << contents("err.txt");
  const QImage bode("bode.png"), idle("idle.png"), plain("plain.png");
  ASSERT_EQ(bode.size(), QSize(1190, 818));
  const QRect readouts(880, 260, 290, 220), plot(90, 100, 740, 380);
  const QRgb yellow = qRgb(0xFF, 0xFF, 0xC0), traceA = qRgb(0, 0, 0x80);
  EXPECT_GT(pixelsLike(bode, readouts, yellow), readouts.width() * readouts.height() * 9 / 10);
  EXPECT_EQ(pixelsLike(plain, readouts, yellow), 0);
  EXPECT_GT(pixelsLike(bode, plot, traceA), 300);
  EXPECT_EQ(pixelsLike(idle, plot, traceA), 0);  // no sweep without --go

  // The plan given to a window without the view is refused, naming what is missing.
  EXPECT_EQ(run("--bode=1000:10000:1 --screenshot=x.png"), 2);
  EXPECT_NE(contents("err.txt").find("--show=bode"), std::string::npos) << contents("err.txt");
}

// The arrow keys reach the Bode picture's cursor through the window's key filter while the
// picture holds the focus, and the display's cursor keys everywhere else.
TEST(BodeWindow, ArrowKeysMoveTheCursorOfThePictureWithTheFocus) {
  sim::Config config;
  config.inputs.a = sim::parseAnalog("gen-rc:1600:1e-7", "--sim-a");
  ui::testing::StartedWindow w(config);
  Panel& p = w.rig.scope.panel;
  const bode::View& view = bodeView(w.rig.scope);
  p.shortcuts.back().action();
  for (int i = 0; i < 5; ++i) p.BodeStartUp.press();   // 1 kHz
  for (int i = 0; i < 4; ++i) p.BodeStopDown.press();  // 10 kHz
  for (int i = 0; i < 4; ++i) p.BodePpdDown.press();   // 1 a decade
  p.BodeRunButton.press();
  ASSERT_EQ(view.response.points.size(), 2u);
  ASSERT_EQ(view.cursor, 0);
  p.Command23.press();  // the display's cursor on: its arrow keys would take the key
  ASSERT_TRUE(p.Command27.usable());
  const double displayCursor = w.rig.scope.CursorX;
  auto press = [&](const char* name, Qt::Key key) {
    p.focus = name;
    w.window.sync();
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w.window.widgetFor(name), &e);
  };
  press("BodePlot", Qt::Key_Right);
  EXPECT_EQ(view.cursor, 1);
  press("BodePlot", Qt::Key_Right);  // the last point: it stays there
  EXPECT_EQ(view.cursor, 1);
  EXPECT_EQ(w.rig.scope.CursorX, displayCursor);
  press("BodeRunButton", Qt::Key_Right);
  EXPECT_EQ(view.cursor, 1);
  EXPECT_NE(w.rig.scope.CursorX, displayCursor);
  press("BodePlot", Qt::Key_Left);
  EXPECT_EQ(view.cursor, 0);
  EXPECT_NE(p.BodeInfo.texts().find("Cursor 1.000 kHz"), std::string::npos) << p.BodeInfo.texts();
}

}  // namespace
}  // namespace qvx
