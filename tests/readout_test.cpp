#include "acquisition/readout.h"

#include <gtest/gtest.h>

#include "device/link.h"
#include "device/recorder.h"
#include "scripted_host.h"

namespace qvx {
namespace {

using testing::ScriptedHost;
using Access = RecordingPort::Access;

constexpr std::uint32_t D = 0x378, C = 0x37A;
Access W(std::uint32_t a, int v) {
  return {true, a, static_cast<std::uint8_t>(v)};
}
std::vector<Access> writeReg(int v, int r) {
  return {W(D, v), W(C, 4), W(D, r), W(C, 0)};
}

// A memory behind the port: each point is two bytes (first in the high half), shown
// as the first byte while STROBE is low and the second while it is high; a STROBE
// falling edge in read direction moves to the next point.
class WordPort : public PortIO {
 public:
  std::vector<std::uint16_t> words{0};
  std::size_t index = 0;
  int dataReads = 0;

  void OutPort(std::uint32_t address, std::uint8_t v) override {
    if (address != C) return;
    if ((control_ & 1) && !(v & 1) && (v & 0x20)) ++index;
    control_ = v;
  }
  std::uint8_t InPort(std::uint32_t address) override {
    if (address != D) return 0;
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
  ReadoutRig() : port(&memory), scope(host, port) {
    scope.SampleCount = 65536;
    scope.PretrigPoints = 0;
  }
  ScriptedHost host;
  WordPort memory;
  RecordingPort port;
  Scope scope;

  // Strobe pairs (0x23, 0x22) in the log, split at the register write that switches the
  // readout to single steps.
  std::pair<int, int> skipStrobes(int selectReg) const {
    const std::vector<Access> single = writeReg(0, selectReg);
    int before = 0, after = 0;
    bool singles = false;
    const auto& log = port.log;
    for (std::size_t i = 0; i + 1 < log.size(); ++i) {
      if (!singles && i + single.size() <= log.size() &&
          std::equal(single.begin(), single.end(), log.begin() + static_cast<long>(i)))
        singles = true;
      if (log[i] == W(C, 0x23) && log[i + 1] == W(C, 0x22)) ++(singles ? after : before);
    }
    return {before, after};
  }
};

TEST(SkipSteps, NegativeSkipsTakeNoSteps) {
  EXPECT_EQ(skipSteps(63388).quads, 15847);
  EXPECT_EQ(skipSteps(63388).singles, 0);
  EXPECT_EQ(skipSteps(-10).quads, 0);
  EXPECT_EQ(skipSteps(-10).singles, 0);
  EXPECT_EQ(skipSteps(7).quads, 1);
  EXPECT_EQ(skipSteps(7).singles, 3);
}

TEST(ReadbufferA, TwoKWithPretriggerHundredSkipsInFourPointSteps) {
  ReadoutRig r;
  r.scope.SampleCount = 2048;
  r.scope.PretrigPoints = 100;
  r.scope.ChanCOn = 0;
  readbufferA(r.scope);
  auto [quads, singles] = r.skipStrobes(4);
  EXPECT_EQ(quads, 15847);
  EXPECT_EQ(singles, 0);
  EXPECT_EQ(r.memory.dataReads, 2 * 2048);
}

TEST(ReadbufferA, SixtyFourKWithPretriggerTakesNoSkipSteps) {
  ReadoutRig r;
  r.scope.PretrigPoints = 10;
  readbufferA(r.scope);
  auto [quads, singles] = r.skipStrobes(4);
  EXPECT_EQ(quads, 0);
  EXPECT_EQ(singles, 0);
  const std::vector<Access> head = [] {
    auto a = writeReg(7, 0), b = writeReg(7, 4), c = writeReg(0, 4);
    a.insert(a.end(), b.begin(), b.end());
    a.insert(a.end(), c.begin(), c.end());
    a.push_back(W(C, 0x22));
    return a;
  }();
  ASSERT_GT(r.port.log.size(), head.size());
  EXPECT_TRUE(std::equal(head.begin(), head.end(), r.port.log.begin()));
  EXPECT_EQ(r.port.log.back(), W(C, 0));
}

TEST(ReadbufferA, SplitsTheBytesIntoCodeAndDigitalBit) {
  ReadoutRig r;
  r.memory.words = {word(true, 4095), word(false, 0), word(true, 0x5A3)};
  readbufferA(r.scope);
  EXPECT_EQ(r.scope.BufA[0], 4095);
  EXPECT_EQ(r.scope.BufC[0], 2560);
  EXPECT_EQ(r.scope.BufA[1], 0);
  EXPECT_EQ(r.scope.BufC[1], 2048);
  EXPECT_EQ(r.scope.BufA[2], 0x5A3);
  EXPECT_EQ(r.scope.BufC[2], 2560);
  EXPECT_EQ(r.scope.BufA[65535], 4095);
}

TEST(ReadbufferA, DigitalOnlyReadsOneBytePerPointAndLeavesA) {
  ReadoutRig r;
  r.scope.ChanAOn = 0;
  r.scope.SampleCount = 4096;
  r.scope.BufA.assign(65536, 1234);
  r.memory.words = {word(true, 100), word(false, 200)};
  readbufferA(r.scope);
  EXPECT_EQ(r.memory.dataReads, 4096);
  EXPECT_EQ(r.scope.BufA[0], 1234);
  EXPECT_EQ(r.scope.BufA[4095], 1234);
  EXPECT_EQ(r.scope.BufC[0], 2560);
  EXPECT_EQ(r.scope.BufC[1], 2048);
}

TEST(ReadbufferA, NothingOnMeansNoPortAccess) {
  ReadoutRig r;
  r.scope.ChanAOn = r.scope.ChanCOn = 0;
  readbufferA(r.scope);
  r.scope.ChanBOn = r.scope.ChanDOn = 0;
  readbufferB(r.scope);
  EXPECT_TRUE(r.port.log.empty());
}

TEST(Calibration, ClampsAndRoundsHalfToEven) {
  ReadoutRig r;
  r.scope.SampleCount = 2048;
  r.scope.PretrigPoints = 65536 - 2048;  // no skip, so point i is word i
  r.memory.words = {word(false, 4095), word(false, 0), word(false, 2048), word(false, 2049)};
  r.scope.CalOffsetA = 5;
  readbufferA(r.scope);
  EXPECT_EQ(r.scope.BufA[0], 4095);  // 4100
  EXPECT_EQ(r.scope.BufA[1], 5);

  r.memory.index = 0;
  r.scope.CalOffsetA = -3;
  readbufferA(r.scope);
  EXPECT_EQ(r.scope.BufA[1], 0);  // -3

  r.memory.index = 0;
  r.scope.CalOffsetA = 0.5;
  readbufferA(r.scope);
  EXPECT_EQ(r.scope.BufA[2], 2048);  // 2048.5
  EXPECT_EQ(r.scope.BufA[3], 2050);  // 2049.5

  r.memory.index = 0;
  r.scope.CalOffsetA = 0;
  r.scope.CalGainA = 100000;  // a huge gain saturates instead of overflowing
  readbufferA(r.scope);
  EXPECT_EQ(r.scope.BufA[0], 4095);
  EXPECT_EQ(r.scope.BufA[1], 0);
  EXPECT_EQ(r.scope.BufA[2], 2048);
}

TEST(Calibration, ChannelBUsesItsOwnGain) {
  ReadoutRig r;
  r.scope.SampleCount = 2048;
  r.scope.PretrigPoints = 65536 - 2048;
  r.scope.ChanAOn = r.scope.ChanCOn = 0;  // so the pretrigger applies to B
  r.memory.words = {word(false, 2148)};
  r.scope.CalGainB = 2;
  r.scope.CalGainA = 3;
  readbufferB(r.scope);
  EXPECT_EQ(r.scope.BufB[0], 2248);
}

TEST(ReadbufferB, PretriggerIsSubtractedOnlyWithAAndCOff) {
  ReadoutRig r;
  r.scope.SampleCount = 2048;
  r.scope.PretrigPoints = 100;
  readbufferB(r.scope);
  EXPECT_EQ(r.skipStrobes(0x44), (std::pair<int, int>{(65536 - 2048) / 4, 0}));

  r.port.log.clear();
  r.scope.ChanAOn = 0;  // C still on
  readbufferB(r.scope);
  EXPECT_EQ(r.skipStrobes(0x44), (std::pair<int, int>{(65536 - 2048) / 4, 0}));

  r.port.log.clear();
  r.scope.ChanCOn = 0;
  r.scope.PretrigPoints = 10;
  readbufferB(r.scope);
  EXPECT_EQ(r.skipStrobes(0x44), (std::pair<int, int>{(65536 - 2048 - 10) / 4, 2}));
}

TEST(ReadbufferB, StrobesWithBitTwoAndEndsBeforeCalibration) {
  ReadoutRig r;
  r.scope.SampleCount = 2048;
  r.scope.ChanDOn = 0;
  readbufferB(r.scope);
  const auto& log = r.port.log;
  const std::size_t n = log.size();
  // Tail: ... 0x27, read, 0x26, then 0x22 and 0.
  EXPECT_EQ(log[n - 1], W(C, 0));
  EXPECT_EQ(log[n - 2], W(C, 0x22));
  EXPECT_EQ(log[n - 3], W(C, 0x26));
  EXPECT_EQ(log[n - 5], W(C, 0x27));
  EXPECT_EQ(r.memory.dataReads, 2 * 2048);
}

}  // namespace
}  // namespace qvx
