#include <gtest/gtest.h>

#include "generator/generator.h"
#include "generator_rig.h"

namespace qvx {
namespace {

constexpr Colour kFresh = RGB(0x80, 0xFF, 0x80), kDirty = 255;

struct GeneratorPanel : ::testing::Test {
  testing::GeneratorRig g{{}, 1};  // GENERATOR mode
  Scope& s = g.s;
  Panel& p = g.p;
  testing::ScriptedHost& host = g.rig.host;

  // Presses `b` and releases it `seconds` of virtual time later; a tap is released at the
  // first event pump.
  void hold(Button& b, double seconds = 0) {
    host.atTime(host.clock + seconds, [&b] { b.mouseUp(); });
    b.mouseDown();
  }
  bool pictureHas(const std::string& text) const {
    return p.GENPICTURE.texts().find(text) != std::string::npos;
  }
  std::vector<std::string> captions() const {
    return {p.GENSTYLEBUTTON.caption, p.GENAMPBUTTON.caption, p.SWRATIOBUTTON.caption};
  }
};

TEST(GeneratorPanelOutside, ScopeModeBlanksTheSettings) {
  testing::GeneratorRig g;
  const Panel& p = g.p;
  EXPECT_EQ(std::tuple(p.GENPICTURE.texts(), p.GENFREQDISP.texts(), p.GENFREQDISP.backColour),
            std::tuple("GENERATOR SETUP", "", 0xC0C0C0u));
}

TEST_F(GeneratorPanel, NormalSineShowsItsSettingsAndAFreshTableTillASettingChanges) {
  EXPECT_EQ(p.GENPICTURE.texts(), "GENERATOR SETUP|NORMAL |2V p-p|Frequency (Hz)");
  EXPECT_EQ(std::tuple(p.GENFREQDISP.texts(), p.GENFREQDISP.backColour),
            std::tuple(" 50000", 0xC0FFFFu));
  EXPECT_EQ(captions(), (std::vector<std::string>{"Style", "Amp", "Ratio"}));
  EXPECT_FALSE(p.SWRATIOBUTTON.enabled || p.DCUP.visible || p.STYLEDISP.ops.empty());
  EXPECT_EQ(p.GENUPDATEBACK.backColour, kFresh);  // entering GENERATOR built the table
  EXPECT_EQ(p.SSIZEDISP.texts(), " 8000");

  p.GENAMPBUTTON.click();
  EXPECT_EQ(p.GENUPDATEBACK.backColour, kDirty);
  EXPECT_TRUE(pictureHas("1V p-p"));
  p.GENUPDATEBUTTON.click();
  EXPECT_EQ(s.GenTable[0], 1024);
  EXPECT_EQ(p.GENUPDATEBACK.backColour, kFresh);
}

TEST_F(GeneratorPanel, FrequencyStepsOnceThenRepeatWhileHeldWithinTheirLimits) {
  hold(p.GENLFREQBUTTONP);
  EXPECT_EQ(p.GENFREQDISP.texts(), " 50500");
  EXPECT_EQ(s.GenDirty, 1);

  // Held, the large step climbs faster above 200 kHz and stops at 500 kHz.
  s.GenFreq = 50000;
  std::vector<double> seen;
  host.onPump = [&] {
    if (seen.empty() || seen.back() != s.GenFreq) seen.push_back(s.GenFreq);
  };
  hold(p.GENLFREQBUTTONP, 10);
  EXPECT_EQ(s.GenFreq, 500000);
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(std::tuple(seen[0], seen[1]), std::tuple(50500, 53000));
  for (double f : {200500.0, 205500.0})
    EXPECT_NE(std::find(seen.begin(), seen.end(), f), seen.end());
  EXPECT_EQ(s.CursorButtonHeld, 0);

  s.GenFreq = 5;
  hold(p.GENSFREQBUTTONN);
  EXPECT_EQ(s.GenFreq, 5);
  // The first small step, then a repeat every 50 ms from 350 ms on: three before 440 ms.
  s.GenFreq = 100;
  hold(p.GENSFREQBUTTONP, 0.44);
  EXPECT_EQ(s.GenFreq, 131);
}

TEST_F(GeneratorPanel, SquareShowsItsDutyCycleWithinTwoToNinetyEight) {
  for (int i = 0; i < 3; ++i) p.GENSTYLEBUTTON.mouseDown();  // triangle, ramp, square
  EXPECT_EQ(s.GenStyle, genstyle::Square);
  EXPECT_TRUE(p.DCUP.visible && p.DCDOWN.visible && p.SWRATIOBUTTON.enabled);
  EXPECT_EQ(p.SWRATIOBUTTON.caption, "Dcycle");
  EXPECT_TRUE(pictureHas(" 50 %  "));
  // Steps of 2, held within 2..98.
  for (auto [from, button, to] :
       {std::tuple{98, &p.DCUP, 98}, {2, &p.DCDOWN, 2}, {2, &p.DCUP, 4}}) {
    s.GenDuty = from;
    button->click();
    EXPECT_EQ(s.GenDuty, to) << from;
  }
}

TEST_F(GeneratorPanel, SweepStartAndRatioFollowTheStartTable) {
  p.GENMODEBUTTON.mouseDown();
  EXPECT_TRUE(pictureHas("Start Freq (Hz) "));
  EXPECT_EQ(p.GENFREQDISP.texts(), " 1000");
  EXPECT_FALSE(p.GENSFREQBUTTONP.enabled);
  EXPECT_TRUE(p.SWRATIOBUTTON.enabled);

  for (int i = 0; i < 6; ++i) hold(p.GENLFREQBUTTONN);  // down to step 0, and no further
  EXPECT_EQ(p.GENFREQDISP.texts(), " 5");
  for (int i = 0; i < 3; ++i) p.SWRATIOBUTTON.click();
  EXPECT_TRUE(pictureHas(" 20      "));
  hold(p.GENLFREQBUTTONP);  // 10 Hz starts with 200-point cycles: X20 falls back to X10
  EXPECT_EQ(p.GENFREQDISP.texts(), " 10");
  EXPECT_TRUE(pictureHas(" 10      "));
  p.SWRATIOBUTTON.click();  // and wraps after X10
  EXPECT_EQ(s.GenSweepRatio, 0);
}

TEST_F(GeneratorPanel, CustomModeStartsFromTheLastWaveAndMagnifiesIt) {
  p.GENMODEBUTTON.mouseDown();  // SWEEP builds its table
  const SampleBuffer built = s.GenTable;
  const auto points = static_cast<int>(s.GenLastIndex) + 1;
  p.GENMODEBUTTON.mouseDown();
  EXPECT_EQ(s.GenStyle, genstyle::Custom);
  EXPECT_TRUE(std::equal(built.begin(), built.begin() + points, s.CustomView.begin()));
  EXPECT_EQ(captions(), (std::vector<std::string>{"CropL", "CropR", "Amp"}));
  EXPECT_FALSE(p.STYLEDISP.visible);
  EXPECT_EQ(p.GENFREQDISP.texts(), " 20 KHz");
  EXPECT_TRUE(pictureHas("Custom") && pictureHas("x 1   "));

  s.GenLastIndex = 9;
  for (int i = 0; i < 10; ++i) s.CustomView[i] = static_cast<std::int16_t>(1000 + 2000 * (i % 2));
  // x2 about the middle, 2000; x5 clipped both ways; MAX stretched to fill 0..4095.
  for (int top : {4000, 4095, 4095}) {
    p.SWRATIOBUTTON.click();
    EXPECT_EQ(std::tuple(s.GenTable[0], s.GenTable[1]), std::tuple(0, top));
  }
  EXPECT_TRUE(pictureHas("MAX   "));
  hold(p.GENLFREQBUTTONP);
  EXPECT_EQ(p.GENFREQDISP.texts(), " 200KHz");

  // Back to NORMAL: the style of before custom comes back and the table is rebuilt.
  p.GENMODEBUTTON.mouseDown();
  EXPECT_EQ(std::tuple(s.GenStyle, s.GenLastIndex), std::tuple(genstyle::Sine, 7999));
  EXPECT_EQ(captions(), (std::vector<std::string>{"Style", "Amp", "Ratio"}));
}

TEST_F(GeneratorPanel, CropsAskFirstAndCancelLeavesTheWave) {
  p.GENMODEBUTTON.mouseDown();
  p.GENMODEBUTTON.mouseDown();
  const float last = s.GenLastIndex;
  s.CursorX = 100;
  host.answers = {mb::AnswerCancel};
  p.GENAMPBUTTON.click();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(std::tuple(host.messages[0].text, host.messages[0].title, host.messages[0].style),
            std::tuple("Crop Custom data right of cursor? (irreversible)", "Crop Confirmation",
                       mb::OKCancel));
  EXPECT_EQ(s.GenLastIndex, last);
  EXPECT_EQ(s.CursorSel, 7);  // the cursor was put up to show where the crop would act

  p.GENSTYLEBUTTON.mouseDown();  // OK
  EXPECT_EQ(host.messages.back().text, "Crop Custom data left of cursor? (irreversible)");
  EXPECT_EQ(s.GenLastIndex, last - (s.ViewFirst + 100));

  p.GENAMPBUTTON.click();  // OK: keep up to the cursor
  EXPECT_EQ(s.GenLastIndex, s.ViewFirst + 100);
  EXPECT_EQ(s.CursorSel, 0);
}

}  // namespace
}  // namespace qvx
