#include "generator/synthesis.h"

#include <algorithm>
#include <cmath>

#include "acquisition/timebase.h"
#include "display/render.h"
#include "generator/panel.h"
#include "panel/numeric.h"

namespace qvx {

namespace {

constexpr Colour kUpToDate = RGB(0x80, 0xFF, 0x80);
// The fit settles within two passes at mantissa 1.0 and four at 1.5; a few more keep
// any odd value from looping.
constexpr int kMaxFitPasses = 8;
// Angles run while they stay at or below this, so a whole P gives exactly P points.
constexpr double kLastAngle = 359.9;

int rateStepFor(double f, int previous) {
  if (f < 20) return 0;
  if (f < 200) return 1;
  if (f < 2000) return 2;
  if (f < 20000) return 3;
  if (f <= 500000) return 4;
  return previous;
}

int cycleCountFor(double f) {
  const bool longTable = (f >= 10 && f < 20) || (f >= 100 && f < 200) || (f >= 1000 && f < 2000) ||
                         (f >= 10000 && f < 20000) || f >= 100000;
  return longTable ? 40 : 20;
}

std::int32_t tableEnd(const DeviceState& dev, const GeneratorState& gen) {
  return std::clamp<std::int32_t>(dev.DeviceMemSize, 0,
                                  static_cast<std::int32_t>(gen.GenTable.size()));
}

// Writes one cycle of `points` points per cycle from index k on; returns the index
// after it. Writing stops at the end of the table.
std::int32_t writeCycle(const DeviceState& dev, const SpectrumState& spectrum, GeneratorState& gen,
                        std::int32_t k, double points, double highFrom) {
  const std::int32_t end = tableEnd(dev, gen);
  const double step = 360.0 / points;
  for (double theta = 0; theta <= kLastAngle && k < end; theta += step)
    gen.GenTable[k++] = static_cast<std::int16_t>(
        styleCode(gen.GenStyle, theta, gen.GenAmpIndex, highFrom, spectrum.PiConst));
  return k;
}

void putCode(const DeviceState& dev, GeneratorState& gen, std::int32_t k, int code) {
  if (k < tableEnd(dev, gen)) gen.GenTable[k] = static_cast<std::int16_t>(code);
}

std::int32_t buildNormal(Scope& s) {
  const FrequencyFit fit = fitFrequency(s.GenFreq, s.GenRateIndex0, s.RateMantissa);
  s.GenRateIndex0 = fit.rateStep;
  s.GenFreq = fit.frequency;
  s.GenDutyAngle = (100.0 - s.GenDuty) * 360 / 100;
  std::int32_t k = 0;
  for (int c = 0; c < fit.cycles; ++c)
    k = writeCycle(s, s, s, k, fit.pointsPerCycle, s.GenDutyAngle);
  // One code past the wave, so the output comes to rest where the style begins.
  if (s.GenStyle == genstyle::Triangle) putCode(s, s, k, s.MidLevel);
  if (s.GenStyle == genstyle::Ramp || s.GenStyle == genstyle::Square) putCode(s, s, k, 0);
  return k;
}

std::int32_t buildSweep(Scope& s) {
  deriveSweepSettings(s, s);
  const SweepPlan plan = sweepPlan(s.GenSweepShort, s.GenSweepRatio);
  std::int32_t k = 0;
  int cur = plan.startPoints;
  while (cur > plan.endPoints) {
    cur -= static_cast<int>(floorInt(plan.bias + static_cast<double>(cur) / plan.divisor));
    k = writeCycle(s, s, s, k, cur, 180);
    if (s.GenStyle == genstyle::Triangle) putCode(s, s, k, s.MidLevel);
  }
  return k;
}

// The sample under the cursor, as the cursor readout counts it.
std::int32_t cursorSample(const RenderState& render, const CursorState& cursor) {
  return static_cast<std::int32_t>(roundHalfEven(render.ViewFirst + cursor.CursorX));
}

}  // namespace

FrequencyFit fitFrequency(double frequency, int previousStep, float rateMantissa) {
  FrequencyFit fit;
  fit.rateStep = previousStep;
  fit.frequency = frequency;
  for (int pass = 0; pass < kMaxFitPasses; ++pass) {
    const double f = fit.frequency;
    fit.rateStep = rateStepFor(f, fit.rateStep);
    const double rate = rateMantissa * 2000.0 * std::pow(10.0, fit.rateStep);
    fit.pointsPerCycle = rate / f;
    fit.cycles = cycleCountFor(f);
    const long long whole = std::max(1LL, floorInt(0.6 + fit.pointsPerCycle * kLastAngle / 360));
    const double fitted = static_cast<double>(floorInt(0.5 + rate / static_cast<double>(whole)));
    if (fitted == f) break;
    fit.frequency = fitted;
  }
  return fit;
}

SweepPlan sweepPlan(int sweepShort, int sweepRatio) {
  static const SweepPlan kLong[] = {
      {400, 200, 200, 0.95}, {400, 80, 120, 0.95}, {400, 40, 100, 0.8}, {400, 20, 100, 0.8}};
  static const SweepPlan kShort[] = {
      {200, 100, 800, 0.875}, {200, 40, 800, 0.95}, {200, 20, 400, 0.95}};
  if (sweepShort == 1) return kShort[std::clamp(sweepRatio, 0, 2)];
  return kLong[std::clamp(sweepRatio, 0, 3)];
}

int styleCode(int style, double theta, int amp, double highFrom, double pi) {
  const double a = amp;
  double v = 0;
  switch (style) {
    case genstyle::Sine:
      v = (2047 * std::sin(theta * pi / 180) + 2048) / a;
      break;
    case genstyle::Triangle:
      if (theta < 90)
        v = (theta + 90) * 4095 / 180 / a;
      else if (theta < 270)
        v = (8190 - (theta + 90) * 4095 / 180) / a;
      else
        v = (theta - 270) * 4095 / 180 / a;
      break;
    case genstyle::Ramp:
      v = theta * 4095 / 360 / a;
      break;
    case genstyle::Square:
      v = theta < highFrom ? 0 : 4095 / a;
      break;
    default:
      break;
  }
  return static_cast<int>(std::clamp<long long>(roundHalfEven(v), 0, 4095));
}

void GENUPDATEBUTTON_Click(Scope& s) {
  if (s.GenMode == genmode::Custom) {
    if (s.runControl.customWaveForm && s.runControl.customWaveForm(s)) {
      s.GenDirty = 0;
      s.panel.GENUPDATEBACK.setBackColour(kUpToDate);
      DSAMPLE(s);
    }
    HScroll1_Change(s);
    return;
  }

  std::fill(s.GenTable.begin(), s.GenTable.begin() + tableEnd(s, s), 0);
  const std::int32_t written = s.GenMode == genmode::Sweep ? buildSweep(s) : buildNormal(s);
  s.GenLastIndex = static_cast<float>(written - 1);
  if (s.GenStyle == genstyle::Sine) {
    const auto rest = static_cast<std::int16_t>(roundHalfEven(2048.0 / s.GenAmpIndex));
    std::fill(s.GenTable.begin() + std::max<std::int32_t>(written, 0),
              s.GenTable.begin() + tableEnd(s, s), rest);
  }

  if (s.SelE != 0) HScroll2_Change(s);
  s.panel.GENUPDATEBACK.setBackColour(kUpToDate);
  s.GenDirty = 0;
  DSAMPLE(s);
  GENDISP(s);
}

void CropCustomRight(const RenderState& render, const CursorState& cursor, GeneratorState& gen) {
  const auto last = static_cast<std::int32_t>(gen.GenLastIndex);
  const std::int32_t x = std::clamp(cursorSample(render, cursor), 9, std::max(last, 9));
  gen.GenLastIndex = static_cast<float>(x);
}

void CropCustomLeft(const RenderState& render, const CursorState& cursor, GeneratorState& gen) {
  const auto last = static_cast<std::int32_t>(gen.GenLastIndex);
  const std::int32_t x = std::clamp(cursorSample(render, cursor), 0, std::max(last - 9, 0));
  for (std::int32_t i = x; i <= last; ++i) {
    gen.GenTable[i - x] = gen.GenTable[i];
    gen.CustomView[i - x] = gen.CustomView[i];
  }
  gen.GenLastIndex = static_cast<float>(last - x);
}

}  // namespace qvx
