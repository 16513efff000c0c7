#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "rig.h"
#include "spectrum/fft.h"
#include "spectrum/window.h"

namespace qvx {
namespace {

using testing::Rig;

TEST(FftWindow, CoefficientsMatchThePublishedValues) {
  const int n = 4096;
  for (int i : {0, 1, 1000, 2048, 4095})
    EXPECT_EQ(windowCoefficient(FftWindow::Rectangular, i, n), 1);
  // Hann: 0 at the ends, 1 in the middle, 1/2 at the quarter points.
  EXPECT_NEAR(windowCoefficient(FftWindow::Hann, 0, n), 0, 1e-12);
  EXPECT_NEAR(windowCoefficient(FftWindow::Hann, n / 4, n), 0.5, 1e-12);
  EXPECT_NEAR(windowCoefficient(FftWindow::Hann, n / 2, n), 1, 1e-12);
  EXPECT_NEAR(windowCoefficient(FftWindow::Hann, 3 * n / 4, n), 0.5, 1e-12);
  // Four-term Blackman-Harris: 6e-5 at the ends, 1 in the middle.
  EXPECT_NEAR(windowCoefficient(FftWindow::BlackmanHarris, 0, n), 0.00006, 1e-9);
  EXPECT_NEAR(windowCoefficient(FftWindow::BlackmanHarris, n / 2, n), 1, 1e-9);
  // Flat top: 1 in the middle, slightly negative at the ends.
  EXPECT_NEAR(windowCoefficient(FftWindow::FlatTop, n / 2, n), 1, 1e-8);
  EXPECT_NEAR(windowCoefficient(FftWindow::FlatTop, 0, n), -0.000421051, 1e-8);
  // Symmetric about the middle (periodic form: w(n) = w(N - n)).
  for (auto w : {FftWindow::Hann, FftWindow::BlackmanHarris, FftWindow::FlatTop})
    EXPECT_NEAR(windowCoefficient(w, 100, n), windowCoefficient(w, n - 100, n), 1e-12);
}

TEST(FftWindow, CoherentGainIsTheMeanWeight) {
  const double published[] = {1, 0.5, 0.35875, 0.21557895};
  for (int w = 0; w < kFftWindowCount; ++w) {
    const auto window = static_cast<FftWindow>(w);
    EXPECT_DOUBLE_EQ(coherentGain(window), published[w]) << w;
    double sum = 0;
    for (int i = 0; i < 1024; ++i) sum += windowCoefficient(window, i, 1024);
    EXPECT_NEAR(sum / 1024, published[w], 1e-9) << w;
  }
}

// The peak of a sine's dB spectrum, in dB of full scale, read back from the display codes.
double peakDb(FftWindow window, double cyclesPerPoint, double amplitude, Rig& rig) {
  Scope& s = rig.scope;
  s.handling.fftWindow = static_cast<int>(window);
  s.handling.fftDb = true;
  s.FftSize = 4096;
  for (int i = 0; i < s.FftSize; ++i)
    s.BufA[i] = static_cast<std::int16_t>(
        std::lround(2048 + amplitude * std::sin(2 * M_PI * cyclesPerPoint * i)));
  s.FftDoneA = 0;
  s.FftDoneB = 1;
  FFTconvert(s);
  const int peak = *std::max_element(s.BufA.begin() + 1, s.BufA.begin() + s.FftSize / 2);
  return peak / 40.95 - kDbSpan;
}

TEST(FftWindow, ASinesPeakLevelInDbPerWindow) {
  Rig rig;
  const double halfScale = -6.0206;  // a sine of 1024 codes on the 2048-code full scale
  // On a bin every window reads the sine's own level.
  for (int w = 0; w < kFftWindowCount; ++w)
    EXPECT_NEAR(peakDb(static_cast<FftWindow>(w), 100.0 / 4096, 1024, rig), halfScale, 0.05) << w;
  // Half a bin off, each window loses its published scalloping loss; the flat top none.
  const double offBin = 100.5 / 4096;
  EXPECT_NEAR(peakDb(FftWindow::Rectangular, offBin, 1024, rig), halfScale - 3.92, 0.05);
  EXPECT_NEAR(peakDb(FftWindow::Hann, offBin, 1024, rig), halfScale - 1.42, 0.05);
  EXPECT_NEAR(peakDb(FftWindow::BlackmanHarris, offBin, 1024, rig), halfScale - 0.83, 0.05);
  EXPECT_NEAR(peakDb(FftWindow::FlatTop, offBin, 1024, rig), halfScale, 0.05);
  // Full scale reads 0 dB, at the top of the display.
  EXPECT_NEAR(peakDb(FftWindow::Hann, 100.0 / 4096, 2047, rig), 0, 0.05);
}

TEST(FftWindow, WindowsKeepTheOffsetAndLeakageOutOfFarBins) {
  Rig rig;
  Scope& s = rig.scope;
  const double offBin = 100.5 / 4096;
  // Rectangular: a half-bin sine leaks into every bin; 50 bins away it is still about
  // -40 dB below the peak. Blackman-Harris keeps it below -90 dB there, and the
  // 2048-code offset leaks nowhere.
  peakDb(FftWindow::Rectangular, offBin, 2047, rig);
  EXPECT_GT(s.BufA[150] / 40.95 - kDbSpan, -50);
  peakDb(FftWindow::BlackmanHarris, offBin, 2047, rig);
  EXPECT_LT(s.BufA[150] / 40.95 - kDbSpan, -85);
  EXPECT_LT(s.BufA[1] / 40.95 - kDbSpan, -85);
  EXPECT_EQ(s.BufA[0], 0);
}

TEST(FftWindow, LinearScaleWithAWindowStillPutsThePeakAtTheTop) {
  Rig rig;
  Scope& s = rig.scope;
  peakDb(FftWindow::Hann, 100.5 / 4096, 500, rig);
  s.handling.fftDb = false;
  s.FftDoneA = 0;
  for (int i = 0; i < s.FftSize; ++i)
    s.BufA[i] =
        static_cast<std::int16_t>(std::lround(2048 + 500 * std::sin(2 * M_PI * 100.0 / 4096 * i)));
  FFTconvert(s);
  EXPECT_EQ(s.BufA[100], 4095);
  // Hann puts half the peak into each neighbour of an on-bin sine.
  EXPECT_NEAR(s.BufA[99], 2048, 3);
  EXPECT_NEAR(s.BufA[101], 2048, 3);
  EXPECT_LT(s.BufA[98], 5);
}

}  // namespace
}  // namespace qvx
