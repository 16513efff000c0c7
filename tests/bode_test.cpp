#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <functional>
#include <numbers>

#include "bode/measurement.h"
#include "bode/multitone.h"
#include "sim/signal.h"
#include "started.h"

namespace qvx {
namespace {

using Complex = std::complex<double>;
constexpr double kPi = std::numbers::pi;

// The theory of each load the simulated instrument offers, as H(f).
Complex lowPass(double f, double r, double c) {
  return 1.0 / Complex(1, 2 * kPi * f * r * c);
}
Complex highPass(double f, double r, double c) {
  const Complex x(0, 2 * kPi * f * r * c);
  return x / (1.0 + x);
}
Complex rlc(double f, double r, double l, double c) {
  const double w = 2 * kPi * f;
  return 1.0 / Complex(1 - w * w * l * c, w * r * c);
}

// The program started on the simulated instrument with A and B wired to the generator
// through the given loads; the port log is dropped as it goes, a sweep being long.
struct BodeRig {
  explicit BodeRig(const std::string& a, const std::string& b = "gen") : g(config(a, b)) {
    g.rig.host.onPump = [this] { g.rig.port.log.clear(); };
  }
  static sim::Config config(const std::string& a, const std::string& b) {
    sim::Config c;
    c.inputs.a = sim::parseAnalog(a, "--sim-a");
    c.inputs.b = sim::parseAnalog(b, "--sim-b");
    return c;
  }
  bode::Response run(const std::string& plan) {
    bode::Response r;
    EXPECT_EQ(bode::measure(g.s, bode::parsePlan(plan), r), "");
    return r;
  }
  testing::Started g;
};

// Every point of `channel` whose answer reaches `level` of full scale against the theory;
// returns how many were held to it.
int expectTheory(const bode::Response& r, int channel, const std::function<Complex(double)>& h,
                 double dbTolerance, double degTolerance, double level = 0.01) {
  int held = 0;
  for (const bode::Point& p : r.points) {
    const bode::Reading& m = p.channel[channel];
    if (!m.measured || m.level < level) continue;
    const Complex want = h(p.frequency);
    const double wantDb = 20 * std::log10(std::abs(want));
    double wantDeg = std::arg(want) * 180 / kPi;
    wantDeg += 360 * std::round((m.phaseDeg - wantDeg) / 360);  // same turn as the reading
    EXPECT_NEAR(m.gainDb, wantDb, dbTolerance) << p.frequency << " Hz, channel " << channel;
    EXPECT_NEAR(m.phaseDeg, wantDeg, degTolerance) << p.frequency << " Hz, channel " << channel;
    ++held;
  }
  return held;
}

TEST(BodeStepped, RcLowPassMatchesItsTheoryAndReadsTheCornerWhileBOnAWireReadsNothing) {
  BodeRig rig("gen-rc:1600:1e-7");
  const bode::Response r = rig.run("20:200000:10");
  ASSERT_EQ(r.points.size(), 41u);
  EXPECT_FALSE(r.stopped);
  EXPECT_TRUE(r.channelB);
  EXPECT_NEAR(r.points.front().frequency, 20, 0.05);
  EXPECT_NEAR(r.points.back().frequency, 200000, 1);
  const double fc = 1 / (2 * kPi * 1600 * 1e-7);
  const int held = expectTheory(
      r, 0, [&](double f) { return lowPass(f, 1600, 1e-7); }, 0.2, 2);
  EXPECT_EQ(held, 27);  // up to 8 kHz the answer is above 1 % of the 10 V range
  // B sees the output straight: 0 dB and 0 degrees at every frequency, fastest rate too.
  EXPECT_EQ(expectTheory(
                r, 1, [](double) { return Complex(1); }, 0.1, 1, 0),
            41);
  const bode::Crossing corner = bode::minus3dB(r, 0);
  ASSERT_TRUE(corner.found);
  EXPECT_NEAR(corner.frequency / fc, 1, 0.02);
  EXPECT_NEAR(corner.phaseDeg, -45, 3);
  EXPECT_FALSE(bode::minus3dB(r, 1).found);
}

TEST(BodeStepped, HighPassAndRlcMatchTheirTheory) {
  BodeRig rig("gen-hp:1000:1e-7", "gen-rlc:100:10e-3:1e-6");  // 1592 Hz; 1592 Hz, Q 1
  const bode::Response r = rig.run("50:50000:5");
  ASSERT_EQ(r.points.size(), 16u);
  EXPECT_GE(expectTheory(
                r, 0, [](double f) { return highPass(f, 1000, 1e-7); }, 0.2, 2),
            13);
  EXPECT_GE(expectTheory(
                r, 1, [](double f) { return rlc(f, 100, 10e-3, 1e-6); }, 0.2, 2),
            11);
  // The RLC's phase runs on towards -180 without a jump.
  EXPECT_LT(r.points.back().channel[1].phaseDeg, -150);
  const bode::Crossing hp = bode::minus3dB(r, 0);
  ASSERT_TRUE(hp.found);
  EXPECT_NEAR(hp.frequency / (1 / (2 * kPi * 1e-4)), 1, 0.05);
  EXPECT_NEAR(hp.phaseDeg, 45, 4);
}

// The stepped sweep plays the generator's own sine with a whole number of points a cycle:
// the frequency reported is the one really played, and the settings are given back.
TEST(BodeStepped, ReportsThePlayedFrequencyAndGivesTheGeneratorBack) {
  BodeRig rig("gen");
  Scope& s = rig.g.s;
  s.GenFreq = 777;
  s.GenMode = 1;
  s.GenStyle = 2;
  s.GenTable[5] = 1234;
  const bode::Response r = rig.run("13:13.5:1");
  ASSERT_EQ(r.points.size(), 1u);
  // 13 Hz at 200 kS/s: 15384.6 points a cycle, played with 15385 at 200000 / 15385 Hz.
  EXPECT_DOUBLE_EQ(r.points[0].frequency, 200000.0 / 15385);
  EXPECT_NEAR(r.points[0].channel[0].gainDb, 0, 0.1);
  EXPECT_EQ(s.GenFreq, 777);
  EXPECT_EQ(s.GenMode, 1);
  EXPECT_EQ(s.GenStyle, 2);
  EXPECT_EQ(s.GenTable[5], 1234);
  EXPECT_EQ(s.RunFlag, 0);
}

TEST(BodeStepped, StopEndsTheSweepAtOnceAndKeepsWhatWasMeasured) {
  BodeRig rig("gen-rc:1600:1e-7");
  // Each point holds the output for a second first: STOP lands in the fourth pass.
  rig.g.rig.host.atTime(rig.g.rig.host.clock + 3.5, [&] { rig.g.s.RunFlag = 0; });
  const double started = rig.g.rig.host.clock;
  const bode::Response r = rig.run("1000:100000:10");
  EXPECT_TRUE(r.stopped);
  EXPECT_EQ(r.planned, 21);
  ASSERT_EQ(r.points.size(), 3u);
  EXPECT_LT(rig.g.rig.host.clock - started, 4.5);
  EXPECT_EQ(expectTheory(
                r, 0, [](double f) { return lowPass(f, 1600, 1e-7); }, 0.2, 2),
            3);
}

TEST(BodeSingle, OnePassOfManyTonesMatchesTheTheoryOverItsBand) {
  BodeRig rig("gen-rc:1600:1e-7", "gen");
  const bode::Response r = rig.run("20:200000:10:single");
  ASSERT_GE(r.points.size(), 200u);  // two passes, more than 100 points each
  EXPECT_GE(r.points.front().frequency, 20);
  EXPECT_LE(r.points.back().frequency, 200000);
  for (std::size_t i = 1; i < r.points.size(); ++i)
    ASSERT_GT(r.points[i].frequency, r.points[i - 1].frequency);
  // Measured from 24 Hz to where the answer sinks below half a converter step, some 25 kHz.
  EXPECT_GE(expectTheory(
                r, 0, [](double f) { return lowPass(f, 1600, 1e-7); }, 0.5, 5, 0),
            120);
  EXPECT_EQ(expectTheory(
                r, 1, [](double) { return Complex(1); }, 0.1, 1, 0),
            static_cast<int>(r.points.size()));
  const bode::Crossing corner = bode::minus3dB(r, 0);
  ASSERT_TRUE(corner.found);
  EXPECT_NEAR(corner.frequency / (1 / (2 * kPi * 1.6e-4)), 1, 0.02);
}

TEST(BodeSingle, HighPassAndRlcMatchTheirTheoryInOnePass) {
  BodeRig rig("gen-hp:1000:1e-7", "gen-rlc:100:10e-3:1e-6");
  const bode::Response r = rig.run("50:50000:10:single");
  EXPECT_GE(expectTheory(
                r, 0, [](double f) { return highPass(f, 1000, 1e-7); }, 0.5, 5, 0),
            150);
  EXPECT_GE(expectTheory(
                r, 1, [](double f) { return rlc(f, 100, 10e-3, 1e-6); }, 0.5, 5, 0),
            120);
}

TEST(BodePlan, ParsesTheFieldsAndNamesTheOneThatIsWrong) {
  const bode::Plan p = bode::parsePlan("20:200000:10");
  EXPECT_EQ(p.start, 20);
  EXPECT_EQ(p.stop, 200000);
  EXPECT_EQ(p.perDecade, 10);
  EXPECT_FALSE(p.single);
  EXPECT_TRUE(bode::parsePlan("5:500000:1:single").single);
  for (auto [text, field] : {std::pair{"x:1000:10", "START"},
                             {"4:1000:10", "START"},
                             {"100:600000:10", "STOP"},
                             {"100:50:10", "STOP"},
                             {"100:1000:0", "POINTS_PER_DECADE"},
                             {"100:1000:2.5", "POINTS_PER_DECADE"},
                             {"100:1000:101", "POINTS_PER_DECADE"},
                             {"100:1000:10:once", "fourth"},
                             {"100:1000", "START:STOP"},
                             {"100:1000:10:single:x", "START:STOP"}}) {
    SCOPED_TRACE(text);
    try {
      bode::parsePlan(text);
      ADD_FAILURE() << "accepted";
    } catch (const std::invalid_argument& e) {
      EXPECT_NE(std::string(e.what()).find(field), std::string::npos) << e.what();
    }
  }
  // Log spaced, both ends included when the steps land on them.
  const std::vector<double> f = bode::stepFrequencies(bode::parsePlan("10:1000:2"));
  ASSERT_EQ(f.size(), 5u);
  EXPECT_NEAR(f[1], 31.6228, 1e-4);
  EXPECT_NEAR(f[4], 1000, 1e-9);
  EXPECT_EQ(bode::stepFrequencies(bode::parsePlan("10:900:1")).size(), 2u);
}

TEST(BodeResponse, CrossingCsvAndUnwrapping) {
  bode::Response r;
  r.channelB = true;
  auto point = [](double f, double db, double deg) {
    bode::Point p;
    p.frequency = f;
    p.channel[0] = {true, db, deg, 0.5};
    return p;
  };
  r.points = {point(100, -1, -170), point(1000, -2, 175), point(10000, -5, 160)};
  bode::unwrapPhases(r);
  EXPECT_DOUBLE_EQ(r.points[1].channel[0].phaseDeg, -185);
  EXPECT_DOUBLE_EQ(r.points[2].channel[0].phaseDeg, -200);
  // -3.0103 dB lies 1.0103 / 3 of the way from 1 kHz to 10 kHz in log frequency.
  const bode::Crossing c = bode::minus3dB(r, 0);
  ASSERT_TRUE(c.found);
  EXPECT_NEAR(c.frequency, std::pow(10.0, 3 + 1.0103 / 3), 0.5);
  EXPECT_NEAR(c.phaseDeg, -185 - 15 * 1.0103 / 3, 0.01);
  EXPECT_EQ(bode::csvText(r),
            "frequency Hz,A gain dB,A phase deg,B gain dB,B phase deg\r\n"
            "100.000,-1.000,-170.00,,\r\n"
            "1000.000,-2.000,-185.00,,\r\n"
            "10000.000,-5.000,-200.00,,\r\n");
  // A tone read over whole cycles: amplitude and phase of 0.7 cos(w i + 0.3).
  std::vector<double> x(1000);
  for (std::size_t i = 0; i < x.size(); ++i)
    x[i] = 0.2 + 0.7 * std::cos(2 * kPi * 7 * i / 1000.0 + 0.3);
  const Complex t = bode::toneOf(x.data(), x.size(), 7 / 1000.0);
  EXPECT_NEAR(std::abs(t), 0.7, 1e-9);
  EXPECT_NEAR(std::arg(t), 0.3, 1e-9);
}

TEST(BodeSingle, TonePassesCoverThePlanAndTheTableUsesTheWholeRange) {
  const std::vector<bode::TonePass> passes =
      bode::planTonePasses(bode::parsePlan("20:200000:10:single"), 1.0f);
  ASSERT_EQ(passes.size(), 2u);
  EXPECT_EQ(passes[0].rateStep, 2);  // 200 kS/s: 12.2 Hz bins
  EXPECT_EQ(passes[1].rateStep, 4);  // 20 MS/s: 1221 Hz bins
  EXPECT_EQ(passes[0].bins.front(), 2);
  EXPECT_LE(passes[0].bins.back(), bode::kTonePeriod / bode::kTonePointsPerCycle);
  EXPECT_GE(passes[0].bins.back(), bode::kTonePeriod / bode::kTonePointsPerCycle - 5);
  EXPECT_GT(passes[1].bins.front() * 1220.7, passes[0].bins.back() * 12.207);
  EXPECT_LE(passes[1].bins.back() * 20e6 / bode::kTonePeriod, 200000);
  const std::vector<int> codes = bode::multiToneTable(passes[0]);
  ASSERT_EQ(codes.size(), 3u * bode::kTonePeriod + bode::kTailPoints);
  const auto [low, high] = std::minmax_element(codes.begin(), codes.end());
  EXPECT_TRUE(*low <= 1 || *high >= 4094) << *low << ".." << *high;
  EXPECT_GE(*low, 0);
  EXPECT_LE(*high, 4095);
  EXPECT_EQ(codes[100], codes[100 + bode::kTonePeriod]);
}

}  // namespace
}  // namespace qvx
