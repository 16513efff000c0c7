#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>

#include "ui/picture_painter.h"

namespace qvx::ui {
namespace {

constexpr int kPoints = 65536;
const QRgb kBack = qRgb(0xE0, 0xE0, 0xE0);

// The signal display at its natural size (11900 x 4780 twips at 15 twips a pixel), `width`
// units wide.
void setUpDisplay(PictureArea& p, double width = kPoints - 1) {
  p.place = {0, 0, 11900, 4780};
  p.setScaleWidth(width);
  p.setScaleHeight(4106);
  p.ScaleTop = -1;
  p.backColour = 0xE0E0E0;
}

std::vector<PointF> sampled(int n, const std::function<double(int)>& code) {
  std::vector<PointF> pts(n);
  for (int i = 0; i < n; ++i) pts[i] = {float(i), float(4096 - code(i))};
  return pts;
}

QImage blank() {
  QImage img(793, 319, QImage::Format_RGB32);
  img.fill(kBack);
  return img;
}

QImage render(const PictureArea& p, bool reduce) {
  QImage img = blank();
  paintOps(p, 0, img, 1.0 / 15, reduce);
  return img;
}

// The inked pixels of `a` without a pixel of the same colour within one pixel in `b`.
int unmatched(const QImage& a, const QImage& b) {
  int missing = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb c = a.pixel(x, y);
      bool found = c == kBack;
      for (int dy = -1; dy <= 1 && !found; ++dy)
        for (int dx = -1; dx <= 1 && !found; ++dx)
          found = b.rect().contains(x + dx, y + dy) && b.pixel(x + dx, y + dy) == c;
      missing += !found;
    }
  return missing;
}

// Slow and fast sines (several cycles per column: solid bars), a square, noise, irregular
// digital steps, a wave twice the screen's height (clipped); one or two points per column with
// steep edges; fewer points than columns (long segments drawn by the painter); dense stretches,
// points far apart, x running backwards and points that cannot be drawn (the slow paths).
TEST(TraceReduction, TracesLookTheSameReducedAsPainted) {
  std::mt19937 gen(7);
  std::normal_distribution<double> d(2048, 300);
  std::vector<int> noise(kPoints);
  for (int& v : noise) v = std::clamp(static_cast<int>(d(gen)), 0, 4095);
  std::vector<PointF> gaps;
  for (int i = 0; i < 3000; ++i) gaps.push_back({float(i), float(1000 + (i * 37) % 2000)});
  for (int i = 0; i < 20; ++i) gaps.push_back({float(3000 + i * 2000), float(i % 2 ? 200 : 3900)});
  for (int i = 0; i < 2000; ++i) gaps.push_back({float(43000 - i * 7), float(2048 + i % 300)});
  gaps.push_back({std::nanf(""), 100});
  gaps.push_back({30000, std::numeric_limits<float>::infinity()});
  for (int i = 0; i < 2000; ++i) gaps.push_back({float(29000 + i * 18), float(3000 - i % 700)});
  const std::pair<double, std::vector<PointF>> cases[] = {
      {kPoints - 1,
       sampled(kPoints, [](int i) { return 2048 + 1500 * std::sin(i * 2 * M_PI / 3000.0); })},
      {kPoints - 1,
       sampled(kPoints, [](int i) { return 2048 + 1800 * std::sin(i * 2 * M_PI / 37.0); })},
      {kPoints - 1, sampled(kPoints, [](int i) { return (i / 1500) % 2 ? 3500 : 600; })},
      {kPoints - 1, sampled(kPoints, [&](int i) { return noise[i]; })},
      {kPoints - 1,
       sampled(kPoints, [](int i) { return ((i * 7919) / 4099) % 3 == 0 ? 2560 : 2048; })},
      {kPoints - 1,
       sampled(kPoints, [](int i) { return 2048 + 5000 * std::sin(i * 2 * M_PI / 9000.0); })},
      {899, sampled(900, [](int i) { return i % 50 < 25 ? 500 : 3500; })},
      {199, sampled(200, [](int i) { return 2048 + 1800 * std::sin(i * 0.2); })},
      {kPoints - 1, gaps}};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    PictureArea p("ScopeScreen");
    setUpDisplay(p, cases[i].first);
    p.polyline(cases[i].second, 0x2090D0);
    const QImage full = render(p, false), direct = render(p, true);
    EXPECT_NE(full, blank());
    EXPECT_EQ(unmatched(full, direct), 0);
    EXPECT_EQ(unmatched(direct, full), 0);
  }
}

// Points (joining off, some off the image) and grid lines (dotted and solid, either way
// round, at fractions of a pixel, partly off the image) light exactly the painter's pixels;
// a sloping line stays with the painter.
TEST(TraceReduction, PointsAndGridLinesLightThePaintersPixels) {
  PictureArea p("ScopeScreen");
  setUpDisplay(p);
  p.points(sampled(kPoints, [](int i) { return 2048 + 2500 * std::sin(i * 2 * M_PI / 7000.0); }),
           0x008000);
  p.points({{100, 100}, {40000.5f, 2000.5f}, {-5, 300}, {70000, 300}}, 0x800000);
  p.drawStyle = DrawStyle::Dotted;
  for (int k = 1; k < 16; ++k) p.line(k * 4001.7, 7.3 * k, k * 4001.7, 4100 - k * 37, 0x808080);
  p.line(3000, -300, 3000, 2000, 0x808080);
  for (int y = 512; y <= 4096; y += 517) p.line(65534 - y, y, 50 + y, y, 0x808080);
  p.line(70000, 300, 1000, 300, 0x808080);
  p.drawStyle = DrawStyle::Solid;
  p.line(-1000, 2100.4, 70000, 2100.4, 0x0000FF);
  p.line(33000.3, 3000, 33000.3, 200, 0x0000FF);
  p.line(100, 100, 30000, 4000, 0x00FF00);
  EXPECT_EQ(render(p, true), render(p, false));
}

TEST(PictureReplay, DirectTracesKeepTheirPlaceAmongPainterOps) {
  // Grid under the trace, an inverting cursor over it: the order of the operations holds
  // although the trace is written straight into the pixels.
  PictureArea p("ScopeScreen");
  setUpDisplay(p);
  p.drawStyle = DrawStyle::Dotted;
  for (int k = 1; k < 16; ++k) p.line(k * 4096, 0, k * 4096, 4096, 0x808080);
  p.drawStyle = DrawStyle::Solid;
  p.polyline(sampled(kPoints, [](int i) { return 2048 + 1500 * std::sin(i * 2 * M_PI / 6000.0); }),
             0x800000);
  const QImage before = render(p, true);
  auto cursor = [&] {
    p.drawMode = DrawMode::NotXorPen;
    p.line(20000, 0, 20000, 4096, 0x00E000);
    p.line(0, 1500, 65535, 1500, 0x00E000);
  };
  cursor();
  const QImage once = render(p, true);
  // Where the cursor crosses the trace it inverts the trace's colour, not the background.
  const int column = static_cast<int>(20000 * 793 / 65535.0);
  int crossings = 0;
  for (int y = 0; y < before.height(); ++y)
    if (before.pixel(column, y) == qRgb(0x00, 0x00, 0x80)) {
      EXPECT_EQ(once.pixel(column, y), qRgb(0xFF, 0x1F, 0x7F));
      ++crossings;
    }
  EXPECT_GT(crossings, 0);
  cursor();
  EXPECT_NE(once, before);
  EXPECT_EQ(render(p, true), before);
}

}  // namespace
}  // namespace qvx::ui
