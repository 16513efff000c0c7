#include "control/startup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "device/port_file.h"
#include "port_panel_script.h"
#include "rig.h"

namespace qvx {
namespace {

using Strings = std::vector<std::string>;
using Ints = std::vector<int>;

// The program about to start in a fresh folder with LPT1 in the port file, leaving the port
// panel with EXIT whenever it opens.
struct Starting {
  explicit Starting(sim::Config config = {}) : r(config) {
    std::ofstream(kPortFileName, std::ios::binary) << " 1 \r\n";
    testing::exitPortPanelWhenShown(r);
  }
  void start() {
    Form_Load(s);
    Form_Activate(s);
  }
  testing::TempFolder folder;
  testing::Rig r;
  Scope& s = r.scope;
  Panel& p = s.panel;
};
struct StartUp : ::testing::Test, Starting {};

TEST_F(StartUp, SetsTheStartValuesWithTheInstrumentPresent) {
  // Dirty state that start-up must overwrite.
  s.BufA.assign(65536, 1);
  s.GenTable.assign(65536, 3);
  s.SelB = 2;
  s.CalGainA = 2;
  s.TrigCursorY = 100;
  Form_Load(s);
  // The X-magnify bar must already have its limits when its value first reaches 1000.
  Ints scrollAt1000;
  p.HScroll2.onChange = [&] {
    if (p.HScroll2.value() == 1000 && scrollAt1000.empty())
      scrollAt1000 = {p.HScroll2.Min,         p.HScroll2.Max,         p.HScroll2.LargeChange,
                      p.HScroll2.SmallChange, p.HScroll1.LargeChange, p.HScroll1.SmallChange};
  };
  Form_Activate(s);

  EXPECT_EQ(scrollAt1000, (Ints{256, 32767, 1024, 64, 1000, 1}));
  EXPECT_EQ((Ints{p.windowPlace.width, p.windowPlace.height}), (Ints{12050, 8610}));
  for (const SampleBuffer* b : {&s.BufA, &s.BufB, &s.BufC, &s.BufD, &s.GenTable})
    EXPECT_TRUE(std::all_of(b->begin(), b->end(), [](std::int16_t x) { return x == 2048; }));
  // Probe results are overridden so every mode is open until the first run probes again.
  EXPECT_NE(s.ModelCode, 0);
  EXPECT_EQ((Ints{s.ChanBFitted, s.GenFitted, s.SampleCount, s.PretrigPoints, s.DacLastIndex}),
            (Ints{64, 1, 360, 1, 360}));
  EXPECT_EQ((Ints{s.LptNumber, s.OperatingMode, s.RunFlag, s.RepeatMode, s.SampleRateIndex,
                  s.SampleSizeIndex, s.SizeIndexA, s.RateIndexA, s.CaptureDone, s.SelA, s.SelB,
                  s.SelAplusB, s.TrigLevelCode, s.RemoteDisplayUpdate}),
            (Ints{1, 0, 0, 0, 3, 1, 1, 3, 1, 1, -1, -1, 2048, 1}));
  EXPECT_EQ((std::vector<double>{s.CalGainA, s.TrigCursorY, s.GenFreq, s.GenLastIndex}),
            (std::vector<double>{1, 2048, 50000, 4096}));
  EXPECT_EQ(s.RemotePrefix, "QVX");
  EXPECT_EQ((Strings{p.savename.text, p.TRESETBUTTON.caption, p.SCOPEMODE.texts()}),
            (Strings{"Untitled", "Single", "        SCOPE"}));
  EXPECT_FALSE(p.savename.visible || p.DCDOWN.visible || p.Trigwait.visible ||
               p.ZoomButton.enabled);
  EXPECT_EQ((Ints{p.Timer2.enabled(), p.Timer2.interval(), p.Timer1.interval()}),
            (Ints{1, 1, 3000}));
  EXPECT_EQ(p.CONFIGWINDOW.clears, 0u) << "a good port file and an answer: no port panel";
  EXPECT_GE(r.instrument.generatorWrites(), 65536) << "generator memory cleared";
}

// With no instrument, or one lacking the options, every mode and "B" stay selectable.
TEST(StartUpVariants, EveryModeIsSelectableUntilTheFirstRunProbes) {
  sim::Config unplugged, bare;
  unplugged.plugged = false;
  bare.generator = bare.channelB = false;
  for (const sim::Config& config : {unplugged, bare}) {
    Starting st(config);
    st.start();
    EXPECT_TRUE(st.p.Command18.enabled);
    int seen = 0;
    for (int i = 0; i < 5; ++i) {
      st.p.SmodeUP.press();
      seen |= 1 << st.s.OperatingMode;
    }
    EXPECT_EQ(seen, 0b11111);
    EXPECT_EQ(st.p.CONFIGWINDOW.clears, config.plugged ? 0u : 1u) << "opened for no answer";
    EXPECT_TRUE(st.p.Timer2.enabled()) << "start-up goes on after the panel";
    EXPECT_EQ(st.r.instrument.generatorWrites() > 0, config.plugged) << "cleared if present";
  }
}

TEST(StartUpVariants, ChoosingTheRightPortOnThePanelCompletesTheStart) {
  Starting st;
  st.r.instrument.config().lpt = 3;
  int shown = 0;
  st.r.host.onPump = [&] {
    if (!st.p.CONFIGWINDOW.visible) return;
    if (++shown == 2) st.p.SETLPT3.press();
    if (shown == 6) st.p.CONFIGEXIT.press();
  };
  st.start();
  EXPECT_EQ(st.s.LptNumber, 3);
  EXPECT_NE(st.s.ModelCode, 0);
  EXPECT_GE(st.r.instrument.generatorWrites(), 65536) << "cleared on the port finally chosen";
}

TEST_F(StartUp, MarkerTimerIsAOneShot) {
  p.Timer1.setEnabled(true);
  s.TrigMarkOn = 1;
  Timer1_Timer(s);
  EXPECT_EQ(s.TrigMarkOn, 0);
  EXPECT_FALSE(p.Timer1.enabled());
}

TEST_F(StartUp, ExitCancelLeavesEverythingAndOkReleasesThePortOnce) {
  start();
  r.host.answers = {mb::AnswerCancel, mb::AnswerOK};
  p.Command22.press();
  ASSERT_EQ(r.host.messages.size(), 1u);
  EXPECT_EQ(r.host.messages[0].text, "EXIT Scope Program ?");
  EXPECT_EQ(r.host.messages[0].title, "Exit Confirmation");
  EXPECT_EQ(r.host.messages[0].style, mb::OKCancel);
  EXPECT_FALSE(s.unloaded);
  EXPECT_EQ(r.port.shutdowns, 0);
  EXPECT_TRUE(p.Timer2.enabled());

  p.Command22.press();
  EXPECT_TRUE(s.unloaded);
  Form_Unload(s);  // the close box after EXIT
  EXPECT_EQ(r.port.shutdowns, 1);
}

}  // namespace
}  // namespace qvx
