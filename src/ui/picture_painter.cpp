#include "ui/picture_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "ui/qt_convert.h"

namespace qvx::ui {

namespace {

// The column reduction over any source of points: `get(i, p)` gives point i in pixels,
// or false for a point that cannot be drawn. One pass, no copy of the whole trace.
template <typename Get>
std::vector<QPointF> reduceColumns(std::size_t n, Get get) {
  std::vector<QPointF> out;
  out.reserve(4096);
  QPointF first, last, p;
  double low = 0, high = 0, column = 0;
  int count = 0;
  auto flush = [&] {
    out.push_back(first);
    if (count > 1) {
      // The vertical span is drawn at the entry point's x, which is in the same column.
      if (low < first.y()) out.emplace_back(first.x(), low);
      if (high > low) out.emplace_back(first.x(), high);
      out.push_back(last);
    }
  };
  for (std::size_t i = 0; i < n; ++i) {
    if (!get(i, p)) continue;
    double c = std::floor(p.x());
    if (count > 0 && c == column) {
      last = p;
      low = std::min(low, p.y());
      high = std::max(high, p.y());
      ++count;
      continue;
    }
    if (count > 0) flush();
    first = last = p;
    low = high = p.y();
    column = c;
    count = 1;
  }
  if (count > 0) flush();
  return out;
}

}  // namespace

std::vector<QPointF> reduceToColumns(const std::vector<QPointF>& pixels) {
  return reduceColumns(pixels.size(), [&](std::size_t i, QPointF& p) {
    p = pixels[i];
    return true;
  });
}

namespace {

struct Mapping {
  double left, top, sx, sy;  // user origin and pixels per user unit
  QPointF operator()(const PointF& p) const { return {(p.x - left) * sx, (p.y - top) * sy}; }
};

Mapping mappingOf(const PictureArea& pic, const QImage& image) {
  double w = pic.ScaleWidth(), h = pic.ScaleHeight();
  return {pic.ScaleLeft, pic.ScaleTop, w != 0 ? image.width() / w : 0.0,
          h != 0 ? image.height() / h : 0.0};
}

QPen penFor(const DrawOp& op, double pixelsPerTwip) {
  // Pen widths are in pixels at the natural size of the window.
  int width = std::max(1, static_cast<int>(std::lround(op.width * pixelsPerTwip * 15)));
  // One-pixel pens are cosmetic: Qt then rasterises the lines directly instead of
  // stroking them as outlines, which is many times faster for long traces.
  QPen pen(toQColor(op.colour), width == 1 ? 0 : width);
  pen.setStyle(op.style == DrawStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  return pen;
}

std::vector<QPointF> mapped(const std::vector<PointF>& pts, const Mapping& m) {
  std::vector<QPointF> out;
  out.reserve(pts.size());
  for (const PointF& p : pts)
    if (std::isfinite(p.x) && std::isfinite(p.y)) out.push_back(m(p));
  return out;
}

// The column reduction straight from the picture's user units: a point only has to be
// compared with the current column's edges and the span so far, and is mapped to pixels
// only when it starts, ends or extends a column. This keeps the pass over a 64K-point
// trace much cheaper than drawing it.
std::vector<QPointF> reduceTrace(const std::vector<PointF>& pts, const Mapping& m) {
  std::vector<QPointF> out;
  out.reserve(4096);
  if (m.sx <= 0) return mapped(pts, m);
  const double unitsPerColumn = 1.0 / m.sx;
  float begin = 0, end = -1;  // user x range of the current column
  PointF first{}, last{};
  float low = 0, high = 0;
  bool open = false;
  auto flush = [&] {
    QPointF f = m(first);
    out.push_back(f);
    if (first.x != last.x || first.y != last.y || low != high) {
      // The vertical span is drawn at the entry point's x, which is in the same column.
      double a = (low - m.top) * m.sy, b = (high - m.top) * m.sy;
      out.emplace_back(f.x(), std::min(a, b));
      out.emplace_back(f.x(), std::max(a, b));
      out.push_back(m(last));
    }
  };
  for (const PointF& p : pts) {
    if (p.x >= begin && p.x < end && std::isfinite(p.y)) {
      last = p;
      low = std::min(low, p.y);
      high = std::max(high, p.y);
      continue;
    }
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
    if (open) flush();
    double column = std::floor((p.x - m.left) * m.sx);
    begin = static_cast<float>(m.left + column * unitsPerColumn);
    end = static_cast<float>(m.left + (column + 1) * unitsPerColumn);
    first = last = p;
    low = high = p.y;
    open = true;
  }
  if (open) flush();
  return out;
}

void paintPoints(QPainter& painter, const DrawOp& op, const Mapping& m, const QImage& image,
                 bool reduce) {
  std::vector<QPointF> pts = mapped(op.points, m);
  if (reduce && op.mode == DrawMode::CopyPen && pts.size() > std::size_t(image.width())) {
    // Many points fall on the same pixel; each pixel needs painting once.
    int w = image.width(), h = image.height();
    std::vector<bool> seen(std::size_t(w) * std::size_t(h), false);
    std::vector<QPointF> kept;
    for (const QPointF& p : pts) {
      int x = static_cast<int>(std::floor(p.x())), y = static_cast<int>(std::floor(p.y()));
      if (x < 0 || y < 0 || x >= w || y >= h) continue;
      std::size_t k = std::size_t(y) * std::size_t(w) + std::size_t(x);
      if (seen[k]) continue;
      seen[k] = true;
      kept.push_back(p);
    }
    pts.swap(kept);
  }
  painter.drawPoints(pts.data(), static_cast<int>(pts.size()));
}

void paintText(QPainter& painter, const DrawOp& op, const Mapping& m, double pixelsPerTwip) {
  if (op.points.empty() || op.text.empty()) return;
  QFont font = panelFont(op.fontSize, op.bold, pixelsPerTwip);
  painter.setFont(font);
  QFontMetricsF metrics(font);
  QString text = QString::fromStdString(op.text);
  QPointF at = m(op.points[0]);
  if (op.opaque)
    painter.fillRect(QRectF(at.x(), at.y(), metrics.horizontalAdvance(text), metrics.height()),
                     toQColor(op.back));
  painter.setPen(toQColor(op.colour));
  painter.drawText(QPointF(at.x(), at.y() + metrics.ascent()), text);
}

}  // namespace

void paintOps(const PictureArea& picture, std::size_t first, QImage& image, double pixelsPerTwip,
              bool reduce) {
  if (first >= picture.ops.size() || image.isNull()) return;
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  Mapping m = mappingOf(picture, image);
  for (std::size_t i = first; i < picture.ops.size(); ++i) {
    const DrawOp& op = picture.ops[i];
    // The inverting mode makes a second drawing of the same line restore the image.
    painter.setCompositionMode(op.mode == DrawMode::NotXorPen
                                   ? QPainter::RasterOp_NotSourceXorDestination
                                   : QPainter::CompositionMode_SourceOver);
    painter.setPen(penFor(op, pixelsPerTwip));
    switch (op.kind) {
      case DrawOp::Kind::Line:
        if (op.points.size() >= 2) painter.drawLine(m(op.points[0]), m(op.points[1]));
        break;
      case DrawOp::Kind::Polyline: {
        std::vector<QPointF> pts = reduce && op.mode == DrawMode::CopyPen &&
                                           op.style == DrawStyle::Solid &&
                                           op.points.size() > std::size_t(image.width())
                                       ? reduceTrace(op.points, m)
                                       : mapped(op.points, m);
        if (pts.size() == 1)
          painter.drawPoint(pts[0]);
        else
          painter.drawPolyline(pts.data(), static_cast<int>(pts.size()));
        break;
      }
      case DrawOp::Kind::Points:
        paintPoints(painter, op, m, image, reduce);
        break;
      case DrawOp::Kind::Text:
        paintText(painter, op, m, pixelsPerTwip);
        break;
    }
  }
}

bool PicturePainter::update(const PictureArea& picture, QImage& image, double pixelsPerTwip) {
  bool fresh = !valid_ || picture.clears != clears_ || picture.backColour != back_ ||
               image.size() != size_ || picture.ops.size() < painted_;
  if (!fresh && picture.ops.size() == painted_) return false;
  if (fresh) {
    image.fill(toQColor(picture.backColour));
    painted_ = 0;
    clears_ = picture.clears;
    back_ = picture.backColour;
    size_ = image.size();
    valid_ = true;
  }
  paintOps(picture, painted_, image, pixelsPerTwip, reduce_);
  painted_ = picture.ops.size();
  return true;
}

}  // namespace qvx::ui
