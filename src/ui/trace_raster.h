#pragma once
#include <QImage>
#include <QPointF>
#include <cstddef>
#include <cstdint>

#include "panel/picture.h"

namespace qvx::ui {

// A picture's user scale as seen from its image: user origin and pixels per user unit.
struct UserToPixels {
  double left, top, sx, sy;
  QPointF operator()(const PointF& p) const { return {(p.x - left) * sx, (p.y - top) * sy}; }
};

// The pixels of a 32-bit image, written directly rather than through QPainter. Long
// traces cost a handful of instructions per point this way, where a painter spends
// far more per segment than the whole column walk costs.
class Canvas {
 public:
  // Takes the image's memory; `image` must be RGB32 or ARGB32 and stay alive.
  explicit Canvas(QImage& image);
  static bool suits(const QImage& image);

  // Every point of a polyline joined, drawn as one vertical span per pixel column: the
  // column's points plus the line's way in from the previous column. A line drawn
  // segment by segment with a one-pixel pen lights the same pixels to within one.
  void polyline(const PointF* pts, std::size_t n, const UserToPixels& m, QRgb colour);
  // One pixel per point, the pixel a one-pixel painter pen would light.
  void points(const PointF* pts, std::size_t n, const UserToPixels& m, QRgb colour);
  // A horizontal or vertical line of a one-pixel pen, solid or dotted (one pixel in
  // three from its first end), lighting the pixels a painter would. Returns false, with
  // nothing drawn, for any other line, which is then the painter's.
  bool axisLine(const PointF& a, const PointF& b, const UserToPixels& m, bool dotted, QRgb colour);

 private:
  // Rows floor(y0)..floor(y1) of column `x` (pixels, y0 <= y1), clipped to the image.
  void span(double x, double y0, double y1, QRgb colour);
  // Pixels [lo, hi) along a row (or a column) `across`, every `step`-th one from `lo`
  // onwards, or from hi - 1 backwards.
  void run(bool row, double across, double lo, double hi, bool backwards, int step, QRgb colour);
  void set(int x, int y, QRgb colour) {
    *reinterpret_cast<QRgb*>(bits_ + y * stride_ + static_cast<std::ptrdiff_t>(x) * 4) = colour;
  }

  std::uint8_t* bits_;
  std::ptrdiff_t stride_;
  int width_, height_;
};

}  // namespace qvx::ui
