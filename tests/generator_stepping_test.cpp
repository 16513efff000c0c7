#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>

#include "generator/generator.h"
#include "generator_rig.h"
#include "sim/signal.h"

namespace qvx {
namespace {

using testing::GeneratorRig;
using Access = RecordingPort::Access;

sim::Config wiredTo(const std::string& a, const std::string& b = "triangle:2500:3:0") {
  sim::Config c;
  c.inputs.a = sim::parseAnalog(a, "--sim-a");
  c.inputs.b = sim::parseAnalog(b, "--sim-b");
  return c;
}

// A SCOPE+GEN scope whose generator plays a sine of `freq`, ready for GO.
struct PassRig {
  explicit PassRig(const sim::Config& config, double freq) : g(config, 2) {
    s.GenMode = 0;
    s.GenStyle = 0;
    s.GenFreq = freq;
    s.GenDirty = 1;
    s.BufA.assign(65536, 1234);
    s.BufB.assign(65536, 1234);
  }
  void go() { g.p.GOBUTTON.click(); }
  // The input code a generator point gives on a DC-coupled 10 V range.
  static double expectedCode(int genCode) { return 2048 + 2048 * (genCode * 2.0 / 4095) / 10; }
  GeneratorRig g;
  Scope& s = g.s;
};

TEST(StepWaitLimits, SlowRatesWaitLongerWithTheirOwnDivisor) {
  EXPECT_EQ(stepWaitLoops(5, 7999), 344);
  EXPECT_EQ(stepWaitLoops(4, 65535), 200);
  for (int rate : {1, 2, 3}) EXPECT_EQ(stepWaitLoops(rate, 65535), 100);
}

TEST(StepPassConversation, ArmsHoldsForThePreDelayThenStarts) {
  testing::Rig rig;
  Scope& s = rig.scope;
  s.RateCode = 3;
  s.StepPreDelay = 4;
  rig.port.log.clear();
  DACADCONCE(s);
  std::vector<Access> want;
  auto writeReg = [&](int v, int r) {
    for (auto [a, b] : {std::pair{0x378, v}, {0x37A, 4}, {0x378, r}, {0x37A, 0}})
      want.push_back({true, static_cast<std::uint32_t>(a), static_cast<std::uint8_t>(b)});
  };
  auto pulse = [&](int v, int r) {
    writeReg(v, r);
    for (int c : {0, 1, 0}) want.push_back({true, 0x37A, static_cast<std::uint8_t>(c)});
  };
  pulse(0, 3);
  pulse(0, 43);
  pulse(0, 0);
  writeReg(0, 2);
  writeReg(0, 34);
  writeReg(3, 34);
  EXPECT_EQ(rig.port.log, want);
  EXPECT_EQ(rig.host.sleeps, std::vector<int>{4000});
}

TEST(StepPassEndToEnd, StraightWireCapturesTheTableItselfOnAAndB) {
  for (double freq : {1000.0, 500000.0, 50.0}) {  // rate codes 3, 1 (six-point delay), 4
    SCOPED_TRACE(freq);
    PassRig r(wiredTo("gen", "gen"), freq);
    r.s.CouplingA = r.s.CouplingB = 1;
    // With A on, B's readout starts at the pass's first word without the converter's
    // delay; B alone is checked in the next test.
    r.s.ChanBOn = 0;
    r.go();
    const Scope& s = r.s;
    ASSERT_EQ(s.CaptureDone, 1);
    const std::int32_t n = s.DacLastIndex;
    for (std::int32_t i = 0; i < n; ++i)
      ASSERT_NEAR(s.BufA[i], PassRig::expectedCode(s.GenTable[i]), 1.0) << i;
    EXPECT_EQ(s.BufA[n], 0);
    EXPECT_EQ(s.BufA[65535], 0);
    EXPECT_EQ(s.BufB[0], 1234);  // B off: untouched
    EXPECT_EQ(s.DataRateIndex, s.GenRateIndex0);
  }
}

TEST(StepPassEndToEnd, RunShowsItsStatusAndRebuildsWithTheGeneratorGroupLocked) {
  PassRig r(wiredTo("gen"), 1000);
  std::string shown;
  bool unlockedDuringRun = false;
  r.g.rig.host.onPump = [&] {
    if (r.s.RunFlag != 1) return;
    if (r.g.p.Trigwait.visible) shown = r.g.p.Trigwait.texts();
    unlockedDuringRun |= r.g.p.GENSFREQBUTTONP.enabled || r.g.p.GENMODEBUTTON.enabled;
  };
  r.go();
  EXPECT_EQ(r.s.GenDirty, 0);  // the dirty table was rebuilt before the pass
  EXPECT_EQ(shown, "Generating & Sampling|   Press [STOP] to exit");
  EXPECT_FALSE(unlockedDuringRun);
  EXPECT_TRUE(r.g.p.GENSFREQBUTTONP.enabled);  // NORMAL, after the run
  EXPECT_FALSE(r.g.p.Trigwait.visible);
}

TEST(StepPassEndToEnd, OnlyBOnReadsAndZeroesOnlyB) {
  PassRig r(wiredTo("sine", "gen"), 1000);
  Scope& s = r.s;
  s.CouplingB = 1;
  s.ChanAOn = s.ChanCOn = 0;
  r.go();
  ASSERT_EQ(s.CaptureDone, 1);
  EXPECT_EQ(s.BufA[5], 1234);
  EXPECT_EQ(s.BufA[65535], 1234);
  for (std::int32_t i = 0; i < s.DacLastIndex; ++i)
    ASSERT_NEAR(s.BufB[i], PassRig::expectedCode(s.GenTable[i]), 1.0) << i;
  EXPECT_EQ(s.BufB[s.DacLastIndex], 0);
}

// Amplitude and phase of `x` at one cycle per `period` points, over whole cycles.
std::pair<double, double> fitSine(const std::vector<double>& x, int first, int cycles, int period) {
  double a = 0, b = 0;
  const int n = cycles * period;
  for (int i = first; i < first + n; ++i) {
    const double w = 2 * std::numbers::pi * i / period;
    a += x[i] * std::sin(w);
    b += x[i] * std::cos(w);
  }
  return {2 * std::hypot(a, b) / n, std::atan2(b, a) * 180 / std::numbers::pi};
}

TEST(StepPassEndToEnd, RcLowPassAttenuatesAndDelaysByItsCutOff) {
  // 159.155 kOhm and 1 nF: a cut-off of 1 kHz.
  const std::string rc = "gen-rc:159154.94:1e-9";
  struct Case {
    double freq, gain, lagDegrees, gainTolerance, lagTolerance;
  };
  // The lag is atan(f / cut-off): 45 degrees at the cut-off, 5.7 at a tenth of it.
  for (const Case& c : {Case{1000, 1 / std::sqrt(2.0), 45, 0.02, 2}, Case{100, 1, 5.71, 0.02, 2}}) {
    SCOPED_TRACE(c.freq);
    PassRig r(wiredTo(rc), c.freq);
    Scope& s = r.s;
    s.RangeA = 0;  // 1 V range, AC: the wave about its mean fits it
    s.CouplingA = -1;
    r.go();
    ASSERT_EQ(s.CaptureDone, 1);
    ASSERT_EQ(s.DacLastIndex, 7999);  // forty cycles of 200 points
    double mean = 0;
    for (int i = 0; i <= 7999; ++i) mean += s.GenTable[i] * 2.0 / 4095;
    mean /= 8000;
    std::vector<double> in(8000), out(8000);
    for (int i = 0; i < 7999; ++i) {
      in[i] = s.GenTable[i] * 2.0 / 4095 - mean;
      out[i] = (s.BufA[i] - 2048) / 2048.0;
    }
    // Skip two cycles of settling; the capacitor's time constant is a sixth of one.
    const auto [inAmp, inPhase] = fitSine(in, 400, 36, 200);
    const auto [outAmp, outPhase] = fitSine(out, 400, 36, 200);
    EXPECT_NEAR(outAmp / inAmp, c.gain, c.gainTolerance);
    EXPECT_NEAR(inPhase - outPhase, c.lagDegrees, c.lagTolerance);
  }
}

TEST(StepPassEndToEnd, StopDuringThePreDelayOrThePassReadsNothing) {
  for (double stopAfter : {0.5, 2.5}) {  // pre-delay of 1 s, then a 4 s pass at 2 kHz
    SCOPED_TRACE(stopAfter);
    PassRig r(wiredTo("gen"), 5);
    const double start = r.g.rig.host.clock;
    r.g.rig.host.atTime(start + stopAfter, [&] { r.g.p.GOBUTTON.click(); });
    r.go();
    EXPECT_EQ(r.s.CaptureDone, 0);
    EXPECT_EQ(r.s.BufA[0], 1234);
    EXPECT_EQ(r.s.BufB[100], 1234);
    EXPECT_LT(r.g.rig.host.clock - start, stopAfter + 1.5);
    EXPECT_EQ(r.s.panel.GOBUTTON.caption, "GO");
    EXPECT_FALSE(r.s.panel.Trigwait.visible);
  }
}

TEST(StepPassEndToEnd, CommandFileEndsThePassAndTheRunWithoutReading) {
  PassRig r(wiredTo("gen"), 5);
  const double start = r.g.rig.host.clock;
  r.g.rig.host.atTime(start + 2, [] { std::ofstream("QVXcom.txt") << "\n"; });
  r.go();
  EXPECT_EQ(r.s.CaptureDone, 0);
  EXPECT_EQ(r.s.BufA[0], 1234);
  EXPECT_EQ(r.s.RunFlag, 0);
}

// A port whose status shows the end of the pass only on the n-th status read.
class LateEndPort : public PortIO {
 public:
  explicit LateEndPort(int n) : n_(n) {}
  void OutPort(std::uint32_t, std::uint8_t) override {}
  std::uint8_t InPort(std::uint32_t address) override {
    if (address != 0x379) return 0;
    return ++reads_ == n_ ? 8 : 0;
  }

 private:
  int n_, reads_ = 0;
};

TEST(StepPassWait, AnEndOnTheLastPollIsStillReadAndOnePastItIsNot) {
  for (int endOnRead : {100, 101}) {
    testing::ScriptedHost host;
    LateEndPort port(endOnRead);
    Scope s(host, port);
    s.RateCode = 3;
    s.DacLastIndex = 999;
    s.RunFlag = 1;
    s.CaptureDone = 0;
    s.BufA.assign(65536, 1234);
    DACADC(s);
    EXPECT_EQ(s.WaitLoops, 100);
    EXPECT_EQ(s.CaptureDone, endOnRead == 100 ? 1 : 0);
    EXPECT_EQ(s.BufA[0] != 1234, endOnRead == 100);
  }
}

}  // namespace
}  // namespace qvx
