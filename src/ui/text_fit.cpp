#include "ui/text_fit.h"

#include <QFontMetricsF>
#include <algorithm>

namespace qvx::ui {

namespace {
bool fits(const QFont& font, const QString& text, QSizeF room) {
  QFontMetricsF m(font);
  return m.horizontalAdvance(text) <= room.width() && m.height() <= room.height() + 1;
}
}  // namespace

QFont fittedFont(const QFont& font, const QString& text, QSizeF room) {
  if (text.isEmpty() || fits(font, text, room)) return font;
  QFont f = font;
  for (int px = font.pixelSize() - 1; px >= 1; --px) {
    f.setPixelSize(px);
    if (fits(f, text, room)) break;
  }
  return f;
}

QSizeF textRoom(QPointF at, double lineHeight, QSize size, const std::vector<QRect>& controls) {
  double right = size.width();
  for (const QRect& c : controls) {
    const bool sameRows = c.top() < at.y() + lineHeight && c.bottom() >= at.y();
    if (sameRows && c.left() >= at.x()) right = std::min<double>(right, c.left());
  }
  return {std::max(0.0, right - at.x() - kTextGap), std::max(0.0, size.height() - at.y())};
}

}  // namespace qvx::ui
