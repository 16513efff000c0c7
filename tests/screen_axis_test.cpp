// What the signal display shows after changes of mode, rate and size: a window the mode
// can show, and a time axis whose labels and cursor readout tell the same time.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "display/cursor.h"
#include "display_rig.h"
#include "files/file_panels.h"
#include "files/profile_file.h"
#include "started_scope.h"

namespace qvx {
namespace {

using testing::textsIn;
using testing::traceIn;

constexpr Colour kTimeLabels = 0x404040, kUnitCaption = 0x008000;

double seconds(const std::string& unit) {
  if (unit == "S") return 1;
  if (unit == "mS") return 1e-3;
  if (unit == "uS") return 1e-6;
  ADD_FAILURE() << "no time unit: '" << unit << "'";
  return 0;
}

struct ScreenAxis : ::testing::Test, testing::StartedScope {
  // Seconds per division as the labels show it: the first label stands on the first
  // grid line, a division from the left edge.
  double labelledDivision() const {
    const auto labels = textsIn(p.ScopeScreen, kTimeLabels);
    const auto units = textsIn(p.ScopeScreen, kUnitCaption);
    if (labels.empty() || units.empty()) {
      ADD_FAILURE() << "no time labels on the screen";
      return 0;
    }
    return std::atof(labels.front().c_str()) * seconds(units.back());
  }
  // The time at the cursor as the readout shows it, in seconds.
  double cursorTime() const {
    std::string value, unit;
    for (const DrawOp& op : p.CURSINFO.ops) {
      if (op.kind != DrawOp::Kind::Text) continue;
      if (op.points.front().x == 500) value = op.text;
      if (op.points.front().x == 880) unit = op.text;
    }
    return std::atof(value.c_str()) * seconds(unit);
  }
  // The readout's time against the labels' time at the cursor's place on the screen, once
  // the cursor was stepped right and back, which refreshes the readout alone.
  void expectAgreement(const std::string& after) {
    SCOPED_TRACE(after);
    p.Command27.keyPress(' ');
    p.Command26.keyPress(' ');
    const double division = p.ScopeScreen.ScaleWidth() / 16.384;
    const double labelled = labelledDivision() * s.CursorX / division;
    EXPECT_NEAR(cursorTime(), labelled, 0.015 * labelled);
  }
  void unitsOnWithCursor(int cursor) {
    if (s.UnitsOn != 1) p.Command16.click();
    while (s.CursorSel != cursor) p.Command23.click();
    for (int i = 0; i < 5; ++i) p.Command25.keyPress(' ');
    ASSERT_GT(s.CursorX, 0);
  }
};

TEST_F(ScreenAxis, LabelsAndCursorReadoutAgreeAfterEveryModeRateAndSizeChange) {
  p.SmodeUP.click();  // GENERATOR, NORMAL at 50 kHz
  unitsOnWithCursor(7);
  expectAgreement("GENERATOR");
  p.GENMODEBUTTON.mouseDown();
  expectAgreement("SWEEP");
  for (int i = 0; i < 3; ++i) {
    p.GENLFREQBUTTONP.mouseDown();
    p.GENLFREQBUTTONP.mouseUp();
    expectAgreement("sweep start up " + std::to_string(i + 1));
  }
  p.GENMODEBUTTON.mouseDown();
  ASSERT_EQ(s.GenMode, 2);
  expectAgreement("CUSTOM");
  p.GENLFREQBUTTONP.mouseDown();  // the custom rate; the units are switched off with it
  p.GENLFREQBUTTONP.mouseUp();
  unitsOnWithCursor(7);
  expectAgreement("custom rate up");
  p.GENMODEBUTTON.mouseDown();
  expectAgreement("back to NORMAL");

  p.SmodeUP.click();
  unitsOnWithCursor(1);
  expectAgreement("SCOPE+GEN");
  p.GOBUTTON.click();
  expectAgreement("SCOPE+GEN pass");
  p.SmodeDown.click();
  p.SmodeDown.click();
  unitsOnWithCursor(1);
  expectAgreement("SCOPE");
  p.GOBUTTON.click();
  expectAgreement("SCOPE capture");
  for (Button* b : {&p.SRATEP, &p.SSIZEP, &p.SRATEN, &p.SRATEN, &p.SSIZEN, &p.SSIZEN}) {
    b->press();
    p.Command13.click();  // GRID off and on: a redraw with the new panel settings
    p.Command13.click();
    expectAgreement("step " + b->name + " and redraw");
  }
  p.GOBUTTON.click();
  expectAgreement("capture at the new settings");
}

// The measured frequency of the shown capture does not change with the rate step chosen
// for the next capture.
TEST_F(ScreenAxis, TheMeasurementCountsAtTheRateTheCaptureWasTakenAt) {
  p.GOBUTTON.click();
  const std::string measured = p.CURSINFO.texts();
  ASSERT_NE(measured.find("Hz"), std::string::npos) << measured;
  for (Button* b : {&p.SRATEN, &p.SRATEN}) {
    b->press();
    p.Command13.click();
    p.Command13.click();
    EXPECT_EQ(p.CURSINFO.texts(), measured) << "after " << b->name;
  }
}

// A ten-point custom wave narrows the window to the wave; back in SCOPE a capture is shown
// at a width the X-magnify bar can hold, as is a profile written with a narrower window.
TEST_F(ScreenAxis, AShortCustomWaveOrANarrowProfileLeavesTheScopeItsOwnWindow) {
  auto expectScopeWindow = [&](const std::string& after) {
    SCOPED_TRACE(after);
    EXPECT_EQ(s.ViewWidth, p.HScroll2.value()) << "the window drawn is the bar's";
    EXPECT_GE(s.ViewWidth, p.HScroll2.Min);
    EXPECT_EQ(p.ScopeScreen.ScaleWidth(), 2.0 * s.ViewWidth);
    const DrawOp* a = traceIn(p.ScopeScreen, s.TraceColour[0]);
    ASSERT_NE(a, nullptr);
    EXPECT_GE(a->points.size(), 2u * s.ViewWidth + 1) << "the A trace spans the window";
  };

  std::ofstream("ten.csv") << "0,4095,0,4095,0,4095,0,4095,0,4095\n";
  p.SmodeUP.click();
  p.GENMODEBUTTON.mouseDown();
  p.GENMODEBUTTON.mouseDown();
  rig.host.afterPumps(2, [&] {
    const auto& files = p.File1.items;
    p.File1.listIndex =
        static_cast<int>(std::find(files.begin(), files.end(), "ten.csv") - files.begin());
    p.CustomCSVbutton.click();
  });
  p.GENUPDATEBUTTON.click();
  ASSERT_EQ(s.GenLastIndex, 9);
  EXPECT_EQ(s.ViewWidth, 4) << "the generator shows its whole ten-point wave";
  p.SmodeDown.click();
  ASSERT_EQ(s.OperatingMode, 0);
  p.GOBUTTON.click();
  expectScopeWindow("custom wave");

  // A profile written by a program that kept the short window.
  s.ViewWidth = 3;
  s.FilePath = "narrow.dpf";
  profilesave(s);
  p.HScroll2.setValue(1500);
  ASSERT_TRUE(openFileFromCommandLine(s, "narrow.dpf"));
  p.GOBUTTON.click();
  expectScopeWindow("profile");
}

}  // namespace
}  // namespace qvx
