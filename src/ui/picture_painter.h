#pragma once
#include <QImage>
#include <QPointF>
#include <cstdint>
#include <vector>

#include "panel/picture.h"

namespace qvx::ui {

// Reduces a polyline in pixel coordinates to a few points per pixel column: where the
// line enters the column, the column's lowest and highest point, and where it leaves.
// Every segment that stays inside one column lies within that vertical span, and the
// segments between columns are kept, so the drawn picture is the same to within a
// pixel while a 64K-point trace costs a few thousand segments.
std::vector<QPointF> reduceToColumns(const std::vector<QPointF>& pixels);

// Paints a picture area's drawing operations into an image the size of the widget,
// replaying only what was added since the last call. `pixelsPerTwip` sets text sizes
// and pen widths (1/15 at the window's natural size).
class PicturePainter {
 public:
  // Brings `image` up to date with `picture`. Returns whether anything was painted.
  bool update(const PictureArea& picture, QImage& image, double pixelsPerTwip);
  // Forces the next update to repaint from the background.
  void invalidate() { valid_ = false; }
  // Draw long traces column by column (the default) or segment by segment.
  void setReduction(bool on) { reduce_ = on; }

 private:
  bool valid_ = false;
  bool reduce_ = true;
  std::uint64_t clears_ = 0;
  std::size_t painted_ = 0;
  Colour back_ = 0;
  QSize size_;
};

// Paints `ops[first..]` of `picture` onto `image` using the picture's current user scale.
void paintOps(const PictureArea& picture, std::size_t first, QImage& image, double pixelsPerTwip,
              bool reduce);

}  // namespace qvx::ui
