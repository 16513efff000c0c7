#include "ui/text_fit.h"

#include <QFontMetricsF>
#include <algorithm>

namespace qvx::ui {

int fittedPixelSize(int described, const TextMeasure& measure, QSizeF room) {
  const auto fits = [&](int px) {
    const QSizeF extent = measure(px);
    return extent.width() <= room.width() && extent.height() <= room.height() + 1;
  };
  if (described <= 1 || fits(described)) return described;
  for (int px = described - 1; px > 1; --px)
    if (fits(px)) return px;
  return 1;
}

QFont fittedFont(const QFont& font, const QString& text, QSizeF room) {
  if (text.isEmpty()) return font;
  const int px = fittedPixelSize(
      font.pixelSize(),
      [&](int size) {
        QFont f = font;
        if (size != font.pixelSize()) f.setPixelSize(size);
        const QFontMetricsF m(f);
        return QSizeF(m.horizontalAdvance(text), m.height());
      },
      room);
  if (px == font.pixelSize()) return font;
  QFont f = font;
  f.setPixelSize(px);
  return f;
}

QString textNeedingRoom(const QString& text, bool opaque) {
  if (opaque) return text;
  qsizetype end = text.size();
  while (end > 0 && text[end - 1] == u' ') --end;
  return text.first(end);
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
