#include <algorithm>
#include <cmath>

#include "display/cursor.h"
#include "display/render.h"
#include "display/render_parts.h"
#include "panel/numeric.h"
#include "spectrum/window.h"

namespace qvx {

using namespace display;

namespace {

// Cuts a reading to `places` decimals towards minus infinity. The small allowance keeps
// values that are exact in decimal (0.05 x 1000) from losing their last digit to binary
// representation.
double cut(double x, int places) {
  const double scale = std::pow(10.0, places);
  return static_cast<double>(floorInt(x * scale + 1e-6)) / scale;
}

std::int64_t cursorIndex(const RenderState& render, const CursorState& cursor,
                         const SampleBuffers& bufs) {
  return std::clamp<std::int64_t>(roundHalfEven(render.ViewFirst + cursor.CursorX), 0,
                                  static_cast<std::int64_t>(bufs.BufA.size()) - 1);
}

// Volts of a sample deviation d in range step `range` (1 V, 10 V, 100 V full scale).
double volts(int range, int d) {
  return std::pow(10.0, range) * static_cast<double>(floorInt(4.885 * d + 0.55)) / 10000;
}

double mathVolts(const DisplayState& disp, const CursorState& cursor, const SampleBuffers& bufs,
                 std::int64_t j) {
  auto term = [](int range, int d) {
    return std::pow(10.0, range) * static_cast<double>(floorInt(0.4885 * d + 0.5)) / 1000;
  };
  const double a = term(disp.DataRangeA, bufs.BufA[j] - disp.MidLevel);
  const double b = term(disp.DataRangeB, bufs.BufB[j] - disp.MidLevel);
  return cursor.CursorSel == 5 ? a + b : a - b;
}

double valueAtCursor(const Scope& s, std::int64_t j) {
  const int mode = s.OperatingMode;
  const int sel = s.CursorSel;
  if (sel == 5 || sel == 6) return mathVolts(s, s, s, j);
  if (sel == 7) return static_cast<double>(floorInt(s.GenTable[j] / 2.0475)) / 1000;
  if (mode == kScope || mode == kScopeGen) {
    switch (sel) {
      case 1:
        return volts(s.DataRangeA, s.BufA[j] - s.MidLevel);
      case 2:
        return volts(s.DataRangeB, s.BufB[j] - s.MidLevel);
      case 3:
        return volts(s.DataRangeA, s.BufC[j] - s.MidLevel);
      case 4:
        return volts(s.DataRangeB, s.BufD[j] - s.MidLevel);
    }
  }
  if (mode == kFft && (sel == 1 || sel == 2)) {
    const int v = sel == 1 ? s.BufA[j] : s.BufB[j];
    const double reading = static_cast<double>(floorInt(v / 0.4095)) / 100;
    return s.handling.fftDb ? reading - kDbSpan : reading;
  }
  return 0;
}

void drawCursorLine(Scope& s) {
  PictureArea& sc = s.panel.ScopeScreen;
  sc.drawMode = DrawMode::NotXorPen;
  sc.DrawWidth = 2;
  // Inverting: drawing the old line again takes it off the screen.
  if (s.CursorDrawn == 1)
    sc.line(s.CursorXDrawn, 0, s.CursorXDrawn, 4096, s.CursorColourDrawn);
  else
    s.CursorDrawn = 1;
  if (s.CursorSel > 0)
    sc.line(s.CursorX, 0, s.CursorX, 4096, s.CursorColour);
  else
    s.CursorDrawn = 0;
  s.CursorXDrawn = s.CursorX;
  s.CursorColourDrawn = s.CursorColour;
  sc.drawMode = DrawMode::CopyPen;
  sc.DrawWidth = 1;
}

void printValue(Scope& s, double v) {
  PictureArea& info = s.panel.CURSINFO;
  const Colour pen = info.foreColour;
  info.foreColour = v < 0 ? 0x0000FF : 0;
  const bool logic = s.CursorSel == 3 || s.CursorSel == 4;
  if (logic)
    info.print(v > 0 ? "   High " : "   Low ", false);
  else
    info.print(rightAligned(numberText(v), 7), false);
  if (s.OperatingMode != kFft && !logic) info.printAt(380, 0, "V", false);
  info.foreColour = pen;
}

// Time (or in FFT frequency) at the cursor, and outside FFT its reciprocal.
void printReading(Scope& s) {
  PictureArea& info = s.panel.CURSINFO;
  const bool fft = s.OperatingMode == kFft;
  const int r = s.AxisRateIndex;
  const double m = s.RateMantissa;
  double reading;
  if (fft) {
    reading = (s.ViewFirst + s.CursorX) * m / (0.05 * s.FftSize * std::pow(10.0, 4 - r));
    s.CursorUnit = "MHz";
  } else {
    reading = 0.5 * (s.CursorX + s.CursorAbsolute * s.ViewFirst) / (std::pow(10.0, r) * m);
    s.CursorUnit = "mS";
  }
  if (reading < 0.1) {
    reading *= 1000;
    s.CursorUnit = fft ? "KHz" : "uS";
  } else if (reading > 100) {
    reading /= 1000;
    s.CursorUnit = "S";
  }
  if (fft && reading < 0.1) {
    reading *= 1000;
    s.CursorUnit = "Hz";
  }
  reading = cut(reading, reading >= 10 ? 3 : 4);
  s.CursorReading = reading;
  info.printAt(fft ? 490 : 500, 0, rightAligned(numberText(reading), 7), false);
  info.printAt(fft ? 850 : 880, 0, s.CursorUnit, false);
  if (fft) return;

  double f = reading == 0 ? 0 : 1 / reading;
  std::string unit = s.CursorUnit == "mS" ? "KHz" : s.CursorUnit == "uS" ? "MHz" : "Hz";
  // The reciprocal of a reading between 10 and 100 is below one of its unit; it reads
  // as the engineer says it, 20 KHz rather than 0.02 MHz.
  if (f > 0 && f < 1 && unit != "Hz") {
    f *= 1000;
    unit = unit == "MHz" ? "KHz" : "Hz";
  }
  f = cut(f, 4);
  info.printAt(1140, 0, rightAligned(numberText(f), 8), false);
  info.printAt(1650, 0, unit, false);
}

}  // namespace

void cursdraw(Scope& s) {
  const bool on = s.CursorSel != 0;
  for (Button* b : {&s.panel.Command24, &s.panel.Command25, &s.panel.Command26, &s.panel.Command27})
    b->enabled = on;
  if (!on && s.CursorDrawn == 0) {
    Markspace(s);
    return;
  }
  drawCursorLine(s);

  PictureArea& info = s.panel.CURSINFO;
  info.cls();
  info.CurrentX = 20;
  info.CurrentY = 0;
  if (on) {
    printValue(s, valueAtCursor(s, cursorIndex(s, s, s)));
    printReading(s);
  } else {
    Markspace(s);
  }
}

void Markspace(Scope& s) {
  if (s.CursorSel > 0) return;
  // GENERATOR shows the generator's wave and no channel: a measurement of the channel's
  // last capture would read as if it were the wave on the screen.
  if (s.OperatingMode == kGenerator) {
    s.panel.CURSINFO.cls();
    return;
  }
  s.MeasInvalid = 0;
  const SampleBuffer* sources[] = {&s.BufA, &s.BufB, &s.BufC, &s.BufD};
  const SampleBuffer& src = *sources[std::clamp(s.TrigSource, 0, 3)];
  const std::int32_t last = std::clamp<std::int32_t>(static_cast<std::int32_t>(s.LastShown), 0,
                                                     static_cast<std::int32_t>(src.size()) - 1);
  s.MeasBuf.assign(src.begin(), src.begin() + last + 1);
  const std::vector<int>& buf = s.MeasBuf;

  // Local extremes: the loop then runs in registers rather than through the state.
  int low = 4096, high = 0;
  for (int v : buf) {
    low = std::min(low, v);
    high = std::max(high, v);
  }
  s.MeasLow = low;
  s.MeasHigh = high;
  if (s.MeasHigh - s.MeasLow < 10) s.MeasInvalid = 1;
  s.MeasMid = static_cast<int>(roundHalfEven((s.MeasHigh + s.MeasLow) / 2.0));
  const int mid = s.MeasMid;

  // The next point strictly above (or below) the middle, from `from` on; 0 = none.
  auto next = [&](std::int32_t from, bool high) -> std::int32_t {
    if (from > 0)
      for (std::int32_t i = from; i <= last; ++i)
        if (high ? buf[i] > mid : buf[i] < mid) return i;
    s.MeasInvalid = 1;
    return 0;
  };
  auto& [f1, f2, r1, r2] = s.MeasEdges;
  f1 = f2 = r1 = r2 = 0;
  const bool startsLow = buf[0] <= mid;
  if (startsLow) {
    r1 = next(1, true);
    f1 = next(r1, false);
    r2 = next(f1, true);
  } else {
    f1 = next(1, false);
    r1 = next(f1, true);
    f2 = next(r1, false);
  }
  PictureArea& info = s.panel.CURSINFO;
  if (s.MeasInvalid == 1 || f1 == 0 || r1 == 0) {
    info.cls();
    return;
  }

  const double period = startsLow ? r2 - r1 : f2 - f1;
  const double mark = startsLow ? f1 - r1 : f2 - r1;
  s.MeasDuty = static_cast<float>(floorInt(mark * 1000 / period)) / 10;
  // The rate the shown samples were taken at, as the time axis has it: the panel's rate
  // may have been stepped since the capture.
  s.MeasFreq = static_cast<float>(
      floorInt(200000 * s.RateMantissa * std::pow(10.0, s.AxisRateIndex) / period) / 100.0);
  s.MeasUnit = "Hz";
  if (s.MeasFreq > 5000000) {
    info.cls();
    return;
  }
  if (s.MeasFreq > 9999) {
    s.MeasFreq = static_cast<float>(floorInt(s.MeasFreq / 10) / 100.0);
    s.MeasUnit = "kHz";
  }

  info.cls();
  info.fontBold = true;
  static const char* kNames[] = {"CH A", "CH B", "CH C", "CH D"};
  const Colour kColours[] = {s.TraceColour[0], 0x00A000, s.TraceColour[4], 0x2070D0};
  const int src_i = std::clamp(s.TrigSource, 0, 3);
  info.foreColour = kColours[src_i];
  info.print(kNames[src_i], false);
  info.foreColour = 0;
  info.printAt(400, 0, numberText(s.MeasFreq) + s.MeasUnit, false);
  info.printAt(1200, 0, "d.c " + numberText(s.MeasDuty) + " %", false);
  info.fontBold = false;
}

}  // namespace qvx
