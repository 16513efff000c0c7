#include "acquisition/readout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "device/recorder.h"
#include "expected_conversation.h"
#include "scripted_host.h"

namespace qvx {
namespace {

using testing::ScriptedHost;
using Access = RecordingPort::Access;

using testing::kControlPort;
using testing::kDataPort;
using testing::written;

// A memory behind the port: each point is two bytes (first in the high half), shown
// as the first byte while STROBE is low and the second while it is high; a STROBE
// falling edge in read direction moves to the next point.
class WordPort : public PortIO {
 public:
  std::vector<std::uint16_t> words{0};
  std::size_t index = 0;
  int dataReads = 0;

  void OutPort(std::uint32_t address, std::uint8_t v) override {
    if (address != kControlPort) return;
    if ((control_ & 1) && !(v & 1) && (v & 0x20)) ++index;
    control_ = v;
  }
  std::uint8_t InPort(std::uint32_t address) override {
    if (address != kDataPort) return 0;
    ++dataReads;
    const std::uint16_t w = words[index % words.size()];
    return static_cast<std::uint8_t>(control_ & 1 ? w & 0xFF : w >> 8);
  }

 private:
  std::uint8_t control_ = 0;
};

std::uint16_t word(bool digital, int code) {
  return static_cast<std::uint16_t>(((digital ? 0x80 : 0) | ((code >> 8) << 3)) << 8 |
                                    (code & 0xFF));
}

struct ReadoutRig {
  explicit ReadoutRig(std::int32_t points = 65536, std::int32_t pretrig = 0)
      : port(&memory), scope(host, port) {
    scope.SampleCount = points;
    scope.PretrigPoints = pretrig;
  }
  ScriptedHost host;
  WordPort memory;
  RecordingPort port;
  Scope scope;

  // Strobe pairs (0x23, 0x22) in the log, split at the register write that switches the
  // readout to single steps.
  std::pair<int, int> skipStrobes(int selectReg) const {
    const auto single = testing::regWrite(0, selectReg);
    const auto split = std::search(port.log.begin(), port.log.end(), single.begin(), single.end());
    auto pairs = [](auto it, auto end) {
      int n = 0;
      for (; it != end && it + 1 != end; ++it)
        n += *it == written(kControlPort, 0x23) && it[1] == written(kControlPort, 0x22);
      return n;
    };
    return {pairs(port.log.begin(), split), pairs(split, port.log.end())};
  }
};

TEST(ReadbufferA, SkipsTheMemoryBeforeTheWindowInFourPointSteps) {
  // 2K with pretrigger 100 skips 63,388 points; 64K with pretrigger 10 skips -10: nothing.
  for (auto [points, pretrig, quads] : {std::tuple{2048, 100, 15847}, {65536, 10, 0}}) {
    ReadoutRig r(points, pretrig);
    r.scope.ChanCOn = 0;
    readbufferA(r.scope);
    EXPECT_EQ(r.skipStrobes(4), (std::pair<int, int>{quads, 0})) << points;
    EXPECT_EQ(r.memory.dataReads, 2 * points);
    EXPECT_EQ(r.port.log.back(), written(kControlPort, 0));
  }
}

TEST(ReadbufferA, DigitalOnlyReadsOneBytePerPointAndLeavesA) {
  ReadoutRig r(4096);
  r.scope.ChanAOn = 0;
  r.scope.BufA.assign(65536, 1234);
  r.memory.words = {word(true, 100), word(false, 200)};
  readbufferA(r.scope);
  EXPECT_EQ(r.memory.dataReads, 4096);
  EXPECT_EQ(r.scope.BufA, SampleBuffer(65536, 1234));
  EXPECT_EQ(r.scope.BufC[0], 2560);
  EXPECT_EQ(r.scope.BufC[1], 2048);
}

TEST(Calibration, ClampsAndRoundsHalfToEven) {
  ReadoutRig r(2048, 65536 - 2048);  // no skip, so point i is word i
  r.memory.words = {word(false, 4095), word(false, 0), word(false, 2048), word(false, 2049)};
  auto read = [&](double offset, double gain) {
    r.memory.index = 0;
    r.scope.CalOffsetA = offset;
    r.scope.CalGainA = gain;
    readbufferA(r.scope);
    return std::vector<int>{r.scope.BufA[0], r.scope.BufA[1], r.scope.BufA[2], r.scope.BufA[3]};
  };
  EXPECT_EQ(read(5, 1), (std::vector<int>{4095, 5, 2053, 2054}));  // 4100 clamped
  EXPECT_EQ(read(-3, 1)[1], 0);
  EXPECT_EQ(read(0.5, 1), (std::vector<int>{4095, 0, 2048, 2050}));  // 2048.5, 2049.5
  // A huge gain saturates instead of overflowing.
  EXPECT_EQ(read(0, 100000), (std::vector<int>{4095, 0, 2048, 4095}));

  // B uses its own gain.
  r.scope.ChanAOn = r.scope.ChanCOn = 0;
  r.memory = WordPort();
  r.memory.words = {word(false, 2148)};
  r.scope.CalGainB = 2;
  readbufferB(r.scope);
  EXPECT_EQ(r.scope.BufB[0], 2248);
}

// B skips the pretrigger as well only when read alone (A and C off); what is left over
// from the four-point steps is skipped in single steps.
TEST(ReadbufferB, PretriggerIsSubtractedOnlyWithAAndCOff) {
  for (auto [aOn, cOn, quads, singles] : {std::tuple{1, 1, (65536 - 2048) / 4, 0},
                                          {0, 1, (65536 - 2048) / 4, 0},
                                          {0, 0, (65536 - 2048 - 10) / 4, 2}}) {
    ReadoutRig r(2048, 10);
    r.scope.ChanAOn = aOn;
    r.scope.ChanCOn = cOn;
    readbufferB(r.scope);
    EXPECT_EQ(r.skipStrobes(0x44), (std::pair<int, int>{quads, singles})) << aOn << cOn;
  }
}

}  // namespace
}  // namespace qvx
