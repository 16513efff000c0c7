#pragma once
#include <cstdint>

namespace qvx {

// Colours are kept as the instrument panel has always stored them: 0xBBGGRR,
// blue in the high byte. The skin converts them when it paints.
using Colour = std::uint32_t;

constexpr Colour RGB(int r, int g, int b) {
  return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int redOf(Colour c) { return c & 0xFF; }
constexpr int greenOf(Colour c) { return (c >> 8) & 0xFF; }
constexpr int blueOf(Colour c) { return (c >> 16) & 0xFF; }

}  // namespace qvx
