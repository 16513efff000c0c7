#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "panel/widget.h"

namespace qvx {

struct PointF {
  float x, y;
};

enum class DrawMode { NotXorPen = 10, CopyPen = 13 };
enum class DrawStyle { Solid = 0, Dotted = 2 };

// One drawing operation, in the picture's own user units. Traces arrive as whole point
// arrays (a polyline or a point cloud), never one operation per sample.
struct DrawOp {
  enum class Kind { Line, Polyline, Points, Text };
  Kind kind = Kind::Line;
  Colour colour = 0;
  int width = 1;
  DrawStyle style = DrawStyle::Solid;
  DrawMode mode = DrawMode::CopyPen;
  std::vector<PointF> points;  // Line: two points; Text: one (top-left of the text)
  std::string text;
  double fontSize = 8;
  bool bold = false;
  bool opaque = false;  // text drawn on its own box of the background colour
  Colour back = 0;
};

// A picture area: a user scale, pen and font state, a text position, and the list of
// operations drawn since it was last cleared. The skin replays the list.
struct PictureArea : Widget {
  explicit PictureArea(std::string n) : Widget(std::move(n), Kind::Picture) {
    backColour = 0xFFFFFF;
  }

  // User scale; until one is set the picture counts in twips of its inner size.
  double ScaleLeft = 0, ScaleTop = 0;
  double ScaleWidth() const { return scaleWidth_ > 0 ? scaleWidth_ : place.width; }
  double ScaleHeight() const { return scaleHeight_ > 0 ? scaleHeight_ : place.height; }
  void setScaleWidth(double w) { scaleWidth_ = w; }
  void setScaleHeight(double h) { scaleHeight_ = h; }

  int DrawWidth = 1;
  DrawStyle drawStyle = DrawStyle::Solid;
  DrawMode drawMode = DrawMode::CopyPen;
  bool FontTransparent = true;
  bool AutoRedraw = false;
  double CurrentX = 0, CurrentY = 0;

  // Everything drawn since the last clear, oldest first, and a count of clears so the
  // skin knows when to start its image afresh. Between clears the list only grows, except
  // through dropTexts, which counts its changes in `rewrites`: the skin paints appended
  // operations onto what it already shows, so any other change must make it start afresh.
  std::vector<DrawOp> ops;
  std::uint64_t clears = 0;
  std::uint64_t rewrites = 0;

  void setBackColour(Colour c) {
    backColour = c;
    cls();
  }
  void cls();
  void line(double x1, double y1, double x2, double y2) { line(x1, y1, x2, y2, foreColour); }
  void line(double x1, double y1, double x2, double y2, Colour c);
  void pset(double x, double y, Colour c);
  void polyline(std::vector<PointF> pts, Colour c);
  void points(std::vector<PointF> pts, Colour c);
  // Prints text at the text position; with `newline` the position moves to the start of
  // the next line, otherwise to the end of the text.
  void print(const std::string& text, bool newline = true);
  void printAt(double x, double y, const std::string& text, bool newline = true) {
    CurrentX = x;
    CurrentY = y;
    print(text, newline);
  }

  // Drops the texts `covered` picks, for a field that is printed over again and again
  // (an opaque text hides the earlier one), so the list does not pile up.
  void dropTexts(const std::function<bool(const DrawOp&)>& covered);

  // Height of a line of text and width of a text, in user units, for the current font.
  double textHeight() const;
  double textWidth(const std::string& text) const;

  // Every text printed since the last clear, joined by '|' (for checks and the skin).
  std::string texts() const;

 private:
  double scaleWidth_ = 0, scaleHeight_ = 0;
  DrawOp pen(DrawOp::Kind k, Colour c) const;
};

}  // namespace qvx
