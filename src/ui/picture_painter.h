#pragma once
#include <QImage>
#include <QRect>
#include <cstdint>
#include <vector>

#include "panel/picture.h"

namespace qvx::ui {

// Paints a picture area's drawing operations into an image the size of the widget,
// replaying only what was added since the last call. `pixelsPerTwip` sets text sizes
// and pen widths (1/15 at the window's natural size).
class PicturePainter {
 public:
  // Brings `image` up to date with `picture`. Returns whether anything was painted.
  bool update(const PictureArea& picture, QImage& image, double pixelsPerTwip);
  // Forces the next update to repaint from the background.
  void invalidate() { valid_ = false; }
  // Draw traces straight into the pixels, long ones column by column (the default), or
  // every segment and point through a painter.
  void setReduction(bool on) { reduce_ = on; }
  // Where the picture's own controls sit (pixels of its image): texts end before them.
  void setControls(std::vector<QRect> controls) {
    if (controls == controls_) return;
    controls_ = std::move(controls);
    valid_ = false;
  }

 private:
  bool valid_ = false;
  bool reduce_ = true;
  std::uint64_t clears_ = 0, rewrites_ = 0;
  std::size_t painted_ = 0;
  Colour back_ = 0;
  QSize size_;
  std::vector<QRect> controls_;
};

// Paints `ops[first..]` of `picture` onto `image` using the picture's current user scale.
// Texts are fitted to the room left by the image's edges and by `controls`.
void paintOps(const PictureArea& picture, std::size_t first, QImage& image, double pixelsPerTwip,
              bool reduce, const std::vector<QRect>& controls = {});

}  // namespace qvx::ui
