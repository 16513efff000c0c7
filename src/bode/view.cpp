#include "bode/view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <stdexcept>
#include <string>
#include <tuple>

#include "bode/plot.h"
#include "bode/readouts.h"
#include "bode/save.h"
#include "bode/sweep.h"
#include "panel/numeric.h"

namespace qvx {

namespace {

constexpr Colour kBoxBack = 0xC8C8C8, kReadout = 0xC0FFFF, kNote = 0x800000;
constexpr double kInfoFont = 7;
// The toolkit's codes of the arrow keys, as the shortcuts know them.
constexpr int kLeftKey = 0x01000012, kRightKey = 0x01000014;
constexpr const char* kMenuCaption = "Bode view\tB";

// The plan's settings step through these: a 1-2-5 series over the generator's range,
// and the usual counts a decade.
constexpr double kHertzSteps[] = {5,    10,   20,    50,    100,   200,    500,    1000,
                                  2000, 5000, 10000, 20000, 50000, 100000, 200000, 500000};
constexpr int kPerDecadeSteps[] = {1, 2, 3, 5, 10, 20, 50, 100};

bode::PlotColours coloursOf(const Scope& s) {
  return {{s.TraceColour[0], s.TraceColour[1]}};
}

void place(Widget& w, int left, int top, int width, int height) {
  w.place = {left, top, width, height};
}

// The next value of `steps` above (`up`) or below `now`, or `now` at the end.
template <typename T, std::size_t N>
T stepped(const T (&steps)[N], T now, bool up) {
  if (up) {
    for (T v : steps)
      if (v > now) return v;
  } else {
    for (auto it = std::rbegin(steps); it != std::rend(steps); ++it)
      if (*it < now) return *it;
  }
  return now;
}

std::string planText(const bode::Plan& plan) {
  char text[96];
  std::snprintf(text, sizeof text, "%g:%g:%d%s", plan.start, plan.stop, plan.perDecade,
                plan.single ? ":single" : "");
  return text;
}

void savePlan(Scope& s) {
  s.host.Settings().setValue(kBodePlanSetting, planText(bodeView(s).plan));
}

// A stored plan that does not read as one leaves the start plan.
void loadPlan(Scope& s) {
  if (auto text = s.host.Settings().value(kBodePlanSetting)) try {
      bodeView(s).plan = bode::parsePlan(*text);
    } catch (const std::invalid_argument&) {
    }
}

// A frequency as the plan holds it: whole hertz, halves to even.
double planHertz(double hz) {
  return static_cast<double>(roundHalfEven(hz));
}

// The buttons step through their lists from wherever the value stands, a typed value
// between two entries included; at either end of the list, or where the step would bring
// start and stop together, the value stays.
void stepPlan(Scope& s, BodePlanValue which, bool up) {
  const bode::Plan& plan = bodeView(s).plan;
  switch (which) {
    case BodePlanValue::Start:
      setBodePlanValue(s, which, stepped(kHertzSteps, plan.start, up));
      break;
    case BodePlanValue::Stop:
      setBodePlanValue(s, which, stepped(kHertzSteps, plan.stop, up));
      break;
    case BodePlanValue::PerDecade:
      setBodePlanValue(s, which, stepped(kPerDecadeSteps, plan.perDecade, up));
      break;
  }
}

void printValue(PictureArea& p, const std::string& text) {
  p.cls();
  p.printAt(80, 40, text);
}

std::string readingText(const bode::Reading& m) {
  if (!m.measured) return "not measured";
  char text[64];
  std::snprintf(text, sizeof text, "%.2f dB  %.1f\u00B0", m.gainDb, m.phaseDeg);
  return text;
}

struct Lines {
  PictureArea& p;
  double y = 60;
  void add(const std::string& text, Colour colour = 0, bool bold = false) {
    p.fontBold = bold;
    p.foreColour = colour;
    p.printAt(80, y, text);
    y += p.textHeight();
  }
  void gap() { y += p.textHeight() / 2; }
};

void drawProgress(Lines& l, const bode::View& v) {
  const bode::Response& r = v.response;
  const std::string counts =
      std::to_string(r.points.size()) + " of " + std::to_string(r.planned) + " points";
  l.add(v.plan.single ? "Single pass" : "Stepped sine", 0, true);
  if (v.running) {
    l.add("Running: " + counts);
    char left[48];
    std::snprintf(left, sizeof left, "Time left about %.1f s", v.secondsLeft);
    l.add(v.secondsLeft < 0 ? "Time left: after the first pass" : left);
  } else if (r.stopped) {
    l.add("Stopped: " + counts + " kept", kNote);
  } else if (r.planned > 0) {
    l.add("Done: " + counts);
  } else {
    l.add("Press GO to measure");
  }
  if (!v.message.empty()) l.add(v.message, 0x0000C0);
}

void drawEdges(Lines& l, const Scope& s, const bode::View& v) {
  l.gap();
  l.add("-3 dB below the peak", 0, true);
  const bode::PlotColours colours = coloursOf(s);
  for (int c = 0; c < (v.response.channelB ? 2 : 1); ++c) {
    const bode::Crossing e = bode::bandEdge(v.response, c);
    char text[80];
    // "not reached" is a finding about a curve, so it waits until there is one.
    if (e.found)
      std::snprintf(text, sizeof text, "%c %s  %.1f\u00B0", "AB"[c],
                    bode::hertzText(e.frequency).c_str(), e.phaseDeg);
    else if (v.response.points.empty())
      std::snprintf(text, sizeof text, "%c not measured yet", "AB"[c]);
    else
      std::snprintf(text, sizeof text, "%c not reached", "AB"[c]);
    l.add(text, colours.channel[c]);
  }
}

void drawCursor(Lines& l, const Scope& s, const bode::View& v) {
  l.gap();
  const auto& points = v.response.points;
  if (v.cursor < 0 || v.cursor >= static_cast<int>(points.size())) {
    l.add("Cursor: click the picture", 0, true);
    return;
  }
  const bode::Point& at = points[static_cast<std::size_t>(v.cursor)];
  l.add("Cursor " + bode::hertzText(at.frequency), 0, true);
  const bode::PlotColours colours = coloursOf(s);
  for (int c = 0; c < (v.response.channelB ? 2 : 1); ++c)
    l.add(std::string(1, "AB"[c]) + " " + readingText(at.channel[c]), colours.channel[c]);
}

void drawInfo(Scope& s) {
  const bode::View& v = bodeView(s);
  PictureArea& p = s.panel.BodeInfo;
  p.cls();
  p.fontSize = kInfoFont;
  Lines l{p};
  drawProgress(l, v);
  drawEdges(l, s, v);
  drawCursor(l, s, v);
  p.fontBold = false;
}

void moveCursor(Scope& s, int by) {
  bode::View& v = bodeView(s);
  const int last = static_cast<int>(v.response.points.size()) - 1;
  if (last < 0) return;
  v.cursor = std::clamp(v.cursor + by, 0, last);
  drawBode(s);
}

void BodePlot_Pointer(Scope& s, const PointerEvent& e) {
  if (e.kind != PointerEvent::Kind::Press && e.kind != PointerEvent::Kind::Move) return;
  bode::View& v = bodeView(s);
  const int at = bode::nearestPoint(v.response, bode::frequencyAt(s.panel.BodePlot, v.plan, e.x));
  if (at < 0) return;
  v.cursor = at;
  drawBode(s);
}

void setToolTips(Panel& p) {
  p.BodeBox.toolTip = "Bode view: gain and phase against frequency (B)";
  // The plan's readouts get theirs with the typed numbers, which they are.
  p.BodeStartDown.toolTip = "Lower start frequency, in 1-2-5 steps";
  p.BodeStartUp.toolTip = "Higher start frequency, in 1-2-5 steps";
  p.BodeStopDown.toolTip = "Lower stop frequency, in 1-2-5 steps";
  p.BodeStopUp.toolTip = "Higher stop frequency, in 1-2-5 steps";
  p.BodePpdDown.toolTip = "Fewer points a decade (log spaced)";
  p.BodePpdUp.toolTip = "More points a decade (log spaced)";
  p.BodeModeButton.toolTip =
      "Stepped: one sine pass a point; Single: one multi-tone pass a rate, faster";
  p.BodeRunButton.toolTip = "GO: measure the response; STOP: end the sweep, keeping its points";
  p.BodeCsvButton.toolTip =
      "Save the response as CSV: frequency, gain dB and phase deg per channel";
  p.BodeExit.toolTip = "Close the Bode view (B)";
  p.BodePlot.toolTip = "Click or Left/Right: move the cursor along the measured points";
  p.BodeInfo.toolTip = "Progress, the -3 dB point below the peak gain, and the cursor's readings";
}

}  // namespace

bode::View& bodeView(Scope& s) {
  return *s.bodeView;
}

void layOutBode(Panel& p) {
  // Over the whole display, the measurements beside it included.
  Rect screen = p.ScopeScreen.place;
  screen.width = p.CURSINFO.place.width;
  place(p.BodeBox, screen.left, screen.top, screen.width, screen.height);
  p.BodeBox.backColour = kBoxBack;
  p.BodeBox.visible = false;
  constexpr int kRowTop = 40, kRowHeight = 300, kArrow = 260;
  int left = 60;
  for (auto [down, value, up, width] :
       {std::tuple{&p.BodeStartDown, &p.BodeStartVal, &p.BodeStartUp, 1300},
        std::tuple{&p.BodeStopDown, &p.BodeStopVal, &p.BodeStopUp, 1300},
        std::tuple{&p.BodePpdDown, &p.BodePpdVal, &p.BodePpdUp, 1100}}) {
    place(*down, left, kRowTop, kArrow, kRowHeight);
    place(*value, left + kArrow + 20, kRowTop, width, kRowHeight);
    place(*up, left + kArrow + 40 + width, kRowTop, kArrow, kRowHeight);
    value->backColour = kReadout;
    value->fontSize = 8;
    left += 2 * kArrow + 40 + width + 100;
  }
  place(p.BodeModeButton, left, kRowTop, 1100, kRowHeight);
  place(p.BodeRunButton, left + 1220, kRowTop, 900, kRowHeight);
  p.BodeRunButton.fontBold = true;
  place(p.BodeCsvButton, left + 2240, kRowTop, 1100, kRowHeight);
  place(p.BodeExit, screen.width - 1160, kRowTop, 1100, kRowHeight);
  p.BodeExit.fontBold = true;
  const int pictureTop = kRowTop + kRowHeight + 60;
  const int pictureHeight = screen.height - pictureTop - 60;
  const int infoWidth = 3220;
  place(p.BodePlot, 60, pictureTop, screen.width - infoWidth - 180, pictureHeight);
  p.BodePlot.backColour = 0xFFFFFF;
  place(p.BodeInfo, screen.width - infoWidth - 60, pictureTop, infoWidth, pictureHeight);
  p.BodeInfo.backColour = kReadout;
  layOutBodeSave(p);
  setToolTips(p);
}

void drawBode(Scope& s) {
  bode::View& v = bodeView(s);
  if (!v.open) return;
  Panel& p = s.panel;
  printValue(p.BodeStartVal, "Start " + bode::shortHertzText(v.plan.start));
  printValue(p.BodeStopVal, "Stop " + bode::shortHertzText(v.plan.stop));
  printValue(p.BodePpdVal, std::to_string(v.plan.perDecade) + " / decade");
  p.BodeModeButton.caption = v.plan.single ? "Single" : "Stepped";
  p.BodeRunButton.caption = v.running ? "STOP" : "GO";
  p.BodeRunButton.foreColour = v.running ? 0x0000C0 : 0x008000;
  bode::drawPlot(p.BodePlot, v.plan, v.response, v.cursor, coloursOf(s));
  drawInfo(s);
}

void showBode(Scope& s, bool open) {
  Panel& p = s.panel;
  bode::View& v = bodeView(s);
  if (!open && v.running) s.RunFlag = 0;  // the sweep ends after the pass under way
  v.open = open;
  p.BodeBox.visible = open;
  for (MenuEntry& entry : p.ScopeScreen.contextMenu)
    if (entry.caption == kMenuCaption) entry.checked = open;
  s.host.Settings().setValue(kBodeSetting, open ? "1" : "0");
  if (open) {
    drawBode(s);
    return;
  }
  closeBodeSave(s);
  for (PictureArea* pic :
       {&p.BodeStartVal, &p.BodeStopVal, &p.BodePpdVal, &p.BodePlot, &p.BodeInfo})
    pic->cls();
}

std::string bodePlanRefusal(const Scope& s, BodePlanValue which, double value) {
  const bode::View& v = *s.bodeView;
  if (v.running) return "The plan is kept while a sweep runs";
  if (which == BodePlanValue::PerDecade) {
    if (value != std::floor(value) || value < 1 || value > bode::kMostPerDecade)
      return "Points a decade: a whole number 1 to 100";
    return {};
  }
  const double hz = planHertz(value);
  if (hz < bode::kLowestHz || hz > bode::kHighestHz) return "The generator plays 5 Hz to 500 kHz";
  if (which == BodePlanValue::Start && hz >= v.plan.stop)
    return "Start must lie below the stop, " + bode::shortHertzText(v.plan.stop);
  if (which == BodePlanValue::Stop && hz <= v.plan.start)
    return "Stop must lie above the start, " + bode::shortHertzText(v.plan.start);
  return {};
}

std::string setBodePlanValue(Scope& s, BodePlanValue which, double value) {
  std::string refusal = bodePlanRefusal(s, which, value);
  if (!refusal.empty()) return refusal;
  bode::Plan& plan = bodeView(s).plan;
  switch (which) {
    case BodePlanValue::Start:
      plan.start = planHertz(value);
      break;
    case BodePlanValue::Stop:
      plan.stop = planHertz(value);
      break;
    case BodePlanValue::PerDecade:
      plan.perDecade = static_cast<int>(value);
      break;
  }
  savePlan(s);
  drawBode(s);
  return {};
}

void setBodePlan(Scope& s, const bode::Plan& plan) {
  bode::View& v = bodeView(s);
  if (v.running) return;
  v.plan = plan;
  savePlan(s);
  drawBode(s);
}

void BodeView_Toggle(Scope& s) {
  showBode(s, !bodeView(s).open);
}

void restoreBode(Scope& s) {
  if (s.host.Settings().value(kBodeSetting) == "1") showBode(s, true);
}

void wireBode(Scope& s) {
  s.bodeView = std::make_shared<bode::View>();
  loadPlan(s);
  Panel& p = s.panel;
  p.BodeStartDown.onClick = [&s] { stepPlan(s, BodePlanValue::Start, false); };
  p.BodeStartUp.onClick = [&s] { stepPlan(s, BodePlanValue::Start, true); };
  p.BodeStopDown.onClick = [&s] { stepPlan(s, BodePlanValue::Stop, false); };
  p.BodeStopUp.onClick = [&s] { stepPlan(s, BodePlanValue::Stop, true); };
  p.BodePpdDown.onClick = [&s] { stepPlan(s, BodePlanValue::PerDecade, false); };
  p.BodePpdUp.onClick = [&s] { stepPlan(s, BodePlanValue::PerDecade, true); };
  p.BodeModeButton.onClick = [&s] {
    bode::Plan plan = bodeView(s).plan;
    plan.single = !plan.single;
    setBodePlan(s, plan);
  };
  p.BodeRunButton.onClick = [&s] { BodeRunButton_Click(s); };
  p.BodeCsvButton.onClick = [&s] { openBodeSave(s); };
  p.BodeExit.onClick = [&s] { showBode(s, false); };
  p.BodePlot.onPointer = [&s](const PointerEvent& e) { BodePlot_Pointer(s, e); };
  p.BodePlot.onKeyPress = [&s](int key) {
    if (key == kLeftKey) moveCursor(s, -1);
    if (key == kRightKey) moveCursor(s, 1);
  };
  wireBodeSave(s);
  p.ScopeScreen.contextMenu.push_back({kMenuCaption, false, [&s] { BodeView_Toggle(s); }});
  p.shortcuts.push_back({'B', [&s] { BodeView_Toggle(s); }});
  // The arrow keys move the display's cursor wherever the focus is, except on the Bode
  // picture, where they move its own.
  p.onShortcut = [&s, others = p.onShortcut](int key) {
    Panel& panel = s.panel;
    if ((key == kLeftKey || key == kRightKey) && panel.focus == panel.BodePlot.name &&
        panel.BodePlot.usable()) {
      panel.BodePlot.keyPress(key);
      return true;
    }
    return others && others(key);
  };
}

}  // namespace qvx
