#pragma once
#include <cstdint>
#include <vector>

#include "core/scope.h"

namespace qvx {

// The spectrum analyser: replaces the samples still held in BufA and BufB by their
// magnitude spectra, scaled so the largest point (DC left out) reads 4095.
void FFTconvert(Scope& s);

// Forward radix-2 transform without scaling. NumSamples must be a power of two of at
// least 2; otherwise an error box is shown and the outputs are left untouched.
void Fourier(Scope& s, std::int32_t NumSamples, const std::vector<double>& RealIn,
             const std::vector<double>& ImagIn, std::vector<double>& RealOut,
             std::vector<double>& ImagOut);

// Number of bits needed to index PowerOfTwo points (its lowest set bit, 0 if none).
std::uint8_t NumberOfBitsNeeded(std::int32_t PowerOfTwo);
bool IsPowerOfTwo(std::int32_t X);
// Index with its lowest NumBits bits in reverse order.
std::int32_t ReverseBits(std::int32_t Index, std::uint8_t NumBits);

}  // namespace qvx
