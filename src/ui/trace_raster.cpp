#include "ui/trace_raster.h"

#include <algorithm>
#include <cmath>
#include <limits>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include "panel/wide_registers.h"

namespace qvx::ui {

namespace {

bool finite(const PointF& p) {
  return std::isfinite(p.x) && std::isfinite(p.y);
}

// The vertical extent of a run of points, and whether all of them lie in [begin, end)
// with a finite y. With x increasing the run is found by search, so this pass is
// all the column walk does with most points.
struct Run {
  float lo, hi;
  bool inside;
};

Run scan(const PointF* p, std::size_t n, float begin, float end) {
  float lo = std::numeric_limits<float>::infinity(), hi = -lo;
  float xlo = lo, xhi = -lo;
  bool nan = false;
  std::size_t k = 0;
#if defined(__SSE2__)
  // Two points a register, x and y in alternate lanes, so one minimum and one maximum
  // give both the column test and the span. NaN is lost by min and max, hence its own test.
  // Four points a round in two independent chains, so the loop is not held up by the
  // latency of min and max; one unordered compare tests both registers for NaN.
  __m128 vlo = _mm_set1_ps(lo), vhi = _mm_set1_ps(hi), vnan = _mm_setzero_ps();
  __m128 wlo = vlo, whi = vhi;
  for (; k + 4 <= n; k += 4) {
    const __m128 v = _mm_loadu_ps(&p[k].x), w = _mm_loadu_ps(&p[k + 2].x);
    vlo = _mm_min_ps(vlo, v);
    vhi = _mm_max_ps(vhi, v);
    wlo = _mm_min_ps(wlo, w);
    whi = _mm_max_ps(whi, w);
    vnan = _mm_or_ps(vnan, _mm_cmpunord_ps(v, w));
  }
  vlo = _mm_min_ps(vlo, wlo);
  vhi = _mm_max_ps(vhi, whi);
  alignas(16) float l[4], h[4];
  _mm_store_ps(l, vlo);
  _mm_store_ps(h, vhi);
  xlo = std::min(l[0], l[2]);
  lo = std::min(l[1], l[3]);
  xhi = std::max(h[0], h[2]);
  hi = std::max(h[1], h[3]);
  nan = _mm_movemask_ps(vnan) != 0;
#endif
  for (; k < n; ++k) {
    xlo = std::min(xlo, p[k].x);
    xhi = std::max(xhi, p[k].x);
    lo = std::min(lo, p[k].y);
    hi = std::max(hi, p[k].y);
    nan = nan || std::isnan(p[k].x) || std::isnan(p[k].y);
  }
  constexpr float kMax = std::numeric_limits<float>::max();
  return {lo, hi, !nan && xlo >= begin && xhi < end && lo >= -kMax && hi <= kMax};
}

// The first index from `i` whose x is not below `end`, if x increases from `i` on. A
// trace's columns hold nearly the same number of points, so the search starts where the
// previous column's count `guess` puts the end and steps out from there, one point, then
// two, four...: usually two or three reads find it.
std::size_t runEnd(const PointF* p, std::size_t i, std::size_t n, float end, std::size_t guess) {
  auto below = [end](const PointF& q) { return q.x < end; };
  std::size_t lo, hi = std::min(n, i + guess);
  std::size_t step = 1;
  if (hi < n && below(p[hi])) {
    // Further on: the end is past `hi`.
    for (lo = hi + 1;; step *= 2) {
      hi = std::min(n, lo + step - 1);
      if (hi == n || !below(p[hi])) break;
      lo = hi + 1;
    }
  } else {
    // Here or before: the end is at `hi` at the latest.
    for (lo = hi;; step *= 2) {
      if (lo <= i) break;
      const std::size_t probe = lo > i + step ? lo - step : i;
      if (below(p[probe])) {
        lo = probe + 1;
        break;
      }
      hi = lo = probe;
    }
  }
  return static_cast<std::size_t>(std::partition_point(p + lo, p + hi, below) - p);
}

}  // namespace

Canvas::Canvas(QImage& image)
    : bits_(image.bits()),
      stride_(image.bytesPerLine()),
      width_(image.width()),
      height_(image.height()) {}

bool Canvas::suits(const QImage& image) {
  const QImage::Format f = image.format();
  return !image.isNull() && (f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 ||
                             f == QImage::Format_ARGB32_Premultiplied);
}

void Canvas::span(double x, double y0, double y1, QRgb colour) {
  // Written so that NaN fails every test and draws nothing.
  if (!(x >= 0 && x < width_ && y1 >= 0 && y0 < height_)) return;
  const int top = y0 <= 0 ? 0 : static_cast<int>(y0);
  const int bottom = y1 >= height_ - 1 ? height_ - 1 : static_cast<int>(y1);
  std::uint8_t* row = bits_ + top * stride_ + static_cast<std::ptrdiff_t>(x) * 4;
  for (int y = top; y <= bottom; ++y, row += stride_) *reinterpret_cast<QRgb*>(row) = colour;
}

void Canvas::polyline(const PointF* p, std::size_t n, const UserToPixels& m, QRgb colour) {
  if (!(m.sx > 0)) return;
  clearWideRegisters();
  std::size_t i = 0;
  while (i < n && !finite(p[i])) ++i;
  if (i == n) return;

  // The current column, its user x range [begin, end), and the user y range of its span.
  // Comparing in user units spares mapping every point; only spans are mapped.
  const double unitsPerColumn = 1 / m.sx;
  double column = std::floor((p[i].x - m.left) * m.sx);
  float begin = 0, end = 0;
  auto enter = [&](double c) {
    column = c;
    begin = static_cast<float>(m.left + c * unitsPerColumn);
    end = static_cast<float>(m.left + (c + 1) * unitsPerColumn);
  };
  auto flush = [&](double c, double lo, double hi) {
    const double a = (lo - m.top) * m.sy, b = (hi - m.top) * m.sy;
    span(c, std::min(a, b), std::max(a, b), colour);
  };
  enter(column);
  PointF last = p[i];
  float lo = last.y, hi = last.y;
  ++i;
  std::size_t guess = 1;

  for (;;) {
    // The run of points inside the column: almost all of a long trace is read here.
    std::size_t j = runEnd(p, i, n, end, guess);
    if (const Run run = scan(p + i, j - i, begin, end); run.inside) {
      lo = std::min(lo, run.lo);
      hi = std::max(hi, run.hi);
    } else {
      // x does not increase here, or a point cannot be drawn: one point at a time.
      for (j = i; j < n && p[j].x >= begin && p[j].x < end && std::isfinite(p[j].y); ++j) {
        lo = std::min(lo, p[j].y);
        hi = std::max(hi, p[j].y);
      }
    }
    guess = j - i;
    if (j > i) last = p[j - 1];
    if (j == n) break;
    const PointF q = p[j];
    i = j + 1;
    // A point that cannot be drawn is left out, joining its neighbours as a painter would.
    if (!finite(q)) continue;

    double next = std::floor((q.x - m.left) * m.sx);
    next = q.x >= end ? std::max(next, column + 1) : std::min(next, column - 1);
    // Where the segment from `last` to `q` crosses the column edge at pixel x `edge`.
    auto yAt = [&](double edge) {
      const double x = m.left + edge * unitsPerColumn;
      return last.y + (q.y - last.y) * (x - last.x) / (q.x - last.x);
    };
    // The segment is shared out where it crosses the column edges: the old column's span
    // runs to where it leaves, each column passed on the way (only those inside the
    // image) gets its stretch, and the new column's span starts where it comes in.
    const bool right = next > column;
    const double leave = yAt(right ? column + 1 : column);
    flush(column, std::min<double>(lo, leave), std::max<double>(hi, leave));
    const double from = std::max(std::min(column, next) + 1, -1.0);
    const double to = std::min(std::max(column, next) - 1, static_cast<double>(width_));
    for (double k = from; k <= to; ++k) flush(k, yAt(k), yAt(k + 1));
    const auto entry = static_cast<float>(yAt(right ? next : next + 1));
    enter(next);
    lo = std::min(entry, q.y);
    hi = std::max(entry, q.y);
    last = q;
  }
  flush(column, lo, hi);
}

void Canvas::points(const PointF* p, std::size_t n, const UserToPixels& m, QRgb colour) {
  clearWideRegisters();
  // A one-pixel painter pen lights the pixel nearest the point, halves rounding up.
  for (std::size_t i = 0; i < n; ++i) {
    const double x = std::floor((p[i].x - m.left) * m.sx + 0.5);
    const double y = std::floor((p[i].y - m.top) * m.sy + 0.5);
    span(x, y, y, colour);
  }
}

bool Canvas::axisLine(const PointF& a, const PointF& b, const UserToPixels& m, bool dotted,
                      QRgb colour) {
  if (!finite(a) || !finite(b) || (a.x == b.x) == (a.y == b.y)) return false;
  const QPointF p = m(a), q = m(b);
  // Along the line a painter lights the pixels from the first end's nearest pixel edge
  // up to the last end's; across it, the pixel the line runs through.
  const bool row = a.y == b.y;
  const double from = row ? p.x() : p.y(), to = row ? q.x() : q.y();
  const double lo = std::floor(std::min(from, to) + 0.5), hi = std::floor(std::max(from, to) + 0.5);
  // A painter restarts the dots where it clips a line, so dotted lines that leave the
  // image stay with it.
  if (lo >= hi || (dotted && (lo < 0 || hi > (row ? width_ : height_)))) return false;
  run(row, std::floor(row ? p.y() : p.x()), lo, hi, to < from, dotted ? 3 : 1, colour);
  return true;
}

void Canvas::run(bool row, double across, double lo, double hi, bool backwards, int step,
                 QRgb colour) {
  clearWideRegisters();
  const int along = row ? width_ : height_, wide = row ? height_ : width_;
  if (!(across >= 0 && across < wide)) return;
  // The visible stretch, and the first pixel of the pattern inside it.
  const double first = std::max(lo, 0.0), last = std::min(hi, static_cast<double>(along)) - 1;
  if (first > last) return;
  const double start = backwards ? hi - 1 : lo;
  const double skip = std::max(0.0, std::ceil((backwards ? start - last : first - start) / step));
  const int c = static_cast<int>(across), dir = backwards ? -step : step;
  const int a = static_cast<int>(first), b = static_cast<int>(last);
  for (int k = static_cast<int>(start + (backwards ? -skip : skip) * step); k >= a && k <= b;
       k += dir)
    row ? set(k, c, colour) : set(c, k, colour);
}

}  // namespace qvx::ui
