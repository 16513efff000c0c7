#pragma once
#include <vector>

namespace qvx {

// The spectrum analyser (spectrum/): which buffers hold spectra, and the transform's
// work arrays.
struct SpectrumState {
  int FftDoneA = 0, FftDoneB = 0;
  std::vector<double> FftRealIn, FftImagIn, FftRealOut, FftImagOut;
  double PiConst = 3.1415926;
};

}  // namespace qvx
