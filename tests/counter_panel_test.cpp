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
  // The counter mode's control input, with its colour.
  std::pair<std::string, Colour> control() const {
    const DrawOp* op = textAt(800, 390);
    return op ? std::pair{op->text, op->colour} : std::pair{std::string(), Colour(0)};
  }
  testing::Rig rig;
  Scope& s = rig.scope;
  Panel& p = s.panel;
};

TEST_F(CounterPanel, FrequencyModeFace) {
  EXPECT_EQ(p.Picture10.texts(), "COUNTER| Freq. Hz  | Ch C  | OFF     ");
  EXPECT_EQ(textAt(250, 350)->colour, 0x402050u);
  EXPECT_EQ(p.FCntStSpbutton.caption, "Rec");
  EXPECT_FALSE(p.FCntResetbutton.enabled);
  EXPECT_FALSE(p.FCntRepeatButton.enabled);
  EXPECT_TRUE(p.FCntStSpbutton.enabled && p.FCntModebutton.enabled && p.FCntSourcebutton.enabled);
  EXPECT_EQ(p.Countdisp.texts(), "0000000000  ");
  EXPECT_EQ(p.Countdisp.backColour, kCountIdle);
  EXPECT_EQ(p.Countdisp.foreColour, s.TraceColour[0]);
}

TEST_F(CounterPanel, CounterModeStepsThroughItsControlsAndForgetsTheRecorder) {
  s.FRecInterval = 5;
  p.FCntModebutton.press();
  EXPECT_EQ(s.FCntMode, 1);
  EXPECT_EQ(s.FCntStSp, 0);
  EXPECT_EQ(s.FRecInterval, 0);  // recording is always off in counter mode
  EXPECT_EQ(textAt(250, 350)->text, "  Counter   ");
  EXPECT_EQ(p.FCntStSpbutton.caption, "ST/SP");
  EXPECT_EQ(p.FCntResetbutton.caption, "Reset");
  EXPECT_TRUE(p.FCntResetbutton.enabled && p.FCntRepeatButton.enabled);
  EXPECT_EQ(control(), std::pair(std::string(" Ch C   "), s.TraceColour[4]));
  p.FCntResetbutton.press();
  EXPECT_EQ(s.FCntResetReq, 1);

  p.FCntStSpbutton.press();
  EXPECT_EQ(control(), std::pair(std::string(" Ch D   "), s.TraceColour[5]));

  s.FCntManualState = 2;
  p.FCntStSpbutton.press();
  EXPECT_EQ(control().first, "Manual");
  EXPECT_EQ(textAt(800, 390)->fontSize, 8);
  EXPECT_EQ(s.FCntManualState, 0);
  EXPECT_EQ(p.FCntResetbutton.caption, "Start");
  EXPECT_FALSE(p.FCntRepeatButton.enabled);  // Repeat needs C or D control

  p.FCntStSpbutton.press();
  EXPECT_EQ(s.FCntStSp, 0);
  p.FCntRepeatButton.press();
  EXPECT_EQ(p.FCntRepeatButton.caption, "Repeat");
  p.FCntRepeatButton.press();
  EXPECT_EQ(p.FCntRepeatButton.caption, "Single");

  p.FCntModebutton.press();
  EXPECT_EQ(s.FCntStSp, 3);
  EXPECT_EQ(control().first, " OFF     ");
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
  EXPECT_EQ(p.Countdisp.backColour, kCountOff);
  EXPECT_EQ(p.Countdisp.foreColour, 0x808080u);
  EXPECT_EQ(p.Countdisp.texts(), "0000000042  ");
  for (Button* b : {&p.FCntResetbutton, &p.FCntModebutton, &p.FCntSourcebutton, &p.FCntStSpbutton,
                    &p.FCntRepeatButton})
    EXPECT_FALSE(b->enabled) << b->name;
}

}  // namespace
}  // namespace qvx
