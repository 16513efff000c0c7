#include "display/text_field.h"

#include <cmath>

namespace qvx::display {

void printOver(PictureArea& pic, double x, double y, const std::string& text, TextStyle style) {
  constexpr double kSameField = 40;
  pic.dropTexts([&](const DrawOp& op) {
    return op.points[0].y == static_cast<float>(y) && std::abs(op.points[0].x - x) <= kSameField;
  });
  const double size = pic.fontSize;
  const bool bold = pic.fontBold, transparent = pic.FontTransparent;
  const Colour pen = pic.foreColour;
  pic.fontSize = style.fontSize;
  pic.fontBold = style.bold;
  pic.foreColour = style.colour;
  pic.FontTransparent = false;
  pic.printAt(x, y, text, false);
  pic.fontSize = size;
  pic.fontBold = bold;
  pic.FontTransparent = transparent;
  pic.foreColour = pen;
}

}  // namespace qvx::display
