#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "generator/generator.h"
#include "generator_rig.h"

namespace qvx {
namespace {

using testing::GeneratorRig;

struct Synthesis : ::testing::Test {
  GeneratorRig g{{}, 1};  // GENERATOR mode
  Scope& s = g.s;

  void build(int mode, int style, double freq = 50000) {
    s.GenMode = mode;
    s.GenStyle = style;
    s.GenFreq = freq;
    GENUPDATEBUTTON_Click(s);
  }
  std::int32_t points() const { return static_cast<std::int32_t>(s.GenLastIndex) + 1; }
};

TEST(FrequencyFit, WorkedExamplesGiveTheirStepPointsAndCycles) {
  struct Case {
    double freq;
    int step;
    double points;
    int cycles;
  };
  for (const Case& c :
       {Case{50000, 4, 400, 20}, Case{5, 0, 400, 20}, Case{10, 0, 200, 40}, Case{500000, 4, 40, 40},
        Case{1000, 2, 200, 40}, Case{20, 1, 1000, 20}, Case{19999, 4, 1000, 20}}) {
    SCOPED_TRACE(c.freq);
    const FrequencyFit fit = fitFrequency(c.freq, 4, 1.0f);
    EXPECT_EQ(fit.rateStep, c.step);
    EXPECT_DOUBLE_EQ(fit.pointsPerCycle, c.points);
    EXPECT_EQ(fit.cycles, c.cycles);
  }
  // 19999 Hz cannot be made of whole points at 2 MS/s: 100 points give 20000 Hz, and the
  // second pass, now at the top step, keeps it.
  EXPECT_EQ(fitFrequency(19999, 4, 1.0f).frequency, 20000);
}

TEST(FrequencyFit, EveryOfferedFrequencySettlesOnWholePointsPerCycle) {
  for (float mantissa : {1.0f, 1.5f}) {
    for (double f = 5; f <= 500000; f += f < 1000 ? 1 : f < 100000 ? 97 : 2503) {
      const FrequencyFit fit = fitFrequency(f, 4, mantissa);
      const double rate = mantissa * 2000.0 * std::pow(10.0, fit.rateStep);
      const double whole = std::floor(0.6 + fit.pointsPerCycle * 359.9 / 360);
      ASSERT_EQ(fit.frequency, std::floor(0.5 + rate / whole)) << f << " at " << mantissa;
      ASSERT_LE(fit.cycles * fit.pointsPerCycle, 30000.5) << f;
    }
  }
}

TEST_F(Synthesis, FiftyKilohertzSineIsTwentyCyclesOfFourHundredPointsThenMidLevel) {
  build(0, genstyle::Sine, 50000);
  EXPECT_EQ(points(), 8000);
  EXPECT_EQ(s.GenFreq, 50000);
  EXPECT_EQ(s.GenRateIndex0, 4);
  EXPECT_EQ(s.GenTable[0], 2048);
  EXPECT_EQ(s.GenTable[100], 4095);  // 90 degrees
  EXPECT_EQ(s.GenTable[300], 1);     // 270 degrees: 2048 - 2047
  EXPECT_EQ(s.GenTable[400], 2048);  // the second cycle starts over
  EXPECT_EQ(s.GenTable[7999], s.GenTable[399]);
  EXPECT_TRUE(
      std::all_of(s.GenTable.begin() + 8000, s.GenTable.end(), [](int c) { return c == 2048; }));
  EXPECT_EQ(s.GenDirty, 0);
  EXPECT_EQ(s.panel.GENUPDATEBACK.backColour, RGB(0x80, 0xFF, 0x80));
}

TEST_F(Synthesis, HalfAmplitudeHalvesTheCodesAndTheSineTail) {
  s.GenAmpIndex = 2;
  build(0, genstyle::Sine, 50000);
  EXPECT_EQ(s.GenTable[0], 1024);
  // The eight-digit pi keeps sin(90) a hair below 1: (4094.99.. ) / 2 goes down to 2047.
  EXPECT_EQ(s.GenTable[100], 2047);
  EXPECT_EQ(s.GenTable[65535], 1024);
}

TEST_F(Synthesis, SquareIsLowForItsSpaceThenHighWithAZeroAfterTheWave) {
  s.GenAmpIndex = 2;
  build(0, genstyle::Square, 50000);
  EXPECT_EQ(points(), 8000);
  for (int cycle : {0, 19}) {
    const int at = cycle * 400;
    EXPECT_EQ(s.GenTable[at], 0);
    EXPECT_EQ(s.GenTable[at + 199], 0);
    EXPECT_EQ(s.GenTable[at + 200], 2048);
    EXPECT_EQ(s.GenTable[at + 399], 2048);
  }
  EXPECT_EQ(s.GenTable[8000], 0);
  EXPECT_EQ(s.GenTable[65535], 0);

  s.GenDuty = 20;  // high for the last fifth of each cycle
  s.GenAmpIndex = 1;
  build(0, genstyle::Square, 50000);
  EXPECT_EQ(s.GenTable[319], 0);
  EXPECT_EQ(s.GenTable[320], 4095);
}

TEST_F(Synthesis, TriangleAndRampFollowTheirShapesAndEndOnTheirRestingCode) {
  build(0, genstyle::Triangle, 50000);
  EXPECT_EQ(s.GenTable[0], 2048);    // (0 + 90) x 4095 / 180 = 2047.5
  EXPECT_EQ(s.GenTable[100], 4095);  // peak at 90 degrees
  EXPECT_EQ(s.GenTable[300], 0);     // trough at 270 degrees
  EXPECT_EQ(s.GenTable[8000], 2048);
  EXPECT_EQ(s.GenTable[8001], 0);

  build(0, genstyle::Ramp, 50000);
  EXPECT_EQ(s.GenTable[0], 0);
  EXPECT_EQ(s.GenTable[100], 1024);  // 90 x 4095 / 360 = 1023.75
  EXPECT_EQ(s.GenTable[399], 4085);
  EXPECT_EQ(s.GenTable[8000], 0);
}

TEST_F(Synthesis, LowestAndHighestFrequenciesFitTheirTables) {
  build(0, genstyle::Sine, 5);
  EXPECT_EQ(points(), 8000);
  EXPECT_EQ(s.GenRateIndex0, 0);
  build(0, genstyle::Sine, 10);
  EXPECT_EQ(points(), 8000);
  build(0, genstyle::Sine, 500000);
  EXPECT_EQ(points(), 1600);
  build(0, genstyle::Sine, 19999);
  EXPECT_EQ(s.GenFreq, 20000);
  EXPECT_EQ(s.GenRateIndex0, 4);
  EXPECT_EQ(points(), 20000);
}

TEST_F(Synthesis, LargestNormalTablesStayWithinTheMemoryAtTheFasterModel) {
  s.RateMantissa = 1.5f;
  build(0, genstyle::Sine, 20);
  EXPECT_EQ(points(), 30000);
  EXPECT_EQ(s.GenRateIndex0, 1);
}

// Cycle lengths of a sweep: runs of equal points per cycle between start and end.
std::vector<int> cycleLengths(const Scope& s) {
  std::vector<int> lengths;
  int start = 0;
  for (int i = 1; i <= static_cast<int>(s.GenLastIndex) + 1; ++i) {
    // A ramp cycle starts at 0 and climbs; the next 0 begins the next cycle.
    if (i == static_cast<int>(s.GenLastIndex) + 1 || s.GenTable[i] == 0) {
      lengths.push_back(i - start);
      start = i;
    }
  }
  return lengths;
}

TEST_F(Synthesis, SweepCyclesShortenFromTheStartLengthToTheEndLength) {
  struct Case {
    int start, ratio, cycles, first, last;
  };
  // Start steps 4 (400-point start) and 5 (200-point start).
  for (const Case& c :
       {Case{4, 0, 104, 398, 200}, Case{4, 1, 153, 396, 80}, Case{4, 2, 182, 396, 40},
        Case{4, 3, 202, 396, 20}, Case{5, 0, 100, 199, 100}, Case{5, 1, 160, 199, 40},
        Case{5, 2, 180, 199, 20}}) {
    SCOPED_TRACE(::testing::Message() << c.start << "/" << c.ratio);
    s.GenSweepStart = c.start;
    s.GenSweepRatio = c.ratio;
    build(1, genstyle::Ramp);
    const std::vector<int> lengths = cycleLengths(s);
    ASSERT_EQ(static_cast<int>(lengths.size()), c.cycles);
    EXPECT_EQ(lengths.front(), c.first);
    EXPECT_LE(lengths.back(), c.last);
    EXPECT_TRUE(std::is_sorted(lengths.rbegin(), lengths.rend()));
  }
}

TEST_F(Synthesis, SweepSquareIgnoresTheDutyAndTriangleCyclesAreNotSeparatedByMidLevel) {
  s.GenSweepStart = 4;
  s.GenSweepRatio = 0;
  s.GenDuty = 10;
  build(1, genstyle::Square);
  EXPECT_EQ(s.GenTable[197], 0);  // first cycle of 398 points: high from 180 degrees
  EXPECT_EQ(s.GenTable[201], 4095);
  EXPECT_EQ(s.GenTable[397], 4095);
  EXPECT_EQ(s.GenTable[398], 0);
  build(1, genstyle::Triangle);
  EXPECT_EQ(s.GenTable[398], 2048);  // second cycle starts at mid-level itself
  EXPECT_EQ(s.GenTable[static_cast<int>(s.GenLastIndex) + 1], 2048);
}

TEST_F(Synthesis, SweepBuildsWithTheStartStepsRateEvenBeforeThePanelShowedIt) {
  s.GenSweepStart = 5;  // 200-point start at the 200 kHz rate
  s.GenSweepShort = 0;
  s.GenRateIndex1 = 0;
  s.GenSweepRatio = 3;  // X20 does not exist for a 200-point start
  build(1, genstyle::Sine);
  EXPECT_EQ(s.GenSweepShort, 1);
  EXPECT_EQ(s.GenRateIndex1, 2);
  EXPECT_EQ(s.GenSweepRatio, 2);
  // The first cycle has 199 points: the second starts at mid-level on index 199.
  EXPECT_EQ(s.GenTable[199], 2048);
  EXPECT_NE(s.GenTable[198], 2048);
}

TEST_F(Synthesis, CropsKeepAtLeastTenPointsAroundTheCursor) {
  auto wave = [&] {
    s.GenLastIndex = 99;
    for (int i = 0; i < 100; ++i) s.GenTable[i] = s.CustomView[i] = static_cast<std::int16_t>(i);
    s.ViewFirst = 0;
  };
  wave();
  s.CursorX = 3;
  CropCustomRight(s);
  EXPECT_EQ(s.GenLastIndex, 9);

  wave();
  s.CursorX = 95;  // five points before the end
  CropCustomLeft(s);
  EXPECT_EQ(s.GenLastIndex, 9);
  EXPECT_EQ(s.GenTable[0], 90);
  EXPECT_EQ(s.CustomView[9], 99);

  // The cursor counts from the window's first sample.
  wave();
  s.ViewFirst = 40;
  s.CursorX = 2;
  CropCustomLeft(s);
  EXPECT_EQ(s.GenLastIndex, 57);
  EXPECT_EQ(s.CustomView[0], 42);

  // A cursor past the end crops nothing away and never lengthens the wave.
  wave();
  s.CursorX = 500;
  CropCustomRight(s);
  EXPECT_EQ(s.GenLastIndex, 99);
}

}  // namespace
}  // namespace qvx
