#include "measure/measure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "measure/format.h"

namespace qvx::measure {
namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kRate = 2e6;

std::vector<std::int16_t> sine(double amplitude, double offset, double hz, int points,
                               double phase = 0) {
  std::vector<std::int16_t> v(points);
  for (int i = 0; i < points; ++i)
    v[i] = static_cast<std::int16_t>(
        std::lround(2048 + offset + amplitude * std::sin(2 * kPi * hz * i / kRate + phase)));
  return v;
}

// A square wave of `period` points, `high` of them at the high code, starting `shift`
// points into its cycle.
std::vector<std::int16_t> square(int period, int high, int points, int shift, int lowCode,
                                 int highCode) {
  std::vector<std::int16_t> v(points);
  for (int i = 0; i < points; ++i) v[i] = ((i + shift) % period) < high ? highCode : lowCode;
  return v;
}

Trace analogue(const std::vector<std::int16_t>& v, double voltsPerCode = 10.0 / 2047) {
  return {v, 2048, voltsPerCode, kRate, false};
}

TEST(MeasureWave, SineGivesLevelsRmsFrequencyAndTenToNinetyRiseTime) {
  // 819 codes of 2047 on the 10 V range: a 4 V sine; 2.048 cycles, as the default capture.
  const auto v = sine(819, 0, 1000, 4096);
  const WaveReadings r = measureWave(analogue(v));
  const double vpc = 10.0 / 2047;
  EXPECT_NEAR(r.vpp.value, 1638 * vpc, 2 * vpc);
  EXPECT_NEAR(r.max.value, 819 * vpc, vpc);
  EXPECT_NEAR(r.min.value, -819 * vpc, vpc);
  EXPECT_NEAR(r.mean.value, 0, 0.005);
  EXPECT_NEAR(r.rms.value, 819 * vpc / std::sqrt(2.0), 0.002 * 819 * vpc);
  EXPECT_NEAR(r.acRms.value, r.rms.value, 0.001);
  EXPECT_NEAR(r.freq.value, 1000, 0.5);
  EXPECT_NEAR(r.period.value, 1e-3, 1e-6);
  EXPECT_NEAR(r.duty.value, 50, 0.2);
  // From -0.8 to +0.8 of the amplitude: 2 asin(0.8) / (2 pi f).
  const double edge = 2 * std::asin(0.8) / (2 * kPi * 1000);
  EXPECT_NEAR(r.rise.value, edge, 0.01 * edge);
  EXPECT_NEAR(r.fall.value, edge, 0.01 * edge);
}

TEST(MeasureWave, OffsetSineSeparatesMeanFromAcRmsOverWholeCycles) {
  // 3.3 cycles: a mean over the whole capture would be pulled off by the part cycle.
  const auto v = sine(400, 300, 1000, 6600, 1.0);
  const WaveReadings r = measureWave(analogue(v, 1.0 / 2047));
  EXPECT_NEAR(r.mean.value, 300.0 / 2047, 0.003 * 300 / 2047);
  EXPECT_NEAR(r.acRms.value, 400 / std::sqrt(2.0) / 2047, 0.003 * 400 / 2047);
  EXPECT_NEAR(r.rms.value, std::sqrt(300.0 * 300 + 400.0 * 400 / 2) / 2047, 0.003 * 400 / 2047);
}

TEST(MeasureWave, SquareDutyIsTheHighShareWhicheverLevelItStartsAt) {
  for (int shift : {0, 150, 400}) {
    SCOPED_TRACE(shift);
    // 500-point period (4 kHz at 2 MS/s), 150 points high: 30 %.
    const auto v = square(500, 150, 4096, shift, 2048, 2560);
    const WaveReadings r = measureWave({v, 2048, 1, kRate, true});
    EXPECT_NEAR(r.duty.value, 30, 0.01);
    EXPECT_NEAR(r.freq.value, 4000, 0.01);
    EXPECT_EQ(r.rise.why, "logic");
  }
}

TEST(MeasureWave, ValuesThatCannotBeMeasuredSayWhy) {
  // Flat: levels are measured, edges are not.
  const std::vector<std::int16_t> flat(2048, 2100);
  WaveReadings r = measureWave(analogue(flat));
  EXPECT_TRUE(r.vpp.ok());
  EXPECT_DOUBLE_EQ(r.vpp.value, 0);
  EXPECT_EQ(r.freq.why, "flat");
  EXPECT_EQ(r.rise.why, "flat");

  // One rise only: no period, but the rise time is there.
  std::vector<std::int16_t> step(2048, 1500);
  for (int i = 1000; i < 2048; ++i) step[i] = 2600;
  r = measureWave(analogue(step));
  EXPECT_EQ(r.freq.why, "<2 edges");
  EXPECT_EQ(r.period.why, "<2 edges");
  EXPECT_EQ(r.duty.why, "<2 edges");
  EXPECT_TRUE(r.rise.ok());
  EXPECT_EQ(r.fall.why, "no fall");

  // Clipped at the top of the converter: no levels, no edge times, but its frequency.
  auto clipped = sine(2600, 0, 1000, 8192);
  for (auto& c : clipped) c = static_cast<std::int16_t>(std::clamp<int>(c, 0, 4095));
  r = measureWave(analogue(clipped));
  for (const Reading* q : {&r.vpp, &r.max, &r.min, &r.mean, &r.rms, &r.acRms, &r.rise, &r.fall})
    EXPECT_EQ(q->why, "clipped");
  EXPECT_NEAR(r.freq.value, 1000, 0.5);

  // Noise around a level far below the swing does not count as edges.
  std::vector<std::int16_t> noisy(4000, 2048);
  for (int i = 0; i < 4000; ++i) noisy[i] = static_cast<std::int16_t>(2048 + (i % 2 ? 30 : -30));
  noisy[3999] = 2600;
  r = measureWave(analogue(noisy));
  EXPECT_EQ(r.freq.why, "<2 edges");

  EXPECT_EQ(measureWave(analogue({})).vpp.why, "no data");
}

TEST(LargestPeaks, StrongestLocalMaximaFirstWithFrequencyAndLevel) {
  std::vector<std::int16_t> m(100, 0);
  m[0] = 4095;  // the constant part is never a peak
  m[10] = 4095;
  m[11] = 3000;  // the flank of the peak at 10, not a peak of its own
  m[30] = 2000;
  m[50] = 1000;
  m[70] = m[71] = 500;  // a flat top counts once
  m[90] = 40;           // below 1 %: leakage, not a line
  const auto peaks = largestPeaks(m, 25.0, 3);
  ASSERT_EQ(peaks.size(), 3u);
  EXPECT_DOUBLE_EQ(peaks[0].frequency, 250);
  EXPECT_DOUBLE_EQ(peaks[0].level, 100);
  EXPECT_DOUBLE_EQ(peaks[1].frequency, 750);
  EXPECT_NEAR(peaks[1].level, 48.84, 0.01);
  EXPECT_DOUBLE_EQ(peaks[2].frequency, 1250);
  EXPECT_EQ(largestPeaks(m, 25.0, 10).size(), 4u);
  EXPECT_TRUE(largestPeaks(std::vector<std::int16_t>(50, 0), 1, 5).empty());
}

TEST(MeasureFormat, FourSignificantDigitsWithThePrefixThatFits) {
  EXPECT_EQ(engineering(8.004, "V"), "8.004 V");
  EXPECT_EQ(engineering(-0.0123, "V"), "-12.30 mV");
  EXPECT_EQ(engineering(0.00029517, "s"), "295.2 us");
  EXPECT_EQ(engineering(1000, "Hz"), "1.000 kHz");
  EXPECT_EQ(engineering(999.96, "Hz"), "1.000 kHz");
  EXPECT_EQ(engineering(0, "V"), "0.000 V");
  EXPECT_EQ(engineering(50.04, "%"), "50.0 %");
  EXPECT_EQ(fileNumber(8.0039), "8.004");
  EXPECT_EQ(fileNumber(2000), "2000.000");
  EXPECT_EQ(fileNumber(0.00029517), "0.0002952");
  EXPECT_EQ(fileNumber(-0.5), "-0.5000");
}

}  // namespace
}  // namespace qvx::measure
