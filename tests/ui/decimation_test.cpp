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

// The signal display at its natural size: 11900 x 4780 twips at 15 twips a pixel.
void setUpDisplay(PictureArea& p) {
  p.place = {0, 0, 11900, 4780};
  p.setScaleWidth(kPoints - 1);
  p.setScaleHeight(4106);
  p.ScaleTop = -1;
  p.backColour = 0xE0E0E0;
}

QImage imageFor(const PictureArea& p) {
  return QImage(static_cast<int>(std::lround(p.place.width / 15.0)),
                static_cast<int>(std::lround(p.place.height / 15.0)), QImage::Format_RGB32);
}

std::vector<PointF> trace(const std::function<double(int)>& code) {
  std::vector<PointF> pts(kPoints);
  for (int i = 0; i < kPoints; ++i) pts[i] = {float(i), float(4096 - code(i))};
  return pts;
}

QImage render(const PictureArea& p, bool reduce) {
  QImage img = imageFor(p);
  img.fill(QColor(redOf(p.backColour), greenOf(p.backColour), blueOf(p.backColour)));
  paintOps(p, 0, img, 1.0 / 15, reduce);
  return img;
}

// Every pixel that differs from the background in `a` has a pixel of the same colour
// within one pixel in `b`. Returns the number of pixels without such a partner.
int unmatched(const QImage& a, const QImage& b, QRgb background) {
  int missing = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      QRgb c = a.pixel(x, y);
      if (c == background) continue;
      bool found = false;
      for (int dy = -1; dy <= 1 && !found; ++dy)
        for (int dx = -1; dx <= 1 && !found; ++dx) {
          int u = x + dx, v = y + dy;
          found = u >= 0 && v >= 0 && u < b.width() && v < b.height() && b.pixel(u, v) == c;
        }
      if (!found) ++missing;
    }
  return missing;
}

int inked(const QImage& img, QRgb background) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) != background;
  return n;
}

const QRgb kBack = qRgb(0xE0, 0xE0, 0xE0);

// Draws the picture both ways and compares them pixel by pixel within one pixel.
void expectSameDrawing(const PictureArea& p) {
  QImage full = render(p, false), direct = render(p, true);
  EXPECT_GT(inked(full, kBack), 0);
  EXPECT_EQ(unmatched(full, direct, kBack), 0);
  EXPECT_EQ(unmatched(direct, full, kBack), 0);
}

void expectSamePicture(const std::function<double(int)>& code) {
  PictureArea p("ScopeScreen");
  setUpDisplay(p);
  p.polyline(trace(code), 0x800000);
  EXPECT_GT(inked(render(p, false), kBack), imageFor(p).width());
  expectSameDrawing(p);
}

// A slow and a fast sine (several cycles per column: solid bars), a square, noise,
// irregular digital steps and a wave twice the screen's height, clipped.
TEST(TraceReduction, LongTracesLookTheSame) {
  std::mt19937 gen(7);
  std::vector<int> noise(kPoints);
  std::normal_distribution<double> d(2048, 300);
  for (int& v : noise) v = std::clamp(static_cast<int>(d(gen)), 0, 4095);
  const std::function<double(int)> waves[] = {
      [](int i) { return 2048 + 1500 * std::sin(i * 2 * M_PI / 3000.0); },
      [](int i) { return 2048 + 1800 * std::sin(i * 2 * M_PI / 37.0); },
      [](int i) { return (i / 1500) % 2 ? 3500 : 600; },
      [&](int i) { return noise[i]; },
      [](int i) { return ((i * 7919) / 4099) % 3 == 0 ? 2560 : 2048; },
      [](int i) { return 2048 + 5000 * std::sin(i * 2 * M_PI / 9000.0); }};
  for (const auto& wave : waves) expectSamePicture(wave);
}

TEST(TraceReduction, BarelyMorePointsThanColumnsLookTheSame) {
  // A narrow window: one or two points per column, steep edges between neighbours.
  PictureArea p("ScopeScreen");
  setUpDisplay(p);
  p.setScaleWidth(899);
  std::vector<PointF> pts;
  for (int i = 0; i < 900; ++i) pts.push_back({float(i), float(i % 50 < 25 ? 500 : 3500)});
  p.polyline(std::move(pts), 0x2090D0);
  expectSameDrawing(p);
}

TEST(TraceReduction, FewerPointsThanColumnsLookTheSame) {
  // A window narrower than the image: long segments between points, drawn by the painter.
  PictureArea p("ScopeScreen");
  setUpDisplay(p);
  p.setScaleWidth(199);
  std::vector<PointF> pts;
  for (int i = 0; i < 200; ++i) pts.push_back({float(i), float(2048 + 1800 * std::sin(i * 0.2))});
  p.polyline(std::move(pts), 0xC07000);
  expectSameDrawing(p);
}

TEST(TraceReduction, GapsAndBacktracksLookTheSame) {
  // Dense stretches, points far apart, x running backwards and points that cannot be
  // drawn: the column walk's slow paths.
  PictureArea p("ScopeScreen");
  setUpDisplay(p);
  std::vector<PointF> pts;
  for (int i = 0; i < 3000; ++i) pts.push_back({float(i), float(1000 + (i * 37) % 2000)});
  for (int i = 0; i < 20; ++i) pts.push_back({float(3000 + i * 2000), float(i % 2 ? 200 : 3900)});
  for (int i = 0; i < 2000; ++i) pts.push_back({float(43000 - i * 7), float(2048 + i % 300)});
  pts.push_back({std::nanf(""), 100});
  pts.push_back({30000, std::numeric_limits<float>::infinity()});
  for (int i = 0; i < 2000; ++i) pts.push_back({float(29000 + i * 18), float(3000 - i % 700)});
  p.polyline(std::move(pts), 0x800000);
  expectSameDrawing(p);
}

TEST(TraceReduction, PointCloudsLookTheSame) {
  // Traces with joining off: a point per sample, including points off the image.
  PictureArea p("ScopeScreen");
  setUpDisplay(p);
  std::vector<PointF> pts =
      trace([](int i) { return 2048 + 2500 * std::sin(i * 2 * M_PI / 7000.0); });
  p.points(std::move(pts), 0x008000);
  p.points({{100, 100}, {40000.5f, 2000.5f}, {-5, 300}, {70000, 300}}, 0x800000);
  const QImage full = render(p, false), direct = render(p, true);
  // Points light the pixel the painter would, not merely one nearby.
  EXPECT_EQ(direct, full);
}

TEST(TraceReduction, GridLinesLightThePaintersPixels) {
  // Dotted and solid, either way round, at fractions of a pixel, partly off the image;
  // a sloping line stays with the painter.
  PictureArea p("ScopeScreen");
  setUpDisplay(p);
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

TEST(TraceReduction, TraceColourIsExact) {
  PictureArea p("ScopeScreen");
  setUpDisplay(p);
  p.polyline(trace([](int i) { return (i * 13) % 4096; }), 0x2090D0);
  const QImage img = render(p, true);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QRgb c = img.pixel(x, y);
      ASSERT_TRUE(c == kBack || c == qRgb(0xD0, 0x90, 0x20)) << x << "," << y;
    }
}

TEST(PictureReplay, DirectTracesKeepTheirPlaceAmongPainterOps) {
  // Grid under the trace, an inverting cursor over it: the order of the operations holds
  // although the trace is written straight into the pixels.
  PictureArea p("ScopeScreen");
  setUpDisplay(p);
  p.drawStyle = DrawStyle::Dotted;
  for (int k = 1; k < 16; ++k) p.line(k * 4096, 0, k * 4096, 4096, 0x808080);
  p.drawStyle = DrawStyle::Solid;
  p.polyline(trace([](int i) { return 2048 + 1500 * std::sin(i * 2 * M_PI / 6000.0); }), 0x800000);
  const QImage before = render(p, true);
  p.drawMode = DrawMode::NotXorPen;
  p.line(20000, 0, 20000, 4096, 0x00E000);
  p.line(0, 1500, 65535, 1500, 0x00E000);
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
  p.line(20000, 0, 20000, 4096, 0x00E000);
  p.line(0, 1500, 65535, 1500, 0x00E000);
  EXPECT_NE(once, before);
  EXPECT_EQ(render(p, true), before);
}

}  // namespace
}  // namespace qvx::ui
