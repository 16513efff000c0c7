#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace qvx {

// The window the samples are weighted with before the transform, and how the spectrum is
// scaled for the display. Rectangular and linear are the analyser's own behaviour; the
// others trade frequency resolution for level accuracy or leakage.
enum class FftWindow { Rectangular = 0, Hann, BlackmanHarris, FlatTop };
constexpr int kFftWindowCount = 4;

// Short names for the extras panel and the settings.
std::string fftWindowName(FftWindow w);

// The weight of point n of N (periodic form, so a whole number of cycles stays whole).
double windowCoefficient(FftWindow w, std::int32_t n, std::int32_t N);

// The mean weight of the window: a sine on a bin reads its amplitude times this.
double coherentGain(FftWindow w);

// The spectrum on the dB scale spans this many dB, 0 dB (the range's full scale) at the top.
constexpr double kDbSpan = 100;

// The display code (0..4095) of a sine amplitude given as a share of full scale.
std::int16_t dbCode(double shareOfFullScale);

}  // namespace qvx
