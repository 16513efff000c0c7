#include "acquisition/capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <tuple>

#include "device/recorder.h"
#include "expected_conversation.h"
#include "scripted_host.h"

namespace qvx {
namespace {

using Access = RecordingPort::Access;

using testing::regWrite;

// An instrument reduced to its end-of-capture bit: it shows the bit from the n-th status
// read on (never when n is 0).
class EndBitPort : public PortIO {
 public:
  int endAtRead = 0, statusReads = 0;
  void OutPort(std::uint32_t, std::uint8_t) override {}
  std::uint8_t InPort(std::uint32_t address) override {
    if (address != testing::kStatusPort) return 0;
    ++statusReads;
    return endAtRead > 0 && statusReads >= endAtRead ? 8 : 0;
  }
};

// A 2K capture at rate code 2, running, in trigger mode `trigMode`.
struct CaptureRig {
  explicit CaptureRig(int trigMode = 0) : port(&device), scope(host, port) {
    host.panel = &scope.panel;
    scope.SampleCount = scope.LoadedSampleCount = 2048;
    scope.RateCode = 2;
    scope.RunFlag = 1;
    scope.CaptureDone = 0;
    scope.TrigMode = trigMode;
  }
  int count(const std::vector<Access>& seq) const {
    int n = 0;
    for (auto it = port.log.begin();
         (it = std::search(it, port.log.end(), seq.begin(), seq.end())) != port.log.end(); ++it)
      ++n;
    return n;
  }
  bool readStarted() const { return count(regWrite(7, 0)) > 0; }
  // Whether the wait window is up during the n-th event pump; its text then.
  void watchWindow(int pump, std::function<void()> also = {}) {
    host.afterPumps(pump, [this, also] {
      if (scope.panel.Trigwait.visible) shown = scope.panel.Trigwait.texts();
      if (also) also();
    });
  }
  testing::ScriptedHost host;
  EndBitPort device;
  RecordingPort port;
  Scope scope;
  std::string shown;
};

TEST(WaitLoops, SlowRatesPollLongerAndOnlyTheSlowestShowsTheWindow) {
  for (auto [rateCode, points, loops, window] :
       {std::tuple{5, 65536, 2099, "   Wait... capturing|  Press [STOP] to exit|  0.0 s of 32.8 s"},
        {4, 2048, 103, ""}}) {
    CaptureRig r;
    r.scope.RateCode = rateCode;
    r.scope.SampleCount = r.scope.LoadedSampleCount = points;
    r.watchWindow(1);
    autoconvert(r.scope);
    EXPECT_EQ(r.device.statusReads, loops);
    EXPECT_EQ(r.shown, window);
    EXPECT_FALSE(r.scope.panel.Trigwait.visible);
    EXPECT_EQ(r.scope.CaptureDone, 0);  // timed out
  }
}

TEST(ADCconvert, EndBitOnTheLastPollOfAPassCountsAsComplete) {
  for (int mode : {0, 1}) {
    CaptureRig r(mode);
    r.device.endAtRead = mode ? 200 : 100;  // triggered: the last poll of the second pass
    ADCconvert(r.scope);
    EXPECT_EQ(r.device.statusReads, r.device.endAtRead) << mode;
    EXPECT_EQ(r.scope.CaptureDone, 1) << mode;
    EXPECT_TRUE(r.readStarted()) << mode;
    if (mode) EXPECT_EQ(r.count(regWrite(2, 16)), 2);  // one re-start after the first pass
  }
}

TEST(Trigconvert, APassWithoutTriggerStartsAgainAndSaysSo) {
  CaptureRig r(2);
  r.scope.TrigSource = 1;
  r.watchWindow(150, [&] { r.scope.RunFlag = 0; });
  trigconvert(r.scope);
  EXPECT_EQ(r.shown, "   Waiting For Capture|  Press [STOP] to exit");
  EXPECT_EQ(r.count(regWrite(2, 16 + 64)), 2);
}

// Everything that ends a wait early: only the command file during an instant capture
// still has the buffers read; a triggered wait always leaves the instrument idle.
TEST(ADCconvert, EventsEndingTheWait) {
  enum Event { Stop, Level, Mode, File };
  struct Case {
    int trigMode, pump, statusReads;
    Event event;
    int runFlag, done;
  };
  for (const Case& c :
       {Case{0, 5, 5, Stop, 0, 0}, Case{1, 250, -1, Stop, 0, 0}, Case{1, 4, 2, Level, 1, 0},
        Case{1, 3, -1, Mode, 1, 0}, Case{0, 4, -1, File, 0, 1}, Case{1, 6, -1, File, 0, 0}}) {
    SCOPED_TRACE(::testing::Message() << "mode " << c.trigMode << " event " << c.event);
    testing::TempFolder folder;
    CaptureRig r(c.trigMode);
    Scope& s = r.scope;
    r.host.afterPumps(c.pump, [&] {
      if (c.pump > 100) EXPECT_TRUE(s.panel.Trigwait.visible);  // after a pass without trigger
      if (c.event == Stop) s.RunFlag = 0;
      if (c.event == Level) s.TrigLevelCode = 1000;
      if (c.event == Mode) s.TrigMode = 2;
      if (c.event == File) std::ofstream("QVXcom.txt") << "GO=1\n";
    });
    ADCconvert(s);
    if (c.statusReads >= 0) EXPECT_EQ(r.device.statusReads, c.statusReads);
    EXPECT_EQ(s.RunFlag, c.runFlag);
    EXPECT_EQ(s.CaptureDone, c.done);
    EXPECT_EQ(r.readStarted(), c.done == 1);
    EXPECT_FALSE(s.panel.Trigwait.visible);
    const auto idle = regWrite(0, 0);
    if (c.trigMode) EXPECT_TRUE(std::equal(idle.rbegin(), idle.rend(), r.port.log.rbegin()));
  }
}

TEST(ADCconvert, ReloadsTheCounterOnlyForANewSizeAndReadsOnlyWhatIsOn) {
  CaptureRig r;
  Scope& s = r.scope;
  r.device.endAtRead = 1;
  ADCconvert(s);
  EXPECT_EQ(r.count(regWrite(128, 3)), 0);
  s.SampleCount = 4096;
  s.FftDoneA = s.FftDoneB = 1;
  ADCconvert(s);
  EXPECT_EQ(r.count(regWrite(128, 3)), 1);
  EXPECT_EQ(s.FftDoneA + s.FftDoneB, 0);  // fresh samples to transform

  r.port.log.clear();
  s.ChanAOn = s.ChanBOn = s.ChanCOn = s.ChanDOn = 0;
  ADCconvert(s);
  EXPECT_EQ(s.CaptureDone, 1);
  EXPECT_FALSE(r.readStarted());
}

}  // namespace
}  // namespace qvx
