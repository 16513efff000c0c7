#include <algorithm>
#include <cmath>

#include "display/render_parts.h"
#include "panel/numeric.h"
#include "spectrum/window.h"

namespace qvx::display {

namespace {

constexpr double kLabelRow = 0.96 * 4096;

void label(PictureArea& sc, double x, double y, const std::string& text, Colour c) {
  sc.foreColour = c;
  sc.printAt(x, y, text);
}

// A channel's label: the voltage the grid line shows, in the range the data were
// taken in, cut to `scale` (1000 for volts to the millivolt).
double labelValue(double fullScale, double frac, double mag, double offset, double scale) {
  return static_cast<double>(floorInt(scale * fullScale * (frac / (10 * mag) + offset) + 0.001)) /
         scale;
}

std::string logicLabel(double frac, double mag, double offset) {
  const double w = labelValue(1, frac, mag, offset, 100);
  if (w == 0) return " L";
  if (w == 0.25) return " H";
  return {};
}

}  // namespace

void drawGrid(Scope& s, double W, double V, int r) {
  PictureArea& sc = s.panel.ScopeScreen;
  sc.drawStyle = DrawStyle::Dotted;
  sc.fontSize = 7;
  const double step = W / 16.384;
  const double labelLimit = W - static_cast<double>(floorInt(W / 16.384 + 0.5));
  const int q = (r == 4 || r == 2) ? 100 : (r == 3 || r == 1) ? 1000 : 10;
  int k = 0;
  // An empty window (the X-magnify bar not yet set up) has no division to step by.
  for (int line = 1; step > 0 && line * step <= W; ++line) {
    const double x = line * step;
    sc.line(x, 0, x, 4096);
    if (s.UnitsOn == 1 && x < labelLimit) {
      ++k;
      double value = s.OperatingMode == kFft
                         ? static_cast<double>(floorInt((s.ViewFirst + x) * V * q + 0.5)) / q
                         : k * V;
      label(sc, x, kLabelRow, numberText(value), kTimeLabelColour);
      sc.foreColour = kGridColour;
    }
  }
  for (int y = 512; y <= 4096; y += 512) sc.line(0, y, W, y);
  sc.drawStyle = DrawStyle::Solid;
}

void drawAxisLabels(Scope& s, double W, const std::string& unit) {
  PictureArea& sc = s.panel.ScopeScreen;
  sc.fontSize = 7;
  const bool analogue = s.OperatingMode != kGenerator && s.OperatingMode != kFft;
  const bool math = mathSelected(s);
  const double column = 1020 * s.ViewPoints / 32768;
  const auto& colour = s.TraceColour;

  for (int i = 0; i <= 6; ++i) {
    const double y = 0.84 * 4096 - i * 512;
    const double frac = 2.5 * i - 7.5;
    if (s.SelA == 1 && analogue && !math)
      label(sc, 0, y,
            numberText(labelValue(std::pow(10.0, s.DataRangeA), frac, s.MagA, s.AxisOffsetA, 1000)),
            colour[0]);
    if (s.SelB == 1 && analogue && !math)
      label(sc, (1 + s.SelA) * column, y,
            numberText(labelValue(std::pow(10.0, s.DataRangeB), frac, s.MagB, s.AxisOffsetB, 1000)),
            colour[1]);
    if (s.SelC == 1 && analogue) {
      std::string t = logicLabel(frac, s.MagC, s.AxisOffsetC);
      if (!t.empty()) label(sc, (2 + s.SelA + s.SelB) * column, y, t, colour[4]);
    }
    if (s.SelD == 1 && analogue) {
      std::string t = logicLabel(frac, s.MagD, s.AxisOffsetD);
      if (!t.empty()) label(sc, (3 + s.SelA + s.SelB + s.SelC) * column, y, t, colour[5]);
    }
    if (s.OperatingMode == kFft && i < 5) {
      double fy = 0.84 * 4096 - (2 * i - 1) * 512;
      if (i == 0) fy -= 60;
      if (i == 4) fy += 150;
      // On the dB scale the same lines read -100 dB at the bottom to 0 dB at the top.
      const double value = s.handling.fftDb ? 25 * i - kDbSpan : 25 * i;
      label(sc, i == 0 ? 2 : 0, fy, numberText(value), kFftLabelColour);
    }
    if (math && analogue) {
      const double fullScale = std::pow(10.0, std::min(s.DataRangeA, s.DataRangeB));
      label(sc, 0, y, numberText(labelValue(fullScale, frac, s.MagMath, s.AxisOffsetMath, 1000)),
            colour[3]);
    }
    if (s.SelE == 1)
      label(sc, 31400 * s.ViewPoints / 32768, y,
            numberText(static_cast<double>(floorInt(100 * (i / 4.0 + 0.25))) / 100), colour[2]);
  }
  label(sc, W / 32, kLabelRow, unit, kUnitColour);
}

std::string rightAligned(const std::string& text, std::size_t width) {
  std::string padded = std::string(width, ' ') + text;
  return padded.substr(padded.size() - width);
}

}  // namespace qvx::display
