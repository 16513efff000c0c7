#pragma once
#include <string>

#include "panel/picture.h"

namespace qvx::display {

struct TextStyle {
  double fontSize;
  bool bold;
  Colour colour;
};

// Prints a text on its own background over whatever an earlier call printed in the same
// field (same row, a start within a few units), as an opaque print does on screen; the
// earlier text is dropped so repeated refreshes do not pile up. The picture's font and
// pen are left as they were.
void printOver(PictureArea& pic, double x, double y, const std::string& text, TextStyle style);

}  // namespace qvx::display
