#include "control/typed_numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <locale>
#include <string>
#include <tuple>

#include "acquisition/trigger.h"
#include "control/extras.h"
#include "control/shortcuts.h"
#include "counter/panel.h"
#include "device/link.h"
#include "expected_conversation.h"
#include "generator/generator.h"
#include "generator/synthesis.h"
#include "generator/upload.h"
#include "generator_rig.h"
#include "panel/number_entry.h"

namespace qvx {
namespace {

using testing::Conversation;

std::optional<double> read(const std::string& text, std::vector<std::string> units = {}) {
  return readTypedNumber(text, units).value;
}

TEST(TypedNumberReading, TakesDecimalsExponentsPrefixesAndTheUnit) {
  const std::vector<std::string> hz = {"Hz"}, volts = {"V"}, seconds = {"s", "sec"};
  const std::vector<std::tuple<const char*, std::vector<std::string>, double>> cases = {
      {"50000", hz, 50000},     {"1k", hz, 1000},      {"2.5 kHz", hz, 2500},
      {"2.5KHZ", hz, 2500},     {" 1 MHz ", hz, 1e6},  {"1 mHz", hz, 1e-3},  // m milli, M mega
      {"1e3", hz, 1000},        {"2.5E-1", hz, 0.25},  {"1e3k", hz, 1e6},
      {"50 %", {"%"}, 50},      {"50%", {"%"}, 50},    {"-1.2 V", volts, -1.2},
      {"500mV", volts, 0.5},    {"+.5", volts, 0.5},   {"5.", volts, 5},
      {"10 ms", seconds, 0.01}, {"3 sec", seconds, 3}, {"4\u00B5s", seconds, 4e-6},
      {"4us", seconds, 4e-6}};
  for (const auto& [text, units, value] : cases) EXPECT_EQ(read(text, units), value) << text;
}

TEST(TypedNumberReading, RefusesWhatIsNoNumberSayingWhy) {
  const std::vector<std::string> hz = {"Hz"};
  for (const char* text :
       {"",       "   ",   "abc",  "nan",   "NaN", "inf",   "-inf",    "infinity",
        "1e",     "1.2.3", "--1",  "+-1",   ".",   "-",     "0x10",    "12abc",
        "1 k Hz", "5 V",   "5 kV", "1 min", "e5",  "1e5e5", "5 Hz Hz", "1k1"})
    EXPECT_FALSE(read(text, hz)) << '"' << text << '"';
  EXPECT_FALSE(read("10 min", {"s", "sec"}));  // m and then "in"
  EXPECT_FALSE(read("1 %", {}));               // a unit the readout does not have

  EXPECT_EQ(readTypedNumber("", hz).refusal, "Nothing typed: type a number");
  EXPECT_EQ(readTypedNumber("12 apples", hz).refusal, "\"12 apples\" is not a number in Hz");
  EXPECT_EQ(readTypedNumber("1e999", hz).refusal, "\"1e999\" is out of range");
  EXPECT_EQ(readTypedNumber("1e-999", hz).refusal, "\"1e-999\" is out of range");
  EXPECT_EQ(readTypedNumber("1e300G", hz).refusal, "\"1e300G\" is out of range");
  // A comma is refused rather than guessed: 1,5 and 1,500 read differently by country.
  for (const char* text : {"1,5", "1,500", "1.000,5"})
    EXPECT_EQ(readTypedNumber(text, hz).refusal,
              "\"" + std::string(text) + "\" is refused: use a point for decimals, no commas");
}

// A German number format installed as the program's locale changes nothing: the point
// stays the decimal mark and the comma stays refused.
TEST(TypedNumberReading, IsTheSameInEveryLocale) {
  struct Comma : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
  };
  const std::locale before = std::locale::global(std::locale(std::locale::classic(), new Comma));
  const auto half = read("1.5"), comma = read("1,5");
  std::locale::global(before);
  EXPECT_EQ(half, 1.5);
  EXPECT_FALSE(comma);
}

// The generator panel in GENERATOR mode, NORMAL sine, 50000 Hz.
struct Typed : ::testing::Test {
  testing::GeneratorRig g{{}, 1};
  Scope& s = g.s;
  Panel& p = g.p;
  TextBox& field = p.TypedValue;

  // Opens `readout`, types `text` and presses Enter.
  void type(const std::string& readout, const std::string& text) {
    ASSERT_TRUE(openTypedNumber(s, readout)) << readout;
    field.text = text;
    field.enter();
  }
  bool open() const { return field.visible && !s.handling.typedReadout.empty(); }
  // A press of an auto-repeat button, released at the first event pump.
  void tap(Button& b) {
    g.rig.host.atTime(g.rig.host.clock, [&b] { b.mouseUp(); });
    b.mouseDown();
  }
};

TEST_F(Typed, FrequencyGoesThroughTheButtonsClampAndRedraw) {
  p.GENFREQDISP.click();
  ASSERT_TRUE(open());
  EXPECT_EQ(field.text, "50000");
  EXPECT_EQ(p.focus, "TypedValue");
  EXPECT_TRUE(field.selectWhenShown);
  // Laid exactly over the readout, in the window's twips.
  const Rect over = field.place, box = p.GENPICTURE.place, readout = p.GENFREQDISP.place;
  EXPECT_EQ(
      std::tuple(over.left, over.top, over.width, over.height),
      std::tuple(box.left + readout.left, box.top + readout.top, readout.width, readout.height));
  EXPECT_FALSE(runShortcut(s, 'g'));  // keys typed into the field are no shortcuts

  field.text = "2.5 kHz";
  field.enter();
  EXPECT_FALSE(open());
  EXPECT_EQ(std::tuple(s.GenFreq, p.GENFREQDISP.texts(), s.GenDirty, p.GENUPDATEBACK.backColour),
            std::tuple(2500.0, std::string(" 2500"), 1, Colour{255}));
  type("GENFREQDISP", "1");  // below 5 Hz: held at 5, as the step buttons hold it
  EXPECT_EQ(s.GenFreq, 5);
  tap(p.GENSFREQBUTTONN);
  EXPECT_EQ(s.GenFreq, 5);
  type("GENFREQDISP", "1M");
  EXPECT_EQ(s.GenFreq, 500000);
  type("GENFREQDISP", "1234.5");  // whole hertz, halves to even, as GENFREQ rounds
  EXPECT_EQ(s.GenFreq, 1234);
  type("GENFREQDISP", "-3k");
  EXPECT_EQ(s.GenFreq, 5);
  // Typing, like the step buttons, says nothing to the instrument.
  EXPECT_TRUE(g.rig.port.log.empty());

  // Not in SWEEP, nor outside the generator modes, nor while a run holds the panel.
  p.GENMODEBUTTON.mouseDown();
  EXPECT_FALSE(openTypedNumber(s, "GENFREQDISP"));
  p.GENMODEBUTTON.mouseDown();
  p.GENMODEBUTTON.mouseDown();
  p.GENMODEBUTTON.enabled = p.GENSFREQBUTTONP.enabled = false;
  EXPECT_FALSE(openTypedNumber(s, "GENFREQDISP"));
  p.GENMODEBUTTON.enabled = p.GENSFREQBUTTONP.enabled = true;
  p.SmodeDown.click();
  p.GENFREQDISP.click();
  EXPECT_FALSE(open());
}

// The table built and played after a typed frequency is the one a button press builds:
// the same bytes on the port, down to the rate code of the output.
TEST_F(Typed, TypedFrequencyReachesThePortAsTheButtonsDo) {
  auto play = [](Scope& sc) {
    sc.DacLastIndex = static_cast<std::int32_t>(sc.GenLastIndex);
    sc.RateCode = 5 - sc.GenRateIndex0;
    DACWRITE(sc);
    DACCONT(sc);
  };
  type("GENFREQDISP", "50.5k");
  p.GENUPDATEBUTTON.click();
  play(s);
  const auto typedLog = g.rig.port.log;

  testing::GeneratorRig pressed{{}, 1};
  pressed.rig.host.atTime(pressed.rig.host.clock, [&] { pressed.p.GENLFREQBUTTONP.mouseUp(); });
  pressed.p.GENLFREQBUTTONP.mouseDown();  // one large step: 50500 Hz
  pressed.p.GENUPDATEBUTTON.click();
  play(pressed.s);
  EXPECT_EQ(typedLog, pressed.rig.port.log);

  // 50500 Hz is played as 20 cycles of 396 points at 20 MS/s (rate code 1), which is
  // 50505 Hz: the table is 7920 points long.
  EXPECT_EQ(std::tuple(s.GenFreq, pressed.s.GenFreq), std::tuple(50505.0, 50505.0));
  EXPECT_EQ(std::tuple(s.GenRateIndex0, s.GenLastIndex), std::tuple(4, 7919));
  Conversation tail;
  tail.writeReg(0, 38);
  tail.writeReg(1, 38);
  ASSERT_GE(typedLog.size(), tail.log.size());
  EXPECT_TRUE(std::equal(tail.log.begin(), tail.log.end(), typedLog.end() - tail.log.size()));
  EXPECT_EQ(g.rig.instrument.loopLength(), 7919);
}

TEST_F(Typed, EscapeAndLeavingChangeNothing) {
  const auto drawn = p.GENFREQDISP.ops.size();
  p.GENFREQDISP.keyPress('\r');  // Enter on the readout opens it too
  ASSERT_TRUE(open());
  field.text = "123";
  field.escape();
  EXPECT_FALSE(open());
  EXPECT_EQ(std::tuple(s.GenFreq, p.focus, p.GENFREQDISP.ops.size()),
            std::tuple(50000.0, std::string("GENFREQDISP"), drawn));
  EXPECT_EQ(field.place.width, 0);  // out of the Tab order and the screen while closed

  p.GENFREQDISP.click();
  field.text = "123";
  p.focus = "GOBUTTON";  // the user clicked elsewhere: the focus stays where it went
  field.leave();
  EXPECT_FALSE(open());
  EXPECT_EQ(std::tuple(s.GenFreq, p.focus), std::tuple(50000.0, std::string("GOBUTTON")));
  field.enter();  // a late Enter on the closed field does nothing
  EXPECT_EQ(s.GenFreq, 50000);
  EXPECT_EQ(s.GenDirty, 0);
  EXPECT_TRUE(g.rig.port.log.empty());
}

TEST_F(Typed, TextThatIsNoNumberIsRefusedInTheStatusLineAndChangesNothing) {
  p.GENFREQDISP.click();
  const auto drawn = p.GENFREQDISP.ops.size();
  for (const char* text : {"12 apples", "1,5", "", "inf"}) {
    field.text = text;
    field.enter();
    EXPECT_TRUE(open()) << text;  // left open, to be put right
    EXPECT_TRUE(p.StatusLine.visible) << text;
  }
  EXPECT_EQ(p.StatusLine.texts(), " \"inf\" is not a number in Hz");
  EXPECT_EQ(std::tuple(s.GenFreq, s.GenDirty, p.GENFREQDISP.ops.size()),
            std::tuple(50000.0, 0, drawn));
  EXPECT_TRUE(g.rig.port.log.empty());
  field.escape();
  EXPECT_FALSE(p.StatusLine.visible);  // the line had nothing to say before

  // A run's refusal kept in the line comes back once the field closes.
  showStatusLine(s, "No QVX Hardware: nothing answered");
  p.GENFREQDISP.click();
  field.text = "x";
  field.enter();
  EXPECT_EQ(p.StatusLine.texts(), " \"x\" is not a number in Hz");
  field.escape();
  EXPECT_EQ(p.StatusLine.texts(), " No QVX Hardware: nothing answered");
  EXPECT_EQ(s.GenFreq, 50000);
}

TEST_F(Typed, DutyCycleIsTypedWhereItIsPrintedOrByEnterOnItsButtons) {
  while (s.GenStyle != genstyle::Square) p.GENSTYLEBUTTON.mouseDown();
  ASSERT_TRUE(p.DCUP.usable());
  // A press on the printed "50 %", not elsewhere on the panel.
  p.GENPICTURE.pointer({PointerEvent::Kind::Press, 600, 600});
  EXPECT_FALSE(open());
  p.GENPICTURE.pointer({PointerEvent::Kind::Press, 2350, 580});
  ASSERT_TRUE(open());
  EXPECT_EQ(field.text, "50");
  field.text = "33 %";
  field.enter();
  EXPECT_EQ(s.GenDuty, 33);
  EXPECT_NE(p.GENPICTURE.texts().find("33 %"), std::string::npos);
  EXPECT_EQ(s.GenDirty, 1);
  p.DCUP.keyPress('\r');
  ASSERT_TRUE(open());
  field.text = "1";
  field.enter();
  EXPECT_EQ(s.GenDuty, 2);  // held at 2 %, where DCDOWN stops
  p.DCDOWN.click();
  EXPECT_EQ(s.GenDuty, 2);
  type("GenDuty", "150%");
  EXPECT_EQ(s.GenDuty, 98);
  p.DCUP.keyPress('a');  // other keys open nothing
  EXPECT_FALSE(open());
  p.GENSTYLEBUTTON.mouseDown();  // a sine has no duty cycle
  EXPECT_FALSE(openTypedNumber(s, "GenDuty"));
}

TEST_F(Typed, TriggerLevelInVoltsOnTheSourcesScale) {
  p.SmodeDown.click();                           // SCOPE
  EXPECT_FALSE(openTypedNumber(s, "levelval"));  // INST: the level does not apply
  p.TMODEBUTTON.mouseDown();                     // TRIG
  p.levelval.click();
  ASSERT_TRUE(open());
  EXPECT_EQ(field.text, "0");
  field.text = "0.5";
  field.enter();
  // Channel A starts on the 10 V range: 204 screen units a volt, up from mid-screen.
  EXPECT_EQ(std::tuple(s.TrigCursorY, s.TrigLevelCode, s.TrigMarkOn, p.levelval.texts()),
            std::tuple(1946.0, 2150, 1, std::string("    0.5")));
  EXPECT_TRUE(p.Timer1.enabled());  // the marker goes after three seconds, as after a step
  type("levelval", "-1.2 V");
  EXPECT_EQ(std::tuple(s.TrigCursorY, p.levelval.texts()),
            std::tuple(2292.8, std::string("   -1.2")));
  type("levelval", "-12");  // beyond the screen: held 10 units inside, as the buttons are
  EXPECT_EQ(std::tuple(s.TrigCursorY, p.levelval.texts()),
            std::tuple(4086.0, std::string("  -9.99")));
  type("levelval", "20 V");
  EXPECT_EQ(std::tuple(s.TrigCursorY, p.levelval.texts()),
            std::tuple(10.0, std::string("   9.99")));
  p.TRSMALLP.keyPress(' ');
  EXPECT_EQ(s.TrigCursorY, 10);  // the raise button stops there too

  p.Command3.click();  // channel A on the 1 V range: 2040 screen units a volt
  type("levelval", "500 mV");
  EXPECT_EQ(std::tuple(s.TrigCursorY, s.TrigLevelCode, p.levelval.texts()),
            std::tuple(1028.0, 3068, std::string("    0.5")));
  p.TSOURCEBUTTON.mouseDown();
  p.TSOURCEBUTTON.mouseDown();  // source C: " Logic", nothing to type
  EXPECT_FALSE(openTypedNumber(s, "levelval"));
}

TEST_F(Typed, CalibrationAndPreDelayHeldWhereTheirButtonsStop) {
  EXPECT_FALSE(openTypedNumber(s, "CAGainVal"));  // only on the open adjustment panel
  p.UtilButton.click();
  p.CAGainVal.click();
  ASSERT_TRUE(open());
  EXPECT_EQ(field.text, "1.00");
  field.text = "1.05";
  field.enter();
  EXPECT_EQ(s.CalGainA, 1.05);
  EXPECT_EQ(p.CAGainVal.texts(), "1.05     ");
  type("CAGainVal", "2");
  EXPECT_EQ(p.CAGainVal.texts(), "1.10     ");
  p.CAGainUp.click();
  EXPECT_EQ(p.CAGainVal.texts(), "1.10     ");  // the up button stops at the same value
  type("CBGainVal", "0.5");
  EXPECT_EQ(s.CalGainB, 0.9);
  type("CBGainVal", "1.034");  // on the buttons' 0.01 steps
  EXPECT_EQ(s.CalGainB, 1.03);
  type("CAOffVal", "-12");
  type("CBOffVal", "80");
  EXPECT_EQ(std::tuple(s.CalOffsetA, s.CalOffsetB), std::tuple(-12.0, 50.0));
  type("CAOffVal", "-12.5 codes");  // whole codes, halves to even
  EXPECT_EQ(s.CalOffsetA, -12);
  type("CBOffVal", "-80");
  EXPECT_EQ(s.CalOffsetB, -50);
  EXPECT_EQ(p.CBOffVal.texts(), "-50");
  type("DACADCdelaywin", "3 s");
  EXPECT_EQ(p.DACADCdelaywin.texts(), "3 sec");
  type("DACADCdelaywin", "2500 ms");
  EXPECT_EQ(s.StepPreDelay, 2);
  type("DACADCdelaywin", "20");
  EXPECT_EQ(s.StepPreDelay, 10);
  type("DACADCdelaywin", "0");
  EXPECT_EQ(s.StepPreDelay, 1);
  type("DACADCdelaywin", "one");
  EXPECT_EQ(s.StepPreDelay, 1);
  // Refused in a box: the panel covers the status line.
  ASSERT_FALSE(g.rig.host.messages.empty());
  EXPECT_EQ(std::tuple(g.rig.host.messages.back().text, g.rig.host.messages.back().title),
            std::tuple(std::string("\"one\" is not a number in s"), std::string("Help")));
  EXPECT_TRUE(open());
  EXPECT_FALSE(p.StatusLine.visible);
  field.escape();
  // The values reach the file when the panel closes, as the buttons' do.
  p.UtilExit.click();
  std::ifstream file("QVXcal.cfg", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(file)), {});
  EXPECT_EQ(text, " 1.1\r\n 1.03\r\n-12\r\n-50\r\n");
}

TEST_F(Typed, RecorderIntervalWhileARecordingRuns) {
  while (s.OperatingMode != 3) p.SmodeUP.click();    // COUNTER, frequency
  EXPECT_FALSE(openTypedNumber(s, "FRecInterval"));  // recording off: the Rec panel sets one
  s.FRecInterval = 5;
  s.FRecNextTime = 1000;
  CountDisplay(s);
  p.Picture10.pointer({PointerEvent::Kind::Press, 900, 480});
  ASSERT_TRUE(open());
  EXPECT_EQ(field.text, "5");
  field.text = "1 min";  // no minutes: refused, the recording goes on as it was
  field.enter();
  EXPECT_EQ(s.FRecInterval, 5);
  field.text = "60 s";
  field.enter();
  EXPECT_EQ(std::tuple(s.FRecInterval, s.FRecNextTime), std::tuple(60.0, 1000.0));
  EXPECT_NE(p.Picture10.texts().find(" 60s"), std::string::npos);
  p.FCntStSpbutton.keyPress('\r');
  ASSERT_TRUE(open());
  field.text = "2";  // outside 3..9999: off, by the recorder panel's rule, and said so
  field.enter();
  EXPECT_EQ(s.FRecInterval, 0);
  EXPECT_NE(p.Picture10.texts().find(" OFF"), std::string::npos);
  EXPECT_EQ(p.StatusLine.texts(), " The interval must be 3 to 9999 s: recording is off.");
  EXPECT_FALSE(openTypedNumber(s, "FRecInterval"));
}

TEST_F(Typed, ReadoutsSayTheyCanBeTypedAndTabVisitsThem) {
  for (const std::string& name : typedReadouts()) {
    const Widget* w = p.find(name);
    if (!w) continue;  // printed on a panel: its button's tooltip says it
    EXPECT_NE(w->toolTip.find("to type the"), std::string::npos) << name;
    EXPECT_NE(std::find(p.tabOrder.begin(), p.tabOrder.end(), name), p.tabOrder.end()) << name;
  }
  EXPECT_NE(p.DCUP.toolTip.find("type it"), std::string::npos);
  EXPECT_NE(p.FCntStSpbutton.toolTip.find("type it"), std::string::npos);
  EXPECT_EQ(std::find(p.tabOrder.begin(), p.tabOrder.end(), "TypedValue"), p.tabOrder.end());
  openTypedNumber(s, "GENFREQDISP");
  EXPECT_EQ(field.toolTip,
            "Type the generator frequency in Hz (for example 2.5k or 2.5 kHz); Enter applies, "
            "Esc cancels");
}

}  // namespace
}  // namespace qvx
