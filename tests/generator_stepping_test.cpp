#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>

#include "conversation_text.h"
#include "expected_conversation.h"
#include "generator/generator.h"
#include "generator_rig.h"
#include "sim/signal.h"

namespace qvx {
namespace {

sim::Config wiredTo(const std::string& a, const std::string& b = "triangle:2500:3:0") {
  sim::Config c;
  c.inputs.a = sim::parseAnalog(a, "--sim-a");
  c.inputs.b = sim::parseAnalog(b, "--sim-b");
  return c;
}

// A SCOPE+GEN scope whose generator plays a sine of `freq`, ready for GO; the buffers
// hold 1234 so that untouched samples show.
struct PassRig {
  explicit PassRig(const sim::Config& config, double freq) : g(config, 2) {
    s.GenMode = s.GenStyle = 0;
    s.GenFreq = freq;
    s.GenDirty = 1;
    s.BufA.assign(65536, 1234);
    s.BufB.assign(65536, 1234);
  }
  void go() { g.p.GOBUTTON.click(); }
  // Every sample up to DacLastIndex within one code of its generator point on a DC-coupled
  // 10 V range, then zero from DacLastIndex on.
  void expectTableIn(const SampleBuffer& buf) const {
    for (std::int32_t i = 0; i < s.DacLastIndex; ++i)
      ASSERT_NEAR(buf[i], 2048 + 2048 * (s.GenTable[i] * 2.0 / 4095) / 10, 1.0) << i;
    EXPECT_EQ(buf[s.DacLastIndex], 0);
    EXPECT_EQ(buf[65535], 0);
  }
  testing::GeneratorRig g;
  Scope& s = g.s;
};

TEST(StepPassConversation, ArmsHoldsForThePreDelayThenStarts) {
  testing::Rig rig;
  rig.scope.RateCode = 3;
  rig.scope.StepPreDelay = 4;
  rig.port.log.clear();
  DACADCONCE(rig.scope);
  testing::Conversation c;
  for (int r : {3, 43, 0}) c.writeRegPulse(0, r);
  c.writeReg(0, 2);
  c.writeReg(0, 34);
  c.writeReg(3, 34);
  EXPECT_EQ(rig.port.log, c.log);
  EXPECT_EQ(rig.host.sleeps, std::vector<int>{4000});
}

// A straight wire captures the table itself at rate codes 3, 1 (six-point delay) and 4 on A
// with B and D off; then on B alone, which waits out the converter's delay itself (with A on, B's
// readout starts at the pass's first word).
TEST(StepPassEndToEnd, StraightWireCapturesTheTableWithTheStatusShownAndTheGeneratorLocked) {
  for (auto [freq, onlyB] :
       {std::pair{1000.0, false}, {500000.0, false}, {50.0, false}, {1000.0, true}}) {
    SCOPED_TRACE(::testing::Message() << freq << (onlyB ? " on B" : " on A"));
    PassRig r(wiredTo(onlyB ? "sine" : "gen", "gen"), freq);
    const Panel& p = r.g.p;
    r.s.CouplingA = r.s.CouplingB = 1;
    if (onlyB)
      r.s.ChanAOn = r.s.ChanCOn = 0;
    else
      r.s.ChanBOn = r.s.ChanDOn = 0;
    std::string shown;
    bool unlockedDuringRun = false;
    r.g.rig.host.onPump = [&] {
      if (r.s.RunFlag != 1) return;
      if (p.Trigwait.visible) shown = p.Trigwait.texts();
      unlockedDuringRun |= p.GENSFREQBUTTONP.enabled || p.GENMODEBUTTON.enabled;
    };
    r.go();
    ASSERT_EQ(r.s.CaptureDone, 1);
    EXPECT_EQ(r.s.GenDirty, 0);  // the dirty table was rebuilt before the pass
    EXPECT_EQ(r.s.DataRateIndex, r.s.GenRateIndex0);
    r.expectTableIn(onlyB ? r.s.BufB : r.s.BufA);
    const SampleBuffer& off = onlyB ? r.s.BufA : r.s.BufB;
    EXPECT_EQ(std::tuple(off[5], off[65535]), std::tuple(1234, 1234));
    EXPECT_EQ(shown, "Generating & Sampling|   Press [STOP] to exit");
    EXPECT_FALSE(unlockedDuringRun);
    EXPECT_TRUE(p.GENSFREQBUTTONP.enabled);  // NORMAL, after the run
    EXPECT_FALSE(p.Trigwait.visible);
  }
}

// Amplitude and phase (degrees) of sample(i) at one cycle per 200 points, over 36 cycles
// after two of settling (the capacitor's time constant is a sixth of one).
template <typename Sample>
std::pair<double, double> fitSine(Sample sample) {
  double a = 0, b = 0;
  for (int i = 400; i < 400 + 36 * 200; ++i) {
    a += sample(i) * std::sin(2 * std::numbers::pi * i / 200);
    b += sample(i) * std::cos(2 * std::numbers::pi * i / 200);
  }
  return {2 * std::hypot(a, b) / (36 * 200), std::atan2(b, a) * 180 / std::numbers::pi};
}

TEST(StepPassEndToEnd, RcLowPassAttenuatesAndDelaysByItsCutOff) {
  // 159.155 kOhm and 1 nF: a cut-off of 1 kHz. The lag is atan(f / cut-off).
  for (auto [freq, gain, lag] :
       {std::tuple{1000.0, 1 / std::sqrt(2.0), 45.0}, {100.0, 1.0, 5.71}}) {
    SCOPED_TRACE(freq);
    PassRig r(wiredTo("gen-rc:159154.94:1e-9"), freq);
    r.s.RangeA = 0;  // 1 V range, AC: the wave about its mean fits it
    r.s.CouplingA = -1;
    r.go();
    ASSERT_EQ(r.s.CaptureDone, 1);
    ASSERT_EQ(r.s.DacLastIndex, 7999);  // forty cycles of 200 points
    // A constant offset has no part in the fit.
    const auto [inAmp, inPhase] = fitSine([&](int i) { return r.s.GenTable[i] * 2.0 / 4095; });
    const auto [outAmp, outPhase] = fitSine([&](int i) { return (r.s.BufA[i] - 2048) / 2048.0; });
    EXPECT_NEAR(outAmp / inAmp, gain, 0.02);
    EXPECT_NEAR(inPhase - outPhase, lag, 2);
  }
}

TEST(StepPassEndToEnd, StopOrACommandFileDuringThePreDelayOrThePassReadsNothing) {
  // Pre-delay of 1 s, then a 4 s pass at 2 kHz.
  for (auto [after, byFile] : {std::pair{0.5, false}, {2.5, false}, {2.0, true}}) {
    SCOPED_TRACE(::testing::Message() << after << (byFile ? " command file" : " STOP"));
    PassRig r(wiredTo("gen"), 5);
    const double start = r.g.rig.host.clock;
    r.g.rig.host.atTime(start + after, [&, byFile = byFile] {
      if (byFile)
        std::ofstream("QVXcom.txt") << "\n";
      else
        r.g.p.GOBUTTON.click();
    });
    r.go();
    EXPECT_EQ(std::tuple(r.s.CaptureDone, r.s.RunFlag, r.s.BufA[0], r.s.BufB[100]),
              std::tuple(0, 0, 1234, 1234));
    EXPECT_LT(r.g.rig.host.clock - start, after + 1.5);
    EXPECT_EQ(r.s.panel.GOBUTTON.caption, "GO");
    EXPECT_FALSE(r.s.panel.Trigwait.visible);
    // The conversation ends by stopping the pass with the output held at the table's first
    // point, and the simulated generator stays at that point's voltage from then on.
    testing::Conversation stopped;
    stopped.writeReg(0, 34);
    const auto& log = r.g.rig.port.log;
    ASSERT_GE(log.size(), stopped.log.size());
    EXPECT_EQ(testing::conversationText(std::vector(log.end() - stopped.log.size(), log.end())),
              testing::conversationText(stopped.log));
    const sim::GeneratorUnit& gen = r.g.rig.instrument.generator();
    const double first = r.s.GenTable[0] * 2.0 / 4095;
    EXPECT_FALSE(gen.playsContinuously());
    for (double later : {0.001, 0.1, 3.0, 60.0})
      EXPECT_DOUBLE_EQ(gen.outputVolts(sim::toTicks(r.g.rig.host.clock + later)), first) << later;
  }
}

// A port whose status shows the end of the pass only on the n-th status read.
struct LateEndPort : PortIO {
  int n, reads = 0;
  void OutPort(std::uint32_t, std::uint8_t) override {}
  std::uint8_t InPort(std::uint32_t address) override {
    return address == 0x379 && ++reads == n ? 8 : 0;
  }
};

// Slow rates wait longer, with the divisor 65578; an end seen on the last poll is still
// read, one poll later it is not.
TEST(StepPassWait, EachRateWaitsItsLimitOfPollsAndNoMore) {
  for (auto [rate, last, limit] :
       {std::tuple{5, 7999, 344}, {4, 65535, 200}, {3, 65535, 100}, {1, 65535, 100}}) {
    for (int endOnRead : {limit, limit + 1}) {
      SCOPED_TRACE(::testing::Message() << "rate " << rate << ", end on poll " << endOnRead);
      testing::ScriptedHost host;
      LateEndPort port;
      port.n = endOnRead;
      Scope s(host, port);
      s.RateCode = rate;
      s.DacLastIndex = last;
      s.RunFlag = 1;
      s.CaptureDone = 0;
      DACADC(s);
      EXPECT_EQ(s.WaitLoops, limit);
      EXPECT_EQ(s.CaptureDone, endOnRead == limit);
    }
  }
}

}  // namespace
}  // namespace qvx
