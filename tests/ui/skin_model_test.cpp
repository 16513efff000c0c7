// The skin paints picture areas incrementally, replaying only what was drawn since its
// last sync. These tests hold it to the model: after every event pump of long redraw
// sequences, each shown picture must equal a fresh render of the model's drawing, and
// each control must show the model's caption, state and visibility.
#include <gtest/gtest.h>

#include <QPushButton>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "bode/view.h"
#include "control/shortcuts.h"
#include "sim/signal.h"
#include "ui/skin_widgets.h"
#include "ui/started_window.h"

namespace qvx::ui {
namespace {

using testing::StartedWindow;

// Every control whose skin differs from the model, with the first sync point it was seen.
struct SkinCheck {
  MainWindow& window;
  const Panel& panel;
  std::set<std::string> faults = {};
  int checks = 0;

  struct Seen {
    std::uint64_t clears = 0, rewrites = 0;
    std::size_t ops = 0;
    Colour back = 0;
    QSize size;
    std::vector<QRect> controls;
    bool operator==(const Seen&) const = default;
  };
  std::map<std::string, Seen> seen = {};
  // The step under way, named in the faults seen while its events run.
  std::string step = "start";

  // One step of a sequence: checked at every event pump while it runs, and once done.
  void act(const std::string& name, const std::function<void()>& f) {
    step = name;
    f();
    (*this)(name + " done");
  }

  // Every fault on a line of its own; empty when the skin showed the model throughout.
  std::string report() const {
    std::string all;
    for (const std::string& f : faults) all += f + "\n";
    return all;
  }

  void operator()(const std::string& when) {
    window.sync();
    ++checks;
    for (Widget* w : panel.controls) {
      QWidget* q = window.widgetFor(w->name);
      if (q->isVisibleTo(&window) != w->shown()) faults.insert(w->name + " visibility, " + when);
      if (!w->shown()) continue;
      if (q->isEnabled() != w->usable()) faults.insert(w->name + " enabled, " + when);
      if (w->kind == Widget::Kind::Button &&
          static_cast<QPushButton*>(q)->text().toStdString() != static_cast<Button*>(w)->caption)
        faults.insert(w->name + " caption, " + when);
      if (w->kind != Widget::Kind::Picture) continue;
      const auto& pic = static_cast<PictureArea&>(*w);
      SkinPicture* skin = window.pictureFor(w->name);
      const QImage& shown = skin->image();
      // A picture whose drawing and image are as at its last check matched then.
      const Seen now{pic.clears,     pic.rewrites, pic.ops.size(),
                     pic.backColour, shown.size(), skin->controlRects()};
      if (seen[w->name] == now) continue;
      seen[w->name] = now;
      if (skin->freshImage(window.pixelsPerTwip()) != shown)
        faults.insert(w->name + " pixels, " + when);
    }
  }
};

// The port panel reprints the chosen port and its status every 100 ms over the same
// places; the screen must follow every port change, not keep the first texts.
TEST(SkinShowsTheModel, PortPanelFollowsThePortButtons) {
  qvx::testing::TempFolder folder;  // no port file: the panel opens at start-up
  sim::Config config;
  config.lpt = 2;
  qvx::testing::Rig rig(config);
  Panel& p = rig.scope.panel;
  MainWindow window(p);
  SkinCheck check{window, p};
  int pumps = 0;
  rig.host.onPump = [&] {
    if (!p.CONFIGWINDOW.visible) return;
    ++pumps;
    check("pump " + std::to_string(pumps));
    if (pumps == 6) p.SETLPT2.press();
    if (pumps == 12) p.SETLPT3.press();
    if (pumps == 18) p.SETLPT1.press();
    if (pumps == 24) p.SETLPT2.press();
    if (pumps == 30) p.CONFIGEXIT.press();
  };
  window.setOpeningScale(1);
  window.show();
  Form_Load(rig.scope);
  Form_Activate(rig.scope);
  EXPECT_GE(pumps, 30);
  EXPECT_EQ(check.report(), "");
  EXPECT_EQ(rig.scope.LptNumber, 2);
  EXPECT_NE(rig.scope.ModelCode, 0);
}

// Rate and size steps, mode changes, held level and cursor buttons with their inverting
// lines, the level marker timing out, single captures, math gain and cursor channel names.
TEST(SkinShowsTheModel, AcrossRedrawSequences) {
  StartedWindow w;
  Scope& s = w.rig.scope;
  Panel& p = s.panel;
  SkinCheck check{w.window, p};
  w.onPump = [&] { check(check.step); };
  auto hold = [&](Button& b, int pumps) {
    w.rig.host.afterPumps(pumps, [&b] { b.mouseUp(); });
    b.mouseDown();
  };

  for (Button* b : {&p.SRATEP, &p.SRATEP, &p.SSIZEP, &p.SRATEN, &p.SSIZEN, &p.SSIZEN})
    check.act("step " + b->name, [b] { b->press(); });
  check.act("TRIG mode", [&] { p.TMODEBUTTON.press(); });
  check.act("level held up", [&] { hold(p.TRLARGEP, 12); });
  check.act("level held down", [&] { hold(p.TRSMALLN, 9); });
  check.act("marker times out", [&] {
    s.host.Sleep(3100);
    s.host.DoEvents();
  });
  check.act("source B", [&] { p.TSOURCEBUTTON.press(); });
  check.act("source C", [&] { p.TSOURCEBUTTON.press(); });
  check.act("source D", [&] { p.TSOURCEBUTTON.press(); });
  check.act("source A", [&] { p.TSOURCEBUTTON.press(); });
  // The level now stands above the signal; an untriggered capture does not wait for it.
  check.act("Trig(f) mode", [&] { p.TMODEBUTTON.press(); });
  check.act("INST mode", [&] { p.TMODEBUTTON.press(); });
  check.act("GO single", [&] { p.GOBUTTON.press(); });
  check.act("cursor A", [&] { p.Command23.press(); });
  check.act("cursor held right", [&] { hold(p.Command27, 10); });
  check.act("cursor held left", [&] { hold(p.Command24, 6); });
  check.act("B on", [&] { p.Command18.press(); });
  check.act("cursor B", [&] { p.Command23.press(); });
  check.act("A+B", [&] { p.Command20.press(); });
  for (int i = 0; i < 3; ++i) check.act("Y Mag", [&] { p.Command12.press(); });
  check.act("A-B", [&] { p.Command21.press(); });
  for (int i = 0; i < 5; ++i) check.act("mode up", [&] { p.SmodeUP.press(); });
  for (int i = 0; i < 5; ++i) check.act("mode down", [&] { p.SmodeDown.press(); });
  check.act("GO single again", [&] { p.GOBUTTON.press(); });
  // The extras: their panel, and the spectrum redrawn with each window and scale.
  check.act("FFT mode", [&] { p.SmodeDown.press(); });
  check.act("GO in FFT", [&] { p.GOBUTTON.press(); });
  check.act("extras by key", [&] { runShortcut(s, 'x'); });
  for (int i = 0; i < 4; ++i) check.act("FFT window", [&] { p.FftWindowButton.press(); });
  check.act("FFT scale dB", [&] { p.FftScaleButton.press(); });
  check.act("auto trigger", [&] { p.AutoTrigButton.press(); });
  check.act("extras closed", [&] { p.ExtrasExit.press(); });

  EXPECT_GT(check.checks, 70);
  EXPECT_EQ(check.report(), "");
}

// The measurements panel redraws with every redraw of the display, and the display
// narrows and widens beside it.
TEST(SkinShowsTheModel, WithTheMeasurementsPanelOpen) {
  StartedWindow w;
  Scope& s = w.rig.scope;
  Panel& p = s.panel;
  SkinCheck check{w.window, p};
  w.onPump = [&] { check(check.step); };
  auto pointer = [&](PointerEvent::Kind kind, double x, bool modifier = false, int steps = 0) {
    p.ScopeScreen.pointer({kind, x, 0, modifier, steps});
  };
  check.act("key M", [&] { p.shortcuts.front().action(); });
  check.act("D on", [&] { p.Command9.press(); });
  check.act("GO single", [&] { p.GOBUTTON.press(); });
  check.act("cursor A", [&] { p.Command23.press(); });
  check.act("drag a cursor", [&] {
    pointer(PointerEvent::Kind::Press, 200);
    for (double x = 210; x < 600; x += 70) pointer(PointerEvent::Kind::Move, x);
    pointer(PointerEvent::Kind::Release, 600);
  });
  check.act("wheel in", [&] { pointer(PointerEvent::Kind::Wheel, 300, false, 1); });
  check.act("scroll drag", [&] {
    pointer(PointerEvent::Kind::Press, 300, true);
    pointer(PointerEvent::Kind::Move, 100, true);
    pointer(PointerEvent::Kind::Release, 100, true);
  });
  check.act("GO in Repeat", [&] {
    p.TRESETBUTTON.press();
    w.rig.host.afterPumps(40, [&] { p.GOBUTTON.click(); });
    p.GOBUTTON.press();
    p.TRESETBUTTON.press();  // back to Single
  });
  check.act("FFT", [&] { p.SmodeDown.press(); });
  check.act("GO in FFT", [&] { p.GOBUTTON.press(); });
  check.act("menu closes it", [&] { p.ScopeScreen.contextMenu.front().action(); });
  check.act("key M again", [&] { p.shortcuts.front().action(); });

  EXPECT_GT(check.checks, 12);
  EXPECT_EQ(check.report(), "");
}

// The Bode view redraws its picture and readouts after every pass of a sweep, and its
// cursor, settings and save pop-up with every press.
TEST(SkinShowsTheModel, WithTheBodeViewOpen) {
  sim::Config config;
  config.inputs.a = sim::parseAnalog("gen-hp:1600:1e-7", "--sim-a");
  StartedWindow w(config);
  Scope& s = w.rig.scope;
  Panel& p = s.panel;
  SkinCheck check{w.window, p};
  w.onPump = [&] {
    w.rig.port.log.clear();
    check(check.step);
  };
  check.act("key B", [&] { p.shortcuts.back().action(); });
  check.act("plan", [&] {
    for (int i = 0; i < 5; ++i) p.BodeStartUp.press();
    for (int i = 0; i < 2; ++i) p.BodePpdDown.press();
  });
  check.act("sweep", [&] { p.BodeRunButton.press(); });
  check.act("click the picture", [&] {
    p.BodePlot.pointer({PointerEvent::Kind::Press, p.BodePlot.ScaleWidth() / 3, 500});
  });
  check.act("arrow keys", [&] {
    p.BodePlot.keyPress(0x01000014);
    p.BodePlot.keyPress(0x01000012);
    p.BodePlot.keyPress(0x01000012);
  });
  check.act("stopped sweep", [&] {
    w.rig.host.afterPumps(30, [&] { p.GOBUTTON.click(); });
    p.BodeRunButton.press();
  });
  check.act("save pop-up", [&] { p.BodeCsvButton.press(); });
  check.act("save pop-up closed", [&] { p.BodeSaveExit.press(); });
  check.act("menu closes it", [&] {
    for (MenuEntry& e : p.ScopeScreen.contextMenu)
      if (e.caption.find("Bode") == 0) e.action();
  });
  EXPECT_FALSE(p.BodeBox.visible);
  EXPECT_GT(check.checks, 30);
  EXPECT_EQ(check.report(), "");
}

// Seconds per division on the time axis as labelled, against the cursor readout's time at
// the cursor's place: after every change both must tell the same time.
double secondsOf(const std::string& unit) {
  return unit == "S" ? 1 : unit == "mS" ? 1e-3 : unit == "uS" ? 1e-6 : 0;
}

std::string axisDisagreement(const Scope& s) {
  const PictureArea& sc = s.panel.ScopeScreen;
  std::string label, unit, value, readUnit;
  for (const DrawOp& op : sc.ops) {
    if (op.kind != DrawOp::Kind::Text) continue;
    if (op.colour == 0x404040 && label.empty()) label = op.text;
    if (op.colour == 0x008000) unit = op.text;
  }
  for (const DrawOp& op : s.panel.CURSINFO.ops) {
    if (op.kind != DrawOp::Kind::Text) continue;
    if (op.points.front().x == 500) value = op.text;
    if (op.points.front().x == 880) readUnit = op.text;
  }
  const double labelled =
      std::atof(label.c_str()) * secondsOf(unit) * s.CursorX / (sc.ScaleWidth() / 16.384);
  const double read = std::atof(value.c_str()) * secondsOf(readUnit);
  if (labelled > 0 && std::abs(read - labelled) <= 0.015 * labelled) return {};
  return "labels " + label + " " + unit + " per division, cursor " + value + " " + readUnit;
}

// The generator's modes and rates, and the window resized, with units and the E cursor on:
// the skin shows the model, and the labels and the readout agree, after every step.
TEST(SkinShowsTheModel, GeneratorModesRatesAndWindowSizes) {
  StartedWindow w;
  Scope& s = w.rig.scope;
  Panel& p = s.panel;
  SkinCheck check{w.window, p};
  std::string step = "start";
  std::set<std::string> disagreements;
  w.onPump = [&] { check(step); };
  // Each step, then with the cursor up a step right and back (which refreshes its readout
  // alone) the readout against the labels.
  auto act = [&](const std::string& name, const std::function<void()>& f) {
    step = name;
    f();
    check(name + " done");
    QCoreApplication::processEvents();
    if (s.CursorSel == 0 || s.UnitsOn != 1) return;
    p.Command27.keyPress(' ');
    p.Command26.keyPress(' ');
    check(name + ", cursor stepped");
    if (std::string d = axisDisagreement(s); !d.empty()) disagreements.insert(name + ": " + d);
  };
  auto tap = [](Button& b) {
    b.mouseDown();
    b.mouseUp();
  };
  act("GENERATOR", [&] { p.SmodeUP.press(); });
  act("UNITS", [&] { p.Command16.press(); });
  act("cursor right", [&] {
    p.Command23.press();
    for (int i = 0; i < 4; ++i) p.Command25.keyPress(' ');
  });
  act("SWEEP", [&] { tap(p.GENMODEBUTTON); });
  act("sweep start up", [&] { tap(p.GENLFREQBUTTONP); });
  act("sweep start up again", [&] { tap(p.GENLFREQBUTTONP); });
  act("CUSTOM", [&] { tap(p.GENMODEBUTTON); });
  act("wider window", [&] { w.window.resize(w.window.size() * 1.4); });
  act("custom rate up", [&] {
    tap(p.GENLFREQBUTTONP);
    p.Command16.press();  // the rate step switches the units off; on again
  });
  act("narrower window", [&] { w.window.resize(w.window.size() / 1.4); });
  act("NORMAL", [&] { tap(p.GENMODEBUTTON); });
  act("SCOPE+GEN", [&] { p.SmodeUP.press(); });
  act("cursor A", [&] {
    while (s.CursorSel != 1) p.Command23.press();
  });
  act("SCOPE+GEN pass", [&] { p.GOBUTTON.press(); });

  EXPECT_GT(check.checks, 20);
  EXPECT_EQ(check.report(), "");
  std::string all;
  for (const std::string& d : disagreements) all += d + "\n";
  EXPECT_EQ(all, "");
}

}  // namespace
}  // namespace qvx::ui
