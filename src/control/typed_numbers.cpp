#include "control/typed_numbers.h"

#include <functional>
#include <optional>

#include "acquisition/trigger.h"
#include "bode/view.h"
#include "control/extras.h"
#include "counter/recorder.h"
#include "files/calibration.h"
#include "generator/panel.h"
#include "generator/synthesis.h"
#include "panel/number_entry.h"
#include "panel/numeric.h"

namespace qvx {

namespace {

// Return as the window gives it (the character typed), and the toolkit's Return and
// keypad Enter codes.
bool isEnter(int key) {
  return key == '\r' || key == 0x01000004 || key == 0x01000005;
}

// A value printed on a panel, in the panel's user units.
struct Area {
  double x, y, width, height;
};

struct Readout {
  std::string name;
  PictureArea* picture;            // the readout, or the panel the value is printed on
  std::optional<Area> area;        // where on that panel; none: the whole readout
  Widget* focusAfter;              // what holds the focus again after Escape
  std::vector<std::string> units;  // the units the value may be typed in
  std::string tip;                 // the field's tooltip
  std::function<bool()> available;
  std::function<std::string()> current;
  std::function<void(double)> apply;
  // Why a number is refused before anything changes, the field staying open (empty: every
  // number is taken, held within the buttons' limits by `apply`).
  std::function<std::string(double)> refusal = {};
};

std::string trimmed(std::string t) {
  while (!t.empty() && t.back() == ' ') t.pop_back();
  while (!t.empty() && t.front() == ' ') t.erase(0, 1);
  return t;
}

std::string tipFor(const std::string& what, const std::string& example) {
  return "the " + what + " (for example " + example + ")";
}

std::vector<Readout> readoutsOf(Scope& s) {
  Panel& p = s.panel;
  const std::vector<std::string> seconds = {"s", "sec"};
  auto adjustment = [&s](PictureArea& box, Button& up, Adjustment which,
                         std::function<double()> value, const std::string& what,
                         const std::string& example, std::vector<std::string> units) {
    return Readout{box.name,
                   &box,
                   std::nullopt,
                   &box,
                   std::move(units),
                   tipFor(what, example),
                   [&up] { return up.usable(); },
                   [value] { return plainNumber(value()); },
                   [&s, which](double v) { setAdjustment(s, which, v); }};
  };
  std::vector<Readout> r;
  r.push_back({p.GENFREQDISP.name,
               &p.GENFREQDISP,
               std::nullopt,
               &p.GENFREQDISP,
               {"Hz"},
               tipFor("generator frequency in Hz", "2.5k or 2.5 kHz"),
               [&s, &p] { return s.GenMode == genmode::Normal && p.GENSFREQBUTTONP.usable(); },
               [&s] { return plainNumber(s.GenFreq); },
               [&s](double v) { setGeneratorFrequency(s, v); }});
  r.push_back({"GenDuty",
               &p.GENPICTURE,
               Area{2200, 480, 560, 220},
               &p.DCUP,
               {"%"},
               tipFor("duty cycle in %", "30 or 30 %"),
               [&p] { return p.DCUP.usable(); },
               [&s] { return plainNumber(s.GenDuty); },
               [&s](double v) { setGeneratorDuty(s, v); }});
  r.push_back({p.levelval.name,
               &p.levelval,
               std::nullopt,
               &p.levelval,
               {"V"},
               tipFor("trigger level in volts", "-1.2 or 500 mV"),
               [&s, &p] { return p.TRSMALLP.usable() && s.TrigSource <= 1; },
               [&s] { return plainNumber(s.TrigLevelNorm); },
               [&s](double v) { setTriggerLevelVolts(s, v); }});
  // The gains are shown as the panel shows them, "1.00" rather than "1".
  r.push_back(adjustment(p.CAGainVal, p.CAGainUp, Adjustment::GainA, [] { return 0.0; },
                         "channel A gain, 0.9 to 1.1", "1.02", {}));
  r.back().current = [&s] { return trimmed(gainText(s.CalGainA)); };
  r.push_back(adjustment(p.CBGainVal, p.CBGainUp, Adjustment::GainB, [] { return 0.0; },
                         "channel B gain, 0.9 to 1.1", "0.98", {}));
  r.back().current = [&s] { return trimmed(gainText(s.CalGainB)); };
  r.push_back(adjustment(p.CAOffVal, p.CAOffUp, Adjustment::OffsetA, [&s] { return s.CalOffsetA; },
                         "channel A offset in codes", "-12", {"codes"}));
  r.push_back(adjustment(p.CBOffVal, p.CBOffUp, Adjustment::OffsetB, [&s] { return s.CalOffsetB; },
                         "channel B offset in codes", "7", {"codes"}));
  r.push_back(adjustment(
      p.DACADCdelaywin, p.DACADCdelup, Adjustment::PreDelay, [&s] { return s.StepPreDelay; },
      "pre-delay in seconds, 1 to 10", "3", seconds));
  r.push_back(
      {"FRecInterval", &p.Picture10, Area{800, 390, 360, 220}, &p.FCntStSpbutton, seconds,
       tipFor("recording interval in seconds, 3 to 9999", "60 or 60 s"),
       [&s, &p] { return s.FCntMode == 0 && s.FRecInterval != 0 && p.FCntStSpbutton.usable(); },
       [&s] { return plainNumber(s.FRecInterval); },
       [&s](double v) {
         setRecorderInterval(s, v);
         if (s.FRecInterval == 0 && v != 0)
           showStatusLine(s, "The interval must be 3 to 9999 s: recording is off.");
       }});
  // The Bode view's plan takes exactly what is typed, within what the measurement takes.
  auto bodePlan = [&s, &p](PictureArea& box, BodePlanValue which, const std::string& what,
                           const std::string& example, std::vector<std::string> units,
                           std::function<double()> value) {
    return Readout{box.name,
                   &box,
                   std::nullopt,
                   &box,
                   std::move(units),
                   tipFor(what, example),
                   [&s, &p] {
                     return s.bodeView && s.bodeView->open && !s.bodeView->running &&
                            p.BodeStartUp.usable();
                   },
                   [value] { return plainNumber(value()); },
                   [&s, which](double v) { setBodePlanValue(s, which, v); },
                   [&s, which](double v) { return bodePlanRefusal(s, which, v); }};
  };
  r.push_back(bodePlan(p.BodeStartVal, BodePlanValue::Start,
                       "start frequency of the sweep in Hz, 5 to 500000", "2.5k or 10 kHz", {"Hz"},
                       [&s] { return s.bodeView->plan.start; }));
  r.push_back(bodePlan(p.BodeStopVal, BodePlanValue::Stop,
                       "stop frequency of the sweep in Hz, 5 to 500000", "50k or 50 kHz", {"Hz"},
                       [&s] { return s.bodeView->plan.stop; }));
  r.push_back(bodePlan(p.BodePpdVal, BodePlanValue::PerDecade,
                       "points a decade, a whole number 1 to 100", "7", {},
                       [&s] { return static_cast<double>(s.bodeView->plan.perDecade); }));
  return r;
}

std::optional<Readout> readoutNamed(Scope& s, const std::string& name) {
  for (Readout& r : readoutsOf(s))
    if (r.name == name) return r;
  return std::nullopt;
}

// Where the readout lies in the window's twips.
Rect placeOf(const Readout& r) {
  const PictureArea& pic = *r.picture;
  Rect place{0, 0, pic.place.width, pic.place.height};
  if (r.area) {
    const double sx = pic.place.width / pic.ScaleWidth(), sy = pic.place.height / pic.ScaleHeight();
    place = {static_cast<int>((r.area->x - pic.ScaleLeft) * sx),
             static_cast<int>((r.area->y - pic.ScaleTop) * sy),
             static_cast<int>(r.area->width * sx), static_cast<int>(r.area->height * sy)};
  }
  for (const Widget* w = &pic; w; w = w->container) {
    place.left += w->place.left;
    place.top += w->place.top;
  }
  return place;
}

// A refusal shown in the status line for as long as the field is open; what the line
// kept before comes back when it closes.
void showNote(Scope& s, const std::string& text) {
  const std::string kept = s.handling.statusLine;
  showStatusLine(s, text);
  s.handling.statusLine = kept;
}

void close(Scope& s) {
  Panel& p = s.panel;
  p.TypedValue.visible = false;
  p.TypedValue.place = {};
  s.handling.typedReadout.clear();
  const PictureArea& line = p.StatusLine;
  if (line.visible || !s.handling.statusLine.empty()) showStatusLine(s, s.handling.statusLine);
}

}  // namespace

const std::vector<std::string>& typedReadouts() {
  static const std::vector<std::string> names = {
      "GENFREQDISP", "GenDuty",        "levelval",     "CAGainVal",    "CBGainVal",   "CAOffVal",
      "CBOffVal",    "DACADCdelaywin", "FRecInterval", "BodeStartVal", "BodeStopVal", "BodePpdVal"};
  return names;
}

bool openTypedNumber(Scope& s, const std::string& name) {
  const std::optional<Readout> r = readoutNamed(s, name);
  if (!r || !r->available()) return false;
  if (!s.handling.typedReadout.empty()) close(s);
  TextBox& field = s.panel.TypedValue;
  field.place = placeOf(*r);
  field.fontSize = r->picture->fontSize;
  field.fontBold = r->picture->fontBold;
  field.toolTip = "Type " + r->tip + "; Enter applies, Esc cancels";
  field.text = r->current();
  field.visible = true;
  s.panel.focus = field.name;
  s.handling.typedReadout = name;
  return true;
}

void typedNumberEnter(Scope& s) {
  const std::optional<Readout> r = readoutNamed(s, s.handling.typedReadout);
  if (!r) return;
  const TypedNumber typed = readTypedNumber(s.panel.TypedValue.text, r->units);
  const std::string refusal = !typed.value ? typed.refusal
                              : r->refusal ? r->refusal(*typed.value)
                                           : std::string();
  if (!refusal.empty()) {
    // The adjustment panel covers the status line's place; it holds the command-file
    // poll while open, so a message box there keeps no remote run waiting.
    if (s.panel.UtilBox.shown())
      s.host.MsgBox(refusal, mb::OK, "Help");
    else
      showNote(s, refusal);
    return;
  }
  close(s);
  // A run or a command file may have taken the setting out of reach meanwhile.
  if (!r->available()) return;
  s.panel.focus = r->focusAfter->name;
  r->apply(*typed.value);
}

void typedNumberEscape(Scope& s) {
  const std::optional<Readout> r = readoutNamed(s, s.handling.typedReadout);
  if (!r) return;
  close(s);
  s.panel.focus = r->focusAfter->name;
}

// The focus went elsewhere, where the user put it: closed without moving it back.
void typedNumberLeave(Scope& s) {
  if (!s.handling.typedReadout.empty()) close(s);
}

void layOutTypedNumbers(Panel& p) {
  TextBox& field = p.TypedValue;
  field.visible = false;
  field.place = {};
  field.backColour = 0xFFFFFF;
  field.selectWhenShown = true;
}

void wireTypedNumbers(Scope& s) {
  Panel& p = s.panel;
  p.TypedValue.onEnter = [&s] { typedNumberEnter(s); };
  p.TypedValue.onEscape = [&s] { typedNumberEscape(s); };
  p.TypedValue.onLeave = [&s] { typedNumberLeave(s); };
  for (const Readout& r : readoutsOf(s)) {
    const std::string name = r.name;
    auto openOnEnter = [&s, name](int key) {
      if (isEnter(key)) openTypedNumber(s, name);
    };
    if (!r.area) {
      PictureArea& readout = *r.picture;
      readout.onClick = [&s, name] { openTypedNumber(s, name); };
      readout.onKeyPress = openOnEnter;
      readout.tabStop = true;
      readout.toolTip = "Click, or press Enter, to type " + r.tip;
      continue;
    }
    // A value printed on its panel opens where it is printed, and by Enter on its button.
    const Area area = *r.area;
    PictureArea& panel = *r.picture;
    auto previous = panel.onPointer;
    panel.onPointer = [&s, name, area, previous](const PointerEvent& e) {
      if (previous) previous(e);
      if (e.kind == PointerEvent::Kind::Press && e.x >= area.x && e.x < area.x + area.width &&
          e.y >= area.y && e.y < area.y + area.height)
        openTypedNumber(s, name);
    };
    r.focusAfter->onKeyPress = openOnEnter;
  }
  p.DCDOWN.onKeyPress = p.DCUP.onKeyPress;
  p.DCUP.toolTip = "Duty cycle up 2 % (click the % value, or Enter, to type it)";
  p.DCDOWN.toolTip = "Duty cycle down 2 % (click the % value, or Enter, to type it)";
  p.FCntStSpbutton.toolTip =
      "Recorder panel; while recording, click the interval, or Enter, to type it";
}

}  // namespace qvx
