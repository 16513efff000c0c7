#include "acquisition/capture.h"

#include <gtest/gtest.h>

#include <fstream>

#include "device/link.h"
#include "device/recorder.h"
#include "scripted_host.h"

namespace qvx {
namespace {

using testing::ScriptedHost;
using testing::TempFolder;
using Access = RecordingPort::Access;

constexpr std::uint32_t D = 0x378, S = 0x379, C = 0x37A;
Access W(std::uint32_t a, int v) {
  return {true, a, static_cast<std::uint8_t>(v)};
}
std::vector<Access> writeReg(int v, int r) {
  return {W(D, v), W(C, 4), W(D, r), W(C, 0)};
}

// An instrument reduced to its end-of-capture bit: it shows the bit from the n-th status
// read on (never when n is 0).
class EndBitPort : public PortIO {
 public:
  int endAtRead = 0;
  int statusReads = 0;
  void OutPort(std::uint32_t, std::uint8_t) override {}
  std::uint8_t InPort(std::uint32_t address) override {
    if (address != S) return 0;
    ++statusReads;
    return endAtRead > 0 && statusReads >= endAtRead ? 8 : 0;
  }
};

struct CaptureRig {
  CaptureRig() : port(&device), scope(host, port) {
    host.panel = &scope.panel;
    scope.SampleCount = scope.LoadedSampleCount = 2048;
    scope.RateCode = 2;
    scope.RunFlag = 1;
    scope.CaptureDone = 0;
  }
  bool readStarted() const {
    const auto head = writeReg(7, 0);
    return std::search(port.log.begin(), port.log.end(), head.begin(), head.end()) !=
           port.log.end();
  }
  bool endsWithIdleWrite() const {
    const auto tail = writeReg(0, 0);
    return port.log.size() >= 4 && std::equal(tail.begin(), tail.end(), port.log.end() - 4);
  }
  int count(const std::vector<Access>& seq) const {
    int n = 0;
    for (auto it = port.log.begin();
         (it = std::search(it, port.log.end(), seq.begin(), seq.end())) != port.log.end(); ++it)
      ++n;
    return n;
  }
  ScriptedHost host;
  EndBitPort device;
  RecordingPort port;
  Scope scope;
};

TEST(WaitLoops, SlowestRateWaitsLongerAndShowsTheWindow) {
  CaptureRig r;
  r.scope.RateCode = 5;
  r.scope.SampleCount = r.scope.LoadedSampleCount = 65536;
  bool shown = false;
  std::string lines;
  r.host.afterPumps(1, [&] {
    shown = r.scope.panel.Trigwait.visible;
    lines = r.scope.panel.Trigwait.texts();
  });
  autoconvert(r.scope);
  EXPECT_EQ(r.scope.WaitLoops, 2099);
  EXPECT_EQ(r.device.statusReads, 2099);
  EXPECT_TRUE(shown);
  EXPECT_EQ(lines, "   Wait... capturing|  Press [STOP] to exit");
  EXPECT_FALSE(r.scope.panel.Trigwait.visible);
  EXPECT_EQ(r.scope.CaptureDone, 0);  // timed out
}

TEST(WaitLoops, RateCodeFourAddsAFewPollsWithoutAWindow) {
  CaptureRig r;
  r.scope.RateCode = 4;
  r.scope.panel.Trigwait.visible = false;
  bool shown = false;
  r.host.afterPumps(1, [&] { shown = r.scope.panel.Trigwait.visible; });
  autoconvert(r.scope);
  EXPECT_EQ(r.scope.WaitLoops, 103);
  EXPECT_EQ(r.device.statusReads, 103);
  EXPECT_FALSE(shown);
}

TEST(Autoconvert, StartsWithTheRateAndTheSourceSide) {
  CaptureRig r;
  r.scope.TrigSource = 1;
  r.scope.RateCode = 3;
  r.device.endAtRead = 1;
  autoconvert(r.scope);
  auto expected = writeReg(0, 64);
  auto start = writeReg(3, 66);
  expected.insert(expected.end(), start.begin(), start.end());
  ASSERT_GE(r.port.log.size(), 8u);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), r.port.log.begin()));
  EXPECT_EQ(r.host.sleeps.front(), 1);
  EXPECT_EQ(r.scope.CaptureDone, 1);
}

TEST(Autoconvert, EndBitOnTheLastPollCountsAsComplete) {
  CaptureRig r;
  r.device.endAtRead = 100;
  autoconvert(r.scope);
  EXPECT_EQ(r.device.statusReads, 100);
  EXPECT_EQ(r.scope.CaptureDone, 1);
}

TEST(Autoconvert, StopLeavesTheCaptureUndone) {
  CaptureRig r;
  r.host.afterPumps(5, [&] { r.scope.RunFlag = 0; });
  autoconvert(r.scope);
  EXPECT_EQ(r.device.statusReads, 5);
  EXPECT_EQ(r.scope.CaptureDone, 0);
}

TEST(Autoconvert, CommandFileStopsTheRunButTheBuffersAreRead) {
  TempFolder folder;
  CaptureRig r;
  r.scope.TrigMode = 0;
  r.host.afterPumps(4, [] { std::ofstream("QVXcom.txt") << "GO=1\n"; });
  ADCconvert(r.scope);
  EXPECT_EQ(r.scope.RemoteFilePath, "QVXcom.txt");
  EXPECT_EQ(r.scope.RunFlag, 0);
  EXPECT_EQ(r.scope.CaptureDone, 1);
  EXPECT_TRUE(r.readStarted());
  EXPECT_FALSE(r.scope.panel.Trigwait.visible);
}

TEST(Trigconvert, ArmsWithSourceSlopeAndLevel) {
  CaptureRig r;
  r.scope.TrigMode = 1;
  r.scope.TrigSource = 3;  // D
  r.scope.TrigSlope = -1;
  r.scope.TrigLevelCode = 0xABC;
  r.scope.RateCode = 4;
  r.device.endAtRead = 1;
  trigconvert(r.scope);
  std::vector<Access> expected = writeReg(16 + 64, 64 + 128);
  for (auto part : {std::vector<Access>{W(D, 0xBC), W(C, 1), W(D, 0x0A), W(C, 0)},
                    writeReg(4 + 64, 16 + 64 + 128)})
    expected.insert(expected.end(), part.begin(), part.end());
  ASSERT_GE(r.port.log.size(), expected.size());
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), r.port.log.begin()));
  EXPECT_EQ(r.scope.ArmedTrigLevel, 0xABC);
  EXPECT_EQ(r.scope.TrigArmed, 0);
  EXPECT_EQ(r.scope.CaptureDone, 1);
  EXPECT_TRUE(r.endsWithIdleWrite());
}

TEST(Trigconvert, EndBitOnTheLastPollOfAPassCountsAsComplete) {
  CaptureRig r;
  r.scope.TrigMode = 1;
  r.device.endAtRead = 200;  // the last poll of the second pass
  trigconvert(r.scope);
  EXPECT_EQ(r.scope.CaptureDone, 1);
  EXPECT_EQ(r.device.statusReads, 200);
  // One re-start after the first pass ran out.
  EXPECT_EQ(r.count(writeReg(2, 16)), 2);
}

TEST(Trigconvert, APassWithoutTriggerStartsAgainAndSaysSo) {
  CaptureRig r;
  r.scope.TrigMode = 2;
  r.scope.TrigSource = 1;
  std::string lines;
  bool shown = false;
  r.host.afterPumps(150, [&] {
    shown = r.scope.panel.Trigwait.visible;
    lines = r.scope.panel.Trigwait.texts();
    r.scope.RunFlag = 0;
  });
  trigconvert(r.scope);
  EXPECT_TRUE(shown);
  EXPECT_EQ(lines, "   Waiting For Capture|  Press [STOP] to exit");
  EXPECT_EQ(r.count(writeReg(2, 16 + 64)), 2);
}

TEST(Trigconvert, StopHidesTheWindowReadsNothingAndIdlesTheInstrument) {
  CaptureRig r;
  r.scope.TrigMode = 1;
  r.host.afterPumps(250, [&] { r.scope.RunFlag = 0; });
  ADCconvert(r.scope);
  EXPECT_FALSE(r.scope.panel.Trigwait.visible);
  EXPECT_EQ(r.scope.CaptureDone, 0);
  EXPECT_FALSE(r.readStarted());
  EXPECT_TRUE(r.endsWithIdleWrite());
  EXPECT_EQ(r.scope.TrigArmed, 1);
}

TEST(Trigconvert, LevelChangeEndsTheWaitAtOnce) {
  CaptureRig r;
  r.scope.TrigMode = 1;
  r.device.endAtRead = 10;  // would end later; the level change comes first
  r.host.afterPumps(4, [&] { r.scope.TrigLevelCode = 1000; });
  ADCconvert(r.scope);
  EXPECT_EQ(r.device.statusReads, 2);
  EXPECT_EQ(r.scope.CaptureDone, 0);
  EXPECT_EQ(r.scope.RunFlag, 1);
  EXPECT_FALSE(r.readStarted());
  EXPECT_TRUE(r.endsWithIdleWrite());
}

TEST(Trigconvert, ModeChangeEndsTheWait) {
  CaptureRig r;
  r.scope.TrigMode = 1;
  r.host.afterPumps(3, [&] { r.scope.TrigMode = 2; });
  trigconvert(r.scope);
  EXPECT_EQ(r.scope.CaptureDone, 0);
  EXPECT_TRUE(r.endsWithIdleWrite());
}

TEST(Trigconvert, CommandFileStopsTheRunWithoutReading) {
  TempFolder folder;
  CaptureRig r;
  r.scope.TrigMode = 1;
  r.scope.RemotePrefix = "XY";
  r.host.afterPumps(6, [] { std::ofstream("XYcom.txt") << "GO=1\n"; });
  ADCconvert(r.scope);
  EXPECT_EQ(r.scope.RunFlag, 0);
  EXPECT_EQ(r.scope.CaptureDone, 0);
  EXPECT_FALSE(r.readStarted());
  EXPECT_TRUE(r.endsWithIdleWrite());
}

TEST(ADCconvert, LoadsTheCounterOnlyWhenTheSizeChanged) {
  CaptureRig r;
  r.device.endAtRead = 1;
  ADCconvert(r.scope);
  EXPECT_EQ(r.count(writeReg(128, 3)), 0);
  r.scope.SampleCount = 4096;
  r.scope.FftDoneA = r.scope.FftDoneB = 1;
  ADCconvert(r.scope);
  EXPECT_EQ(r.count(writeReg(128, 3)), 1);
  EXPECT_EQ(r.scope.LoadedSampleCount, 4096);
  EXPECT_EQ(r.scope.FftDoneA, 0);
  EXPECT_EQ(r.scope.FftDoneB, 0);
}

TEST(ADCconvert, AllChannelsOffReadsNothing) {
  CaptureRig r;
  r.device.endAtRead = 1;
  r.scope.ChanAOn = r.scope.ChanBOn = r.scope.ChanCOn = r.scope.ChanDOn = 0;
  ADCconvert(r.scope);
  EXPECT_EQ(r.scope.CaptureDone, 1);
  EXPECT_FALSE(r.readStarted());
}

}  // namespace
}  // namespace qvx
