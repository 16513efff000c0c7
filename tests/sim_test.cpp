#include <gtest/gtest.h>

#include <stdexcept>

#include "device/link.h"
#include "rig.h"
#include "sim/options.h"

namespace qvx {
namespace {

using sim::AnalogSignal;
using testing::Rig;

TEST(SimOptions, SignalsForEachSocket) {
  sim::Config c;
  EXPECT_TRUE(sim::parseOption("--sim-a=square:500:2:1", c));
  EXPECT_EQ(c.inputs.a.shape, AnalogSignal::Shape::Square);
  EXPECT_DOUBLE_EQ(c.inputs.a.frequency, 500);
  EXPECT_DOUBLE_EQ(c.inputs.a.amplitude, 2);
  EXPECT_DOUBLE_EQ(c.inputs.a.offset, 1);
  EXPECT_TRUE(sim::parseOption("--sim-b=dc:-0.25", c));
  EXPECT_EQ(c.inputs.b.shape, AnalogSignal::Shape::Dc);
  EXPECT_DOUBLE_EQ(c.inputs.b.offset, -0.25);
  EXPECT_TRUE(sim::parseOption("--sim-c=clock:1000:25", c));
  EXPECT_DOUBLE_EQ(c.inputs.c.frequency, 1000);
  EXPECT_DOUBLE_EQ(c.inputs.c.duty, 25);
  EXPECT_TRUE(sim::parseOption("--sim-d=high", c));
  EXPECT_TRUE(c.inputs.d.high(0.123));
  EXPECT_TRUE(sim::parseOption("--sim-a=noise", c));
  EXPECT_EQ(c.inputs.a.shape, AnalogSignal::Shape::Noise);
  EXPECT_FALSE(sim::parseOption("--simulate", c));
  EXPECT_NE(sim::optionsHelp().find("--sim-a="), std::string::npos);
}

TEST(SimOptions, MalformedSignalsNameTheOption) {
  sim::Config c;
  for (const char* bad :
       {"--sim-a=saw:100", "--sim-b=sine:fast", "--sim-a=sine:1:2:3:4", "--sim-b=dc",
        "--sim-c=clock", "--sim-d=clock:100:150", "--sim-c=sine:100", "--sim-a=sine:-5"}) {
    try {
      sim::parseOption(bad, c);
      ADD_FAILURE() << bad << " was accepted";
    } catch (const std::invalid_argument& e) {
      EXPECT_EQ(std::string(e.what()).substr(0, 7), std::string(bad).substr(0, 7)) << e.what();
    }
  }
}

TEST(SimSignals, ShapesAndCoupling) {
  AnalogSignal sine{AnalogSignal::Shape::Sine, 1000, 0.8, 0.5};
  EXPECT_NEAR(sine.volts(0.00025, false), 1.3, 1e-9);
  EXPECT_NEAR(sine.volts(0.00025, true), 0.8, 1e-9);
  AnalogSignal tri{AnalogSignal::Shape::Triangle, 100, 2, 0};
  EXPECT_NEAR(tri.volts(0.0025, false), 2, 1e-9);
  EXPECT_NEAR(tri.volts(0.0075, false), -2, 1e-9);
  AnalogSignal noise{AnalogSignal::Shape::Noise, 0, 1, 0};
  EXPECT_EQ(noise.volts(1.5, false), noise.volts(1.5, false));
  EXPECT_LE(std::abs(noise.volts(2.5, false)), 1);
  sim::DigitalSignal clock{1000, 25};
  EXPECT_TRUE(clock.high(0.0002));
  EXPECT_FALSE(clock.high(0.0003));
}

TEST(SimConverter, FullScaleAndClipping) {
  EXPECT_EQ(sim::converterCode(0, 1), 2048);
  EXPECT_EQ(sim::converterCode(0.5, 1), 3072);
  EXPECT_EQ(sim::converterCode(5, 10), 3072);
  EXPECT_EQ(sim::converterCode(2, 1), 4095);
  EXPECT_EQ(sim::converterCode(-2, 1), 0);
  sim::Inputs in;
  in.a = {AnalogSignal::Shape::Dc, 0, 0, 0.25};
  EXPECT_EQ(sim::analogueCode(in, 0, 0, 0), 2560);
  EXPECT_EQ(sim::analogueCode(in, sim::frontend::RangeA10V, 0, 0), 2099);
  EXPECT_EQ(sim::analogueCode(in, sim::frontend::AcA, 0, 0), 2048);
}

TEST(SimTrigger, FilteredTriggerIgnoresShortPulses) {
  sim::Inputs in;
  in.c = {1000, 0.1};  // high for 1 us of every ms: two samples at 2 MS/s
  sim::TriggerCondition cond;
  cond.source = 2;
  EXPECT_TRUE(sim::findTrigger(in, 0, cond, 0.0005, 2e6, 1'000'000).has_value());
  cond.filtered = true;
  EXPECT_FALSE(sim::findTrigger(in, 0, cond, 0.0005, 2e6, 1'000'000).has_value());
  in.c = {1000, 50};
  auto n = sim::findTrigger(in, 0, cond, 0.0005, 2e6, 1'000'000);
  ASSERT_TRUE(n.has_value());
  EXPECT_NEAR(*n, 1000, 1);  // the next rising edge, 0.5 ms later
}

TEST(SimTrigger, ConstantSourceNeverTriggers) {
  sim::Inputs in;
  in.a = {AnalogSignal::Shape::Dc, 0, 0, 0.3};
  sim::TriggerCondition cond;
  cond.level = 2048;
  EXPECT_FALSE(sim::findTrigger(in, 0, cond, 0, 2e6, 1'000'000).has_value());
  in.c = {0, 0};
  cond.source = 2;
  EXPECT_FALSE(sim::findTrigger(in, 0, cond, 0, 2e6, 1'000'000).has_value());
}

// Programs the loop length and starts an instant capture through the port.
void startInstant(Rig& rig, std::int32_t length, int rateCode) {
  rig.scope.SampleCount = length;
  SETMAXLOOP(rig.scope);
  WriteReg(rig.scope, rateCode, 2);
}

bool endBit(Rig& rig) {
  return rig.port.InPort(0x379) & 8;
}

TEST(SimCapture, EndsAfterTheCapturesDurationOnTheHostClock) {
  Rig rig;
  rig.host.clock = 100;
  startInstant(rig, 65536, 5);
  rig.host.clock = 100 + 32.76;
  EXPECT_FALSE(endBit(rig));
  rig.host.clock = 100 + 32.77;
  EXPECT_TRUE(endBit(rig));
  EXPECT_TRUE(rig.instrument.endFlag());
  // A sequencer reset clears it.
  WriteRegPulse(rig.scope, 0, 7);
  EXPECT_FALSE(endBit(rig));
}

TEST(SimCapture, FasterModelRunsOneAndAHalfTimesFaster) {
  sim::Config config;
  config.modelCode = 2;
  Rig rig(config);
  startInstant(rig, 3000, 4);  // 3000 points at 30 kS/s: 0.1 s
  rig.host.clock = 0.0999;
  EXPECT_FALSE(endBit(rig));
  rig.host.clock = 0.1001;
  EXPECT_TRUE(endBit(rig));
  // A new start clears the end flag.
  WriteReg(rig.scope, 4, 2);
  EXPECT_FALSE(endBit(rig));
}

TEST(SimCapture, TriggeredCaptureOnADcSignalNeverEnds) {
  sim::Config config;
  config.inputs.a = {AnalogSignal::Shape::Dc, 0, 0, 0.1};
  Rig rig(config);
  rig.scope.SampleCount = 2048;
  SETMAXLOOP(rig.scope);
  WriteReg(rig.scope, 16, 0);
  ClockPair(rig.scope, 0x00, 0x09);
  EXPECT_EQ(rig.instrument.triggerCondition().level, 0x900);
  WriteReg(rig.scope, 1, 16);
  rig.host.clock = 1000;
  EXPECT_FALSE(endBit(rig));
}

TEST(SimReadout, PointerStepsAndModulo) {
  Rig rig;
  Scope& s = rig.scope;
  WriteReg(s, 7, 0);
  EXPECT_EQ(rig.instrument.readPointer(), 0);
  WriteReg(s, 7, 0x44);
  for (int i = 0; i < 3; ++i) {
    rig.port.OutPort(0x37A, 0x23);
    rig.port.OutPort(0x37A, 0x22);
  }
  EXPECT_EQ(rig.instrument.readPointer(), 12);
  WriteReg(s, 0, 0x44);
  rig.port.OutPort(0x37A, 0x27);
  rig.port.OutPort(0x37A, 0x26);
  EXPECT_EQ(rig.instrument.readPointer(), 13);
  rig.port.OutPort(0x37A, 0x22);  // INIT low again before the next register write
  rig.port.OutPort(0x37A, 0);
  WriteReg(s, 7, 4);
  for (int i = 0; i < 16384; ++i) {
    rig.port.OutPort(0x37A, 0x23);
    rig.port.OutPort(0x37A, 0x22);
  }
  EXPECT_EQ(rig.instrument.readPointer(), 13);  // wrapped round the 64K memory
}

TEST(SimReadout, BytesFollowTheStrobeLine) {
  sim::Config config;
  config.inputs.a = {AnalogSignal::Shape::Dc, 0, 0, 0.5};
  config.inputs.c = {0, 100};
  Rig rig(config);
  startInstant(rig, 2048, 1);
  WriteReg(rig.scope, 7, 0);
  WriteReg(rig.scope, 0, 4);
  rig.port.OutPort(0x37A, 0x22);
  // Front-end byte 0: 1 V range, DC coupling.
  const int first = rig.port.InPort(0x378);
  rig.port.OutPort(0x37A, 0x23);
  const int second = rig.port.InPort(0x378);
  EXPECT_EQ(first, 0x80 | (3072 >> 8) << 3);
  EXPECT_EQ(second, 3072 & 0xFF);
}

}  // namespace
}  // namespace qvx
