#include "control/startup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "control/modes.h"
#include "device/port_file.h"
#include "port_panel_script.h"
#include "rig.h"

namespace qvx {
namespace {

using testing::exitPortPanelWhenShown;
using testing::Rig;
using testing::TempFolder;

std::string fileText(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const char* path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

bool allEqual(const SampleBuffer& b, int v) {
  return std::all_of(b.begin(), b.end(), [v](std::int16_t x) { return x == v; });
}

// The X-magnify bar as it stood when its value first reached 1000.
struct ScrollSnapshot {
  int min = 0, max = 0, large = 0, small = 0;
  int large1 = 0, small1 = 0;
  bool seen = false;
};

void start(Rig& r) {
  Form_Load(r.scope);
  Form_Activate(r.scope);
}

TEST(StartUp, SetsTheStartValuesWithTheInstrumentPresent) {
  TempFolder folder;
  writeFile(kPortFileName, " 1 \r\n");
  Rig r;
  Scope& s = r.scope;
  Panel& p = s.panel;
  // Dirty state that start-up must overwrite.
  s.BufA.assign(65536, 1);
  s.GenTable.assign(65536, 3);
  s.SelB = 1;
  s.CalGainA = 2;
  s.TrigCursorY = 100;

  Form_Load(s);
  ScrollSnapshot snap;
  p.HScroll2.onChange = [&] {
    if (p.HScroll2.value() != 1000 || snap.seen) return;
    snap = {p.HScroll2.Min,
            p.HScroll2.Max,
            p.HScroll2.LargeChange,
            p.HScroll2.SmallChange,
            p.HScroll1.LargeChange,
            p.HScroll1.SmallChange,
            true};
  };
  Form_Activate(s);

  EXPECT_EQ(p.windowPlace.width, 12050);
  EXPECT_EQ(p.windowPlace.height, 8610);

  ASSERT_TRUE(snap.seen);
  EXPECT_EQ(snap.min, 256);
  EXPECT_EQ(snap.max, 32767);
  EXPECT_EQ(snap.large, 1024);
  EXPECT_EQ(snap.small, 64);
  EXPECT_EQ(snap.large1, 1000);
  EXPECT_EQ(snap.small1, 1);
  EXPECT_EQ(p.HScroll2.value(), 1000);

  EXPECT_EQ(s.ChanBFitted, 64);
  EXPECT_EQ(s.GenFitted, 1);
  EXPECT_NE(s.ModelCode, 0);
  EXPECT_EQ(s.SampleCount, 360);
  EXPECT_EQ(s.PretrigPoints, 1);
  EXPECT_EQ(s.DacLastIndex, 360);
  for (const SampleBuffer* b : {&s.BufA, &s.BufB, &s.BufC, &s.BufD, &s.GenTable})
    EXPECT_TRUE(allEqual(*b, 2048));

  EXPECT_EQ(s.LptNumber, 1);
  EXPECT_EQ(s.OperatingMode, 0);
  EXPECT_EQ(s.RunFlag, 0);
  EXPECT_EQ(s.RepeatMode, 0);
  EXPECT_EQ(s.SampleRateIndex, 3);
  EXPECT_EQ(s.SampleSizeIndex, 1);
  EXPECT_EQ(s.SizeIndexA, 1);
  EXPECT_EQ(s.RateIndexA, 3);
  EXPECT_EQ(s.CaptureDone, 1);
  EXPECT_EQ(s.SelA, 1);
  EXPECT_EQ(s.SelB, -1);
  EXPECT_EQ(s.SelAplusB, -1);
  EXPECT_EQ(s.CalGainA, 1);
  EXPECT_EQ(s.TrigCursorY, 2048);
  EXPECT_EQ(s.TrigLevelCode, 2048);
  EXPECT_EQ(s.TrigStepLarge, 256);
  EXPECT_EQ(s.TrigStepSmall, 16);
  EXPECT_EQ(s.MarkerTimerArm, 1);
  EXPECT_EQ(s.GenFreq, 50000);
  EXPECT_EQ(s.GenSweepStart, 5);
  EXPECT_EQ(s.GenLastIndex, 4096);
  EXPECT_EQ(s.GenDirty, 1);
  EXPECT_EQ(s.RemotePrefix, "QVX");
  EXPECT_EQ(s.RemoteDisplayUpdate, 1);
  EXPECT_EQ(s.StepPreDelay, 1);

  EXPECT_TRUE(p.Timer2.enabled());
  EXPECT_EQ(p.Timer2.interval(), 1);
  EXPECT_EQ(p.Timer1.interval(), 3000);
  EXPECT_EQ(p.ScopeScreen.ScaleHeight(), 4106);
  EXPECT_EQ(p.ScopeScreen.ScaleTop, -1);
  EXPECT_TRUE(p.SCOPEMODE.enabled);
  EXPECT_FALSE(p.ZoomButton.enabled);
  EXPECT_FALSE(p.savename.visible);
  EXPECT_FALSE(p.DCDOWN.visible);
  EXPECT_FALSE(p.CONFIGWINDOW.visible);
  EXPECT_FALSE(p.Trigwait.visible);
  EXPECT_EQ(p.savename.text, "Untitled");
  EXPECT_EQ(p.TRESETBUTTON.caption, "Single");
  EXPECT_EQ(p.SCOPEMODE.texts(), "        SCOPE");
  EXPECT_EQ(p.samdisp.ops.empty() ? "" : p.samdisp.ops[0].text,
            " SAMPLING RATE         SAMPLING SIZE");
  EXPECT_NE(p.Picture7.texts().find("<--up-- X Magnify --down-->"), std::string::npos);
  EXPECT_EQ(p.CONFIGWINDOW.clears, 0u) << "a good port file and an answer: no port panel";

  EXPECT_GE(r.instrument.generatorWrites(), 65536) << "generator memory cleared";
}

TEST(StartUp, WithoutAnInstrumentThePortPanelOpensAndStartUpGoesOn) {
  TempFolder folder;
  writeFile(kPortFileName, " 1 \r\n");
  sim::Config config;
  config.plugged = false;
  Rig r(config);
  exitPortPanelWhenShown(r);
  start(r);

  Scope& s = r.scope;
  EXPECT_EQ(s.panel.CONFIGWINDOW.clears, 1u) << "opened once, for the missing answer";
  EXPECT_FALSE(s.panel.CONFIGWINDOW.visible);
  EXPECT_FALSE(s.unloaded);
  EXPECT_EQ(s.ModelCode, 0);
  EXPECT_EQ(r.instrument.generatorWrites(), 0) << "nothing to clear without an instrument";
  EXPECT_TRUE(s.panel.Timer2.enabled());
  EXPECT_EQ(fileText(kPortFileName), " 1 \r\n");

  // Every mode stays selectable until the first run probes again.
  EXPECT_TRUE(s.panel.Command18.enabled);
  int seen = 0;
  for (int i = 0; i < 5; ++i) {
    s.panel.SmodeUP.press();
    seen |= 1 << s.OperatingMode;
  }
  EXPECT_EQ(seen, 0b11111);
}

TEST(StartUp, MissingPortFileOpensThePanelOnceAndWritesTheFile) {
  TempFolder folder;
  Rig r;
  exitPortPanelWhenShown(r);
  start(r);
  EXPECT_EQ(r.scope.panel.CONFIGWINDOW.clears, 1u);
  EXPECT_EQ(r.scope.LptNumber, 1);
  EXPECT_EQ(fileText(kPortFileName), " 1 \r\n");
}

TEST(StartUp, PortFileHoldingFourOpensThePanel) {
  TempFolder folder;
  writeFile(kPortFileName, " 4 \r\n");
  Rig r;
  exitPortPanelWhenShown(r);
  start(r);
  EXPECT_GE(r.scope.panel.CONFIGWINDOW.clears, 1u);
  EXPECT_FALSE(r.scope.unloaded);
  EXPECT_TRUE(r.scope.panel.Timer2.enabled());
}

TEST(StartUp, MissingOptionsStayUsableUntilTheFirstRun) {
  TempFolder folder;
  writeFile(kPortFileName, " 1 \r\n");
  sim::Config config;
  config.generator = false;
  config.channelB = false;
  Rig r(config);
  start(r);
  Scope& s = r.scope;
  EXPECT_TRUE(s.panel.Command18.enabled) << "B counts as fitted until a run probes";
  s.panel.SmodeUP.press();
  EXPECT_EQ(s.OperatingMode, 1) << "GENERATOR is reachable";
  s.panel.SmodeUP.press();
  EXPECT_EQ(s.OperatingMode, 2) << "SCOPE+GEN is reachable";
}

TEST(StartUp, ChoosingTheRightPortOnThePanelCompletesTheStart) {
  TempFolder folder;
  writeFile(kPortFileName, " 1 \r\n");
  sim::Config config;
  config.lpt = 3;
  Rig r(config);
  int shown = 0;
  r.host.onPump = [&] {
    if (!r.scope.panel.CONFIGWINDOW.visible) return;
    ++shown;
    if (shown == 2) r.scope.panel.SETLPT3.press();
    if (shown == 6) r.scope.panel.CONFIGEXIT.press();
  };
  start(r);
  EXPECT_EQ(r.scope.LptNumber, 3);
  EXPECT_NE(r.scope.ModelCode, 0);
  EXPECT_GE(r.instrument.generatorWrites(), 65536) << "cleared on the port finally chosen";
  EXPECT_EQ(fileText(kPortFileName), " 3 \r\n");
}

TEST(Timers, MarkerTimerRemovesTheMarkerAndStopsItself) {
  Rig r;
  Scope& s = r.scope;
  s.panel.Timer1.setEnabled(true);
  s.TrigMarkOn = 1;
  Timer1_Timer(s);
  EXPECT_EQ(s.TrigMarkOn, 0);
  EXPECT_FALSE(s.panel.Timer1.enabled());

  s.panel.Timer1.setEnabled(true);
  Timer1_Timer(s);
  EXPECT_EQ(s.TrigMarkOn, 0);
  EXPECT_FALSE(s.panel.Timer1.enabled());
}

TEST(Timers, RemotePollTimerKeepsPollingEveryMillisecond) {
  Rig r;
  Scope& s = r.scope;
  Form_Load(s);
  s.panel.Timer2.setInterval(50);
  s.panel.Timer2.setEnabled(true);
  r.host.DoEvents();
  r.host.Sleep(50);
  r.host.DoEvents();
  EXPECT_TRUE(s.panel.Timer2.enabled());
  EXPECT_EQ(s.panel.Timer2.interval(), 1);
}

TEST(Exit, CancelLeavesEverythingAsItWas) {
  Rig r;
  Scope& s = r.scope;
  Form_Load(s);
  s.panel.Timer2.setEnabled(true);
  r.host.answers = {mb::AnswerCancel};
  s.panel.Command22.press();
  ASSERT_EQ(r.host.messages.size(), 1u);
  EXPECT_EQ(r.host.messages[0].text, "EXIT Scope Program ?");
  EXPECT_EQ(r.host.messages[0].title, "Exit Confirmation");
  EXPECT_EQ(r.host.messages[0].style, mb::OKCancel);
  EXPECT_FALSE(s.unloaded);
  EXPECT_EQ(r.port.shutdowns, 0);
  EXPECT_TRUE(s.panel.Timer2.enabled());
}

TEST(Exit, OkUnloadsAndReleasesThePortOnce) {
  Rig r;
  Scope& s = r.scope;
  Form_Load(s);
  r.host.answers = {mb::AnswerOK};
  s.panel.Command22.press();
  EXPECT_TRUE(s.unloaded);
  EXPECT_EQ(r.port.shutdowns, 1);
  Form_Unload(s);  // the close box after EXIT
  EXPECT_EQ(r.port.shutdowns, 1);
}

TEST(Print, PrintKeepsThePollRunningAndFocusesFft) {
  Rig r;
  Scope& s = r.scope;
  Form_Load(s);
  s.panel.Timer2.setEnabled(true);
  s.panel.Command1.press();
  EXPECT_TRUE(s.panel.Timer2.enabled());
  EXPECT_EQ(s.panel.focus, "FFTbutton");
}

}  // namespace
}  // namespace qvx
