#pragma once
#include <QFont>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

namespace qvx::ui {

// Pixels kept free between a text and whatever would stop it: a box edge or a control.
constexpr double kTextGap = 2;

// The font to show `text` in a room of `room` pixels: `font` itself when the text fits,
// otherwise the largest smaller pixel size that fits. Captions and readouts thus keep
// their described size where they have the room and never spill out of their boxes.
QFont fittedFont(const QFont& font, const QString& text, QSizeF room);

// The arithmetic of that choice, apart from any font: `measure` gives the text's advance and
// line height at a pixel size. A text fits when its advance is within the room's width and
// its line within the room's height, with a pixel of leading to spare. Sizes below 1 px
// are never chosen; a text that fits at no size gets 1 px.
using TextMeasure = std::function<QSizeF(int pixelSize)>;
int fittedPixelSize(int described, const TextMeasure& measure, QSizeF room);

// The part of a picture text that must fit its room. Readouts pad their words with blanks
// to cover a longer word printed before (" 60s       "); a transparent text's trailing
// blanks paint nothing, so they need no room and must not shrink the word. An opaque
// text's blanks paint its background and count in full.
QString textNeedingRoom(const QString& text, bool opaque);

// The room a picture text starting at `at` has in an image of `size`: up to the right and
// bottom edges, and on its rows up to the first control placed to its right in the
// picture (`controls`, in the image's pixels).
QSizeF textRoom(QPointF at, double lineHeight, QSize size, const std::vector<QRect>& controls);

}  // namespace qvx::ui
