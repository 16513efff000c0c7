#include "spectrum/window.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "panel/numeric.h"

namespace qvx {

namespace {
// Cosine-sum windows: w(n) = a0 - a1 cos(x) + a2 cos(2x) - a3 cos(3x) + a4 cos(4x).
struct CosineSum {
  double a[5];
};

CosineSum termsOf(FftWindow w) {
  switch (w) {
    case FftWindow::Hann:
      return {{0.5, 0.5, 0, 0, 0}};
    case FftWindow::BlackmanHarris:  // four-term, -92 dB side lobes
      return {{0.35875, 0.48829, 0.14128, 0.01168, 0}};
    case FftWindow::FlatTop:  // the five-term window of the usual analyser tables
      return {{0.21557895, 0.41663158, 0.277263158, 0.083578947, 0.006947368}};
    case FftWindow::Rectangular:
      break;
  }
  return {{1, 0, 0, 0, 0}};
}
}  // namespace

std::string fftWindowName(FftWindow w) {
  switch (w) {
    case FftWindow::Hann:
      return "Hann";
    case FftWindow::BlackmanHarris:
      return "B-Harris";
    case FftWindow::FlatTop:
      return "Flat top";
    case FftWindow::Rectangular:
      break;
  }
  return "Rect";
}

double windowCoefficient(FftWindow w, std::int32_t n, std::int32_t N) {
  const CosineSum c = termsOf(w);
  const double x = 2 * std::numbers::pi * n / N;
  double sum = 0;
  for (int k = 0; k < 5; ++k) sum += (k % 2 ? -1 : 1) * c.a[k] * std::cos(k * x);
  return sum;
}

double coherentGain(FftWindow w) {
  return termsOf(w).a[0];
}

std::int16_t dbCode(double shareOfFullScale) {
  if (shareOfFullScale <= 0) return 0;
  const double db = 20 * std::log10(shareOfFullScale);
  const double code = 4095 * (1 + db / kDbSpan);
  return static_cast<std::int16_t>(roundHalfEven(std::clamp(code, 0.0, 4095.0)));
}

}  // namespace qvx
