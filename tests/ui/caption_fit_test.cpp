// Every caption and readout must be readable where the skin puts it: walked over every
// shown control and every text in every picture, in every mode and at several window
// sizes. It fails where a text would have to shrink below a legible size, spill out of
// its box, or cover a control or another text, and where controls overlap.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <map>
#include <string>

#include "bode/view.h"
#include "control/shortcuts.h"
#include "control/typed_numbers.h"
#include "counter/panel.h"
#include "sim/signal.h"
#include "ui/qt_convert.h"
#include "ui/skin_widgets.h"
#include "ui/started_window.h"
#include "ui/text_fit.h"

namespace qvx::ui {
namespace {

using testing::StartedWindow;

// A fitted text may be a little smaller than described, not unreadably so.
constexpr double kLegible = 0.7;

struct FitCheck {
  MainWindow& window;
  const Panel& panel;
  std::map<std::string, std::string> faults = {};  // each fault, with the first state it showed in
  std::string when = {};

  void fault(const std::string& what) { faults.emplace(what, when); }

  QRect rectOf(const Widget& w) const { return window.widgetFor(w.name)->geometry(); }

  bool legible(const QFont& fitted, const QFont& described) const {
    return fitted.pixelSize() >= kLegible * described.pixelSize();
  }

  void checkButton(const Button& b) {
    auto* skin = static_cast<SkinButton*>(window.widgetFor(b.name));
    const QString caption = QString::fromStdString(b.caption);
    if (caption.trimmed().isEmpty()) return;
    const QFont fitted = fittedFont(skin->font(), caption, skin->captionRoom().size());
    if (!legible(fitted, skin->font())) fault(b.name + " caption '" + b.caption + "' cut");
  }

  // Where each text's ink lies, in the picture's pixels.
  void checkTexts(const PictureArea& pic) {
    SkinPicture* skin = window.pictureFor(pic.name);
    const QSize size = skin->image().size();
    const std::vector<QRect> controls = skin->controlRects();
    const double sx = size.width() / pic.ScaleWidth(), sy = size.height() / pic.ScaleHeight();
    std::vector<std::pair<QRectF, std::string>> inked;
    for (const DrawOp& op : pic.ops) {
      if (op.kind != DrawOp::Kind::Text) continue;
      const QString text = QString::fromStdString(op.text);
      if (text.trimmed().isEmpty()) continue;
      const QPointF at((op.points[0].x - pic.ScaleLeft) * sx, (op.points[0].y - pic.ScaleTop) * sy);
      const QFont described = panelFont(op.fontSize, op.bold, window.pixelsPerTwip());
      // A transparent text's trailing blanks paint nothing: they neither need room nor ink.
      const QString painted = textNeedingRoom(text, op.opaque);
      const QFont font = fittedFont(
          described, painted, textRoom(at, QFontMetricsF(described).height(), size, controls));
      const std::string name = pic.name + " text '" + op.text + "'";
      if (!legible(font, described)) fault(name + " shrunk too far");
      QFontMetricsF m(font);
      const QRectF box = m.tightBoundingRect(painted).translated(at.x(), at.y() + m.ascent());
      if (box.left() < 0 || box.right() > size.width() || box.bottom() > size.height())
        fault(name + " outside its box");
      for (const QRect& c : controls)
        if (box.intersects(QRectF(c))) fault(name + " covers a control");
      // An opaque text paints over what it covers: a deliberate replacement.
      if (op.opaque) std::erase_if(inked, [&](const auto& t) { return t.first.intersects(box); });
      for (const auto& [other, otherName] : inked)
        if (box.intersects(other)) fault(name + " covers " + otherName);
      inked.emplace_back(box, name);
    }
  }

  void operator()(const std::string& state) {
    when = state;
    window.sync();
    for (Widget* w : panel.controls) {
      if (!w->shown()) continue;
      const QRect r = rectOf(*w);
      if (r.isEmpty()) continue;
      const QRect parent = w->container ? QRect(QPoint(), rectOf(*w->container).size())
                                        : QRect(QPoint(), window.size());
      if (!parent.contains(r)) fault(w->name + " outside its container");
      if (w->kind == Widget::Kind::Button) checkButton(static_cast<Button&>(*w));
      if (w->kind == Widget::Kind::Picture) checkTexts(static_cast<PictureArea&>(*w));
      for (Widget* o : panel.controls) {
        if (o == w || o->container != w->container || !o->shown() || o->name < w->name) continue;
        const QRect q = rectOf(*o);
        if (q.isEmpty() || r.contains(q) || q.contains(r)) continue;  // pop-ups and overlays
        // Buttons keep a pixel between them, or their bevels run together.
        const bool buttons = w->kind == Widget::Kind::Button && o->kind == Widget::Kind::Button;
        if ((buttons ? r.adjusted(-1, -1, 1, 1) : r).intersects(q))
          fault(w->name + " and " + o->name + " overlap");
      }
    }
  }
};

struct Size {
  int width, height;
};

class CaptionsFit : public ::testing::TestWithParam<Size> {};

TEST_P(CaptionsFit, InEveryModeAndState) {
  StartedWindow w;
  Panel& p = w.rig.scope.panel;
  w.window.resize(GetParam().width, GetParam().height);
  FitCheck check{w.window, p};
  for (int mode = 0; mode < 5; ++mode) {
    const std::string m = "mode " + std::to_string(mode);
    check(m);
    p.TMODEBUTTON.press();
    p.Command20.press();
    p.Command23.press();
    p.Command12.press();
    check(m + ", TRIG, A+B, cursor");
    p.TSOURCEBUTTON.press();
    p.TSOURCEBUTTON.press();
    p.Command21.press();
    p.Command23.press();
    check(m + ", source C, A-B, cursor on");
    p.TSOURCEBUTTON.press();
    p.TSOURCEBUTTON.press();
    p.TMODEBUTTON.press();
    p.TMODEBUTTON.press();
    p.Command21.press();
    p.SmodeUP.press();
  }
  p.GOBUTTON.press();
  check("after GO");
  w.rig.host.afterPumps(3, [&] { check("port panel"); });
  w.rig.host.afterPumps(4, [&] { p.CONFIGEXIT.press(); });
  p.SETUP.press();
  w.onPump = [&] {  // a pop-up whose EXIT is never reached ends the test, not hangs it
    if (w.rig.host.pumps > 100000) w.rig.scope.unloaded = true;
  };
  // The pop-ups that wait for their EXIT are checked while they show.
  auto popUp = [&](Button& open, Button& exit, const std::string& state,
                   std::function<void()> inside = {}) {
    bool checked = false;
    w.rig.host.afterPumps(2, [&, state, inside] {
      if (inside) inside();
      w.rig.host.afterPumps(2, [&, state] {
        check(state);
        checked = true;
        exit.press();
      });
    });
    open.press();
    EXPECT_TRUE(checked && !w.rig.scope.unloaded) << state;
  };
  popUp(p.fileloadbutton, p.loadexitbutton, "load panel");
  popUp(p.filesavebutton, p.exitsavebutton, "save panel");
  popUp(p.Command1, p.exitprint, "print menu");
  popUp(p.helpbutton, p.helpexit, "help panel, Using Scope", [&] { p.HelpTopic3.press(); });
  p.UtilButton.press();
  check("adjustment panel");
  p.UtilExit.press();
  while (w.rig.scope.OperatingMode != 3) p.SmodeUP.press();
  popUp(p.FCntStSpbutton, p.Command32, "recorder panel");
  // The extras, in FFT mode where their settings show.
  p.SmodeUP.press();
  runShortcut(w.rig.scope, 'x');
  check("extras panel");
  for (int i = 0; i < 3; ++i) p.FftWindowButton.press();
  p.FftScaleButton.press();
  p.AutoTrigButton.press();
  check("extras panel, flat top, dB, auto trigger");
  p.ExtrasExit.press();
  EXPECT_TRUE(check.faults.empty()) << [&] {
    std::string all;
    for (const auto& [fault, state] : check.faults) all += fault + " (" + state + ")\n";
    return all;
  }();
}

// The measurements panel with every channel shown, the most columns it has, in time and
// FFT mode, with and without a cursor.
TEST_P(CaptionsFit, WithTheMeasurementsPanelOpen) {
  StartedWindow w;
  Panel& p = w.rig.scope.panel;
  w.window.resize(GetParam().width, GetParam().height);
  FitCheck check{w.window, p};
  p.shortcuts.front().action();
  check("measurements");
  for (Button* b : {&p.Command18, &p.Command8, &p.Command9}) b->press();
  p.GOBUTTON.press();
  check("measurements of A, B, C, D");
  p.Command23.press();
  check("measurements with a cursor");
  p.SmodeDown.press();
  p.GOBUTTON.press();
  check("measurements in FFT");
  EXPECT_TRUE(check.faults.empty()) << [&] {
    std::string all;
    for (const auto& [fault, state] : check.faults) all += fault + " (" + state + ")\n";
    return all;
  }();
}

// The Bode view over the display: empty, while a sweep runs, after it with the cursor on
// a point and both channels measured, and with its save pop-up open.
TEST_P(CaptionsFit, WithTheBodeViewOpen) {
  sim::Config config;
  config.inputs.a = sim::parseAnalog("gen-rc:1600:1e-7", "--sim-a");
  config.inputs.b = sim::parseAnalog("gen", "--sim-b");
  StartedWindow w(config);
  Panel& p = w.rig.scope.panel;
  w.window.resize(GetParam().width, GetParam().height);
  FitCheck check{w.window, p};
  p.shortcuts.back().action();
  check("Bode view");
  // 100 Hz to 1 kHz, 3 points a decade: decades at both ends of the axis.
  for (int i = 0; i < 2; ++i) p.BodeStartUp.press();
  for (int i = 0; i < 7; ++i) p.BodeStopDown.press();
  for (int i = 0; i < 3; ++i) p.BodePpdDown.press();
  ASSERT_EQ(bodeView(w.rig.scope).plan.start, 100);
  ASSERT_EQ(bodeView(w.rig.scope).plan.stop, 1000);
  bool checkedRunning = false;
  w.onPump = [&] {
    if (checkedRunning || bodeView(w.rig.scope).response.points.size() != 2) return;
    checkedRunning = true;
    check("Bode sweep running");
  };
  p.BodeRunButton.press();
  w.onPump = nullptr;
  EXPECT_TRUE(checkedRunning);
  check("Bode sweep done");
  p.BodePlot.keyPress(0x01000014);
  check("Bode cursor moved");
  p.BodeModeButton.press();
  check("Bode single");
  p.BodeCsvButton.press();
  check("Bode save pop-up");
  EXPECT_TRUE(check.faults.empty()) << [&] {
    std::string all;
    for (const auto& [fault, state] : check.faults) all += fault + " (" + state + ")\n";
    return all;
  }();
}

// Each typed number's field open over its readout: inside its panel, clear of every other
// control, its value readable in it.
TEST_P(CaptionsFit, WithATypedNumberOpen) {
  StartedWindow w;
  Scope& s = w.rig.scope;
  Panel& p = s.panel;
  w.window.resize(GetParam().width, GetParam().height);
  FitCheck check{w.window, p};
  auto typed = [&](const std::string& readout) {
    ASSERT_TRUE(openTypedNumber(s, readout)) << readout;
    check("typing " + readout);
    const auto* edit = static_cast<QLineEdit*>(w.window.widgetFor("TypedValue"));
    const QFontMetricsF m(edit->font());
    if (m.horizontalAdvance(edit->text()) > edit->width() - 2 || m.height() > edit->height() + 1)
      check.fault(readout + " value does not fit its field");
    p.TypedValue.escape();
  };
  p.TMODEBUTTON.press();
  typed("levelval");
  p.SmodeUP.press();
  typed("GENFREQDISP");
  while (s.GenStyle != 3) p.GENSTYLEBUTTON.press();
  typed("GenDuty");
  while (s.OperatingMode != 3) p.SmodeUP.press();
  s.FRecInterval = 9999;
  CountDisplay(s);
  typed("FRecInterval");
  p.UtilButton.press();
  for (const char* name : {"CAGainVal", "CBGainVal", "CAOffVal", "CBOffVal", "DACADCdelaywin"})
    typed(name);
  p.UtilExit.press();
  // The Bode view's plan at its longest: six figures of hertz, a refusal in the status line.
  p.shortcuts.back().action();
  ASSERT_TRUE(bodeView(s).open);
  for (const auto& [readout, value] :
       {std::pair{"BodeStopVal", "499999"}, std::pair{"BodeStartVal", "123457"},
        std::pair{"BodePpdVal", "100"}}) {
    ASSERT_TRUE(openTypedNumber(s, readout)) << readout;
    p.TypedValue.text = value;
    p.TypedValue.enter();
    typed(readout);
  }
  ASSERT_EQ(bodeView(s).plan.start, 123457);
  ASSERT_TRUE(openTypedNumber(s, "BodeStartVal"));
  p.TypedValue.text = "600k";
  p.TypedValue.enter();
  check("a refusal over the Bode view");
  p.TypedValue.escape();
  EXPECT_TRUE(check.faults.empty()) << [&] {
    std::string all;
    for (const auto& [fault, state] : check.faults) all += fault + " (" + state + ")\n";
    return all;
  }();
}

INSTANTIATE_TEST_SUITE_P(WindowSizes, CaptionsFit,
                         ::testing::Values(Size{793, 545}, Size{1190, 818}, Size{1600, 700},
                                           Size{800, 1000}),
                         [](const auto& info) {
                           return std::to_string(info.param.width) + "x" +
                                  std::to_string(info.param.height);
                         });

}  // namespace
}  // namespace qvx::ui
