#include "control/run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "control/data_files.h"
#include "started.h"

namespace qvx {
namespace {

using Access = RecordingPort::Access;
namespace fs = std::filesystem;

// The started program, counting the front-end configurations it sends.
struct Started : testing::Started {
  using testing::Started::Started;
  // How many times the front-end configuration was sent (WriteReg(38, 4)).
  int configurationsSent() const {
    const auto& log = rig.port.log;
    int n = 0;
    for (std::size_t i = 0; i + 2 < log.size(); ++i)
      n += log[i] == Access{true, 0x378, 38} && log[i + 1] == Access{true, 0x37A, 4} &&
           log[i + 2] == Access{true, 0x378, 4};
    return n;
  }
  void expectUnlocked() const {
    EXPECT_EQ(s.RunFlag, 0);
    EXPECT_EQ(p.GOBUTTON.caption, "GO");
    EXPECT_TRUE(p.SmodeUP.enabled && p.SmodeDown.enabled && p.SCOPEMODE.enabled &&
                p.Command22.enabled && p.SRATEN.enabled && p.Timer2.enabled());
    EXPECT_FALSE(p.Trigwait.visible);
  }
  const std::uint64_t& screenClears = p.ScopeScreen.clears;
};
struct RunEngine : ::testing::Test, Started {};

TEST(RunRefused, NoHardwareOrNoPowerShowsTheReasonForTwoSecondsAndLocksNothing) {
  sim::Config unplugged, off;
  unplugged.plugged = false;
  off.powered = false;
  const std::pair<sim::Config, const char*> cases[] = {
      {unplugged, "  No QVX Hardware !!! |  Aborting Command ..."},
      {off, " No Power to QVX  !!! | Check Power to QVX   "}};
  for (const auto& [config, message] : cases) {
    Started st(config);
    std::string shown;
    st.rig.host.onPump = [&] { shown = st.p.Trigwait.visible ? st.p.Trigwait.texts() : shown; };
    st.p.GOBUTTON.click();
    EXPECT_EQ(shown, message);
    EXPECT_EQ(st.rig.host.sleeps, std::vector<int>{2000});
    st.expectUnlocked();
    EXPECT_EQ(st.configurationsSent(), 0);
  }
}

TEST_F(RunEngine, SingleCaptureLocksThePanelDrawsWithItsSettingsAndUnlocks) {
  s.RangeA = 0;
  s.ProbeA = s.RangeStepA = 1;
  s.SampleRateIndex = 2;
  const std::uint64_t clears = screenClears;
  bool locked = false;
  rig.host.onPump = [&] {
    locked |= s.RunFlag == 1 && !p.SmodeUP.enabled && !p.Command22.enabled &&
              p.GOBUTTON.caption == "STOP";
  };
  p.GOBUTTON.click();
  EXPECT_TRUE(locked);
  EXPECT_EQ(s.CaptureDone, 1);
  EXPECT_GT(screenClears, clears);
  EXPECT_EQ(configurationsSent(), 1);
  expectUnlocked();
  EXPECT_EQ(p.GOCOLOR.backColour, RGB(0xFF, 0, 0));
  // The renderer draws with the settings the data were taken with.
  EXPECT_EQ((std::vector<int>{s.DataRangeA, s.DataRateIndex, s.DataSizeIndex}),
            (std::vector<int>{1, 2, s.SampleSizeIndex}));
}

// Start-up leaves "B" selectable; the run's probe finds no channel B, and from then on its
// trace is gone and its buttons stay unusable, through the run's end and mode changes.
TEST(RunWithoutChannelB, TheFirstRunRemovesTheAbsentChannel) {
  sim::Config bare;
  bare.channelB = false;
  Started st(bare);
  Panel& p = st.p;
  p.Command18.press();
  ASSERT_EQ(st.s.SelB, 1);
  const Colour traceB = st.s.TraceColour[1];
  p.GOBUTTON.click();
  for (int mode = 0; mode < 6; ++mode) {
    SCOPED_TRACE(mode);
    EXPECT_EQ(st.s.SelB, -1);
    EXPECT_FALSE(p.Command18.enabled || p.Command18.fontBold || p.Command6.enabled ||
                 p.Command7.enabled || p.Command5.enabled);
    EXPECT_FALSE(std::any_of(p.ScopeScreen.ops.begin(), p.ScopeScreen.ops.end(), [&](auto& op) {
      return op.kind == DrawOp::Kind::Polyline && op.colour == traceB;
    }));
    p.SmodeUP.press();
  }
}

TEST_F(RunEngine, CounterModeRunsOnePassEvenInRepeat) {
  s.OperatingMode = 3;
  s.RepeatMode = 1;
  // The counter measures until STOP; the engine then ends instead of repeating.
  rig.host.onPump = [&] {
    if (s.RunFlag == 1 && s.FCntReadings >= 1) p.GOBUTTON.click();
  };
  p.GOBUTTON.click();
  EXPECT_EQ(configurationsSent(), 1);
  expectUnlocked();
}

TEST_F(RunEngine, RepeatResendsTheConfigurationOnlyWhenARangeChanged) {
  s.RepeatMode = 1;
  s.SampleRateIndex = 4;
  s.SampleSizeIndex = 0;
  int captures = 0;
  std::uint64_t lastClears = screenClears;
  rig.host.onPump = [&] {
    if (screenClears == lastClears) return;
    lastClears = screenClears;
    if (++captures == 2) s.RangeA = 0;      // switched during the run
    if (captures == 5) p.GOBUTTON.click();  // STOP
  };
  p.GOBUTTON.click();
  EXPECT_GE(captures, 5);
  EXPECT_EQ(configurationsSent(), 2);  // at the start and after the change
  expectUnlocked();
}

// A remote run never draws with display updates off; one whose trigger never comes is
// neither drawn (although updates are on) nor written.
TEST(RemoteRun, WritesOnlyACompleteCaptureAndDrawsNothingUnlessAsked) {
  for (bool triggerNeverComes : {false, true}) {
    SCOPED_TRACE(triggerNeverComes);
    Started st;
    Scope& s = st.s;
    s.RemoteExecute = s.WriteDataA = s.WriteDataC = 1;
    s.RemoteDisplayUpdate = triggerNeverComes;
    if (triggerNeverComes) {
      s.TrigMode = 1;  // the level sits above anything the input reaches
      s.TrigCursorY = 10;
      s.RangeA = 1;
      st.rig.host.atTime(st.rig.host.clock + 5, [&] { s.RunFlag = 0; });
    }
    const std::uint64_t clears = st.screenClears;
    s.RunFlag = 1;
    GOMODE(s);
    EXPECT_EQ(s.CaptureDone, !triggerNeverComes);
    EXPECT_EQ(st.screenClears, clears);
    EXPECT_EQ(fs::exists("QVXAdata.dat") && fs::exists("QVXcdata.dat"), !triggerNeverComes);
  }
}

TEST_F(RunEngine, FftRunWithOnlyBOnRefreshesOnlyBsTimeData) {
  s.OperatingMode = 4;
  s.ChanAOn = s.ChanCOn = 0;
  std::fill(s.TimeBufA.begin(), s.TimeBufA.end(), 1234);
  std::fill(s.TimeBufB.begin(), s.TimeBufB.end(), 1234);
  s.RunFlag = 1;
  GOMODE(s);
  ASSERT_EQ(s.CaptureDone, 1);
  EXPECT_EQ(s.TimeBufA, SampleBuffer(65536, 1234));
  EXPECT_NE(s.TimeBufB, SampleBuffer(65536, 1234));
}

// After a capture the view returns to the start of the buffer in Normal mode and stays
// where the user put it in Delay mode.
TEST_F(RunEngine, ViewWindowAfterACaptureInNormalAndDelayMode) {
  for (int delay : {0, 1}) {
    SCOPED_TRACE(delay);
    s.TrigDelayMode = delay;
    p.HScroll1.setValue(300);
    ASSERT_EQ(p.HScroll1.value(), 300);
    p.GOBUTTON.click();
    ASSERT_EQ(s.CaptureDone, 1);
    EXPECT_EQ(p.HScroll1.value(), delay ? 300 : 0);
  }
}

// The bytes of file `name` at the given offsets, or nothing if its size is not `size`.
std::vector<int> bytesOf(const std::string& name, std::size_t size, std::vector<std::size_t> at) {
  std::ifstream in(name, std::ios::binary);
  const std::string data{std::istreambuf_iterator<char>(in), {}};
  if (data.size() != size) return {};
  std::vector<int> out;
  for (std::size_t i : at) out.push_back(static_cast<unsigned char>(data[i]));
  return out;
}

struct DataFiles : ::testing::Test {
  testing::TempFolder folder;
  testing::Rig rig;
  Scope& s = rig.scope;
  void SetUp() override {
    s.SampleSizeIndex = 0;  // 2K points in SCOPE mode
    s.ScrollUnit = 1024;
    s.BufA[0] = 0xABC;
    s.BufA[2047] = 0x123;
    s.BufA[2048] = 0xFFF;  // beyond the capture: not written
    s.BufB[1] = 4095;
    s.BufC[0] = 2560;
    s.BufC[1] = 2048;
    s.BufD[5] = 2049;  // just above the middle counts as high
  }
};

TEST_F(DataFiles, LayoutOfEachFileOnlyTheFlaggedOnesAndHalfAsManyPointsInFft) {
  std::ofstream("QVXAdata.dat") << std::string(100000, 'x');  // replaced whole
  s.WriteDataA = s.WriteDataC = s.WriteDataD = 1;
  ASSERT_TRUE(writeDataFiles(s, s, s));
  EXPECT_EQ(s.DataFilesReady, 1);
  EXPECT_EQ(s.RemoteFilePath, "QVXddata.dat");
  // Two bytes per analogue point, high first; untouched points hold 2048.
  EXPECT_EQ(bytesOf("QVXAdata.dat", 4096, {0, 1, 2, 3, 4094, 4095}),
            (std::vector<int>{0x0A, 0xBC, 0x08, 0x00, 0x01, 0x23}));
  EXPECT_EQ(bytesOf("QVXcdata.dat", 2048, {0, 1}), (std::vector<int>{1, 0}));
  EXPECT_EQ(bytesOf("QVXddata.dat", 2048, {4, 5}), (std::vector<int>{0, 1}));
  EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 3)
      << "no B file and no temporary left";
  s.ScrollUnit = 512;
  s.WriteDataA = s.WriteDataC = s.WriteDataD = 0;
  s.WriteDataB = 1;
  ASSERT_TRUE(writeDataFiles(s, s, s));
  EXPECT_EQ(bytesOf("QVXBdata.dat", 2048, {2, 3}), (std::vector<int>{0x0F, 0xFF}));
}

TEST_F(DataFiles, AWriteErrorAbandonsTheRemainingFilesOfTheRun) {
  s.WriteDataA = s.WriteDataB = s.WriteDataC = 1;
  // A folder standing where the B file must go: it cannot be replaced by a file.
  fs::create_directories("QVXBdata.dat/inside");
  EXPECT_FALSE(writeDataFiles(s, s, s));
  EXPECT_TRUE(fs::exists("QVXAdata.dat"));
  EXPECT_FALSE(fs::exists("QVXcdata.dat"));
  EXPECT_TRUE(fs::is_directory("QVXBdata.dat/inside"));
  EXPECT_FALSE(fs::exists("QVXBdata.dat.part"));
}

}  // namespace
}  // namespace qvx
