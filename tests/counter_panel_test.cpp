#include <gtest/gtest.h>

#include "control/wiring.h"
#include "counter/counter.h"
#include "rig.h"

namespace qvx {
namespace {

struct CounterPanel : ::testing::Test {
  CounterPanel() {
    wireHandlers(s);
    s.OperatingMode = 3;
    FcntON(s);
  }
  // The text printed at (x, y) on the counter panel, with its colour.
  const DrawOp* textAt(double x, double y) const {
    for (const DrawOp& op : p.Picture10.ops)
      if (op.kind == DrawOp::Kind::Text && op.points[0].x == x && op.points[0].y == y) return &op;
    return nullptr;
  }
  // The control input of counter mode as printed.
  const DrawOp& control() const { return *textAt(800, 390); }
  // Which of Mode, Input, Rec/ST-SP, Repeat and Reset take a press, as 1s and 0s.
  std::string enabled() const {
    std::string flags;
    for (const Button* b : {&p.FCntModebutton, &p.FCntSourcebutton, &p.FCntStSpbutton,
                            &p.FCntRepeatButton, &p.FCntResetbutton})
      flags += b->enabled ? '1' : '0';
    return flags;
  }
  testing::Rig rig;
  Scope& s = rig.scope;
  Panel& p = s.panel;
};

TEST_F(CounterPanel, FrequencyModeFace) {
  EXPECT_EQ(p.Picture10.texts(), "COUNTER| Freq. Hz  | Ch C  | OFF     ");
  EXPECT_EQ(textAt(250, 350)->colour, 0x402050u);
  EXPECT_EQ(p.FCntStSpbutton.caption, "Rec");
  EXPECT_EQ(enabled(), "11100");
  EXPECT_EQ(std::tuple(p.Countdisp.texts(), p.Countdisp.backColour, p.Countdisp.foreColour),
            std::tuple("0000000000  ", kCountIdle, s.TraceColour[0]));
}

TEST_F(CounterPanel, CounterModeStepsThroughItsControlsAndForgetsTheRecorder) {
  s.FRecInterval = 5;
  p.FCntModebutton.press();
  EXPECT_EQ(s.FRecInterval, 0);  // recording is always off in counter mode
  EXPECT_EQ(textAt(250, 350)->text, "  Counter   ");
  EXPECT_EQ(std::tuple(p.FCntStSpbutton.caption, p.FCntResetbutton.caption, enabled()),
            std::tuple("ST/SP", "Reset", "11111"));
  EXPECT_EQ(std::tuple(control().text, control().colour), std::tuple(" Ch C   ", s.TraceColour[4]));
  p.FCntResetbutton.press();
  EXPECT_EQ(s.FCntResetReq, 1);

  p.FCntStSpbutton.press();
  EXPECT_EQ(std::tuple(control().text, control().colour), std::tuple(" Ch D   ", s.TraceColour[5]));

  s.FCntManualState = 2;
  p.FCntStSpbutton.press();
  EXPECT_EQ(std::tuple(control().text, control().fontSize), std::tuple("Manual", 8));
  EXPECT_EQ(s.FCntManualState, 0);
  EXPECT_EQ(p.FCntResetbutton.caption, "Start");
  EXPECT_EQ(enabled(), "11101");  // Repeat needs C or D control

  p.FCntStSpbutton.press();  // back to C
  p.FCntRepeatButton.press();
  EXPECT_EQ(p.FCntRepeatButton.caption, "Repeat");
  p.FCntRepeatButton.press();
  EXPECT_EQ(p.FCntRepeatButton.caption, "Single");

  p.FCntModebutton.press();
  EXPECT_EQ(control().text, " OFF     ");
}

TEST_F(CounterPanel, SourceCyclesAndSkipsTrigUnderTheGenerator) {
  std::vector<std::string> inputs;
  for (int i = 0; i < 4; ++i) {
    p.FCntSourcebutton.press();
    inputs.push_back(textAt(800, 80)->text);
  }
  EXPECT_EQ(inputs, (std::vector<std::string>{" Ch D  ", " Trig  ", " Ref   ", " Ch C  "}));
  s.OperatingMode = 1;
  std::vector<int> sources;
  for (int i = 0; i < 3; ++i) {
    p.FCntSourcebutton.press();
    sources.push_back(s.FCntSource);
  }
  EXPECT_EQ(sources, (std::vector<int>{1, 3, 0}));
}

TEST_F(CounterPanel, OffGreysTheReadoutAndLocksEveryButton) {
  s.FCntValue = 42;
  FCntOFF(s);
  EXPECT_EQ(std::tuple(p.Countdisp.texts(), p.Countdisp.backColour, p.Countdisp.foreColour),
            std::tuple("0000000042  ", kCountOff, 0x808080u));
  EXPECT_EQ(enabled(), "00000");
}

}  // namespace
}  // namespace qvx
