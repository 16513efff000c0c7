#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "control/groups.h"
#include "control/run.h"
#include "control/startup.h"
#include "device/link.h"
#include "port_panel_script.h"
#include "rig.h"

namespace qvx {
namespace {

using testing::Rig;
using testing::TempFolder;
using Access = RecordingPort::Access;

// How many times the front-end configuration was sent (WriteReg(38, 4)).
int setchabCount(const std::vector<Access>& log, std::uint32_t data = 0x378) {
  int n = 0;
  for (std::size_t i = 0; i + 3 < log.size(); ++i)
    if (log[i] == Access{true, data, 38} && log[i + 1] == Access{true, data + 2, 4} &&
        log[i + 2] == Access{true, data, 4} && log[i + 3] == Access{true, data + 2, 0})
      ++n;
  return n;
}

void writePortFile() { std::ofstream("QVXport.cfg", std::ios::binary) << " 1 \r\n"; }

// A scope started as the program starts, on the simulated instrument on LPT1.
struct Started {
  explicit Started(sim::Config cfg = {}) : rig(cfg) {
    writePortFile();
    Form_Load(rig.scope);
    Form_Activate(rig.scope);
    rig.port.log.clear();
    rig.host.messages.clear();
  }
  TempFolder folder;
  Rig rig;
  Scope& s = rig.scope;
};

void expectUnlocked(Scope& s) {
  EXPECT_EQ(s.RunFlag, 0);
  EXPECT_EQ(s.panel.GOBUTTON.caption, "GO");
  EXPECT_TRUE(s.panel.SmodeUP.enabled);
  EXPECT_TRUE(s.panel.SmodeDown.enabled);
  EXPECT_TRUE(s.panel.SCOPEMODE.enabled);
  EXPECT_TRUE(s.panel.Command22.enabled);
  EXPECT_TRUE(s.panel.SRATEN.enabled);
  EXPECT_TRUE(s.panel.Timer2.enabled());
  EXPECT_FALSE(s.panel.Trigwait.visible);
}

TEST(RunRefused, NoHardwareShowsTheMessageForTwoSecondsAndLocksNothing) {
  sim::Config unplugged;
  unplugged.plugged = false;
  TempFolder folder;
  Rig rig(unplugged);
  Scope& s = rig.scope;
  // Start-up opens the port panel when nothing answers; leave it at once.
  writePortFile();
  testing::exitPortPanelWhenShown(rig);
  Form_Load(s);
  Form_Activate(s);

  std::string shown;
  rig.host.onPump = [&] {
    if (s.panel.Trigwait.visible) shown = s.panel.Trigwait.texts();
  };
  rig.host.sleeps.clear();
  s.panel.GOBUTTON.click();
  EXPECT_EQ(shown, "  No QVX Hardware !!! |  Aborting Command ...");
  EXPECT_EQ(rig.host.sleeps, std::vector<int>{2000});
  expectUnlocked(s);
  EXPECT_EQ(setchabCount(rig.port.log), 0);
}

TEST(RunRefused, UnpoweredInstrumentSaysCheckPowerAndRecovers) {
  sim::Config off;
  off.powered = false;
  Started st(off);
  std::string shown;
  st.rig.host.onPump = [&] {
    if (st.s.panel.Trigwait.visible) shown = st.s.panel.Trigwait.texts();
  };
  st.s.panel.GOBUTTON.click();
  EXPECT_EQ(shown, " No Power to QVX  !!! | Check Power to QVX   ");
  expectUnlocked(st.s);
  // Powering the instrument needs no restart: the next GO runs.
}

TEST(RunEngine, SingleCaptureDrawsOnceAndUnlocks) {
  Started st;
  Scope& s = st.s;
  std::uint64_t clears = s.panel.ScopeScreen.clears;
  bool lockedDuringRun = false;
  st.rig.host.onPump = [&] {
    if (s.RunFlag == 1 && !s.panel.SmodeUP.enabled && !s.panel.Command22.enabled &&
        s.panel.GOBUTTON.caption == "STOP")
      lockedDuringRun = true;
  };
  s.panel.GOBUTTON.click();
  EXPECT_TRUE(lockedDuringRun);
  EXPECT_EQ(s.CaptureDone, 1);
  EXPECT_GT(s.panel.ScopeScreen.clears, clears);
  EXPECT_EQ(setchabCount(st.rig.port.log), 1);
  expectUnlocked(s);
  EXPECT_EQ(s.panel.GOCOLOR.backColour, RGB(0xFF, 0, 0));
}

TEST(RunEngine, CounterModeRunsOnePassEvenInRepeat) {
  Started st;
  Scope& s = st.s;
  s.OperatingMode = 3;
  s.RepeatMode = 1;
  s.panel.GOBUTTON.click();  // returns: one measurement per GO
  EXPECT_EQ(s.RunFlag, 0);
  EXPECT_EQ(setchabCount(st.rig.port.log), 1);
  EXPECT_EQ(s.panel.GOBUTTON.caption, "GO");
}

TEST(RunEngine, RepeatResendsTheConfigurationOnlyWhenARangeChanged) {
  Started st;
  Scope& s = st.s;
  s.RepeatMode = 1;
  s.SampleRateIndex = 4;
  s.SampleSizeIndex = 0;
  int captures = 0;
  std::uint64_t lastClears = s.panel.ScopeScreen.clears;
  st.rig.host.onPump = [&] {
    if (s.panel.ScopeScreen.clears == lastClears) return;
    lastClears = s.panel.ScopeScreen.clears;
    ++captures;
    if (captures == 2) s.RangeA = 0;             // switched during the run
    if (captures == 5) s.panel.GOBUTTON.click();  // STOP
  };
  s.panel.GOBUTTON.click();
  EXPECT_GE(captures, 5);
  EXPECT_EQ(setchabCount(st.rig.port.log), 2);  // at the start and after the change
  expectUnlocked(s);
}

TEST(RunEngine, AnIncompleteCaptureIsNeitherDrawnNorWritten) {
  Started st;
  Scope& s = st.s;
  s.TrigMode = 1;       // triggered; the level sits above anything the input reaches
  s.TrigCursorY = 10;
  s.RangeA = 1;
  s.RemoteExecute = 1;  // as a remote run, which writes data files
  s.WriteDataA = 1;
  std::uint64_t clears = s.panel.ScopeScreen.clears;
  st.rig.host.atTime(st.rig.host.clock + 5, [&] { s.RunFlag = 0; });
  s.RunFlag = 1;
  GOMODE(s);
  EXPECT_EQ(s.CaptureDone, 0);
  EXPECT_EQ(s.panel.ScopeScreen.clears, clears);
  EXPECT_FALSE(std::filesystem::exists("QVXAdata.dat"));
}

TEST(RunEngine, RemoteRunWritesDataFilesWithoutDrawingWhenUpdatesAreOff) {
  Started st;
  Scope& s = st.s;
  s.RemoteExecute = 1;
  s.RemoteDisplayUpdate = 0;
  s.WriteDataA = 1;
  s.WriteDataC = 1;
  std::uint64_t clears = s.panel.ScopeScreen.clears;
  s.RunFlag = 1;
  GOMODE(s);
  EXPECT_EQ(s.CaptureDone, 1);
  EXPECT_EQ(s.panel.ScopeScreen.clears, clears);
  EXPECT_EQ(std::filesystem::file_size("QVXAdata.dat"), 2u * 4096u);
  EXPECT_EQ(std::filesystem::file_size("QVXcdata.dat"), 4096u);
  EXPECT_EQ(s.DataFilesReady, 1);
}

TEST(RunEngine, FftRunWithOnlyBOnRefreshesOnlyBsTimeData) {
  Started st;
  Scope& s = st.s;
  s.OperatingMode = 4;
  s.ChanAOn = 0;
  s.ChanCOn = 0;
  std::fill(s.TimeBufA.begin(), s.TimeBufA.end(), 1234);
  std::fill(s.TimeBufB.begin(), s.TimeBufB.end(), 1234);
  s.RunFlag = 1;
  GOMODE(s);
  ASSERT_EQ(s.CaptureDone, 1);
  EXPECT_EQ(s.TimeBufA[0], 1234);
  EXPECT_NE(s.TimeBufB, SampleBuffer(65536, 1234));
}

TEST(RunEngine, SnapshotTakesTheSettingsTheDataWereTakenWith) {
  Started st;
  Scope& s = st.s;
  s.RangeA = 0;
  s.ProbeA = 1;
  s.RangeStepA = 1;
  s.SampleRateIndex = 2;
  s.panel.GOBUTTON.click();
  EXPECT_EQ(s.DataRangeA, 1);
  EXPECT_EQ(s.DataRateIndex, 2);
  EXPECT_EQ(s.DataSizeIndex, s.SampleSizeIndex);
}

}  // namespace
}  // namespace qvx
