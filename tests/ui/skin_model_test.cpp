// The skin paints picture areas incrementally, replaying only what was drawn since its
// last sync. These tests hold it to the model: after every event pump of long redraw
// sequences, each shown picture must equal a fresh render of the model's drawing, and
// each control must show the model's caption, state and visibility.
#include <gtest/gtest.h>

#include <QPushButton>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "control/shortcuts.h"
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
  std::string step = "start";
  w.onPump = [&] { check(step); };
  auto act = [&](const std::string& name, const std::function<void()>& f) {
    step = name;
    f();
    check(name + " done");
  };
  auto hold = [&](Button& b, int pumps) {
    w.rig.host.afterPumps(pumps, [&b] { b.mouseUp(); });
    b.mouseDown();
  };

  for (Button* b : {&p.SRATEP, &p.SRATEP, &p.SSIZEP, &p.SRATEN, &p.SSIZEN, &p.SSIZEN})
    act("step " + b->name, [b] { b->press(); });
  act("TRIG mode", [&] { p.TMODEBUTTON.press(); });
  act("level held up", [&] { hold(p.TRLARGEP, 12); });
  act("level held down", [&] { hold(p.TRSMALLN, 9); });
  act("marker times out", [&] {
    s.host.Sleep(3100);
    s.host.DoEvents();
  });
  act("source B", [&] { p.TSOURCEBUTTON.press(); });
  act("source C", [&] { p.TSOURCEBUTTON.press(); });
  act("source D", [&] { p.TSOURCEBUTTON.press(); });
  act("source A", [&] { p.TSOURCEBUTTON.press(); });
  // The level now stands above the signal; an untriggered capture does not wait for it.
  act("Trig(f) mode", [&] { p.TMODEBUTTON.press(); });
  act("INST mode", [&] { p.TMODEBUTTON.press(); });
  act("GO single", [&] { p.GOBUTTON.press(); });
  act("cursor A", [&] { p.Command23.press(); });
  act("cursor held right", [&] { hold(p.Command27, 10); });
  act("cursor held left", [&] { hold(p.Command24, 6); });
  act("B on", [&] { p.Command18.press(); });
  act("cursor B", [&] { p.Command23.press(); });
  act("A+B", [&] { p.Command20.press(); });
  for (int i = 0; i < 3; ++i) act("Y Mag", [&] { p.Command12.press(); });
  act("A-B", [&] { p.Command21.press(); });
  for (int i = 0; i < 5; ++i) act("mode up", [&] { p.SmodeUP.press(); });
  for (int i = 0; i < 5; ++i) act("mode down", [&] { p.SmodeDown.press(); });
  act("GO single again", [&] { p.GOBUTTON.press(); });
  // The extras: their panel, and the spectrum redrawn with each window and scale.
  act("FFT mode", [&] { p.SmodeDown.press(); });
  act("GO in FFT", [&] { p.GOBUTTON.press(); });
  act("extras by key", [&] { runShortcut(s, 'x'); });
  for (int i = 0; i < 4; ++i) act("FFT window", [&] { p.FftWindowButton.press(); });
  act("FFT scale dB", [&] { p.FftScaleButton.press(); });
  act("auto trigger", [&] { p.AutoTrigButton.press(); });
  act("extras closed", [&] { p.ExtrasExit.press(); });

  EXPECT_GT(check.checks, 70);
  EXPECT_EQ(check.report(), "");
}

}  // namespace
}  // namespace qvx::ui
