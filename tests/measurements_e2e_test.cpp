// The measurements panel, its two cursors and the pointer on the display, and the
// measurement file of a remote run, on the simulated instrument's default inputs: a 4 V
// 1 kHz sine on A (10 V range) and a 2 kHz clock on D.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "measure/panel.h"
#include "started_scope.h"

namespace qvx {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> split(const std::string& all) {
  std::vector<std::string> parts;
  std::stringstream in(all);
  for (std::string part; std::getline(in, part, '|');) parts.push_back(part);
  return parts;
}

// The texts printed after the row label `label`, one per shown channel.
std::vector<std::string> row(const PictureArea& p, const std::string& label, std::size_t cells) {
  const auto texts = split(p.texts());
  for (std::size_t i = 0; i + cells < texts.size(); ++i)
    if (texts[i] == label) return {texts.begin() + i + 1, texts.begin() + i + 1 + cells};
  ADD_FAILURE() << "no row " << label << " in " << p.texts();
  return std::vector<std::string>(cells);
}

// "8.004 V" -> 8.004; "1.000 kHz" -> 1000.
double valueOf(const std::string& text) {
  std::size_t used = 0;
  double v = std::stod(text, &used);
  const std::string unit = text.substr(used + 1);
  if (unit.starts_with("k")) v *= 1e3;
  if (unit.starts_with("m")) v *= 1e-3;
  if (unit.starts_with("u")) v *= 1e-6;
  return v;
}

struct Measurements : testing::StartedScope {
  void pressKey(int key) {
    for (const auto& shortcut : p.shortcuts)
      if (shortcut.key == key) return shortcut.action();
    FAIL() << "no shortcut " << key;
  }
  PointerEvent at(PointerEvent::Kind kind, double x, bool modifier = false) {
    PointerEvent e;
    e.kind = kind;
    e.x = x;
    e.modifier = modifier;
    return e;
  }
};

TEST(MeasurementsPanel, KeyMAndTheMenuOpenAndCloseItBesideTheDisplayAndItIsRemembered) {
  Measurements m;
  const Rect display = m.p.ScopeScreen.place;
  EXPECT_FALSE(m.p.MeasPanel.visible);
  // The measurements come first in the display's menu; the other extras follow.
  ASSERT_FALSE(m.p.ScopeScreen.contextMenu.empty());
  EXPECT_NE(m.p.ScopeScreen.contextMenu[0].caption.find("easurements"), std::string::npos);
  EXPECT_FALSE(m.p.ScopeScreen.contextMenu[0].checked);

  m.pressKey('M');
  EXPECT_TRUE(m.p.MeasPanel.shown());
  EXPECT_EQ(m.s.host.Settings().value(kMeasurementsSetting), "1");
  // Beside the display, not over it: the display narrows by the panel's width.
  const Rect panel = m.p.MeasPanel.place;
  EXPECT_EQ(m.p.ScopeScreen.place.width + panel.width, display.width);
  EXPECT_EQ(panel.left, m.p.ScopeScreen.place.left + m.p.ScopeScreen.place.width);
  EXPECT_EQ(panel.top, display.top);
  EXPECT_EQ(panel.height, display.height);
  EXPECT_TRUE(m.p.ScopeScreen.contextMenu[0].checked);
  EXPECT_NE(m.p.MeasPanel.texts().find("Vpp"), std::string::npos);

  m.p.ScopeScreen.contextMenu[0].action();
  EXPECT_FALSE(m.p.MeasPanel.visible);
  EXPECT_EQ(m.p.ScopeScreen.place.width, display.width);
  EXPECT_EQ(m.s.host.Settings().value(kMeasurementsSetting), "0");
  EXPECT_TRUE(m.p.MeasPanel.ops.empty());

  // The next start opens it again when it was open at the end.
  m.s.host.Settings().setValue(kMeasurementsSetting, "1");
  m.start();
  EXPECT_TRUE(m.p.MeasPanel.visible);
}

TEST(MeasurementsPanel, DefaultSineAndClockReadTheirLevelsFrequencyAndDutyAfterGo) {
  Measurements m;
  m.pressKey('M');
  m.p.Command9.click();  // show D beside A
  ASSERT_EQ(m.s.SelD, 1);
  m.p.GOBUTTON.click();
  ASSERT_EQ(m.s.CaptureDone, 1);
  const PictureArea& panel = m.p.MeasPanel;
  EXPECT_EQ(row(panel, "Measured", 2), (std::vector<std::string>{"CH A", "CH D"}));

  EXPECT_NEAR(valueOf(row(panel, "Vpp", 2)[0]), 8.00, 0.04);
  EXPECT_EQ(row(panel, "Vpp", 2)[1], "-");  // a logic channel has no volts
  EXPECT_NEAR(valueOf(row(panel, "Max", 2)[0]), 4.00, 0.03);
  EXPECT_NEAR(valueOf(row(panel, "Min", 2)[0]), -4.00, 0.03);
  EXPECT_NEAR(valueOf(row(panel, "RMS", 2)[0]), 2.828, 0.014);
  EXPECT_NEAR(valueOf(row(panel, "AC RMS", 2)[0]), 2.828, 0.014);
  EXPECT_NEAR(valueOf(row(panel, "Mean", 2)[0]), 0, 0.03);
  const auto freq = row(panel, "Freq", 2);
  EXPECT_NEAR(valueOf(freq[0]), 1000, 1);
  EXPECT_NEAR(valueOf(freq[1]), 2000, 2);
  EXPECT_NEAR(valueOf(row(panel, "Period", 2)[0]), 1e-3, 1e-6);
  EXPECT_EQ(row(panel, "Duty", 2)[1], "50.0 %");
  EXPECT_NEAR(valueOf(row(panel, "Rise", 2)[0]), 295.2e-6, 3e-6);
  EXPECT_EQ(row(panel, "Rise", 2)[1], "-");

  // Another capture updates it: at 1 V range the sine clips, and the panel says so.
  m.p.Command3.click();
  ASSERT_EQ(m.s.RangeA, 0);
  m.p.GOBUTTON.click();
  EXPECT_EQ(row(panel, "Vpp", 2)[0], "clipped");
  EXPECT_EQ(row(panel, "Rise", 2)[0], "clipped");
  EXPECT_NEAR(valueOf(row(panel, "Freq", 2)[0]), 1000, 1);
}

TEST(MeasurementsPanel, PointerPlacesAndDragsTheNearerCursorScrollsAndZooms) {
  Measurements m;
  m.p.GOBUTTON.click();
  PictureArea& screen = m.p.ScopeScreen;
  // With no cursor chosen a click places nothing.
  screen.pointer(m.at(PointerEvent::Kind::Press, 300));
  screen.pointer(m.at(PointerEvent::Kind::Release, 300));
  EXPECT_EQ(m.s.CursorX, 0);

  m.p.Command23.click();  // cursor on A
  ASSERT_EQ(m.s.CursorSel, 1);
  m.pressKey('M');
  // The second cursor opens a quarter of the screen to the right of the first.
  EXPECT_NEAR(m.s.Cursor2X, m.s.ViewPoints / 4, 1);
  screen.pointer(m.at(PointerEvent::Kind::Press, 100));
  EXPECT_EQ(m.s.CursorX, 100);
  screen.pointer(m.at(PointerEvent::Kind::Move, 180.4));
  EXPECT_EQ(m.s.CursorX, 180);
  screen.pointer(m.at(PointerEvent::Kind::Release, 180));
  screen.pointer(m.at(PointerEvent::Kind::Move, 400));
  EXPECT_EQ(m.s.CursorX, 180);  // released: a move changes nothing

  // Nearer to the second cursor: that one moves, and the panel shows the differences.
  screen.pointer(m.at(PointerEvent::Kind::Press, m.s.Cursor2X - 10));
  screen.pointer(m.at(PointerEvent::Kind::Move, 1180));
  screen.pointer(m.at(PointerEvent::Kind::Release, 1180));
  EXPECT_EQ(m.s.CursorX, 180);
  EXPECT_EQ(m.s.Cursor2X, 1180);
  // 1000 points at 2 MS/s.
  EXPECT_EQ(row(m.p.MeasPanel, "\u0394t", 1)[0], "500.0 us");
  EXPECT_EQ(row(m.p.MeasPanel, "1/\u0394t", 1)[0], "2.000 kHz");
  // Half a period of the 1 kHz sine apart: the two values are opposite.
  const double v1 = (m.s.BufA[m.s.ViewFirst + 180] - 2048) * 10.0 / 2047;
  const double v2 = (m.s.BufA[m.s.ViewFirst + 1180] - 2048) * 10.0 / 2047;
  EXPECT_NEAR(valueOf(row(m.p.MeasPanel, "\u0394V", 1)[0]), v2 - v1, 0.01);
  // The second cursor is drawn dotted in the cursor's colour.
  bool dotted = false;
  for (const DrawOp& op : screen.ops)
    dotted |= op.kind == DrawOp::Kind::Line && op.style == DrawStyle::Dotted &&
              op.points[0].x == 1180 && op.colour == m.s.CursorColour;
  EXPECT_TRUE(dotted);
  // Past the right edge the cursor stops at the last point on screen.
  screen.pointer(m.at(PointerEvent::Kind::Press, 1180));
  screen.pointer(m.at(PointerEvent::Kind::Move, 99999));
  screen.pointer(m.at(PointerEvent::Kind::Release, 0));
  EXPECT_EQ(m.s.Cursor2X, m.s.ViewPoints - 1);

  // The wheel zooms around the pointer: the point under it stays under it.
  const double under = m.s.ViewFirst + 1000;
  const int width = m.s.ViewWidth;
  PointerEvent wheel = m.at(PointerEvent::Kind::Wheel, 1000);
  wheel.wheelSteps = 1;
  screen.pointer(wheel);
  EXPECT_NEAR(m.s.ViewWidth, width / 2.0, 1);
  EXPECT_NEAR(m.s.ViewFirst + 1000 * (m.s.ViewWidth / double(width)), under, 2);
  // A drag with a modifier scrolls: the trace follows the pointer.
  const int start = m.s.ViewStart;
  screen.pointer(m.at(PointerEvent::Kind::Press, 600, true));
  screen.pointer(m.at(PointerEvent::Kind::Move, 400, true));
  screen.pointer(m.at(PointerEvent::Kind::Release, 400, true));
  EXPECT_EQ(m.s.ViewStart, start + 100);
  wheel.wheelSteps = -1;
  screen.pointer(wheel);
  EXPECT_EQ(m.s.ViewWidth, width);
}

// In Repeat every capture redraws the panel from its own data.
TEST(MeasurementsPanel, RepeatUpdatesThePanelWithEveryCapture) {
  Measurements m;
  m.pressKey('M');
  m.p.TRESETBUTTON.press();
  ASSERT_EQ(m.s.RepeatMode, 1);
  const std::uint64_t screensBefore = m.p.ScopeScreen.clears, panels = m.p.MeasPanel.clears;
  std::uint64_t screens = screensBefore;
  int captures = 0;
  std::vector<std::string> vpp;
  m.rig.host.onPump = [&] {
    m.rig.port.log.clear();
    if (m.p.ScopeScreen.clears == screens) return;
    screens = m.p.ScopeScreen.clears;
    vpp.push_back(row(m.p.MeasPanel, "Vpp", 1)[0]);
    if (++captures == 3) m.p.SRATEN.click();  // 200 kS/s from the next capture on
    if (captures == 6) m.p.GOBUTTON.click();
  };
  m.p.GOBUTTON.click();
  EXPECT_EQ(captures, 6);
  // Every redraw of the display, the captures' and the rate step's, redrew the panel.
  EXPECT_EQ(m.p.MeasPanel.clears - panels, m.p.ScopeScreen.clears - screensBefore);
  EXPECT_GE(m.p.MeasPanel.clears - panels, 6u);
  ASSERT_EQ(vpp.size(), 6u);
  EXPECT_NEAR(valueOf(vpp.back()), 8.0, 0.04);
  // 2 periods at 2 MS/s, 20 at 200 kS/s: the frequency stays right across the change.
  EXPECT_NEAR(valueOf(row(m.p.MeasPanel, "Freq", 1)[0]), 1000, 1);
}

std::map<std::string, std::string> readMeasurementFile(const std::string& name, std::string& raw) {
  std::ifstream in(name, std::ios::binary);
  raw.assign(std::istreambuf_iterator<char>(in), {});
  std::map<std::string, std::string> values;
  std::stringstream lines(raw);
  for (std::string line; std::getline(lines, line);) {
    EXPECT_TRUE(line.ends_with("\r")) << line;
    const auto eq = line.find('=');
    values[line.substr(0, eq)] = line.substr(eq + 1, line.size() - eq - 2);
  }
  return values;
}

TEST(MeasurementFile, MdataWritesOneLinePerMeasurementOfEachWrittenChannel) {
  Measurements m;
  m.run("ADATA=1,MDATA=1,EXECUTE=1\n");
  ASSERT_TRUE(fs::exists("QVXAdata.dat"));
  std::string raw;
  auto values = readMeasurementFile("QVXMdata.txt", raw);
  EXPECT_EQ(values.size(), 11u);
  EXPECT_NEAR(std::stod(values.at("A_VPP_V")), 8.0, 0.04);
  EXPECT_NEAR(std::stod(values.at("A_RMS_V")), 2.828, 0.014);
  EXPECT_NEAR(std::stod(values.at("A_FREQ_HZ")), 1000, 1);
  EXPECT_NEAR(std::stod(values.at("A_PERIOD_S")), 0.001, 1e-6);
  EXPECT_NEAR(std::stod(values.at("A_DUTY_PCT")), 50, 0.5);
  EXPECT_NEAR(std::stod(values.at("A_RISE_S")), 295.2e-6, 3e-6);
  for (const char* key : {"A_MAX_V", "A_MIN_V", "A_MEAN_V", "A_ACRMS_V", "A_FALL_S"})
    EXPECT_TRUE(values.contains(key)) << key;
  EXPECT_EQ(raw.substr(0, 8), "A_VPP_V=");

  // The channels written decide the lines; a digital one has frequency, period and duty.
  // Without a display update the settings of the run still give the units.
  fs::remove("QVXMdata.txt");
  m.run("ADATA=0,DDATA=1,ARANGE=0,REMOTEDISPLAYUPDATE=0,EXECUTE=1\n");
  values = readMeasurementFile("QVXMdata.txt", raw);
  EXPECT_EQ(values.size(), 3u);
  EXPECT_NEAR(std::stod(values.at("D_FREQ_HZ")), 2000, 2);
  EXPECT_NEAR(std::stod(values.at("D_PERIOD_S")), 0.0005, 5e-7);
  EXPECT_NEAR(std::stod(values.at("D_DUTY_PCT")), 50, 0.5);

  // At 1 V the sine clips: the file says so instead of a number.
  m.run("ADATA=1,DDATA=0,EXECUTE=1\n");
  values = readMeasurementFile("QVXMdata.txt", raw);
  EXPECT_EQ(values.at("A_VPP_V"), "NaN ; clipped");
  EXPECT_NEAR(std::stod(values.at("A_FREQ_HZ")), 1000, 1);

  // MDATA=0 writes none.
  fs::remove("QVXMdata.txt");
  m.run("MDATA=0,EXECUTE=1\n");
  EXPECT_TRUE(fs::exists("QVXAdata.dat"));
  EXPECT_FALSE(fs::exists("QVXMdata.txt"));
}

}  // namespace
}  // namespace qvx
