// A full redraw of the signal display with A, B, C and D shown over 64K points, painted
// into an image the size of the display (11900 x 4780 twips at 15 twips a pixel), with
// traces written straight into the image column by column (reduced) and drawn segment
// by segment through the painter (full).
#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <memory>

#include "control/startup.h"
#include "display/render.h"
#include "qt_app.h"
#include "rig.h"
#include "ui/main_window.h"
#include "ui/picture_painter.h"

namespace {

using namespace qvx;
using bench::app;

std::int16_t sine(int i) {
  return static_cast<std::int16_t>(2048 + 1500 * std::sin(i * 0.0021));
}
std::int16_t square(int i) {
  return (i / 700) % 2 ? 3000 : 1100;
}
std::int16_t digital(int i, int period) {
  return (i / period) % 2 ? 2560 : 2048;
}

// The four traces as the renderer hands them over: one polyline of 65,536 points each.
void drawTraces(PictureArea& screen) {
  screen.cls();
  screen.setScaleWidth(65534);
  screen.drawStyle = DrawStyle::Dotted;
  for (int k = 1; k < 16; ++k) screen.line(k * 4000, 0, k * 4000, 4096, 0x808080);
  for (int y = 512; y <= 4096; y += 512) screen.line(0, y, 65534, y, 0x808080);
  screen.drawStyle = DrawStyle::Solid;
  const Colour colours[] = {0x800000, 0x008000, 0xC07000, 0x2090D0};
  for (int t = 0; t < 4; ++t) {
    std::vector<PointF> pts(65536);
    for (int i = 0; i < 65536; ++i) {
      int v = t == 0 ? sine(i) : t == 1 ? square(i) : digital(i, t == 2 ? 300 : 1100);
      pts[i] = {float(i), float(4096 - v)};
    }
    screen.polyline(std::move(pts), colours[t]);
  }
}

void PaintFourTraces(benchmark::State& state) {
  app();
  PictureArea screen("ScopeScreen");
  screen.place = {0, 0, 11900, 4780};
  screen.setScaleHeight(4106);
  screen.ScaleTop = -1;
  screen.backColour = 0xE0E0E0;
  drawTraces(screen);
  QImage image(793, 319, QImage::Format_RGB32);
  ui::PicturePainter painter;
  painter.setReduction(state.range(0) != 0);
  for (auto _ : state) {
    painter.invalidate();
    painter.update(screen, image, 1.0 / 15);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetLabel(state.range(0) ? "reduced" : "full");
}
BENCHMARK(PaintFourTraces)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// The whole path: the renderer redraws the display from the buffers, and the skin
// paints it into the display's widget.
struct Started {
  testing::TempFolder folder;
  testing::Rig rig;
  std::unique_ptr<ui::MainWindow> window;
  Started() {
    std::ofstream("QVXport.cfg") << "1\n";
    window = std::make_unique<ui::MainWindow>(rig.scope.panel);
    window->setOpeningScale(1);  // the natural size, as figures from before were taken
    Form_Load(rig.scope);
    Form_Activate(rig.scope);
    Scope& s = rig.scope;
    for (int i = 0; i < 65536; ++i) {
      s.BufA[i] = sine(i);
      s.BufB[i] = square(i);
      s.BufC[i] = digital(i, 300);
      s.BufD[i] = digital(i, 1100);
    }
    s.SampleSizeIndex = 5;
    s.SelA = s.SelB = s.SelC = s.SelD = 1;
    s.panel.HScroll2.setMax(32767);
    s.panel.HScroll2.setValue(32767);
    HScroll1_Change(s);
    window->sync();
  }
};

void RedrawThroughRenderer(benchmark::State& state) {
  app();
  static Started started;
  Scope& s = started.rig.scope;
  started.window->setTraceReduction(state.range(0) != 0);
  for (auto _ : state) {
    HScroll1_Change(s);
    started.window->sync();
  }
  state.SetLabel(std::string(state.range(0) ? "reduced" : "full") + ", " +
                 std::to_string(s.panel.ScopeScreen.ops.size()) + " ops");
}
BENCHMARK(RedrawThroughRenderer)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
