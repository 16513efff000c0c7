#pragma once
#include <QColor>
#include <QFont>
#include <cmath>

#include "panel/colour.h"

namespace qvx::ui {

// Panel colours are 0xBBGGRR.
inline QColor toQColor(Colour c) {
  return QColor(redOf(c), greenOf(c), blueOf(c));
}

// The panel's font: Arial where installed, else the metric-compatible Liberation Sans.
// A point is 20 twips; the size follows the window's scale.
inline QFont panelFont(double points, bool bold, double pixelsPerTwip) {
  QFont f;
  f.setFamilies({"Arial", "Liberation Sans"});
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 20 * pixelsPerTwip))));
  f.setBold(bold);
  return f;
}

}  // namespace qvx::ui
