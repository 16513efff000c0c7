#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "counter/counter.h"
#include "counter_rig.h"
#include "sim/signal.h"

namespace qvx {
namespace {

using testing::CounterRig;

// C carries a 5 kHz clock; input A, the triggered channel, a 1 kHz sine of 4 V with the
// level at 0 V, counted through the comparator.
TEST(CounterFrequency, CAndTrigSourcesReadTheirFrequencyAfterOneGateAndKeepItAfterStop) {
  for (auto [source, reading] : {std::pair{0, "0000005000"}, {2, "0000001000"}}) {
    CounterRig c;
    c.chooseSource(source);
    double firstReadingAt = -1;
    c.runUntil([&] {
      if (c.s.FCntReadings >= 1 && firstReadingAt < 0) firstReadingAt = c.rig.host.clock;
      return c.s.FCntReadings >= 1 && c.rig.host.clock - c.started > 1.5;  // into the next gate
    });
    // The run's set-up (100 ms), one gate of a second, read within a poll or two of its end.
    EXPECT_GE(firstReadingAt - c.started, 1.1);
    EXPECT_LT(firstReadingAt - c.started, 1.15);
    EXPECT_EQ(c.s.FCntText, reading);
    EXPECT_EQ(c.p.Countdisp.texts(), reading + std::string("  "));
    EXPECT_EQ(c.p.Countdisp.backColour, kCountIdle);
  }
}

TEST(CounterFrequency, WithNoInputTheGateStaysOpenShowingTheLastValueTillStopEndsItAtOnce) {
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
  EXPECT_LT(c.rig.host.clock - c.started, 3.1);
  EXPECT_EQ(c.s.FCntReadings, 0);
  EXPECT_EQ(shownWhilePolling, "0000001234  ");
  EXPECT_EQ(c.p.Countdisp.texts(), "0000000000  ");  // STOP shows the cleared measurement
  // The port is left with control, run and clear at 0.
  EXPECT_EQ(c.rig.instrument.counterControlByte(), 0);
  EXPECT_EQ(c.rig.instrument.frontEndByte() & (testing::kFrontClear | testing::kFrontRun), 0);
  EXPECT_EQ(c.s.CounterControl | c.s.CounterEnable | c.s.CounterClear, 0);
  EXPECT_EQ(c.p.GOBUTTON.caption, "GO");
  EXPECT_TRUE(c.p.SmodeUP.enabled);
}

TEST(CounterFrequency, RemoteRunWritesOneLineOfTenDigitsAndStops) {
  CounterRig c;
  std::ofstream("QVXcom.txt", std::ios::binary) << "SCOPEMODE=3,EXECUTE=1\r\n";
  Timer2_Timer(c.s);  // the poll finds the command file and runs one measurement
  EXPECT_FALSE(std::filesystem::exists("QVXcom.txt"));
  EXPECT_EQ(c.s.RunFlag, 0);
  EXPECT_EQ(c.s.FCntReadings, 1);
  std::stringstream text;
  text << std::ifstream("QVXFdata.txt", std::ios::binary).rdbuf();
  EXPECT_EQ(text.str(), "0000005000\r\n");
  EXPECT_FALSE(std::filesystem::exists("QVXFdata.txt.part"));
}

TEST(CounterCount, ChOrDControlCountsTheReferenceWhileItsInputIsActiveAndRepeatRestarts) {
  CounterRig c;  // C: 5 kHz, 50 %: high for 100 us; D: 2 kHz, low for 250 us
  c.toCounterMode(0);
  c.chooseSource(3);
  c.p.FCntRepeatButton.press();
  std::vector<double> at;
  c.runUntil([&] {
    if (static_cast<int>(at.size()) < c.s.FCntReadings) at.push_back(c.rig.host.clock);
    return c.s.FCntReadings >= 3;
  });
  EXPECT_EQ(c.s.FCntText, "0000000100");
  EXPECT_EQ(c.p.Countdisp.backColour, kCountEndOrange);
  ASSERT_EQ(at.size(), 3u);
  EXPECT_GE(at[2] - at[1], 1.0);  // Repeat restarts by itself after a second
  EXPECT_LT(at[2] - at[1], 1.2);

  c.p.FCntStSpbutton.press();  // Ch D: from its falling to its rising edge
  c.runForReadings(1);
  EXPECT_EQ(c.s.FCntText, "0000000250");
}

// At 50 % duty a gate that opened on the wrong edge, or a clock high for the low share of its
// period, would read the same; at 20 % and 80 % they do not. 1 kHz clocks, counting the 1 MHz
// reference: C at 20 % is high for 200 us, at 80 % for 800 us; D at 20 % is low for 800 us,
// at 80 % for 200 us. The frequency of C does not depend on its duty.
TEST(CounterCount, CHighAndDLowWindowsAtTwentyAndEightyPercentDuty) {
  for (const char* duty : {"20", "80"}) {
    SCOPED_TRACE(std::string("duty ") + duty + " %");
    sim::Config cfg;
    cfg.inputs.c = sim::parseDigital(std::string("clock:1000:") + duty, "--sim-c");
    cfg.inputs.d = sim::parseDigital(std::string("clock:1000:") + duty, "--sim-d");
    const bool twenty = std::string(duty) == "20";
    CounterRig c(cfg);

    c.runForReadings(1);  // frequency mode on Ch C
    EXPECT_EQ(c.s.FCntText, "0000001000");

    c.toCounterMode(0);  // Ch C: from its rising to its falling edge
    c.chooseSource(3);
    c.runForReadings(1);
    EXPECT_EQ(c.s.FCntText, twenty ? "0000000200" : "0000000800");
    EXPECT_EQ(c.p.Countdisp.backColour, kCountEndOrange);

    c.p.FCntStSpbutton.press();  // Ch D: from its falling to its rising edge
    c.runForReadings(1);
    EXPECT_EQ(c.s.FCntText, twenty ? "0000000800" : "0000000200");
    EXPECT_EQ(c.p.Countdisp.texts(), c.s.FCntText + "  ");
  }
}

TEST(CounterCount, ManualStartStopShowsOrangeAndResetClears) {
  CounterRig c;
  c.toCounterMode(2);
  c.chooseSource(3);  // count the 1 MHz reference: a stopwatch in microseconds
  std::vector<std::string> captions{c.p.FCntResetbutton.caption}, shown;
  int control = 0;
  Colour stoppedBack = 0;
  for (double t : {0.2, 0.5, 0.8}) {  // Start, Stop, Reset
    c.rig.host.atTime(c.rig.host.clock + t, [&] {
      control |= c.rig.instrument.counterControlByte();
      shown.push_back(c.p.Countdisp.texts());
      stoppedBack = c.p.Countdisp.backColour;
      c.p.FCntResetbutton.press();
      captions.push_back(c.p.FCntResetbutton.caption);
    });
  }
  c.runUntil([&] { return captions.size() == 4 && c.rig.host.clock - c.started > 1.0; });
  EXPECT_EQ(captions, (std::vector<std::string>{"Start", "Stop", "Reset", "Start"}));
  EXPECT_EQ(control & 16, 16);  // the manual bit while counting
  EXPECT_EQ(stoppedBack, kCountEndOrange);
  // Counting runs from the poll after Start to the poll after Stop: a poll or two late.
  EXPECT_NEAR(std::stol(shown.at(2)), 0.3e6, 80000);
  EXPECT_EQ(c.p.Countdisp.texts(), "0000000000  ");
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
