#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "device/recorder.h"

namespace qvx::testing {

// A port conversation as reviewable text, one access per line:
//   out ADDR VALUE   a byte written to a port address (hexadecimal)
//   in ADDR VALUE    a byte read from it, with the value the instrument gave
// A block of accesses that occurs several times in a row is written once, between
// "repeat N" and "end", so that clearing a memory does not fill thousands of lines.
inline std::string conversationText(const std::vector<RecordingPort::Access>& log) {
  constexpr std::size_t kLongestBlock = 16, kFewestRepeats = 3;
  auto line = [](const RecordingPort::Access& a) {
    char text[32];
    std::snprintf(text, sizeof text, "%s %03X %02X\n", a.write ? "out" : "in",
                  static_cast<unsigned>(a.address), static_cast<unsigned>(a.value));
    return std::string(text);
  };
  std::string out;
  std::size_t i = 0;
  while (i < log.size()) {
    // The block length that covers the most accesses from here by repeating.
    std::size_t bestLength = 1, bestRepeats = 1;
    for (std::size_t k = 1; k <= kLongestBlock && i + 2 * k <= log.size(); ++k) {
      std::size_t n = 1;
      while (i + (n + 1) * k <= log.size() &&
             std::equal(log.begin() + i, log.begin() + i + k, log.begin() + i + n * k))
        ++n;
      if (n >= kFewestRepeats && n * k > bestLength * bestRepeats) {
        bestLength = k;
        bestRepeats = n;
      }
    }
    if (bestRepeats >= kFewestRepeats) {
      out += "repeat " + std::to_string(bestRepeats) + "\n";
      for (std::size_t j = 0; j < bestLength; ++j) out += line(log[i + j]);
      out += "end\n";
      i += bestLength * bestRepeats;
    } else {
      out += line(log[i++]);
    }
  }
  return out;
}

}  // namespace qvx::testing
