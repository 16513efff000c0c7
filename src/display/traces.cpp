#include <algorithm>
#include <cmath>
#include <vector>

#include "display/render_parts.h"
#include "panel/numeric.h"

namespace qvx::display {

namespace {

// Collects one trace over the window: buffer index j at screen x = j - ViewFirst,
// stopping before `limit` and at the end of the buffers. The picture gets the whole
// trace as one operation.
template <typename Y>
void drawTrace(Scope& s, double limit, Colour colour, Y y) {
  const std::int32_t first = s.ViewFirst;
  const auto last = std::min<std::int64_t>(first + static_cast<std::int64_t>(s.ViewPoints),
                                           static_cast<std::int64_t>(s.BufA.size()) - 1);
  std::vector<PointF> pts;
  pts.reserve(static_cast<std::size_t>(std::max<std::int64_t>(0, last - first + 1)));
  for (std::int64_t j = first; j <= last && j < limit; ++j)
    pts.push_back({static_cast<float>(j - first), static_cast<float>(y(j))});
  PictureArea& sc = s.panel.ScopeScreen;
  if (s.JoinOn == 1)
    sc.polyline(std::move(pts), colour);
  else
    sc.points(std::move(pts), colour);
}

void drawMathTrace(Scope& s) {
  static constexpr int kBaseFactor[] = {2, 3, 6};
  const int k = kBaseFactor[std::clamp(s.MathMagIndex, 0, 2)];
  s.BaseMid = toInt16(2048 + k * s.ShiftMath);
  const double sign = s.SelAplusB;
  const double base = s.BaseMid, mag = s.MagMath;
  // The channel in the larger range is scaled down to the other's full scale.
  const double divA = s.DataRangeA > s.DataRangeB ? std::pow(10.0, s.DataRangeA - s.DataRangeB) : 1;
  const double divB = s.DataRangeB > s.DataRangeA ? std::pow(10.0, s.DataRangeB - s.DataRangeA) : 1;
  drawTrace(s, s.LastShown, s.TraceColour[3], [&](std::int64_t j) {
    const double a = s.MidLevel - s.BufA[j];
    const double b = s.BufB[j] - s.MidLevel;
    return base + mag * (a / divA - sign * b / divB);
  });
}

}  // namespace

void drawBufferBar(Scope& s) {
  PictureArea& bar = s.panel.Picture2;
  bar.backColour = 0xFF0000;
  bar.foreColour = 0x00FFFF;
  bar.cls();
  bar.setScaleHeight(1);
  const double step = (s.ScrollLast + 1) * 5.0 / 1024;
  std::vector<PointF> pts;
  for (double x = s.ViewStart; step > 0 && x <= s.ViewStart + s.ViewWidth; x += step)
    pts.push_back({static_cast<float>(x), 0.0f});
  bar.points(std::move(pts), bar.foreColour);
}

void drawTraces(Scope& s) {
  const double unlimited = 1e12;
  const auto& colour = s.TraceColour;
  if (s.SelE == 1)
    drawTrace(s, unlimited, colour[2], [&](std::int64_t j) { return 4096.0 - s.GenTable[j]; });

  const bool analogue = s.OperatingMode != kGenerator && s.OperatingMode != kFft;
  if (s.SelC == 1 && analogue)
    drawTrace(s, s.LastShown, colour[4],
              [&](std::int64_t j) { return s.BaseC + (s.BaseC - s.BufC[j]) * s.MagC; });
  if (s.SelD == 1 && analogue)
    drawTrace(s, s.LastShown, colour[5], [&](std::int64_t j) {
      return s.BaseD + (s.BaseD - s.BufD[j]) * static_cast<double>(s.MagD);
    });
  if (s.OperatingMode == kGenerator) return;

  if (mathSelected(s)) {
    drawMathTrace(s);
    return;
  }
  if (s.SelB == 1)
    drawTrace(s, s.LastShown, colour[1],
              [&](std::int64_t j) { return s.BaseB + (s.BaseB - s.BufB[j]) * s.MagB; });
  if (s.SelA == 1)
    drawTrace(s, s.LastShown + 1, colour[0],
              [&](std::int64_t j) { return s.BaseA + (s.BaseA - s.BufA[j]) * s.MagA; });
}

}  // namespace qvx::display
