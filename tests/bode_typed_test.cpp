// The Bode view's plan typed into its readouts: taken exactly within what the measurement
// takes, refused otherwise with nothing changed, stepped on from by the buttons, kept in
// the lasting settings and measured by the next sweep.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "bode/view.h"
#include "control/typed_numbers.h"
#include "sim/signal.h"
#include "started.h"

namespace qvx {
namespace {

struct BodeTyped : ::testing::Test, testing::Started {
  TextBox& field = s.panel.TypedValue;
  Panel& p = s.panel;

  BodeTyped() : Started(config()) {
    rig.host.onPump = [this] { rig.port.log.clear(); };  // a sweep's port log is long
    toggle();
  }
  static sim::Config config() {
    sim::Config c;
    c.inputs.a = sim::parseAnalog("gen-rc:1600:1e-7", "--sim-a");
    return c;
  }
  void toggle() {
    for (const auto& shortcut : p.shortcuts)
      if (shortcut.key == 'B') return shortcut.action();
    FAIL() << "no key B";
  }
  // Opens `readout` by a click, types `text` and presses Enter.
  void type(PictureArea& readout, const std::string& text) {
    readout.click();
    ASSERT_TRUE(open()) << readout.name;
    field.text = text;
    field.enter();
  }
  bool open() const { return field.visible && s.handling.typedReadout.size() > 0; }
  const bode::Plan& plan() { return bodeView(s).plan; }
  std::string saved() { return s.host.Settings().value(kBodePlanSetting).value_or("none"); }
  std::string shown(const PictureArea& readout) { return readout.texts(); }
};

TEST_F(BodeTyped, ValuesAreTakenExactlyAndTheButtonsStepOnFromThem) {
  p.BodeStartVal.click();
  ASSERT_TRUE(open());
  EXPECT_EQ(field.text, "20");
  EXPECT_EQ(p.focus, "TypedValue");
  // Over the readout, in the window's twips.
  const Rect over = field.place, box = p.BodeBox.place, readout = p.BodeStartVal.place;
  EXPECT_EQ(
      std::tuple(over.left, over.top, over.width, over.height),
      std::tuple(box.left + readout.left, box.top + readout.top, readout.width, readout.height));
  field.text = "1234";
  field.enter();
  EXPECT_FALSE(open());
  EXPECT_EQ(std::tuple(plan().start, shown(p.BodeStartVal), saved(), p.focus),
            std::tuple(1234.0, std::string("Start 1.234 kHz"), std::string("1234:200000:10"),
                       std::string("BodeStartVal")));
  // Between two steps of 1-2-5: each button goes to the next step its way.
  p.BodeStartUp.press();
  EXPECT_EQ(plan().start, 2000);
  type(p.BodeStartVal, "1234");
  p.BodeStartDown.press();
  EXPECT_EQ(plan().start, 1000);

  p.BodeStopVal.keyPress('\r');  // Enter on the readout opens it too
  ASSERT_TRUE(open());
  EXPECT_EQ(field.text, "200000");
  field.text = "10 kHz";
  field.enter();
  EXPECT_EQ(std::tuple(plan().stop, shown(p.BodeStopVal), saved()),
            std::tuple(10000.0, std::string("Stop 10 kHz"), std::string("1000:10000:10")));
  type(p.BodeStopVal, "33.3k");
  p.BodeStopUp.press();
  EXPECT_EQ(plan().stop, 50000);
  type(p.BodeStartVal, "2.5k");
  EXPECT_EQ(plan().start, 2500);
  // Whole hertz, halves to even, as the generator's frequency is typed.
  type(p.BodeStartVal, "1234.5");
  EXPECT_EQ(plan().start, 1234);
  type(p.BodeStartVal, "1235.5 Hz");
  EXPECT_EQ(plan().start, 1236);
  type(p.BodeStartVal, "5");  // both ends of the range are taken
  type(p.BodeStopVal, "500k");
  EXPECT_EQ(std::tuple(plan().start, plan().stop), std::tuple(5.0, 500000.0));

  type(p.BodePpdVal, "7");
  EXPECT_EQ(std::tuple(plan().perDecade, shown(p.BodePpdVal), saved()),
            std::tuple(7, std::string("7 / decade"), std::string("5:500000:7")));
  p.BodePpdUp.press();
  EXPECT_EQ(plan().perDecade, 10);
  type(p.BodePpdVal, "7");
  p.BodePpdDown.press();
  EXPECT_EQ(plan().perDecade, 5);
  type(p.BodePpdVal, "100");
  type(p.BodePpdVal, "1");
  EXPECT_EQ(plan().perDecade, 1);

  // The next start of the program opens the view with the typed plan.
  type(p.BodeStartVal, "150");
  start();
  EXPECT_EQ(std::tuple(plan().start, plan().stop, plan().perDecade),
            std::tuple(150.0, 500000.0, 1));
  EXPECT_EQ(shown(p.BodeStartVal), "Start 150 Hz");
}

TEST_F(BodeTyped, WhatThePlanCannotTakeIsRefusedAndChangesNothing) {
  type(p.BodeStartVal, "1k");
  const std::string before = saved();
  const auto drawn =
      std::tuple(p.BodeStartVal.ops.size(), p.BodeStopVal.ops.size(), p.BodePpdVal.ops.size());
  const std::vector<std::tuple<PictureArea*, const char*, const char*>> refused = {
      {&p.BodeStartVal, "4", "The generator plays 5 Hz to 500 kHz"},
      {&p.BodeStartVal, "4.4", "The generator plays 5 Hz to 500 kHz"},
      {&p.BodeStopVal, "500001", "The generator plays 5 Hz to 500 kHz"},
      {&p.BodeStopVal, "1 MHz", "The generator plays 5 Hz to 500 kHz"},
      {&p.BodeStartVal, "-20", "The generator plays 5 Hz to 500 kHz"},
      {&p.BodeStartVal, "200k", "Start must lie below the stop, 200 kHz"},
      {&p.BodeStartVal, "300k", "Start must lie below the stop, 200 kHz"},
      {&p.BodeStopVal, "1000", "Stop must lie above the start, 1 kHz"},
      {&p.BodeStopVal, "999.6", "Stop must lie above the start, 1 kHz"},  // 1000 Hz whole
      {&p.BodePpdVal, "2.5", "Points a decade: a whole number 1 to 100"},
      {&p.BodePpdVal, "0", "Points a decade: a whole number 1 to 100"},
      {&p.BodePpdVal, "101", "Points a decade: a whole number 1 to 100"},
      {&p.BodePpdVal, "1k", "Points a decade: a whole number 1 to 100"},
      {&p.BodePpdVal, "7 Hz", "\"7 Hz\" is not a number"},
      {&p.BodeStartVal, "abc", "\"abc\" is not a number in Hz"},
      {&p.BodeStartVal, "1,5k", "\"1,5k\" is refused: use a point for decimals, no commas"},
  };
  for (const auto& [readout, text, why] : refused) {
    type(*readout, text);
    EXPECT_TRUE(open()) << text;  // left open, to be put right
    EXPECT_EQ(p.StatusLine.texts(), " " + std::string(why)) << text;
    field.escape();
  }
  EXPECT_EQ(std::tuple(plan().start, plan().stop, plan().perDecade),
            std::tuple(1000.0, 200000.0, 10));
  EXPECT_EQ(saved(), before);
  EXPECT_EQ(drawn, std::tuple(p.BodeStartVal.ops.size(), p.BodeStopVal.ops.size(),
                              p.BodePpdVal.ops.size()));
  EXPECT_FALSE(p.StatusLine.visible);  // the line had nothing to say before

  // Escape changes nothing and gives the focus back to the readout.
  p.BodeStopVal.click();
  field.text = "50k";
  field.escape();
  EXPECT_FALSE(open());
  EXPECT_EQ(std::tuple(plan().stop, p.focus), std::tuple(200000.0, std::string("BodeStopVal")));
  field.enter();  // a late Enter on the closed field does nothing
  EXPECT_EQ(plan().stop, 200000);
}

TEST_F(BodeTyped, ASweepMeasuresTheTypedPlanAndNothingOpensWhileItRuns) {
  type(p.BodeStartVal, "150");
  type(p.BodeStopVal, "1000");
  type(p.BodePpdVal, "3");
  // 150 Hz to 1 kHz is 0.82 of a decade: 150, 323.2 and 696.2 Hz at 3 a decade, each
  // played as near as the generator's table allows (within 0.1 %).
  std::vector<bool> opened;
  rig.host.onPump = [&] {
    rig.port.log.clear();
    if (!bodeView(s).running) return;
    p.BodeStartVal.click();
    p.BodePpdVal.keyPress('\r');
    opened.push_back(open() || openTypedNumber(s, "BodeStopVal"));
  };
  p.BodeRunButton.press();
  const bode::Response& r = bodeView(s).response;
  ASSERT_EQ(r.points.size(), 3u);
  EXPECT_EQ(r.planned, 3);
  EXPECT_NEAR(r.points[0].frequency, 150, 0.15);
  EXPECT_NEAR(r.points[1].frequency, 323.2, 0.33);
  EXPECT_NEAR(r.points[2].frequency, 696.2, 0.7);
  ASSERT_FALSE(opened.empty());
  EXPECT_EQ(std::count(opened.begin(), opened.end(), true), 0);
  // Afterwards they open again; closed, the view's readouts open nothing.
  EXPECT_TRUE(openTypedNumber(s, "BodeStopVal"));
  field.escape();
  toggle();
  EXPECT_FALSE(openTypedNumber(s, "BodeStartVal"));
  p.BodeStartVal.click();
  EXPECT_FALSE(open());
}

TEST_F(BodeTyped, TheFieldAndTheReadoutsSayWhatToType) {
  p.BodeStartVal.click();
  EXPECT_EQ(field.toolTip,
            "Type the start frequency of the sweep in Hz, 5 to 500000 (for example 2.5k or 10 "
            "kHz); Enter applies, Esc cancels");
  field.escape();
  for (const PictureArea* readout : {&p.BodeStartVal, &p.BodeStopVal, &p.BodePpdVal})
    EXPECT_EQ(readout->toolTip.rfind("Click, or press Enter, to type the ", 0), 0u)
        << readout->name;
  EXPECT_NE(p.BodePpdVal.toolTip.find("whole number 1 to 100"), std::string::npos);
}

}  // namespace
}  // namespace qvx
