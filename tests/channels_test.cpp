#include "acquisition/channels.h"

#include <gtest/gtest.h>

#include "control/wiring.h"
#include "device/link.h"
#include "rig.h"

namespace qvx {
namespace {

using testing::Rig;
using Access = RecordingPort::Access;

constexpr std::uint32_t D = 0x378, C = 0x37A;
Access W(std::uint32_t a, int v) {
  return {true, a, static_cast<std::uint8_t>(v)};
}
std::vector<Access> writeReg(int v, int r) {
  return {W(D, v), W(C, 4), W(D, r), W(C, 0)};
}
std::vector<Access> clockPair(int a, int b) {
  return {W(D, a), W(C, 1), W(D, b), W(C, 0)};
}
std::vector<Access> join(std::initializer_list<std::vector<Access>> parts) {
  std::vector<Access> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

TEST(Channels, RangeButtonStepsTheReadoutAndBack) {
  Rig rig;
  Scope& s = rig.scope;
  s.RangeA = 0;
  CHANA(s);
  EXPECT_NE(s.panel.Picture3.texts().find("1.0V  "), std::string::npos);
  Command3_Click(s);
  EXPECT_EQ(s.RangeA, 1);
  EXPECT_NE(s.panel.Picture3.texts().find(" 10V  "), std::string::npos);
  EXPECT_EQ(s.RangeStepA, 1);
  Command3_Click(s);
  EXPECT_EQ(s.RangeA, 0);
  EXPECT_EQ(s.RangeStepA, 0);
  // With the x10 probe the 10 V range reads 100 V.
  s.ProbeB = 1;
  s.RangeB = 0;
  Command6_Click(s);
  EXPECT_NE(s.panel.Picture4.texts().find("100V  "), std::string::npos);
  EXPECT_NE(s.panel.Picture4.texts().find("x10"), std::string::npos);
  EXPECT_EQ(s.RangeStepB, 2);
}

TEST(Channels, ProbeWarningOncePerSwitchToTimesTen) {
  Rig rig;
  Scope& s = rig.scope;
  Command4_Click(s);
  ASSERT_EQ(rig.host.messages.size(), 1u);
  EXPECT_EQ(rig.host.messages[0].text, kProbeWarning);
  EXPECT_EQ(rig.host.messages[0].title, "WARNING");
  EXPECT_EQ(rig.host.messages[0].style, 272);
  EXPECT_NE(s.panel.Picture3.texts().find("x10"), std::string::npos);
  Command4_Click(s);  // back to x1: no warning
  EXPECT_EQ(rig.host.messages.size(), 1u);
  EXPECT_NE(s.panel.Picture3.texts().find("x 1  "), std::string::npos);
  Command5_Click(s);
  EXPECT_EQ(rig.host.messages.size(), 2u);
}

// The on/off buttons redraw the mode display and with it the signal display, which
// needs the window width that start-up gives the X-magnify bar.
struct ShownRig : Rig {
  ShownRig() {
    initport(scope);
    scope.panel.HScroll2.setValue(scope.ViewWidth);
  }
};

TEST(Channels, OnOffButtonsNameTheActionAndShadeThePanel) {
  ShownRig rig;
  Scope& s = rig.scope;
  SCHAbutton_Click(s);
  EXPECT_EQ(s.ChanAOn, 0);
  EXPECT_EQ(s.panel.SCHAbutton.caption, "ON");
  EXPECT_EQ(s.panel.Picture3.backColour, 0x404040u);
  SCHAbutton_Click(s);
  EXPECT_EQ(s.ChanAOn, 1);
  EXPECT_EQ(s.panel.SCHAbutton.caption, "OFF");
  EXPECT_EQ(s.panel.Picture3.backColour, 0x808080u);
  SCHFbutton_Click(s);
  EXPECT_EQ(s.ChanDOn, 0);
  EXPECT_EQ(s.panel.SCHFbutton.caption, "ON");
  EXPECT_EQ(s.panel.Picture8.texts(), "CH D|Digital");
  EXPECT_EQ(s.panel.focus, "FFTbutton");
}

TEST(Channels, CouplingCaptionAndLabelColours) {
  Rig rig;
  Scope& s = rig.scope;
  Command7_Click(s);
  EXPECT_EQ(s.CouplingB, 1);
  EXPECT_EQ(s.panel.Command7.caption, "DC");
  s.ChanBOn = 0;
  CHANB(s);
  const DrawOp& label = s.panel.Picture4.ops.back();
  EXPECT_EQ(label.text, "CH B");
  EXPECT_EQ(label.colour, 0xC000u);
  s.ChanAOn = 1;
  CHANA(s);
  EXPECT_EQ(s.panel.Picture3.ops.back().colour, s.TraceColour[0]);
}

TEST(Channels, ConfigurationByte) {
  InstrumentState st;
  st.RangeA = 1;
  st.CouplingA = -1;
  st.CouplingB = 1;
  st.RangeB = 1;
  st.TrigMode = 2;
  EXPECT_EQ(channelConfigByte(st), 1 + 2 + 8 + 64);
  st.CouplingB = -1;
  st.TrigMode = 1;
  st.RangeA = 0;
  EXPECT_EQ(channelConfigByte(st), 2 + 4 + 8);
}

TEST(Channels, SetchabAddsTheModelBitOnlyForModelTwo) {
  Rig rig;
  Scope& s = rig.scope;
  s.ChannelConfig = 0x4B;
  s.ModelCode = 2;
  SETCHAB(s);
  EXPECT_EQ(rig.port.log, join({writeReg(38, 4), clockPair(0, 0x4B + 16), writeReg(0, 4)}));
  EXPECT_EQ(rig.instrument.frontEndByte(), 0x4B + 16);

  rig.port.log.clear();
  s.ModelCode = 3;
  s.CounterControl = 0x83;
  s.CounterEnable = 1;
  s.CounterClear = 1;
  SETCHAB(s);
  EXPECT_EQ(rig.port.log,
            join({writeReg(38, 4), clockPair(0x83, 0x4B + 32 + 128), writeReg(0, 4)}));
  EXPECT_EQ(rig.instrument.counterControlByte(), 0x83);
}

TEST(Channels, SetchabFCarriesRateSourceAndSlope) {
  Rig rig;
  Scope& s = rig.scope;
  s.CounterRateCode = 3;
  s.TrigSource = 3;
  s.TrigSlope = -1;
  s.ChannelConfig = 5;
  SETCHAB(s);
  rig.port.log.clear();
  setchabF(s);
  EXPECT_EQ(rig.port.log, join({writeReg(3 + 32 + 64, 64 + 128), clockPair(0, 5)}));
  rig.port.log.clear();
  s.TrigSource = 0;
  s.TrigSlope = 1;
  setchabF(s);
  EXPECT_EQ(rig.port.log, join({writeReg(3 + 32, 0), clockPair(0, 5)}));
}

TEST(Channels, WiredButtons) {
  ShownRig rig;
  Scope& s = rig.scope;
  wireAcquisition(s);
  s.panel.SCHEbutton.click();
  EXPECT_EQ(s.ChanCOn, 0);
  s.panel.Command2.click();
  EXPECT_EQ(s.CouplingA, 1);
  s.panel.Command5.click();
  EXPECT_EQ(s.ProbeB, 1);
  EXPECT_EQ(rig.host.messages.size(), 1u);
}

}  // namespace
}  // namespace qvx
