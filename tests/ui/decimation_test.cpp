#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <functional>
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

// Draws the trace both ways and compares them pixel by pixel within one pixel.
void expectSamePicture(const std::function<double(int)>& code) {
  PictureArea p("ScopeScreen");
  setUpDisplay(p);
  p.polyline(trace(code), 0x800000);
  QImage full = render(p, false), reduced = render(p, true);
  const QRgb back = qRgb(0xE0, 0xE0, 0xE0);
  EXPECT_GT(inked(full, back), full.width());
  EXPECT_EQ(unmatched(full, reduced, back), 0);
  EXPECT_EQ(unmatched(reduced, full, back), 0);
}

TEST(TraceReduction, SineLooksTheSame) {
  expectSamePicture([](int i) { return 2048 + 1500 * std::sin(i * 2 * M_PI / 3000.0); });
}

TEST(TraceReduction, FastSineFillsColumnsTheSame) {
  // Several cycles per pixel column: each column becomes a solid bar.
  expectSamePicture([](int i) { return 2048 + 1800 * std::sin(i * 2 * M_PI / 37.0); });
}

TEST(TraceReduction, SquareLooksTheSame) {
  expectSamePicture([](int i) { return (i / 1500) % 2 ? 3500 : 600; });
}

TEST(TraceReduction, NoiseLooksTheSame) {
  std::mt19937 gen(7);
  std::vector<int> noise(kPoints);
  std::normal_distribution<double> d(2048, 300);
  for (int& v : noise) v = std::clamp(static_cast<int>(d(gen)), 0, 4095);
  expectSamePicture([&](int i) { return noise[i]; });
}

TEST(TraceReduction, DigitalStepsLookTheSame) {
  // A digital channel: 2048 low, 2560 high, with irregular pulse widths.
  expectSamePicture([](int i) { return ((i * 7919) / 4099) % 3 == 0 ? 2560 : 2048; });
}

TEST(TraceReduction, KeepsAFewPointsPerColumn) {
  std::vector<QPointF> px;
  for (int i = 0; i < kPoints; ++i) px.emplace_back(i * 793.0 / kPoints, (i * 37) % 319);
  std::vector<QPointF> out = reduceToColumns(px);
  EXPECT_LE(out.size(), 4u * 794);
  EXPECT_EQ(out.front(), px.front());
  EXPECT_EQ(out.back(), px.back());
}

TEST(TraceReduction, SparseTracesAreKeptWhole) {
  std::vector<QPointF> px = {{0.5, 10}, {3.5, 20}, {7.2, 5}, {9.9, 30}};
  EXPECT_EQ(reduceToColumns(px), px);
}

TEST(PictureReplay, InvertingLineDrawnTwiceRestoresTheImage) {
  PictureArea p("ScopeScreen");
  setUpDisplay(p);
  p.line(0, 2048, 40000, 2048, 0x800000);
  QImage before = render(p, true);
  p.drawMode = DrawMode::NotXorPen;
  p.DrawWidth = 2;
  p.line(20000, 0, 20000, 4096, 0x00E000);
  QImage once = render(p, true);
  p.line(20000, 0, 20000, 4096, 0x00E000);
  QImage twice = render(p, true);
  EXPECT_NE(once, before);
  EXPECT_EQ(twice, before);
}

TEST(PictureReplay, IncrementalReplayMatchesOneGo) {
  PictureArea p("ScopeScreen");
  setUpDisplay(p);
  QImage step = imageFor(p);
  PicturePainter painter;
  p.polyline(trace([](int i) { return 2048 + (i % 4000); }), 0x008000);
  EXPECT_TRUE(painter.update(p, step, 1.0 / 15));
  EXPECT_FALSE(painter.update(p, step, 1.0 / 15));
  p.print("1.5");
  p.drawStyle = DrawStyle::Dotted;
  p.line(0, 1024, 65535, 1024, 0x808080);
  EXPECT_TRUE(painter.update(p, step, 1.0 / 15));
  EXPECT_EQ(step, render(p, true));

  // A clear starts again from the background colour.
  p.setBackColour(0xC0FFFF);
  p.line(0, 0, 100, 100, 0);
  painter.update(p, step, 1.0 / 15);
  EXPECT_EQ(step, render(p, true));
  EXPECT_EQ(step.pixel(step.width() - 1, step.height() - 1), qRgb(0xFF, 0xFF, 0xC0));
}

}  // namespace
}  // namespace qvx::ui
