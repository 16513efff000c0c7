#include "panel/picture.h"

namespace qvx {

void PictureArea::cls() {
  ops.clear();
  ++clears;
  CurrentX = ScaleLeft;
  CurrentY = ScaleTop;
}

DrawOp PictureArea::pen(DrawOp::Kind k, Colour c) const {
  DrawOp op;
  op.kind = k;
  op.colour = c;
  op.width = DrawWidth;
  op.style = drawStyle;
  op.mode = drawMode;
  return op;
}

void PictureArea::line(double x1, double y1, double x2, double y2, Colour c) {
  DrawOp op = pen(DrawOp::Kind::Line, c);
  op.points = {{float(x1), float(y1)}, {float(x2), float(y2)}};
  ops.push_back(std::move(op));
  CurrentX = x2;
  CurrentY = y2;
}

void PictureArea::pset(double x, double y, Colour c) {
  DrawOp op = pen(DrawOp::Kind::Points, c);
  op.points = {{float(x), float(y)}};
  ops.push_back(std::move(op));
  CurrentX = x;
  CurrentY = y;
}

void PictureArea::polyline(std::vector<PointF> pts, Colour c) {
  if (pts.empty()) return;
  DrawOp op = pen(DrawOp::Kind::Polyline, c);
  op.points = std::move(pts);
  ops.push_back(std::move(op));
}

void PictureArea::points(std::vector<PointF> pts, Colour c) {
  if (pts.empty()) return;
  DrawOp op = pen(DrawOp::Kind::Points, c);
  op.points = std::move(pts);
  ops.push_back(std::move(op));
}

// A point of type is 20 twips; a text line is about 1.2 times its point size. Text
// widths use the average advance of a proportional sans font, half an em.
double PictureArea::textHeight() const {
  double twips = fontSize * 20 * 1.2;
  return twips * ScaleHeight() / (place.height > 0 ? place.height : 1);
}

double PictureArea::textWidth(const std::string& text) const {
  double twips = fontSize * 20 * 0.5 * static_cast<double>(text.size());
  return twips * ScaleWidth() / (place.width > 0 ? place.width : 1);
}

void PictureArea::print(const std::string& text, bool newline) {
  DrawOp op = pen(DrawOp::Kind::Text, foreColour);
  op.mode = DrawMode::CopyPen;
  op.points = {{float(CurrentX), float(CurrentY)}};
  op.text = text;
  op.fontSize = fontSize;
  op.bold = fontBold;
  op.opaque = !FontTransparent;
  op.back = backColour;
  ops.push_back(std::move(op));
  if (newline) {
    CurrentX = ScaleLeft;
    CurrentY += textHeight();
  } else {
    CurrentX += textWidth(text);
  }
}

void PictureArea::dropTexts(const std::function<bool(const DrawOp&)>& covered) {
  if (std::erase_if(
          ops, [&](const DrawOp& op) { return op.kind == DrawOp::Kind::Text && covered(op); }) > 0)
    ++rewrites;
}

std::string PictureArea::texts() const {
  std::string all;
  for (const DrawOp& op : ops) {
    if (op.kind != DrawOp::Kind::Text) continue;
    if (!all.empty()) all += '|';
    all += op.text;
  }
  return all;
}

}  // namespace qvx
