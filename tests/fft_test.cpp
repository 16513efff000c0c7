#include "spectrum/fft.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <random>

#include "display_rig.h"

namespace qvx {
namespace {

using testing::DisplayRig;
using testing::Rig;

void fillSine(SampleBuffer& buf, int n, double cyclesPerPoint, double amplitude) {
  for (int i = 0; i < n; ++i)
    buf[i] = static_cast<std::int16_t>(
        std::lround(2048 + amplitude * std::sin(2 * M_PI * cyclesPerPoint * i)));
}

TEST(Fourier, MatchesTheDirectSumWithPositiveExponent) {
  Rig rig;
  const int n = 32;
  std::mt19937 gen(7);
  std::uniform_real_distribution<double> d(-1, 1);
  std::vector<double> re(n), im(n), outRe(n), outIm(n);
  std::generate(re.begin(), re.end(), [&] { return d(gen); });
  std::generate(im.begin(), im.end(), [&] { return d(gen); });
  Fourier(rig.scope, n, re, im, outRe, outIm);
  for (int k = 0; k < n; ++k) {
    std::complex<double> sum;
    for (int i = 0; i < n; ++i)
      sum += std::complex<double>(re[i], im[i]) * std::polar(1.0, 2 * M_PI * i * k / n);
    EXPECT_NEAR(outRe[k], sum.real(), 1e-5) << k;
    EXPECT_NEAR(outIm[k], sum.imag(), 1e-5) << k;
  }
}

TEST(Fourier, SizeNotAPowerOfTwoShowsTheErrorBox) {
  Rig rig;
  std::vector<double> in(1000, 1), out(1000, 7), outIm(1000, 7);
  Fourier(rig.scope, 1000, in, in, out, outIm);
  ASSERT_EQ(rig.host.messages.size(), 1u);
  EXPECT_EQ(rig.host.messages[0].text,
            "Error in procedure Fourier:\n NumSamples is 1000, which is not a positive integer "
            "power of two.");
  EXPECT_EQ(rig.host.messages[0].title, "Error!");
  EXPECT_EQ(rig.host.messages[0].style, mb::OK);
  EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](double v) { return v == 7; }));
}

TEST(FftConvert, PureSinePeaksAtFullHeightAndKeepsTheUpperHalf) {
  Rig rig;
  Scope& s = rig.scope;
  const int n = 4096;
  const double rate = 200000, f = 12207.03125;  // k = f N / R = 250
  s.FftSize = n;
  fillSine(s.BufA, n, f / rate, 1500);
  s.BufA[5000] = 1234;  // beyond N/2: kept as it is
  FFTconvert(s);
  EXPECT_EQ(s.BufA[250], 4095);
  EXPECT_EQ(s.BufA[0], 0);  // the large DC part is left out
  for (int i = 1; i < n / 2; ++i)
    if (i != 250) ASSERT_LT(s.BufA[i], 10) << i;
  EXPECT_EQ(s.BufA[5000], 1234);

  // A constant input has no largest point to scale to: the spectrum stays flat zero.
  std::fill(s.BufA.begin(), s.BufA.end(), 3000);
  s.FftDoneA = 0;
  FFTconvert(s);
  EXPECT_TRUE(std::all_of(s.BufA.begin(), s.BufA.begin() + n / 2, [](int v) { return v == 0; }));
}

// A channel whose buffer already holds its spectrum is left alone.
TEST(FftConvert, OnlyTheChannelWithFreshSamplesIsTransformed) {
  Rig rig;
  Scope& s = rig.scope;
  s.FftSize = 2048;
  fillSine(s.BufA, 2048, 0.25, 1000);
  fillSine(s.BufB, 2048, 0.1, 1000);
  const SampleBuffer oldB = s.BufB;
  s.FftDoneB = 1;
  FFTconvert(s);
  EXPECT_EQ(s.BufA[512], 4095);
  EXPECT_EQ(s.FftDoneA, 1);
  EXPECT_EQ(s.BufB, oldB);
}

TEST(FftDisplay, RedrawsAndScrollingDoNotTransformAgain) {
  DisplayRig rig;
  Scope& s = rig.s();
  s.OperatingMode = 4;
  s.ScrollUnit = 512;
  fillSine(s.BufA, 4096, 100.0 / 4096, 1000);
  HScroll1_Change(s);
  EXPECT_EQ(s.FftSize, 4096);
  EXPECT_EQ(s.BufA[100], 4095);
  const SampleBuffer spectrum = s.BufA;
  HScroll1_Change(s);
  s.panel.HScroll2.setValue(300);
  s.panel.HScroll1.setValue(200);
  EXPECT_EQ(s.BufA, spectrum);
}

}  // namespace
}  // namespace qvx
