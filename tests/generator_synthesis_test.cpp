#include <gtest/gtest.h>

#include <algorithm>

#include "generator/generator.h"
#include "generator_rig.h"

namespace qvx {
namespace {

struct Synthesis : ::testing::Test {
  testing::GeneratorRig g{{}, 1};  // GENERATOR mode
  Scope& s = g.s;

  void build(int mode, int style, double freq = 50000) {
    s.GenMode = mode;
    s.GenStyle = style;
    s.GenFreq = freq;
    GENUPDATEBUTTON_Click(s);
  }
  int points() const { return static_cast<int>(s.GenLastIndex) + 1; }
};

TEST_F(Synthesis, WorkedExamplesGiveTheirStepPointsCyclesAndFittedFrequency) {
  struct Case {
    double freq, mantissa, step, pointsPerCycle, cycles, fitted;
  };
  // 19999 Hz cannot be made of whole points at 2 MS/s: 100 points give 20000 Hz, and the
  // second pass, now at the top step, keeps it. 20 Hz at the faster model is the largest table.
  for (const Case& c : {Case{50000, 1, 4, 400, 20, 50000}, Case{5, 1, 0, 400, 20, 5},
                        Case{10, 1, 0, 200, 40, 10}, Case{500000, 1, 4, 40, 40, 500000},
                        Case{1000, 1, 2, 200, 40, 1000}, Case{20, 1, 1, 1000, 20, 20},
                        Case{19999, 1, 4, 1000, 20, 20000}, Case{20, 1.5, 1, 1500, 20, 20}}) {
    SCOPED_TRACE(::testing::Message() << c.freq << " at " << c.mantissa);
    const FrequencyFit fit = fitFrequency(c.freq, 4, c.mantissa);
    EXPECT_EQ(fit.rateStep, c.step);
    EXPECT_DOUBLE_EQ(fit.pointsPerCycle, c.pointsPerCycle);
    EXPECT_EQ(fit.cycles, c.cycles);
    EXPECT_EQ(fit.frequency, c.fitted);
    s.RateMantissa = c.mantissa;
    build(0, genstyle::Sine, c.freq);
    EXPECT_EQ(points(), c.cycles * c.pointsPerCycle);
    EXPECT_EQ(s.GenFreq, c.fitted);
    EXPECT_EQ(s.GenRateIndex0, c.step);
  }
}

// Codes at chosen indices of the 50 kHz table: 20 cycles of 400 points, then the
// terminating code up to the end of the memory.
TEST_F(Synthesis, EveryStyleFollowsItsShapeAndEndsOnItsRestingCode) {
  struct Case {
    int style, amp, duty;
    std::vector<int> indexThenCode;
  };
  using namespace genstyle;
  for (const Case& c : {
           // 90 and 270 degrees; 2048 - 2047 at the trough; the second cycle starts over.
           Case{Sine, 1, 50, {0, 2048, 100, 4095, 300, 1, 400, 2048, 8000, 2048, 65535, 2048}},
           // The eight-digit pi keeps sin(90) a hair below 1: 4094.99.. / 2 goes down to 2047;
           // the tail is 2048 / A.
           Case{Sine, 2, 50, {0, 1024, 100, 2047, 65535, 1024}},
           // Low for its space, then high, in the first and the last cycle; zero after the wave.
           Case{Square, 2, 50, {0,    0, 199,  0,    200,  2048, 399,  2048, 7600,  0,
                                7799, 0, 7800, 2048, 7999, 2048, 8000, 0,    65535, 0}},
           Case{Square, 1, 20, {319, 0, 320, 4095}},  // high for the last fifth
           // (0 + 90) x 4095 / 180 = 2047.5; peak at 90, trough at 270 degrees.
           Case{Triangle, 1, 50, {0, 2048, 100, 4095, 300, 0, 8000, 2048, 8001, 0}},
           Case{Ramp, 1, 50, {0, 0, 100, 1024, 399, 4085, 8000, 0}},  // 90 x 4095 / 360
       }) {
    s.GenAmpIndex = c.amp;
    s.GenDuty = c.duty;
    build(0, c.style);
    ASSERT_EQ(points(), 8000);
    for (std::size_t i = 0; i < c.indexThenCode.size(); i += 2)
      EXPECT_EQ(s.GenTable[c.indexThenCode[i]], c.indexThenCode[i + 1])
          << "style " << c.style << "/" << c.amp << " at " << c.indexThenCode[i];
  }
}

// The sweep takes its rate from the start step and falls back from X20 for a 200-point
// start, even before the panel showed either.
TEST_F(Synthesis, SweepCyclesShortenFromTheStartLengthToTheEndLength) {
  struct Case {
    int start, ratio, cycles, first, last;
  };
  // Start steps 4 (400-point start) and 5 (200-point start).
  for (const Case& c :
       {Case{4, 0, 104, 398, 200}, Case{4, 1, 153, 396, 80}, Case{4, 2, 182, 396, 40},
        Case{4, 3, 202, 396, 20}, Case{5, 0, 100, 199, 100}, Case{5, 1, 160, 199, 40},
        Case{5, 3, 180, 199, 20}}) {
    SCOPED_TRACE(::testing::Message() << c.start << "/" << c.ratio);
    s.GenSweepStart = c.start;
    s.GenSweepRatio = c.ratio;
    s.GenSweepShort = s.GenRateIndex1 = 0;
    build(1, genstyle::Ramp);
    EXPECT_EQ(s.GenRateIndex1, 2);  // both starts play at 200 kHz
    EXPECT_EQ(s.GenSweepShort, c.start == 5);
    EXPECT_EQ(s.GenSweepRatio, std::min(c.ratio, c.start == 5 ? 2 : 3));
    // A ramp cycle starts at 0 and climbs; the next 0 begins the next cycle.
    std::vector<int> lengths;
    for (int i = 1, start = 0; i <= points(); ++i)
      if (i == points() || s.GenTable[i] == 0) {
        lengths.push_back(i - start);
        start = i;
      }
    ASSERT_EQ(static_cast<int>(lengths.size()), c.cycles);
    EXPECT_EQ(lengths.front(), c.first);
    EXPECT_LE(lengths.back(), c.last);
    EXPECT_TRUE(std::is_sorted(lengths.rbegin(), lengths.rend()));
  }
}

TEST_F(Synthesis, SweepSquareIgnoresTheDutyAndSineAndTriangleCyclesAreNotSeparatedByMidLevel) {
  s.GenSweepStart = 4;
  s.GenSweepRatio = 0;
  s.GenDuty = 10;
  build(1, genstyle::Square);  // first cycle of 398 points: high from 180 degrees
  EXPECT_EQ((std::vector<int>{s.GenTable[197], s.GenTable[201], s.GenTable[397], s.GenTable[398]}),
            (std::vector<int>{0, 4095, 4095, 0}));
  for (int style : {genstyle::Triangle, genstyle::Sine}) {
    build(1, style);
    EXPECT_EQ(s.GenTable[398], 2048);  // the second cycle starts at mid-level itself
    EXPECT_NE(s.GenTable[397], 2048);
    EXPECT_EQ(s.GenTable[points()], 2048);
  }
}

TEST_F(Synthesis, CropsKeepAtLeastTenPointsAroundTheCursor) {
  struct Case {
    bool left;
    int viewFirst, cursor, last, first;
  };
  // The cursor counts from the window's first sample; past the end it crops nothing away
  // and never lengthens the wave.
  for (const Case& c : {Case{false, 0, 3, 9, 0}, Case{true, 0, 95, 9, 90},
                        Case{true, 40, 2, 57, 42}, Case{false, 0, 500, 99, 0}}) {
    SCOPED_TRACE(::testing::Message() << (c.left ? "left of " : "right of ") << c.cursor);
    s.GenLastIndex = 99;
    for (int i = 0; i < 100; ++i) s.GenTable[i] = s.CustomView[i] = static_cast<std::int16_t>(i);
    s.ViewFirst = c.viewFirst;
    s.CursorX = c.cursor;
    c.left ? CropCustomLeft(s, s, s) : CropCustomRight(s, s, s);
    EXPECT_EQ(s.GenLastIndex, c.last);
    EXPECT_EQ(s.GenTable[0], c.first);
    EXPECT_EQ(s.CustomView[0], c.first);
    EXPECT_EQ(s.CustomView[c.last], c.first + c.last);
  }
}

}  // namespace
}  // namespace qvx
