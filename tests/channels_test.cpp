#include "acquisition/channels.h"

#include <gtest/gtest.h>

#include <tuple>

#include "acquisition/wiring.h"
#include "device/link.h"
#include "expected_conversation.h"
#include "rig.h"

namespace qvx {
namespace {

using Access = RecordingPort::Access;
using Log = std::vector<Access>;

// WriteReg(v, r) and one clocked pair (a, b); SETCHAB closes with WriteReg(0, 4).
Log frontEnd(int v, int r, int a, int b, bool closed = true) {
  testing::Conversation c;
  c.writeReg(v, r);
  c.clockPair(a, b);
  if (closed) c.writeReg(0, 4);
  return c.log;
}
bool shows(const PictureArea& box, const std::string& text) {
  return box.texts().find(text) != std::string::npos;
}

// Wired channel buttons. The on/off buttons redraw the mode display and with it the signal
// display, which needs the window width that start-up gives the X-magnify bar.
struct Channels : ::testing::Test {
  Channels() {
    initport(s);
    p.HScroll2.setValue(s.ViewWidth);
    wireAcquisition(s);
    rig.port.log.clear();
  }
  testing::Rig rig;
  Scope& s = rig.scope;
  Panel& p = s.panel;
};

TEST_F(Channels, RangeButtonStepsTheReadoutAndBack) {
  s.RangeA = s.RangeB = 0;
  p.Command3.click();
  EXPECT_TRUE(shows(p.Picture3, " 10V  "));
  EXPECT_EQ(s.RangeStepA, 1);
  p.Command3.click();
  EXPECT_TRUE(shows(p.Picture3, "1.0V  "));
  EXPECT_EQ(s.RangeA + s.RangeStepA, 0);
  // With the x10 probe the 10 V range reads 100 V.
  s.ProbeB = 1;
  p.Command6.click();
  EXPECT_TRUE(shows(p.Picture4, "100V  ") && shows(p.Picture4, "x10"));
  EXPECT_EQ(s.RangeStepB, 2);
}

TEST_F(Channels, ProbeWarningOncePerSwitchToTimesTen) {
  auto& messages = rig.host.messages;
  p.Command4.click();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(std::tie(messages[0].text, messages[0].title, messages[0].style),
            std::tuple(kProbeWarning, "WARNING", 272));
  EXPECT_TRUE(shows(p.Picture3, "x10"));
  p.Command4.click();  // back to x1: no warning
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_TRUE(shows(p.Picture3, "x 1  "));
  p.Command5.click();
  EXPECT_EQ(s.ProbeB, 1);
  EXPECT_EQ(messages.size(), 2u);
}

TEST_F(Channels, OnOffButtonsNameTheActionAndShadeThePanel) {
  p.SCHAbutton.click();
  EXPECT_EQ(s.ChanAOn, 0);
  EXPECT_EQ(p.SCHAbutton.caption, "ON");
  EXPECT_EQ(p.Picture3.backColour, 0x404040u);
  EXPECT_EQ(p.Picture3.ops.back().colour, 0xD80000u) << "an off channel's label";
  p.SCHAbutton.click();
  EXPECT_EQ(p.SCHAbutton.caption, "OFF");
  EXPECT_EQ(p.Picture3.backColour, 0x808080u);
  EXPECT_EQ(p.Picture3.ops.back().colour, s.TraceColour[0]);
  p.SCHEbutton.click();
  p.SCHFbutton.click();
  EXPECT_EQ(s.ChanCOn + s.ChanDOn, 0) << "every channel may be off";
  EXPECT_EQ(p.Picture8.texts(), "CH D|Digital");
}

TEST_F(Channels, CouplingAndRangesMakeTheConfigurationByte) {
  p.Command7.click();
  EXPECT_EQ(p.Command7.caption, "DC");
  s.RangeA = s.RangeB = 1;
  s.TrigMode = 2;
  EXPECT_EQ(channelConfigByte(s, s), 1 + 2 + 8 + 64);  // A AC; B DC
  s.CouplingB = -1;
  s.TrigMode = 1;
  s.RangeA = 0;
  EXPECT_EQ(channelConfigByte(s, s), 2 + 4 + 8);
}

TEST_F(Channels, SetchabAddsTheModelBitOnlyForModelTwo) {
  s.ChannelConfig = 0x4B;
  s.ModelCode = 2;
  SETCHAB(s);
  EXPECT_EQ(rig.port.log, frontEnd(38, 4, 0, 0x4B + 16));
  EXPECT_EQ(rig.instrument.frontEndByte(), 0x4B + 16);
  rig.port.log.clear();
  s.ModelCode = 3;
  s.CounterControl = 0x83;
  s.CounterEnable = s.CounterClear = 1;
  SETCHAB(s);
  EXPECT_EQ(rig.port.log, frontEnd(38, 4, 0x83, 0x4B + 32 + 128));
  EXPECT_EQ(rig.instrument.counterControlByte(), 0x83);
}

TEST_F(Channels, SetchabFCarriesRateSourceAndSlope) {
  s.CounterRateCode = 3;
  s.TrigSource = 3;
  s.TrigSlope = -1;
  s.ChannelConfig = 5;
  setchabF(s);
  EXPECT_EQ(rig.port.log, frontEnd(3 + 32 + 64, 64 + 128, 0, 5, false));
  rig.port.log.clear();
  s.TrigSource = 0;
  s.TrigSlope = 1;
  setchabF(s);
  EXPECT_EQ(rig.port.log, frontEnd(3 + 32, 0, 0, 5, false));
}

}  // namespace
}  // namespace qvx
