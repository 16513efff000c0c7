#include "bode/plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "bode/readouts.h"

namespace qvx::bode {

namespace {

constexpr Colour kFrame = 0x404040, kGrid = 0xC0C0C0, kText = 0, kCursor = 0x0000C0;
constexpr double kFont = 7;
// Room for the scale labels on the left and a margin on the right, in the picture's units.
constexpr double kLeft = 760, kRight = 320, kTop = 240, kBottom = 380, kPaneGap = 440;

struct Frame {
  double left, right, gainTop, gainBottom, phaseTop, phaseBottom;
  double logStart, logStop;

  double x(double f) const {
    return left + (std::log10(f) - logStart) / (logStop - logStart) * (right - left);
  }
};

Frame frameOf(const PictureArea& p, const Plan& plan) {
  Frame f{};
  f.left = kLeft;
  f.right = p.ScaleWidth() - kRight;
  const double height = p.ScaleHeight() - kTop - kBottom - kPaneGap;
  f.gainTop = kTop;
  f.gainBottom = kTop + height / 2;
  f.phaseTop = f.gainBottom + kPaneGap;
  f.phaseBottom = f.phaseTop + height / 2;
  f.logStart = std::log10(plan.start);
  f.logStop = std::log10(std::max(plan.stop, plan.start * 1.0001));
  return f;
}

// A vertical scale: its ends and the step between its labelled lines.
struct Scale {
  double low, high, step;
};

Scale scaleOf(const Response& r, bool gain) {
  const double unit = gain ? 10 : 45;
  double lo = 0, hi = 0;
  bool any = false;
  for (const Point& p : r.points)
    for (int c = 0; c < (r.channelB ? 2 : 1); ++c) {
      if (!p.channel[c].measured) continue;
      const double v = gain ? p.channel[c].gainDb : p.channel[c].phaseDeg;
      lo = any ? std::min(lo, v) : v;
      hi = any ? std::max(hi, v) : v;
      any = true;
    }
  if (!any) return gain ? Scale{-40, 10, 10} : Scale{-180, 90, 45};
  // At most about six labelled lines a pane, each on a whole number of steps.
  double step = unit;
  while ((hi - lo) / step > 5) step *= 2;
  hi = std::ceil(hi / step - 1e-9) * step;
  lo = std::floor(lo / step + 1e-9) * step;
  if (hi - lo < 2 * step) lo = hi - 2 * step;
  return {lo, hi, step};
}

void label(PictureArea& p, double x, double y, const std::string& text, Colour c = kText) {
  p.foreColour = c;
  p.printAt(x, y, text);
}

void drawPane(PictureArea& p, const Frame& f, double top, double bottom, const Scale& s,
              const char* unit) {
  p.DrawWidth = 1;
  p.drawStyle = DrawStyle::Dotted;
  const double half = p.textHeight() / 2;
  for (double v = s.low; v <= s.high + s.step / 2; v += s.step) {
    const double y = bottom - (v - s.low) / (s.high - s.low) * (bottom - top);
    p.line(f.left, y, f.right, y, kGrid);
    char text[24];
    std::snprintf(text, sizeof text, "%g%s", std::fabs(v) < 1e-9 ? 0.0 : v, unit);
    label(p, f.left - p.textWidth(text) - 60, y - half, text);
  }
  p.drawStyle = DrawStyle::Solid;
  for (double d = std::ceil(f.logStart - 1e-9); d <= f.logStop + 1e-9; d += 1)
    p.line(f.x(std::pow(10.0, d)), top, f.x(std::pow(10.0, d)), bottom, kGrid);
  p.line(f.left, top, f.right, top, kFrame);
  p.line(f.right, top, f.right, bottom, kFrame);
  p.line(f.right, bottom, f.left, bottom, kFrame);
  p.line(f.left, bottom, f.left, top, kFrame);
}

// A channel's readings as runs of measured points: a polyline each, a lone point as a dot.
void drawTrace(PictureArea& p, const Response& r, int channel, bool gain, const Frame& f,
               double top, double bottom, const Scale& s, Colour colour) {
  std::vector<PointF> run;
  auto flush = [&] {
    if (run.size() == 1) p.points(run, colour);
    if (run.size() > 1) p.polyline(run, colour);
    run.clear();
  };
  for (const Point& pt : r.points) {
    const Reading& m = pt.channel[channel];
    if (!m.measured) {
      flush();
      continue;
    }
    const double v = gain ? m.gainDb : m.phaseDeg;
    const double y = bottom - (v - s.low) / (s.high - s.low) * (bottom - top);
    run.push_back({static_cast<float>(f.x(pt.frequency)), static_cast<float>(y)});
  }
  flush();
}

}  // namespace

void drawPlot(PictureArea& p, const Plan& plan, const Response& r, int cursor,
              const PlotColours& colours) {
  p.cls();
  p.fontSize = kFont;
  p.fontBold = false;
  const Frame f = frameOf(p, plan);
  const Scale gain = scaleOf(r, true), phase = scaleOf(r, false);
  drawPane(p, f, f.gainTop, f.gainBottom, gain, "");
  drawPane(p, f, f.phaseTop, f.phaseBottom, phase, "\u00B0");

  const double lift = p.textHeight() + 40;
  p.fontBold = true;
  label(p, f.left, f.gainTop - lift, "Gain dB");
  label(p, f.left, f.phaseTop - lift, "Phase deg");
  const int channels = r.channelB ? 2 : 1;
  for (int c = 0; c < channels; ++c)
    label(p, f.right - (channels - c) * 500.0, f.gainTop - lift, c == 0 ? "CH A" : "CH B",
          colours.channel[c]);
  p.fontBold = false;
  for (double d = std::ceil(f.logStart - 1e-9); d <= f.logStop + 1e-9; d += 1) {
    const std::string text = shortHertzText(std::pow(10.0, d));
    const double w = p.textWidth(text);
    const double x = std::clamp(f.x(std::pow(10.0, d)) - w / 2, 0.0, p.ScaleWidth() - 1.3 * w);
    label(p, x, f.phaseBottom + 100, text);
  }

  p.DrawWidth = 2;
  for (int c = 0; c < channels; ++c) {
    drawTrace(p, r, c, true, f, f.gainTop, f.gainBottom, gain, colours.channel[c]);
    drawTrace(p, r, c, false, f, f.phaseTop, f.phaseBottom, phase, colours.channel[c]);
  }
  p.DrawWidth = 1;

  if (cursor < 0 || cursor >= static_cast<int>(r.points.size())) return;
  const Point& at = r.points[static_cast<std::size_t>(cursor)];
  const double x = f.x(at.frequency);
  p.drawStyle = DrawStyle::Dotted;
  p.line(x, f.gainTop, x, f.gainBottom, kCursor);
  p.line(x, f.phaseTop, x, f.phaseBottom, kCursor);
  p.drawStyle = DrawStyle::Solid;
  p.DrawWidth = 5;
  for (int c = 0; c < channels; ++c) {
    const Reading& m = at.channel[c];
    if (!m.measured) continue;
    const double yg =
        f.gainBottom - (m.gainDb - gain.low) / (gain.high - gain.low) * (f.gainBottom - f.gainTop);
    const double yp = f.phaseBottom - (m.phaseDeg - phase.low) / (phase.high - phase.low) *
                                          (f.phaseBottom - f.phaseTop);
    p.points({{static_cast<float>(x), static_cast<float>(yg)},
              {static_cast<float>(x), static_cast<float>(yp)}},
             colours.channel[c]);
  }
  p.DrawWidth = 1;
}

double frequencyAt(const PictureArea& p, const Plan& plan, double x) {
  const Frame f = frameOf(p, plan);
  const double share = std::clamp((x - f.left) / (f.right - f.left), 0.0, 1.0);
  return std::pow(10.0, f.logStart + share * (f.logStop - f.logStart));
}

}  // namespace qvx::bode
