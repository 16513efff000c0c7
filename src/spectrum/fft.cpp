#include "spectrum/fft.h"

#include <algorithm>
#include <cmath>

#include "panel/numeric.h"
#include "spectrum/window.h"

namespace qvx {

std::uint8_t NumberOfBitsNeeded(std::int32_t PowerOfTwo) {
  for (int i = 0; i <= 16; ++i)
    if (PowerOfTwo & (std::int32_t{1} << i)) return static_cast<std::uint8_t>(i);
  return 0;
}

bool IsPowerOfTwo(std::int32_t X) {
  return X >= 2 && (X & (X - 1)) == 0;
}

std::int32_t ReverseBits(std::int32_t Index, std::uint8_t NumBits) {
  std::int32_t rev = 0;
  for (int i = 0; i < NumBits; ++i) {
    rev = (rev * 2) | (Index & 1);
    Index /= 2;
  }
  return rev;
}

void Fourier(Scope& s, std::int32_t NumSamples, const std::vector<double>& RealIn,
             const std::vector<double>& ImagIn, std::vector<double>& RealOut,
             std::vector<double>& ImagOut) {
  const double angleNumerator = 2 * s.PiConst;
  if (!IsPowerOfTwo(NumSamples)) {
    s.host.MsgBox("Error in procedure Fourier:\n NumSamples is " + plainNumber(NumSamples) +
                      ", which is not a positive integer power of two.",
                  mb::OK, "Error!");
    return;
  }
  const std::uint8_t numBits = NumberOfBitsNeeded(NumSamples);
  for (std::int32_t i = 0; i < NumSamples; ++i) {
    std::int32_t j = ReverseBits(i, numBits);
    RealOut[j] = RealIn[i];
    ImagOut[j] = ImagIn[i];
  }

  // The twiddle factor is turned by delta per butterfly with a recurrence, so each
  // stage needs only one pair of sines.
  std::int32_t blockEnd = 1;
  for (std::int32_t blockSize = 2; blockSize <= NumSamples; blockSize <<= 1) {
    const double delta = angleNumerator / blockSize;
    const double half = std::sin(delta / 2);
    const double alpha = 2 * half * half;
    const double beta = std::sin(delta);
    for (std::int32_t i = 0; i < NumSamples; i += blockSize) {
      double wr = 1, wi = 0;
      for (std::int32_t n = 0; n < blockEnd; ++n) {
        const std::int32_t j = i + n, k = j + blockEnd;
        const double tr = wr * RealOut[k] - wi * ImagOut[k];
        const double ti = wi * RealOut[k] + wr * ImagOut[k];
        RealOut[k] = RealOut[j] - tr;
        ImagOut[k] = ImagOut[j] - ti;
        RealOut[j] += tr;
        ImagOut[j] += ti;
        const double t = alpha * wr + beta * wi;
        wi = wi - (alpha * wi - beta * wr);
        wr = wr - t;
      }
    }
    blockEnd = blockSize;
  }
}

namespace {

// The samples as they go into the transform. Without a window they go in as they stand
// (codes / 100, zero offset and all). A window is applied around the samples' mean: the
// offset of 2048 codes would otherwise leak through the window's side bins and swamp the
// low frequencies.
void windowedInput(Scope& s, const SampleBuffer& buf) {
  const std::int32_t n = s.FftSize;
  const auto window = static_cast<FftWindow>(s.handling.fftWindow);
  // The weighted mean: what is left of the offset after weighting would leak into the
  // bins next to 0; the plain mean would leave the part of a sine's last half cycle there.
  double mean = 0;
  if (window != FftWindow::Rectangular) {
    double weights = 0;
    for (std::int32_t i = 0; i < n; ++i) {
      const double w = windowCoefficient(window, i, n);
      mean += buf[i] * w;
      weights += w;
    }
    mean /= weights;
  }
  for (std::int32_t i = 0; i < n; ++i) {
    const double w = window == FftWindow::Rectangular ? 1 : windowCoefficient(window, i, n);
    s.FftRealIn[i] = (buf[i] - mean) * w / 100.0;
    s.FftRealOut[i] = 0;
  }
}

// Transforms one buffer in place: samples in, magnitudes 0..4095 out in 1 .. N/2-1. On the
// linear scale the largest point reads 4095; on the dB scale a sine of the range's full
// scale (2048 codes) reads 4095 whatever the window, and each 4095 / 100 codes below it
// are one dB less.
void spectrumOf(Scope& s, SampleBuffer& buf) {
  const std::int32_t n = s.FftSize;
  windowedInput(s, buf);
  Fourier(s, n, s.FftRealIn, s.FftImagIn, s.FftRealOut, s.FftImagOut);

  double max = 0;
  for (std::int32_t k = 1; k < n / 2; ++k) {
    double mag = std::sqrt(s.FftRealOut[k] * s.FftRealOut[k] + s.FftImagOut[k] * s.FftImagOut[k]);
    s.FftRealOut[k] = mag;  // kept for the scaling pass below
    if (mag > max) max = mag;
  }
  buf[0] = 0;
  if (s.handling.fftDb) {
    // A sine of amplitude A codes gives a magnitude of A/100 x N/2 x the coherent gain.
    const auto window = static_cast<FftWindow>(s.handling.fftWindow);
    const double fullScale = 2048 / 100.0 * n / 2 * coherentGain(window);
    for (std::int32_t k = 1; k < n / 2; ++k) buf[k] = dbCode(s.FftRealOut[k] / fullScale);
    return;
  }
  if (max == 0) max = 1;
  for (std::int32_t k = 1; k < n / 2; ++k)
    buf[k] = static_cast<std::int16_t>(roundHalfEven(s.FftRealOut[k] * 4095 / max));
}

}  // namespace

void FFTconvert(Scope& s) {
  const std::int32_t n = s.FftSize;
  if (n <= 0 || n > static_cast<std::int32_t>(s.BufA.size())) return;
  // The work arrays live as long as the window; they change size only with N.
  if (static_cast<std::int32_t>(s.FftRealIn.size()) != n) {
    s.FftRealIn.assign(n, 0);
    s.FftImagIn.assign(n, 0);
    s.FftRealOut.assign(n, 0);
    s.FftImagOut.assign(n, 0);
  }
  std::fill(s.FftImagIn.begin(), s.FftImagIn.end(), 0.0);

  if (s.FftDoneA == 0) spectrumOf(s, s.BufA);
  if (s.FftDoneB == 0) spectrumOf(s, s.BufB);
  s.FftDoneA = 1;
  s.FftDoneB = 1;
}

}  // namespace qvx
