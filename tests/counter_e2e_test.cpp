#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "counter/counter.h"
#include "counter_rig.h"
#include "device/link.h"

namespace qvx {
namespace {

using testing::CounterRig;
using testing::kFrontClear;
using testing::kFrontRun;

TEST(CounterFrequency, FiveKilohertzOnCReadsFiveThousandAfterOneGate) {
  CounterRig c;
  double firstReadingAt = -1;
  c.runUntil([&] {
    if (c.s.FCntReadings >= 1 && firstReadingAt < 0) firstReadingAt = c.rig.host.clock;
    return c.s.FCntReadings >= 1;
  });
  EXPECT_EQ(c.s.FCntText, "0000005000");
  EXPECT_EQ(c.p.Countdisp.texts(), "0000005000  ");
  EXPECT_EQ(c.p.Countdisp.backColour, kCountIdle);
  // The run's set-up (100 ms), one gate of a second, read within a poll or two of its end.
  EXPECT_GE(firstReadingAt - c.started, 1.1);
  EXPECT_LT(firstReadingAt - c.started, 1.15);
  EXPECT_EQ(c.p.GOBUTTON.caption, "GO");
}

TEST(CounterFrequency, TrigSourceCountsTheComparatorOnTheTriggeredAnalogueInput) {
  CounterRig c;  // input A: a 1 kHz sine of 4 V, the level at 0 V
  c.chooseSource(2);
  EXPECT_EQ(c.p.Picture10.texts().find(" Trig  ") != std::string::npos, true);
  c.runForReadings(1);
  EXPECT_EQ(c.s.FCntText, "0000001000");
}

TEST(CounterFrequency, NoInputKeepsPollingWithTheLastValueShownUntilStop) {
  sim::Config cfg;
  cfg.inputs.c = {0, 0};  // C held low: the gate is never closed
  CounterRig c(cfg);
  c.s.FCntValue = 1234;
  CountDisplay(c.s);
  std::string shownWhilePolling;
  c.runUntil([&] {
    shownWhilePolling = c.p.Countdisp.texts();
    return c.rig.host.clock - c.started > 3;
  });
  EXPECT_EQ(c.s.FCntReadings, 0);
  EXPECT_EQ(shownWhilePolling, "0000001234  ");
  EXPECT_EQ(c.p.Countdisp.texts(), "0000000000  ");  // STOP shows the cleared measurement
}

TEST(CounterFrequency, ChangingTheSourceMidGateRestartsTheMeasurement) {
  CounterRig c;
  bool switched = false;
  double readingAt = -1;
  c.runUntil([&] {
    const double t = c.rig.host.clock - c.started;
    if (!switched && t > 0.5) {
      c.p.FCntSourcebutton.press();  // C -> D, half-way through C's gate
      switched = true;
    }
    if (c.s.FCntReadings >= 1 && readingAt < 0) readingAt = t;
    return c.s.FCntReadings >= 1;
  });
  EXPECT_EQ(c.s.FCntText, "0000002000");  // D's 2 kHz over a whole gate of its own
  EXPECT_GE(readingAt, 1.5);
  EXPECT_EQ(c.clears(), 2);
}

TEST(CounterFrequency, StopDuringAGateEndsAtOnceAndLeavesTheCounterIdle) {
  CounterRig c;
  c.runUntil([&] { return c.rig.host.clock - c.started > 0.3; });
  EXPECT_LT(c.rig.host.clock - c.started, 0.4);
  EXPECT_EQ(c.s.RunFlag, 0);
  EXPECT_EQ(c.rig.instrument.counterControlByte(), 0);
  EXPECT_EQ(c.rig.instrument.frontEndByte() & (kFrontClear | kFrontRun), 0);
  EXPECT_EQ(c.s.CounterControl | c.s.CounterEnable | c.s.CounterClear, 0);
  EXPECT_EQ(c.p.GOBUTTON.caption, "GO");
  EXPECT_TRUE(c.p.SmodeUP.enabled);
}

TEST(CounterFrequency, StopAfterAReadingKeepsThatReadingOnShow) {
  CounterRig c;
  c.runUntil([&] { return c.s.FCntReadings >= 1 && c.rig.host.clock - c.started > 1.5; });
  EXPECT_EQ(c.p.Countdisp.texts(), "0000005000  ");
}

TEST(CounterFrequency, RemoteRunWritesOneLineOfTenDigitsAndStops) {
  CounterRig c;
  std::ofstream("QVXcom.txt", std::ios::binary) << "SCOPEMODE=3,EXECUTE=1\r\n";
  Timer2_Timer(c.s);  // the poll finds the command file and runs one measurement
  EXPECT_FALSE(std::filesystem::exists("QVXcom.txt"));
  EXPECT_EQ(c.s.RunFlag, 0);
  EXPECT_EQ(c.s.FCntReadings, 1);
  std::ifstream in("QVXFdata.txt", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "0000005000\r\n");
  EXPECT_FALSE(std::filesystem::exists("QVXFdata.txt.part"));
}

TEST(CounterCount, ChControlCountsTheReferenceWhileCIsHigh) {
  CounterRig c;  // C: 5 kHz, 50 %: high for 100 us; D: 2 kHz, low for 250 us
  c.toCounterMode(0);
  c.chooseSource(3);
  c.runForReadings(1);
  EXPECT_EQ(c.s.FCntText, "0000000100");
  EXPECT_EQ(c.p.Countdisp.backColour, kCountEndOrange);

  c.p.FCntStSpbutton.press();  // Ch D: from its falling to its rising edge
  c.runForReadings(1);
  EXPECT_EQ(c.s.FCntText, "0000000250");
}

TEST(CounterCount, RepeatRestartsBySelfAfterASecond) {
  CounterRig c;
  c.toCounterMode(0);
  c.chooseSource(3);
  c.p.FCntRepeatButton.press();
  EXPECT_EQ(c.p.FCntRepeatButton.caption, "Repeat");
  std::vector<double> at;
  c.runUntil([&] {
    if (static_cast<int>(at.size()) < c.s.FCntReadings) at.push_back(c.rig.host.clock);
    return c.s.FCntReadings >= 3;
  });
  ASSERT_EQ(at.size(), 3u);
  EXPECT_GE(at[1] - at[0], 1.0);
  EXPECT_LT(at[1] - at[0], 1.2);
  EXPECT_EQ(c.s.FCntText, "0000000100");
}

TEST(CounterCount, ManualStartStopShowsOrangeAndResetClears) {
  CounterRig c;
  c.toCounterMode(2);
  c.chooseSource(3);  // count the 1 MHz reference: a stopwatch in microseconds
  EXPECT_EQ(c.p.FCntResetbutton.caption, "Start");
  enum { Idle, Started, Stopped, Reset } step = Idle;
  double startAt = 0, stopAt = 0;
  int controlWithStart = 0;
  std::string shownStopped;
  Colour stoppedBack = 0;
  c.runUntil([&] {
    const double t = c.rig.host.clock - c.started;
    if (step == Idle && t > 0.2) {
      c.p.FCntResetbutton.press();
      EXPECT_EQ(c.p.FCntResetbutton.caption, "Stop");
      step = Started;
      startAt = t;
    } else if (step == Started && t > 0.5) {
      controlWithStart = c.rig.instrument.counterControlByte();
      c.p.FCntResetbutton.press();
      step = Stopped;
      stopAt = t;
    } else if (step == Stopped && t > 0.8) {
      shownStopped = c.p.Countdisp.texts();
      stoppedBack = c.p.Countdisp.backColour;
      EXPECT_EQ(c.p.FCntResetbutton.caption, "Reset");
      c.p.FCntResetbutton.press();
      step = Reset;
    } else if (step == Reset && t > 1.0) {
      return true;
    }
    return false;
  });
  EXPECT_EQ(controlWithStart & 16, 16);  // the manual bit while counting
  EXPECT_EQ(stoppedBack, kCountEndOrange);
  const long counted = std::stol(shownStopped);
  // Counting runs from the poll after Start to the poll after Stop: a poll or two late.
  EXPECT_NEAR(counted, (stopAt - startAt) * 1e6, 80000);
  EXPECT_GT(counted, 200000);
  EXPECT_EQ(c.p.Countdisp.texts(), "0000000000  ");
  EXPECT_EQ(c.p.FCntResetbutton.caption, "Start");
  EXPECT_EQ(c.s.FCntManualState, 0);
}

TEST(CounterUnderGenerator, GeneratorRunShowsTheOutputFrequencyNotInputA) {
  sim::Config cfg;
  cfg.inputs.a = sim::parseAnalog("dc:0", "--sim-a");  // nothing to count at input A
  CounterRig c(cfg);
  while (c.s.OperatingMode != 1) c.p.SmodeDown.press();  // GENERATOR
  c.s.GenFreq = 1000;
  c.s.GenDirty = 1;
  c.runForReadings(1);
  EXPECT_EQ(c.s.FCntText, "0000001000");
  EXPECT_EQ(c.rig.instrument.counterControlByte(), 0);
}

}  // namespace
}  // namespace qvx
