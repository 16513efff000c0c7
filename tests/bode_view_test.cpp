// The Bode view on the simulated instrument with the generator wired to A through the RC
// low-pass of 1600 ohms and 100 nF (corner 995 Hz), driven through the panel model on the
// scripted host's virtual clock.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "bode/plot.h"
#include "bode/readouts.h"
#include "bode/save.h"
#include "bode/view.h"
#include "files/file_panels.h"
#include "files/file_text.h"
#include "sim/signal.h"
#include "started.h"

namespace qvx {
namespace {

namespace fs = std::filesystem;
constexpr double kPi = std::numbers::pi;
constexpr int kLeft = 0x01000012, kRight = 0x01000014;

std::string fileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> lines(const PictureArea& p) {
  std::vector<std::string> out;
  for (const DrawOp& op : p.ops)
    if (op.kind == DrawOp::Kind::Text) out.push_back(op.text);
  return out;
}

// The first text of the picture that starts with `start`; empty when none does.
std::string lineStarting(const PictureArea& p, const std::string& start) {
  for (const std::string& t : lines(p))
    if (t.rfind(start, 0) == 0) return t;
  return {};
}

struct View : testing::Started {
  // The port log is dropped as the program goes, a sweep being long.
  View() : Started(config()) {
    rig.host.onPump = [this] { rig.port.log.clear(); };
  }
  static sim::Config config() {
    sim::Config c;
    c.inputs.a = sim::parseAnalog("gen-rc:1600:1e-7", "--sim-a");
    c.inputs.b = sim::parseAnalog("gen", "--sim-b");
    return c;
  }
  void pressKey(int key) {
    for (const auto& shortcut : p.shortcuts)
      if (shortcut.key == key) return shortcut.action();
    FAIL() << "no shortcut " << key;
  }
  // Sets the plan through the view's buttons: start and stop on their 1-2-5 steps.
  void plan(double start, double stop, int perDecade) {
    bode::View& v = bodeView(s);
    for (int i = 0; i < 40 && v.plan.stop < stop; ++i) p.BodeStopUp.press();
    for (int i = 0; i < 40 && v.plan.start > start; ++i) p.BodeStartDown.press();
    for (int i = 0; i < 40 && v.plan.start < start; ++i) p.BodeStartUp.press();
    for (int i = 0; i < 40 && v.plan.stop > stop; ++i) p.BodeStopDown.press();
    for (int i = 0; i < 20 && v.plan.perDecade > perDecade; ++i) p.BodePpdDown.press();
    for (int i = 0; i < 20 && v.plan.perDecade < perDecade; ++i) p.BodePpdUp.press();
    ASSERT_EQ(v.plan.start, start);
    ASSERT_EQ(v.plan.stop, stop);
    ASSERT_EQ(v.plan.perDecade, perDecade);
  }
  bode::View& v() { return bodeView(s); }
};

TEST(BodeView, KeyBTheMenuAndExitOpenAndCloseItAndTheChoiceIsRemembered) {
  View m;
  EXPECT_FALSE(m.p.BodeBox.visible);
  const std::size_t screenOps = m.p.ScopeScreen.ops.size();
  m.pressKey('B');
  EXPECT_TRUE(m.p.BodeBox.shown());
  EXPECT_TRUE(m.p.BodePlot.shown());
  EXPECT_EQ(m.s.host.Settings().value(kBodeSetting), "1");
  // Over the whole display, which itself is left as it was.
  EXPECT_EQ(m.p.BodeBox.place.left, m.p.ScopeScreen.place.left);
  EXPECT_EQ(m.p.BodeBox.place.top, m.p.ScopeScreen.place.top);
  EXPECT_EQ(m.p.BodeBox.place.width, m.p.CURSINFO.place.width);
  EXPECT_EQ(m.p.ScopeScreen.ops.size(), screenOps);
  EXPECT_EQ(lines(m.p.BodeStartVal), std::vector<std::string>{"Start 20 Hz"});
  EXPECT_EQ(lines(m.p.BodeStopVal), std::vector<std::string>{"Stop 200 kHz"});
  EXPECT_EQ(lines(m.p.BodePpdVal), std::vector<std::string>{"10 / decade"});
  EXPECT_EQ(lineStarting(m.p.BodeInfo, "Press GO"), "Press GO to measure");
  // Nothing measured is not a curve that never falls 3 dB.
  EXPECT_EQ(lineStarting(m.p.BodeInfo, "A not"), "A not measured yet");

  // Tab reaches its controls in the order they stand, the plan first.
  std::vector<std::string> tabbed;
  for (const std::string& name : m.p.tabOrder)
    if (name.rfind("BodeS", 0) == 0 || name.rfind("BodeP", 0) == 0 || name == "BodeModeButton" ||
        name == "BodeRunButton" || name == "BodeCsvButton" || name == "BodeExit")
      tabbed.push_back(name);
  EXPECT_EQ(tabbed, (std::vector<std::string>{
                        "BodeStartDown", "BodeStartVal", "BodeStartUp", "BodeStopDown",
                        "BodeStopVal", "BodeStopUp", "BodePpdDown", "BodePpdVal", "BodePpdUp",
                        "BodeModeButton", "BodeRunButton", "BodeCsvButton", "BodeExit",
                        "BodeSaveName", "BodeSaveOk", "BodeSaveExit"}));
  for (const Widget* w : m.p.controls) {
    if (w->name.rfind("Bode", 0) == 0) {
      EXPECT_FALSE(w->toolTip.empty()) << w->name;
    }
  }

  m.pressKey('B');
  EXPECT_FALSE(m.p.BodeBox.visible);
  EXPECT_EQ(m.s.host.Settings().value(kBodeSetting), "0");

  const auto entry =
      std::find_if(m.p.ScopeScreen.contextMenu.begin(), m.p.ScopeScreen.contextMenu.end(),
                   [](const MenuEntry& e) { return e.caption.find("Bode") == 0; });
  ASSERT_NE(entry, m.p.ScopeScreen.contextMenu.end());
  EXPECT_NE(m.p.ScopeScreen.contextMenu.front().caption.find("easurements"), std::string::npos);
  entry->action();
  EXPECT_TRUE(m.p.BodeBox.visible);
  EXPECT_TRUE(entry->checked);
  m.p.BodeExit.press();
  EXPECT_FALSE(m.p.BodeBox.visible);
  EXPECT_FALSE(entry->checked);

  // The plan is kept too; the next start opens the view again with it.
  m.pressKey('B');
  m.p.BodePpdUp.press();
  m.p.BodeModeButton.press();
  EXPECT_EQ(m.s.host.Settings().value(kBodePlanSetting), "20:200000:20:single");
  m.start();
  EXPECT_TRUE(m.p.BodeBox.visible);
  EXPECT_EQ(lines(m.p.BodePpdVal), std::vector<std::string>{"20 / decade"});
  EXPECT_EQ(m.p.BodeModeButton.caption, "Single");
}

TEST(BodeView, PlanButtonsStepOverTheGeneratorsRangeKeepingStartBelowStop) {
  View m;
  m.pressKey('B');
  for (int i = 0; i < 30; ++i) m.p.BodeStartDown.press();
  for (int i = 0; i < 30; ++i) m.p.BodeStopUp.press();
  for (int i = 0; i < 30; ++i) m.p.BodePpdUp.press();
  EXPECT_EQ(m.v().plan.start, 5);
  EXPECT_EQ(m.v().plan.stop, 500000);
  EXPECT_EQ(m.v().plan.perDecade, 100);
  for (int i = 0; i < 30; ++i) m.p.BodeStartUp.press();
  EXPECT_EQ(m.v().plan.start, 200000);  // the step below the stop
  for (int i = 0; i < 30; ++i) m.p.BodeStopDown.press();
  EXPECT_EQ(m.v().plan.stop, 500000);  // nothing lies between start and stop
  for (int i = 0; i < 30; ++i) m.p.BodePpdDown.press();
  EXPECT_EQ(m.v().plan.perDecade, 1);
  EXPECT_EQ(lines(m.p.BodeStartVal), std::vector<std::string>{"Start 200 kHz"});
  EXPECT_EQ(lines(m.p.BodePpdVal), std::vector<std::string>{"1 / decade"});
}

// A whole sweep from the view's GO: the picture, the -3 dB readout, the cursor and the
// progress all come from the response, on the RC low-pass's theory.
TEST(BodeView, SweepFillsThePictureAndReadsTheCornerAndTheCursor) {
  View m;
  m.pressKey('B');
  m.plan(100, 10000, 10);
  m.p.GOBUTTON.press();  // a capture on the display, which the sweep must leave as it is
  const SampleBuffer shownA = m.s.BufA, shownB = m.s.BufB;
  const std::int32_t shownCount = m.s.SampleCount;
  m.p.BodeRunButton.press();
  const bode::Response& r = m.v().response;
  ASSERT_EQ(r.points.size(), 21u);
  EXPECT_TRUE(m.s.BufA == shownA && m.s.BufB == shownB);
  EXPECT_EQ(m.s.SampleCount, shownCount);
  EXPECT_FALSE(m.v().running);
  EXPECT_EQ(m.p.BodeRunButton.caption, "GO");
  EXPECT_EQ(m.s.RunFlag, 0);
  EXPECT_EQ(lineStarting(m.p.BodeInfo, "Done"), "Done: 21 of 21 points");

  // Two traces a channel (gain and phase), one unbroken polyline each, in the channels'
  // colours, and every decade of the axis labelled.
  int polylines[2] = {};
  for (const DrawOp& op : m.p.BodePlot.ops)
    if (op.kind == DrawOp::Kind::Polyline) {
      ASSERT_EQ(op.points.size(), 21u);
      if (op.colour == m.s.TraceColour[0]) ++polylines[0];
      if (op.colour == m.s.TraceColour[1]) ++polylines[1];
    }
  EXPECT_EQ(polylines[0], 2);
  EXPECT_EQ(polylines[1], 2);
  const std::vector<std::string> texts = lines(m.p.BodePlot);
  for (const char* want : {"100 Hz", "1 kHz", "10 kHz", "Gain dB", "Phase deg", "CH A", "CH B"})
    EXPECT_NE(std::find(texts.begin(), texts.end(), want), texts.end()) << want;

  // The corner of the low-pass, below the peak (its low-frequency gain) by 3 dB.
  const std::string edge = lineStarting(m.p.BodeInfo, "A ");
  double hz = 0, deg = 0;
  char unit[8] = {};
  ASSERT_EQ(std::sscanf(edge.c_str(), "A %lf %7s %lf", &hz, unit, &deg), 3) << edge;
  if (std::string(unit) == "kHz") hz *= 1000;
  const double fc = 1 / (2 * kPi * 1600 * 1e-7);
  EXPECT_NEAR(hz, fc, 0.02 * fc) << edge;
  EXPECT_NEAR(deg, -45, 2) << edge;
  // B, a straight wire, stays flat.
  EXPECT_NE(lineStarting(m.p.BodeInfo, "B not reached"), "");

  // The cursor: a click lands on the nearest point, the arrows step along the points.
  float x = 0;
  for (const DrawOp& op : m.p.BodePlot.ops)
    if (op.kind == DrawOp::Kind::Polyline && op.colour == m.s.TraceColour[0]) x = op.points[10].x;
  m.p.BodePlot.pointer({PointerEvent::Kind::Press, x + 30, 100});
  EXPECT_EQ(m.v().cursor, 10);
  m.p.focus = m.p.BodePlot.name;
  ASSERT_TRUE(m.p.onShortcut(kRight));
  ASSERT_TRUE(m.p.onShortcut(kRight));
  m.p.BodePlot.keyPress(kLeft);
  ASSERT_EQ(m.v().cursor, 11);
  const bode::Point& at = r.points[11];
  char want[96];
  std::snprintf(want, sizeof want, "Cursor %s", bode::hertzText(at.frequency).c_str());
  EXPECT_EQ(lineStarting(m.p.BodeInfo, "Cursor"), want);
  EXPECT_EQ(lineStarting(m.p.BodeInfo, "Cursor"), "Cursor 1.259 kHz");
  for (int c = 0; c < 2; ++c) {
    std::snprintf(want, sizeof want, "%c %.2f dB  %.1f\u00B0", "AB"[c], at.channel[c].gainDb,
                  at.channel[c].phaseDeg);
    const std::vector<std::string> all = lines(m.p.BodeInfo);
    EXPECT_EQ(std::count(all.begin(), all.end(), want), 1) << want;
  }
  // Elsewhere the arrows still move the display's cursor, not the view's.
  m.p.focus = m.p.GOBUTTON.name;
  m.p.onShortcut(kRight);
  EXPECT_EQ(m.v().cursor, 11);
}

// STOP from the view or the program's own GO/STOP ends the sweep after the pass under
// way; the points measured stay, and the readout says how many.
TEST(BodeView, StopKeepsThePointsDoneAndProgressIsPinnedOnTheClock) {
  View m;
  m.pressKey('B');
  m.plan(100, 10000, 5);  // 11 points
  std::vector<double> passEnds;
  std::vector<std::string> left, running;
  std::vector<bool> locked;
  const double started = m.rig.host.clock;
  std::size_t seen = 0;
  m.rig.host.onPump = [&] {
    m.rig.port.log.clear();
    const bode::View& v = bodeView(m.s);
    if (v.response.points.size() == seen) return;
    seen = v.response.points.size();
    passEnds.push_back(m.rig.host.clock);
    left.push_back(lineStarting(m.p.BodeInfo, "Time left"));
    running.push_back(lineStarting(m.p.BodeInfo, "Running"));
    locked.push_back(!m.p.SmodeUP.usable() && !m.p.BodeStartUp.usable() &&
                     m.p.BodeRunButton.usable() && m.p.GOBUTTON.caption == "STOP" &&
                     m.p.BodeRunButton.caption == "STOP");
    if (seen == 4) m.p.BodeRunButton.click();
  };
  m.p.BodeRunButton.press();
  const bode::Response& r = m.v().response;
  ASSERT_EQ(r.points.size(), 4u);
  EXPECT_TRUE(r.stopped);
  EXPECT_EQ(lineStarting(m.p.BodeInfo, "Stopped"), "Stopped: 4 of 11 points kept");
  ASSERT_EQ(passEnds.size(), 4u);
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(running[k], "Running: " + std::to_string(k + 1) + " of 11 points");
    // At the pace so far: the time taken, shared over the points done, for each point left.
    const double elapsed = passEnds[k] - started;
    char want[48];
    std::snprintf(want, sizeof want, "Time left about %.1f s",
                  elapsed / static_cast<double>(k + 1) * static_cast<double>(10 - k));
    EXPECT_EQ(left[k], want);
    EXPECT_TRUE(locked[k]) << k;
  }
  // Everything is usable again, the captions back.
  EXPECT_TRUE(m.p.SmodeUP.usable());
  EXPECT_TRUE(m.p.BodeStartUp.usable());
  EXPECT_EQ(m.p.GOBUTTON.caption, "GO");

  // The program's GO/STOP stops it the same way.
  seen = 0;
  m.rig.host.onPump = [&] {
    m.rig.port.log.clear();
    if (bodeView(m.s).response.points.size() == 2 && seen++ == 0) m.p.GOBUTTON.click();
  };
  m.p.BodeRunButton.press();
  EXPECT_EQ(m.v().response.points.size(), 2u);
  EXPECT_EQ(lineStarting(m.p.BodeInfo, "Stopped"), "Stopped: 2 of 11 points kept");
  EXPECT_EQ(m.s.RunFlag, 0);
}

TEST(BodeView, CsvExportWritesTheHeadlessBytesAndARefusalChangesNothing) {
  View m;
  m.pressKey('B');
  m.p.BodeCsvButton.press();  // nothing measured yet
  ASSERT_EQ(m.rig.host.messages.size(), 1u);
  EXPECT_EQ(m.rig.host.messages[0].text, kNothingToSave);
  EXPECT_FALSE(m.p.BodeSaveBox.visible);

  m.plan(1000, 10000, 2);
  m.p.BodeRunButton.press();
  ASSERT_EQ(m.v().response.points.size(), 3u);
  fs::create_directory("out");
  m.p.BodeCsvButton.press();
  ASSERT_TRUE(m.p.BodeSaveBox.shown());
  // Into the folder "out" through the folder list, under a typed name.
  const auto& folders = m.p.BodeDirList.items;
  const auto out = std::find(folders.begin(), folders.end(), "out/");
  ASSERT_NE(out, folders.end());
  m.p.BodeDirList.listIndex = static_cast<int>(out - folders.begin());
  m.p.BodeDirList.click();
  m.p.BodeSaveName.text = "rc.txt";
  m.p.BodeSaveOk.press();
  EXPECT_EQ(fileText("out/rc.csv"), bode::csvText(m.v().response));
  EXPECT_FALSE(m.p.BodeSaveBox.visible);
  EXPECT_NE(m.rig.host.messages.back().text.find("out/rc.csv"), std::string::npos);

  // A place that cannot be written (a folder that went away after it was chosen; the
  // tests may run as root, whom permissions do not stop): the user is told, nothing is
  // written anywhere, the box stays open.
  fs::create_directory("out/gone");
  m.p.BodeCsvButton.press();
  const std::string before = fileText("out/rc.csv");
  const auto& now = m.p.BodeDirList.items;
  m.p.BodeDirList.listIndex =
      static_cast<int>(std::find(now.begin(), now.end(), "gone/") - now.begin());
  m.p.BodeDirList.click();
  ASSERT_NE(m.p.BodeDirPath.texts().find("gone"), std::string::npos);
  fs::remove("out/gone");
  m.p.BodeSaveName.text = "rc";
  const std::size_t told = m.rig.host.messages.size();
  m.p.BodeSaveOk.press();
  ASSERT_EQ(m.rig.host.messages.size(), told + 2);  // the question, then the refusal
  EXPECT_EQ(m.rig.host.messages.back().text, kUnableToSave);
  EXPECT_EQ(fileText("out/rc.csv"), before);
  EXPECT_EQ(std::distance(fs::directory_iterator("out"), fs::directory_iterator()), 1);
  EXPECT_TRUE(m.p.BodeSaveBox.visible);
  // Names that leave the folder are refused before anything is asked.
  for (const char* bad : {"../rc", ".csv", ""}) {
    m.p.BodeSaveName.text = bad;
    m.p.BodeSaveOk.press();
    EXPECT_EQ(m.rig.host.messages.back().text,
              *bad ? std::string(kBadSaveName) : std::string("No File name to save"));
  }
  EXPECT_FALSE(fs::exists("rc.csv"));
  m.p.BodeSaveExit.press();
  EXPECT_FALSE(m.p.BodeSaveBox.visible);
}

// With no instrument on the port the sweep says so and gives the window back as it was.
TEST(BodeView, ASweepWithoutAnInstrumentSaysWhyAndUnlocksTheWindow) {
  sim::Config unplugged;
  unplugged.plugged = false;
  testing::Started m(unplugged);
  m.p.shortcuts.back().action();
  ASSERT_TRUE(m.p.BodeBox.visible);
  m.p.BodeRunButton.press();
  EXPECT_NE(lineStarting(m.p.BodeInfo, "no QVX instrument"), "");
  EXPECT_TRUE(bodeView(m.s).response.points.empty());
  EXPECT_TRUE(m.p.BodeStartUp.usable());
  EXPECT_EQ(m.p.GOBUTTON.caption, "GO");
  EXPECT_EQ(m.p.BodeRunButton.caption, "GO");
}

// The picture: measured runs as polylines, a lone measured point as a dot, gaps where
// points were not measured, and the scales on whole steps around the values.
TEST(BodePicture, LeavesGapsAndLabelsItsScalesOnWholeSteps) {
  PictureArea p("BodePlot");
  p.place = {0, 0, 8500, 4300};
  bode::Response r;
  const double gains[] = {-1, -2, 0, -25, 0, -8, -12};
  const bool measured[] = {true, true, false, true, false, true, true};
  for (int i = 0; i < 7; ++i) {
    bode::Point pt;
    pt.frequency = 100 * std::pow(10.0, i / 3.0);
    pt.channel[0] = {measured[i], gains[i], -20.0 * i, 0.5};
    r.points.push_back(pt);
  }
  bode::Plan plan;
  plan.start = 100;
  plan.stop = 10000;
  bode::drawPlot(p, plan, r, 3, {{0x800000, 0x008000}});
  std::vector<std::size_t> runs;
  int dots = 0;
  for (const DrawOp& op : p.ops) {
    if (op.colour != 0x800000) continue;
    if (op.kind == DrawOp::Kind::Polyline) runs.push_back(op.points.size());
    if (op.kind == DrawOp::Kind::Points && op.width < 5) dots += static_cast<int>(op.points.size());
  }
  // Gain and phase alike: points 0-1 and 5-6 joined, point 3 alone.
  EXPECT_EQ(runs, (std::vector<std::size_t>{2, 2, 2, 2}));
  EXPECT_EQ(dots, 2);
  const std::vector<std::string> t = lines(p);
  auto has = [&](const std::string& text) {
    return std::find(t.begin(), t.end(), text) != t.end();
  };
  // Gains -25..-1 in steps of 10 dB: 0 down to -30; phases -120..0 in steps of 45: 0 to -135.
  for (const char* label : {"0", "-10", "-20", "-30", "0\u00B0", "-45\u00B0", "-135\u00B0"})
    EXPECT_TRUE(has(label)) << label;
  EXPECT_FALSE(has("-40"));
  EXPECT_FALSE(has("10"));
  for (const char* decade : {"100 Hz", "1 kHz", "10 kHz"}) EXPECT_TRUE(has(decade)) << decade;
  // The cursor stands on point 3: its dotted line at the same x as that point's dot.
  float dotX = -1, cursorX = -2;
  for (const DrawOp& op : p.ops) {
    if (op.kind == DrawOp::Kind::Points && op.width < 5) dotX = op.points[0].x;
    if (op.kind == DrawOp::Kind::Line && op.style == DrawStyle::Dotted && op.colour == 0x0000C0)
      cursorX = op.points[0].x;
  }
  EXPECT_FLOAT_EQ(dotX, cursorX);
  EXPECT_NEAR(bode::frequencyAt(p, plan, dotX), r.points[3].frequency, 1e-6);
}

TEST(BodeReadouts, BandEdgeSearchesFromThePeakTowardsTheLowerEnd) {
  auto response = [](std::vector<std::pair<double, double>> gains) {
    bode::Response r;
    for (auto [f, db] : gains) {
      bode::Point p;
      p.frequency = f;
      p.channel[0] = {true, db, -f / 100, 0.5};
      r.points.push_back(p);
    }
    return r;
  };
  // A low-pass whose pass band sits at -6 dB: the edge is 3 dB below that, not at -3 dB.
  bode::Crossing e = bode::bandEdge(response({{10, -6}, {100, -6.5}, {1000, -10}, {1e4, -20}}), 0);
  ASSERT_TRUE(e.found);
  // -9.0103 dB lies 0.71 of the way from 100 Hz (-6.5) to 1 kHz (-10) in log frequency.
  EXPECT_NEAR(e.frequency, std::pow(10.0, 2 + 2.5103 / 3.5), 0.01);
  EXPECT_NEAR(e.phaseDeg, -1 + (2.5103 / 3.5) * (-10 + 1), 1e-6);
  // A high-pass: found below its pass band, searching downwards.
  e = bode::bandEdge(response({{10, -30}, {100, -10}, {1000, -1}, {1e4, 0}}), 0);
  ASSERT_TRUE(e.found);
  EXPECT_GT(e.frequency, 100);
  EXPECT_LT(e.frequency, 1000);
  // A resonance: below the peak, above it in frequency.
  e = bode::bandEdge(response({{10, 0}, {100, 6}, {1000, 2}, {1e4, -20}}), 0);
  ASSERT_TRUE(e.found);
  EXPECT_GT(e.frequency, 100);
  EXPECT_LT(e.frequency, 1000);
  // Flat, or too few points: not reached; points not measured are passed over.
  EXPECT_FALSE(bode::bandEdge(response({{10, 0}, {100, -1}, {1000, -2}}), 0).found);
  EXPECT_FALSE(bode::bandEdge(response({{10, 0}}), 0).found);
  bode::Response gap = response({{10, 0}, {100, -30}, {1000, -10}});
  gap.points[1].channel[0].measured = false;
  e = bode::bandEdge(gap, 0);
  ASSERT_TRUE(e.found);
  EXPECT_NEAR(e.frequency, std::pow(10.0, 1 + 2 * 0.30103), 0.01);

  EXPECT_EQ(bode::secondsLeft(6, 3, 10), 14);
  EXPECT_LT(bode::secondsLeft(0, 0, 10), 0);
  EXPECT_EQ(bode::hertzText(995.27), "995.3 Hz");
  EXPECT_EQ(bode::hertzText(1000), "1.000 kHz");
  EXPECT_EQ(bode::hertzText(200000), "200.0 kHz");
  EXPECT_EQ(bode::hertzText(5), "5.000 Hz");
  EXPECT_EQ(bode::shortHertzText(500000), "500 kHz");
  EXPECT_EQ(bode::nearestPoint(response({{10, 0}, {100, 0}, {1000, 0}}), 40), 1);
  EXPECT_EQ(bode::nearestPoint(response({{10, 0}, {100, 0}, {1000, 0}}), 20), 0);
  EXPECT_EQ(bode::nearestPoint(bode::Response{}, 20), -1);
}

}  // namespace
}  // namespace qvx
