#include "ui/picture_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <optional>

#include "panel/wide_registers.h"
#include "ui/qt_convert.h"
#include "ui/text_fit.h"
#include "ui/trace_raster.h"

namespace qvx::ui {

namespace {

UserToPixels mappingOf(const PictureArea& pic, const QImage& image) {
  double w = pic.ScaleWidth(), h = pic.ScaleHeight();
  return {pic.ScaleLeft, pic.ScaleTop, w != 0 ? image.width() / w : 0.0,
          h != 0 ? image.height() / h : 0.0};
}

int penPixels(const DrawOp& op, double pixelsPerTwip) {
  // Pen widths are in pixels at the natural size of the window.
  return std::max(1, static_cast<int>(std::lround(op.width * pixelsPerTwip * 15)));
}

QPen penFor(const DrawOp& op, double pixelsPerTwip) {
  int width = penPixels(op, pixelsPerTwip);
  // One-pixel pens are cosmetic: Qt then rasterises the lines directly instead of
  // stroking them as outlines.
  QPen pen(toQColor(op.colour), width == 1 ? 0 : width);
  pen.setStyle(op.style == DrawStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  return pen;
}

// One-pixel pens in the copying mode go straight into the image's pixels: solid
// polylines when they have more points than the image has columns (the column walk's
// gain), point clouds, and horizontal or vertical lines, solid or dotted (the grid).
bool drawnDirectly(const DrawOp& op, const QImage& image, double pixelsPerTwip,
                   const UserToPixels& m) {
  if (op.mode != DrawMode::CopyPen || penPixels(op, pixelsPerTwip) != 1) return false;
  switch (op.kind) {
    case DrawOp::Kind::Line:
      return op.points.size() >= 2;
    case DrawOp::Kind::Polyline:
      return op.style == DrawStyle::Solid && m.sx > 0 &&
             op.points.size() > static_cast<std::size_t>(image.width());
    case DrawOp::Kind::Points:
      return op.style == DrawStyle::Solid;
    default:
      return false;
  }
}

std::vector<QPointF> mapped(const std::vector<PointF>& pts, const UserToPixels& m) {
  std::vector<QPointF> out;
  out.reserve(pts.size());
  for (const PointF& p : pts)
    if (std::isfinite(p.x) && std::isfinite(p.y)) out.push_back(m(p));
  return out;
}

void paintText(QPainter& painter, const DrawOp& op, const UserToPixels& m, double pixelsPerTwip,
               const QImage& image, const std::vector<QRect>& controls) {
  if (op.points.empty() || op.text.empty()) return;
  const QString text = QString::fromStdString(op.text);
  const QPointF at = m(op.points[0]);
  const QFont described = panelFont(op.fontSize, op.bold, pixelsPerTwip);
  const QFont font =
      fittedFont(described, textNeedingRoom(text, op.opaque),
                 textRoom(at, QFontMetricsF(described).height(), image.size(), controls));
  painter.setFont(font);
  QFontMetricsF metrics(font);
  if (op.opaque)
    painter.fillRect(QRectF(at.x(), at.y(), metrics.horizontalAdvance(text), metrics.height()),
                     toQColor(op.back));
  painter.setPen(toQColor(op.colour));
  painter.drawText(QPointF(at.x(), at.y() + metrics.ascent()), text);
}

}  // namespace

void paintOps(const PictureArea& picture, std::size_t first, QImage& image, double pixelsPerTwip,
              bool reduce, const std::vector<QRect>& controls) {
  if (first >= picture.ops.size() || image.isNull()) return;
  const UserToPixels m = mappingOf(picture, image);
  // The canvas takes the image's memory before any painter opens it, so the image is
  // not detached under the painter; both then write the same pixels in op order.
  std::optional<Canvas> canvas;
  if (reduce && Canvas::suits(image)) canvas.emplace(image);
  std::optional<QPainter> painter;
  for (std::size_t i = first; i < picture.ops.size(); ++i) {
    const DrawOp& op = picture.ops[i];
    if (canvas && drawnDirectly(op, image, pixelsPerTwip, m)) {
      const QRgb colour = toQColor(op.colour).rgb();
      if (op.kind == DrawOp::Kind::Polyline) {
        canvas->polyline(op.points.data(), op.points.size(), m, colour);
        continue;
      }
      if (op.kind == DrawOp::Kind::Points) {
        canvas->points(op.points.data(), op.points.size(), m, colour);
        continue;
      }
      // A sloping line is left to the painter.
      if (canvas->axisLine(op.points[0], op.points[1], m, op.style == DrawStyle::Dotted, colour))
        continue;
    }
    if (!painter) {
      painter.emplace(&image);
      painter->setRenderHint(QPainter::Antialiasing, false);
    }
    // The inverting mode makes a second drawing of the same line restore the image.
    painter->setCompositionMode(op.mode == DrawMode::NotXorPen
                                    ? QPainter::RasterOp_NotSourceXorDestination
                                    : QPainter::CompositionMode_SourceOver);
    painter->setPen(penFor(op, pixelsPerTwip));
    switch (op.kind) {
      case DrawOp::Kind::Line:
        if (op.points.size() >= 2) painter->drawLine(m(op.points[0]), m(op.points[1]));
        break;
      case DrawOp::Kind::Polyline: {
        std::vector<QPointF> pts = mapped(op.points, m);
        if (pts.size() == 1)
          painter->drawPoint(pts[0]);
        else
          painter->drawPolyline(pts.data(), static_cast<int>(pts.size()));
        break;
      }
      case DrawOp::Kind::Points: {
        std::vector<QPointF> pts = mapped(op.points, m);
        painter->drawPoints(pts.data(), static_cast<int>(pts.size()));
        break;
      }
      case DrawOp::Kind::Text:
        paintText(*painter, op, m, pixelsPerTwip, image, controls);
        break;
    }
  }
  painter.reset();
  // Whatever runs next (the renderer's next frame) should not pay for Qt's wide registers.
  clearWideRegisters();
}

bool PicturePainter::update(const PictureArea& picture, QImage& image, double pixelsPerTwip) {
  bool fresh = !valid_ || picture.clears != clears_ || picture.rewrites != rewrites_ ||
               picture.backColour != back_ || image.size() != size_ ||
               picture.ops.size() < painted_;
  if (!fresh && picture.ops.size() == painted_) return false;
  if (fresh) {
    image.fill(toQColor(picture.backColour));
    painted_ = 0;
    clears_ = picture.clears;
    rewrites_ = picture.rewrites;
    back_ = picture.backColour;
    size_ = image.size();
    valid_ = true;
  }
  paintOps(picture, painted_, image, pixelsPerTwip, reduce_, controls_);
  painted_ = picture.ops.size();
  return true;
}

}  // namespace qvx::ui
