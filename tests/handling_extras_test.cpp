#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "control/extras.h"
#include "control/shortcuts.h"
#include "control/wiring.h"
#include "display_rig.h"
#include "started.h"

namespace qvx {
namespace {

using testing::Rig;
using testing::Started;

std::size_t indexIn(const std::vector<std::string>& order, const std::string& name) {
  return static_cast<std::size_t>(std::find(order.begin(), order.end(), name) - order.begin());
}

TEST(Shortcuts, KeysWorkTheirControlsAsTheButtonsDo) {
  Started st;
  Scope& s = st.s;
  Panel& p = st.p;
  const int rate = s.SampleRateIndex, size = s.SampleSizeIndex;
  EXPECT_TRUE(runShortcut(s, ']'));
  EXPECT_EQ(s.SampleRateIndex, rate + 1);
  EXPECT_TRUE(runShortcut(s, '['));
  EXPECT_TRUE(runShortcut(s, '['));
  EXPECT_EQ(s.SampleRateIndex, rate - 1);
  EXPECT_TRUE(runShortcut(s, '}'));
  EXPECT_EQ(s.SampleSizeIndex, size + 1);
  EXPECT_TRUE(runShortcut(s, '{'));
  EXPECT_EQ(s.SampleSizeIndex, size);
  const std::string single = p.TRESETBUTTON.caption;
  EXPECT_TRUE(runShortcut(s, 'R'));  // upper case works as lower
  EXPECT_NE(p.TRESETBUTTON.caption, single);
  EXPECT_TRUE(runShortcut(s, 'r'));
  EXPECT_EQ(p.TRESETBUTTON.caption, single);
  EXPECT_TRUE(runShortcut(s, key::PageDown));
  EXPECT_EQ(s.OperatingMode, 4);
  EXPECT_TRUE(runShortcut(s, key::PageUp));
  EXPECT_EQ(s.OperatingMode, 0);
  // Space runs one capture (Single) and leaves the panel unlocked again.
  const auto clears = p.ScopeScreen.clears;
  EXPECT_TRUE(runShortcut(s, ' '));
  EXPECT_EQ(s.RunFlag, 0);
  EXPECT_GT(p.ScopeScreen.clears, clears);
  EXPECT_FALSE(runShortcut(s, 'q'));
  EXPECT_FALSE(runShortcut(s, '\t'));
}

TEST(Shortcuts, StayOutOfTheWayOfTypingAndOpenPanels) {
  Started st;
  Scope& s = st.s;
  Panel& p = st.p;
  const int rate = s.SampleRateIndex;
  p.focus = "savename";  // a text box, but not shown: keys still work
  EXPECT_TRUE(runShortcut(s, ']'));
  p.UtilBox.visible = true;  // the adjustment panel holds the window
  EXPECT_FALSE(runShortcut(s, '['));
  EXPECT_FALSE(runShortcut(s, ' '));
  p.focus = "RemoteName";
  EXPECT_FALSE(runShortcut(s, 'x'));
  p.UtilBox.visible = false;
  EXPECT_EQ(s.SampleRateIndex, rate + 1);
  // A control that cannot be used now is not worked and the key is not taken.
  p.focus = "GOBUTTON";
  p.SRATEP.enabled = false;
  EXPECT_FALSE(runShortcut(s, ']'));
  EXPECT_EQ(s.SampleRateIndex, rate + 1);
}

TEST(Shortcuts, EveryShortcutNamesARealControlAndItsTooltipShowsTheKey) {
  Started st;
  std::set<int> keys;
  for (const Shortcut& sc : shortcuts()) {
    EXPECT_TRUE(keys.insert(sc.key).second) << sc.keyName << " twice";
    if (!*sc.control) continue;
    const Widget* w = st.p.find(sc.control);
    ASSERT_NE(w, nullptr) << sc.control;
    EXPECT_NE(w->toolTip.find(sc.keyName), std::string::npos) << sc.control << ": " << w->toolTip;
  }
  EXPECT_EQ(st.p.GOBUTTON.toolTip, "GO / STOP (Space or G)");
  EXPECT_EQ(st.p.SRATEN.toolTip, "Slower sample rate ([)");
  EXPECT_EQ(st.p.Command26.toolTip, "Cursor left (Left)");
  EXPECT_EQ(st.p.helpbutton.toolTip, "Help pages (H or F1)");
  EXPECT_FALSE(st.p.FftScaleButton.toolTip.empty());
}

TEST(TabOrder, FollowsTheLayoutGroupByGroup) {
  Started st;
  const std::vector<std::string>& order = st.p.tabOrder;
  // Every control that can take the focus, once.
  std::set<std::string> seen(order.begin(), order.end());
  EXPECT_EQ(seen.size(), order.size());
  for (const Widget* w : st.p.controls)
    if (w->kind == Widget::Kind::Button && w->place.width > 0)
      EXPECT_EQ(seen.count(w->name), 1u) << w->name;
  EXPECT_EQ(seen.count("FFTbutton"), 0u);  // the faceless focus holder
  // Down the display's bars first, then the mode group, reading left to right.
  EXPECT_LT(indexIn(order, "HScroll1"), indexIn(order, "HScroll2"));
  EXPECT_LT(indexIn(order, "HScroll2"), indexIn(order, "SmodeDown"));
  EXPECT_EQ(indexIn(order, "SmodeUP"), indexIn(order, "SmodeDown") + 1);
  EXPECT_EQ(indexIn(order, "GOBUTTON"), indexIn(order, "SmodeUP") + 1);
  // The timebase group together, rate before size.
  const std::size_t rate = indexIn(order, "SRATEN");
  EXPECT_EQ(indexIn(order, "SRATEP"), rate + 1);
  EXPECT_EQ(indexIn(order, "SSIZEN"), rate + 2);
  EXPECT_EQ(indexIn(order, "SSIZEP"), rate + 3);
  // Each channel panel's controls follow one another.
  std::vector<std::size_t> chanA;
  for (const Widget* w : st.p.controls)
    if (w->container == &st.p.Picture3 && seen.count(w->name))
      chanA.push_back(indexIn(order, w->name));
  std::sort(chanA.begin(), chanA.end());
  ASSERT_GE(chanA.size(), 4u);
  EXPECT_EQ(chanA.back() - chanA.front(), chanA.size() - 1);
}

TEST(Extras, OpenByKeyAndMenuAndKeepTheirSettings) {
  Started st;
  Scope& s = st.s;
  Panel& p = st.p;
  EXPECT_FALSE(p.ExtrasBox.visible);
  EXPECT_EQ(p.AutoTrigButton.caption, "Auto trigger OFF");
  EXPECT_EQ(p.FftWindowButton.caption, "FFT window Rect");
  EXPECT_EQ(p.FftScaleButton.caption, "FFT scale Linear");
  EXPECT_TRUE(runShortcut(s, 'x'));
  EXPECT_TRUE(p.ExtrasBox.visible);
  p.AutoTrigButton.press();
  p.FftWindowButton.press();
  p.FftWindowButton.press();
  p.FftScaleButton.press();
  EXPECT_EQ(p.AutoTrigButton.caption, "Auto trigger ON");
  EXPECT_EQ(p.FftWindowButton.caption, "FFT window B-Harris");
  EXPECT_EQ(p.FftScaleButton.caption, "FFT scale dB");
  SettingsStore& kept = s.host.Settings();
  EXPECT_EQ(kept.value("extras/autoTrigger"), "1");
  EXPECT_EQ(kept.value("extras/fftWindow"), "B-Harris");
  EXPECT_EQ(kept.value("extras/fftScale"), "dB");
  p.ExtrasExit.press();
  EXPECT_FALSE(p.ExtrasBox.visible);
  const auto extras =
      std::find_if(p.ScopeScreen.contextMenu.begin(), p.ScopeScreen.contextMenu.end(),
                   [](const MenuEntry& e) { return e.caption.rfind("Extras", 0) == 0; });
  ASSERT_NE(extras, p.ScopeScreen.contextMenu.end());
  extras->action();
  EXPECT_TRUE(p.ExtrasBox.visible);
  extras->action();  // choosing it again keeps it open
  EXPECT_TRUE(p.ExtrasBox.visible);

  // A new start reads them back; a value it does not know leaves the start value.
  Rig again;
  again.host.Settings().setValue("extras/autoTrigger", "1");
  again.host.Settings().setValue("extras/fftWindow", "Kaiser");
  again.host.Settings().setValue("extras/fftScale", "dB");
  wireHandlers(again.scope);
  EXPECT_TRUE(again.scope.handling.autoTrigger);
  EXPECT_EQ(again.scope.handling.fftWindow, 0);
  EXPECT_TRUE(again.scope.handling.fftDb);
  EXPECT_EQ(again.scope.panel.FftScaleButton.caption, "FFT scale dB");
}

TEST(Extras, TheDbScaleRelabelsTheSpectrumAndTheCursor) {
  Started st;
  Scope& s = st.s;
  Panel& p = st.p;
  p.SmodeDown.press();  // FFT
  p.Command16.press();  // UNITS: the axis labels
  p.GOBUTTON.press();
  const Colour labels = 0x202020;
  EXPECT_EQ(testing::textsIn(p.ScopeScreen, labels),
            (std::vector<std::string>{" 0", " 25", " 50", " 75", " 100"}));
  runShortcut(s, 'x');
  p.FftScaleButton.press();  // recomputes the shown spectra from the kept time data
  EXPECT_EQ(testing::textsIn(p.ScopeScreen, labels),
            (std::vector<std::string>{"-100", "-75", "-50", "-25", " 0"}));
  // The 1 kHz sine of 4 V on the 10 V range (-8 dB of full scale) peaks near -8 dB.
  const int peak = *std::max_element(s.BufA.begin() + 1, s.BufA.begin() + s.FftSize / 2);
  EXPECT_NEAR(peak / 40.95 - 100, -7.96, 0.2);
}

TEST(StatusLine, ARefusalStaysUntilTheNextRunAndPointsToThePort) {
  sim::Config unplugged, off;
  unplugged.plugged = false;
  off.powered = false;
  Started st(unplugged);
  EXPECT_FALSE(st.p.StatusLine.visible);
  st.p.GOBUTTON.click();
  EXPECT_TRUE(st.p.StatusLine.visible);
  EXPECT_FALSE(st.p.Trigwait.visible);
  const std::string shown = st.p.StatusLine.texts();
  EXPECT_NE(shown.find("No QVX Hardware"), std::string::npos);
  EXPECT_NE(shown.find("PORT"), std::string::npos);
  st.rig.host.sleeps.clear();
  st.s.host.Sleep(60000);  // it does not time out
  st.s.host.DoEvents();
  EXPECT_TRUE(st.p.StatusLine.visible);
  // The next run clears it before it starts; refused again, it shows again.
  bool clearedAtStart = false;
  st.rig.host.onPump = [&] { clearedAtStart |= st.p.Trigwait.visible && !st.p.StatusLine.visible; };
  st.p.GOBUTTON.click();
  EXPECT_TRUE(clearedAtStart);
  EXPECT_EQ(st.p.StatusLine.texts(), shown);

  Started unpowered(off);
  unpowered.p.GOBUTTON.click();
  EXPECT_NE(unpowered.p.StatusLine.texts().find("No Power to QVX"), std::string::npos);
  EXPECT_EQ(unpowered.p.StatusLine.texts().find("PORT"), std::string::npos);
}

TEST(StatusLine, AnAutoCaptureIsMarkedUntilATriggeredOneReplacesIt) {
  sim::Config dc;
  dc.inputs.a = {sim::AnalogSignal::Shape::Dc, 0, 0, 0};
  Started st(dc);
  Panel& p = st.p;
  p.TMODEBUTTON.press();  // TRIG, at a level well above the 0 V input
  st.s.TrigCursorY = 1000;
  runShortcut(st.s, 'x');
  p.AutoTrigButton.press();
  st.rig.host.atTime(st.rig.host.clock + 10, [&] { st.s.RunFlag = 0; });
  p.GOBUTTON.press();
  EXPECT_TRUE(st.s.handling.lastCaptureAuto);
  EXPECT_NE(p.StatusLine.texts().find("AUTO"), std::string::npos);
  EXPECT_TRUE(p.StatusLine.visible);
  p.TMODEBUTTON.press();
  p.TMODEBUTTON.press();  // INST: an ordinary capture
  p.GOBUTTON.press();
  EXPECT_FALSE(st.s.handling.lastCaptureAuto);
  EXPECT_FALSE(p.StatusLine.visible);
}

}  // namespace
}  // namespace qvx
