#include "control/startup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "started.h"

namespace qvx {
namespace {

using Ints = std::vector<int>;
using testing::Started;

TEST(StartUp, SetsTheStartValuesWithTheInstrumentPresent) {
  Started st({}, false);
  Scope& s = st.s;
  Panel& p = st.p;
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
                  s.SelAplusB, s.TrigLevelCode, s.RemoteDisplayUpdate, s.GenRateIndex0}),
            (Ints{1, 0, 0, 0, 3, 1, 1, 3, 1, 1, -1, -1, 2048, 1, 4}));
  EXPECT_EQ((std::vector<double>{s.CalGainA, s.TrigCursorY, s.GenFreq, s.GenLastIndex,
                                 s.RateMantissa, s.PiConst}),
            (std::vector<double>{1, 2048, 50000, 4096, 1, 3.1415926}));
  for (double mag : {s.MagA, s.MagB, s.MagC, 1.0 * s.MagD, 1.0 * s.MagMath}) EXPECT_EQ(mag, 1);
  EXPECT_EQ(s.TraceColour,
            (std::array<Colour, 6>{0x800000, 0x008000, 0x0000C0, 0xC000C0, 0xC07000, 0x2090D0}));
  EXPECT_EQ(s.RemotePrefix, "QVX");
  EXPECT_EQ(
      (std::vector<std::string>{p.savename.text, p.TRESETBUTTON.caption, p.SCOPEMODE.texts()}),
      (std::vector<std::string>{"Untitled", "Single", "        SCOPE"}));
  EXPECT_FALSE(p.savename.visible || p.DCDOWN.visible || p.Trigwait.visible ||
               p.ZoomButton.enabled);
  EXPECT_EQ((Ints{p.Timer2.enabled(), p.Timer2.interval(), p.Timer1.interval()}),
            (Ints{1, 1, 3000}));
  EXPECT_EQ(p.CONFIGWINDOW.clears, 0u) << "a good port file and an answer: no port panel";
  EXPECT_GE(st.rig.instrument.generatorWrites(), 65536) << "generator memory cleared";
}

// With no instrument, or one lacking the options, every mode and "B" stay selectable.
TEST(StartUp, EveryModeIsSelectableUntilTheFirstRunProbes) {
  sim::Config unplugged, bare;
  unplugged.plugged = false;
  bare.generator = bare.channelB = false;
  for (const sim::Config& config : {unplugged, bare}) {
    Started st(config);
    EXPECT_TRUE(st.p.Command18.enabled);
    int seen = 0;
    for (int i = 0; i < 5; ++i) {
      st.p.SmodeUP.press();
      seen |= 1 << st.s.OperatingMode;
    }
    EXPECT_EQ(seen, 0b11111);
    EXPECT_EQ(st.p.CONFIGWINDOW.clears, config.plugged ? 0u : 1u) << "opened for no answer";
    EXPECT_TRUE(st.p.Timer2.enabled()) << "start-up goes on after the panel";
    EXPECT_EQ(st.rig.instrument.generatorWrites() > 0, config.plugged) << "cleared if present";
  }
}

TEST(StartUp, ExitCancelLeavesEverythingAndOkReleasesThePortOnce) {
  Started st;
  const auto& asked = st.rig.host.messages;
  st.rig.host.answers = {mb::AnswerCancel, mb::AnswerOK};
  st.p.Command22.press();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ((std::vector<std::string>{asked[0].text, asked[0].title}),
            (std::vector<std::string>{"EXIT Scope Program ?", "Exit Confirmation"}));
  EXPECT_EQ(asked[0].style, mb::OKCancel);
  EXPECT_FALSE(st.s.unloaded);
  EXPECT_EQ(st.rig.port.shutdowns, 0);
  EXPECT_TRUE(st.p.Timer2.enabled());
  st.p.Command22.press();
  EXPECT_TRUE(st.s.unloaded);
  Form_Unload(st.s);  // the close box after EXIT
  EXPECT_EQ(st.rig.port.shutdowns, 1);
}

}  // namespace
}  // namespace qvx
