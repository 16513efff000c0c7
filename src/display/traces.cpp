#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <vector>

#include "display/render_parts.h"
#include "panel/numeric.h"
#include "panel/wide_registers.h"

namespace qvx::display {

namespace {

// The points of a trace, made as they are read: a vector built from this range is
// allocated once and filled in a single pass, where sizing it first would zero 512 KB
// per trace before filling it.
template <typename Y>
class TracePoints {
 public:
  using iterator_category = std::forward_iterator_tag;
  using value_type = PointF;
  using difference_type = std::ptrdiff_t;
  using pointer = const PointF*;
  using reference = PointF;

  TracePoints() = default;
  TracePoints(std::int64_t first, int k, const Y& y) : first_(first), k_(k), y_(&y) {}
  PointF operator*() const {
    return {static_cast<float>(k_), static_cast<float>((*y_)(first_ + k_))};
  }
  TracePoints& operator++() {
    ++k_;
    return *this;
  }
  TracePoints operator++(int) {
    TracePoints was = *this;
    ++k_;
    return was;
  }
  bool operator==(const TracePoints& o) const { return k_ == o.k_; }

 private:
  std::int64_t first_ = 0;
  int k_ = 0;
  const Y* y_ = nullptr;
};

// Collects one trace over the window: buffer index j at screen x = j - ViewFirst,
// stopping before `limit` and at the end of the buffers. The picture gets the whole
// trace as one operation. `y` must read only values it holds itself, so the loop keeps
// everything in registers while it fills up to 64K points.
template <typename Y>
void drawTrace(Scope& s, double limit, Colour colour, Y y) {
  const std::int64_t first = s.ViewFirst;
  const auto last = std::min<std::int64_t>(first + static_cast<std::int64_t>(s.ViewPoints),
                                           static_cast<std::int64_t>(s.BufA.size()) - 1);
  // j < limit for a whole j is j < ceil(limit); a limit that is not above the first
  // index (NaN too) leaves the trace empty.
  std::int64_t end = last + 1;
  if (!(limit > static_cast<double>(first)))
    end = first;
  else if (limit < static_cast<double>(end))
    end = static_cast<std::int64_t>(std::ceil(limit));
  const int count = static_cast<int>(std::max<std::int64_t>(0, end - first));
  std::vector<PointF> pts(TracePoints<Y>(first, 0, y), TracePoints<Y>(first, count, y));
  PictureArea& sc = s.panel.ScopeScreen;
  if (s.JoinOn == 1)
    sc.polyline(std::move(pts), colour);
  else
    sc.points(std::move(pts), colour);
}

// A channel's trace: Base + (Base - sample) x Mag, in screen units.
void drawChannel(Scope& s, const SampleBuffer& buf, double limit, Colour colour, double base,
                 double mag) {
  const std::int16_t* v = buf.data();
  drawTrace(s, limit, colour, [=](std::int64_t j) { return base + (base - v[j]) * mag; });
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
  const std::int16_t* bufA = s.BufA.data();
  const std::int16_t* bufB = s.BufB.data();
  const int mid = s.MidLevel;
  drawTrace(s, s.LastShown, s.TraceColour[3], [=](std::int64_t j) {
    const double a = mid - bufA[j];
    const double b = bufB[j] - mid;
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
  clearWideRegisters();
  const double unlimited = 1e12;
  const auto& colour = s.TraceColour;
  if (s.SelE == 1) {
    const std::int16_t* gen = s.GenTable.data();
    drawTrace(s, unlimited, colour[2], [=](std::int64_t j) { return 4096.0 - gen[j]; });
  }

  const bool analogue = s.OperatingMode != kGenerator && s.OperatingMode != kFft;
  if (s.SelC == 1 && analogue) drawChannel(s, s.BufC, s.LastShown, colour[4], s.BaseC, s.MagC);
  if (s.SelD == 1 && analogue) drawChannel(s, s.BufD, s.LastShown, colour[5], s.BaseD, s.MagD);
  if (s.OperatingMode == kGenerator) return;

  if (mathSelected(s)) {
    drawMathTrace(s);
    return;
  }
  if (s.SelB == 1) drawChannel(s, s.BufB, s.LastShown, colour[1], s.BaseB, s.MagB);
  if (s.SelA == 1) drawChannel(s, s.BufA, s.LastShown + 1, colour[0], s.BaseA, s.MagA);
}

}  // namespace qvx::display
