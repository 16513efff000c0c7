#pragma once
#include <cstdint>
#include <vector>

namespace qvx {

using SampleBuffer = std::vector<std::int16_t>;

// The sample buffers, filled by the buffer readout (acquisition/) and read by the
// renderer, the spectrum and the signal files. Every buffer starts at the zero code.
struct SampleBuffers {
  SampleBuffer BufA = SampleBuffer(65536, 2048), BufB = SampleBuffer(65536, 2048),
               BufC = SampleBuffer(65536, 2048), BufD = SampleBuffer(65536, 2048),
               TimeBufA = SampleBuffer(65536, 2048), TimeBufB = SampleBuffer(65536, 2048);
  std::int32_t BufLast = 65535;
};

}  // namespace qvx
