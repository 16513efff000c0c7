#include "bode/measurement.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "acquisition/channels.h"
#include "bode/multitone.h"
#include "device/link.h"
#include "generator/stepping.h"
#include "generator/synthesis.h"
#include "panel/numeric.h"

namespace qvx::bode {

namespace {
constexpr int kFastestRate = 1;

double pointRate(const Scope& s, int rateStep) {
  return s.RateMantissa * 2000.0 * std::pow(10.0, rateStep);
}

constexpr double kQuietestLevel = 0.5 / 2048;

double outputVolts(int code) {
  return code * 2.0 / 4095;
}

// Volts at the input socket per code away from mid-scale: the range with the probe.
double voltsPerCode(int range, int probe) {
  return (range == 1 ? 10.0 : 1.0) * (probe == 1 ? 10.0 : 1.0) / 2048;
}

// What the measurement changes of the generator, kept to be put back.
struct KeptGenerator {
  explicit KeptGenerator(const GeneratorState& g) : g(g) {}
  GeneratorState g;
  void restore(GeneratorState& into) const { into = g; }
};

// One SCOPE+GEN pass of the table as it stands, played at `rateStep`. False when it
// gave no data (STOP, the command file, or no end in time).
bool pass(Scope& s, int rateStep) {
  s.DacLastIndex = static_cast<std::int32_t>(roundHalfEven(s.GenLastIndex));
  s.RateCode = 5 - rateStep;
  s.CaptureDone = 0;
  DACADC(s);
  return s.CaptureDone == 1;
}

// The pass's samples of points first .. first + count - 1 in volts, per channel. With A
// or C on, B's readout starts at the pass's first word instead of waiting out the
// converter's delay, so its sample of point i lies that many words further on.
struct Answer {
  std::vector<double> volts[2];
};
Answer answerOf(const Scope& s, std::int32_t first, std::int32_t count, bool withB) {
  Answer a;
  const double perCode[2] = {voltsPerCode(s.RangeA, s.ProbeA), voltsPerCode(s.RangeB, s.ProbeB)};
  const std::int32_t delay = s.RateCode == kFastestRate ? 6 : 1;
  const std::int32_t offset[2] = {0, (s.ChanAOn == 1 || s.ChanCOn == 1) ? delay : 0};
  const SampleBuffer* bufs[2] = {&s.BufA, &s.BufB};
  for (int c = 0; c < (withB ? 2 : 1); ++c)
    for (std::int32_t i = 0; i < count; ++i)
      a.volts[c].push_back(((*bufs[c])[first + i + offset[c]] - s.MidLevel) * perCode[c]);
  return a;
}

std::vector<double> tableVolts(const GeneratorState& g, std::int32_t first, std::int32_t count) {
  std::vector<double> v;
  for (std::int32_t i = 0; i < count; ++i) v.push_back(outputVolts(g.GenTable[first + i]));
  return v;
}

void read(Point& p, const Answer& a, const std::vector<double>& table, double cyclesPerSample,
          const double fullScale[2], bool withB) {
  const std::complex<double> x = toneOf(table.data(), table.size(), cyclesPerSample);
  for (int c = 0; c < (withB ? 2 : 1); ++c) {
    const std::complex<double> y = toneOf(a.volts[c].data(), a.volts[c].size(), cyclesPerSample);
    p.channel[c] = readingOf(y, x);
    p.channel[c].level = std::abs(y) / fullScale[c];
    // Below half a converter step the answer is the converter's rounding, not the load's.
    p.channel[c].measured = p.channel[c].level >= kQuietestLevel;
  }
}

// A sine at each frequency: the generator's own sine, a whole number of points a cycle,
// at the fastest rate that still gives it many points a cycle (the output is a staircase
// of points, and a load that reacts within a point, such as a high-pass, answers the
// steps as well as the sine). The frequency reported is the one really played. The first
// half of the cycles lets the load settle; the rest, but for the last cycle (its final
// points are not read), is analysed.
constexpr double kMostPointsPerCycle = 16000;
constexpr std::int32_t kLongestSine = 65000;
constexpr int kFewestCycles = 4, kMostCycles = 400;

void stepped(Scope& s, const Plan& plan, Response& out, const Progress& progress,
             const double fullScale[2]) {
  const std::vector<double> freqs = stepFrequencies(plan);
  out.planned = static_cast<int>(freqs.size());
  for (double f : freqs) {
    int step = 0;
    for (int r = 4; r >= 0; --r)
      if (pointRate(s, r) / f <= kMostPointsPerCycle) {
        step = r;
        break;
      }
    const auto perCycle =
        static_cast<std::int32_t>(std::max(2.0, std::round(pointRate(s, step) / f)));
    const int cycles = std::clamp(kLongestSine / perCycle, kFewestCycles, kMostCycles);
    s.GenMode = genmode::Custom;
    s.GenStyle = genstyle::Custom;
    s.GenCustomRate = step;
    for (std::int32_t i = 0; i < cycles * perCycle; ++i)
      s.GenTable[i] = static_cast<std::int16_t>(
          styleCode(genstyle::Sine, 360.0 * (i % perCycle) / perCycle, 1, 0, s.PiConst));
    s.GenLastIndex = static_cast<float>(cycles * perCycle - 1);
    s.GenDirty = 0;
    if (!pass(s, step)) {
      out.stopped = true;
      break;
    }
    const int settle = cycles / 2, used = cycles - settle - 1;
    const std::int32_t first = settle * perCycle, count = used * perCycle;
    Point p;
    p.frequency = pointRate(s, step) / perCycle;
    read(p, answerOf(s, first, count, out.channelB), tableVolts(s, first, count), 1.0 / perCycle,
         fullScale, out.channelB);
    out.points.push_back(p);
    unwrapPhases(out);
    if (progress) progress(out);
  }
}

// One pass per rate of a multi-tone wave; each pass contributes the tones above those
// of the slower passes.
void single(Scope& s, const Plan& plan, Response& out, const Progress& progress,
            const double fullScale[2]) {
  const std::vector<TonePass> passes = planTonePasses(plan, s.RateMantissa);
  out.planned = 0;
  for (const TonePass& tp : passes) out.planned += static_cast<int>(tp.bins.size());
  for (const TonePass& tp : passes) {
    s.GenMode = genmode::Custom;
    s.GenStyle = genstyle::Custom;
    s.GenCustomRate = tp.rateStep;
    const std::vector<int> codes = multiToneTable(tp);
    std::copy(codes.begin(), codes.end(), s.GenTable.begin());
    s.GenLastIndex = static_cast<float>(codes.size() - 1);
    s.GenDirty = 0;
    if (!pass(s, tp.rateStep)) {
      out.stopped = true;
      break;
    }
    const std::int32_t first = tp.period * kSettlingPeriods, count = tp.period * kAnalysedPeriods;
    const Answer a = answerOf(s, first, count, out.channelB);
    const std::vector<double> table = tableVolts(s, first, count);
    for (int bin : tp.bins) {
      Point p;
      p.frequency = pointRate(s, tp.rateStep) * bin / tp.period;
      read(p, a, table, static_cast<double>(bin) / tp.period, fullScale, out.channelB);
      out.points.push_back(p);
    }
    unwrapPhases(out);
    if (progress) progress(out);
  }
}
}  // namespace

std::string measure(Scope& s, const Plan& plan, Response& out, const Progress& progress) {
  out = Response{};
  initport(s);
  if (s.ModelCode == 0) return "no QVX instrument answers on the port";
  if (s.GenFitted == 0) return "the instrument has no generator";
  Testpower(s);
  if (s.PowerFault >= 1) return "the QVX instrument has no power";
  s.ChannelConfig = channelConfigByte(s, s);
  SETCHAB(s);
  out.channelB = s.ChanBOn == 1 && s.ChanBFitted != 0;
  const double fullScale[2] = {voltsPerCode(s.RangeA, s.ProbeA) * 2048,
                               voltsPerCode(s.RangeB, s.ProbeB) * 2048};

  const KeptGenerator kept(s);
  // A is always measured; its readout runs only while it is on.
  const int keptChanA = s.ChanAOn;
  s.ChanAOn = 1;
  s.RunFlag = 1;
  if (plan.single)
    single(s, plan, out, progress, fullScale);
  else
    stepped(s, plan, out, progress, fullScale);
  s.RunFlag = 0;
  s.ChanAOn = keptChanA;
  kept.restore(s);
  return {};
}

}  // namespace qvx::bode
