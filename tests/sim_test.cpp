#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <tuple>

#include "device/link.h"
#include "rig.h"
#include "sim/options.h"

namespace qvx {
namespace {

using sim::AnalogSignal;
using testing::Rig;

// Fields in the order frequency, amplitude, offset (and the clock's duty); a malformed
// value is refused with a message that names its option.
TEST(SimOptions, SignalFieldsAndMalformedSignalsNameTheOption) {
  sim::Config c;
  EXPECT_TRUE(sim::parseOption("--sim-a=square:500:2:1", c));
  EXPECT_TRUE(sim::parseOption("--sim-d=clock:1000:25", c));
  EXPECT_FALSE(sim::parseOption("--simulate", c));
  const AnalogSignal& a = c.inputs.a;
  EXPECT_EQ(std::tie(a.shape, a.frequency, a.amplitude, a.offset, c.inputs.d.duty),
            std::tuple(AnalogSignal::Shape::Square, 500, 2, 1, 25));
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

TEST(SimSignals, CouplingRangeAndClipping) {
  sim::Inputs in;
  in.a = {AnalogSignal::Shape::Sine, 1000, 0.8, 0.25};
  EXPECT_EQ(sim::analogueCode(in, 0, 0, sim::toTicks(0.00025)), 4095);  // 1.05 V on the 1 V range
  EXPECT_EQ(sim::analogueCode(in, sim::frontend::RangeA10V, 0, sim::toTicks(0.00025)), 2263);
  EXPECT_EQ(sim::analogueCode(in, sim::frontend::AcA, 0, sim::toTicks(0.00025)),
            3686);  // AC drops the offset
  EXPECT_EQ(sim::converterCode(-2, 1), 0);
}

TEST(SimTrigger, FilteredTriggerIgnoresShortPulses) {
  sim::Inputs in;
  in.c = {1000, 0.1};  // high for 1 us of every ms: two samples at 2 MS/s
  sim::TriggerCondition cond;
  cond.source = 2;
  EXPECT_TRUE(sim::findTrigger(in, 0, cond, sim::toTicks(0.0005), sim::pointTicks(2, 1), 1'000'000)
                  .has_value());
  cond.filtered = true;
  EXPECT_FALSE(sim::findTrigger(in, 0, cond, sim::toTicks(0.0005), sim::pointTicks(2, 1), 1'000'000)
                   .has_value());
  in.c = {1000, 50};
  auto n = sim::findTrigger(in, 0, cond, sim::toTicks(0.0005), sim::pointTicks(2, 1), 1'000'000);
  ASSERT_TRUE(n.has_value());
  EXPECT_NEAR(*n, 1000, 1);  // the next rising edge, 0.5 ms later
}

// An instant capture of L points at rate R ends L / R after its start on the host's
// clock; the faster model samples one and a half times faster.
TEST(SimCapture, EndBitComesAfterTheCapturesDuration) {
  for (auto [model, rateCode, points, seconds] :
       {std::tuple{1, 5, 65536, 32.768}, {2, 4, 3000, 0.1}}) {
    sim::Config config;
    config.modelCode = model;
    Rig rig(config);
    auto endBitAt = [&](double t) {
      rig.host.clock = 100 + t;
      return (rig.port.InPort(0x379) & 8) != 0;
    };
    endBitAt(0);
    rig.scope.SampleCount = points;
    SETMAXLOOP(rig.scope);
    WriteReg(rig.scope, rateCode, 2);
    EXPECT_FALSE(endBitAt(seconds * 0.9995)) << model;
    EXPECT_TRUE(endBitAt(seconds * 1.0005)) << model;
    WriteRegPulse(rig.scope, 0, 7);  // a sequencer reset clears it
    EXPECT_FALSE(endBitAt(seconds * 2));
  }
}

// Each wave is continuous across its whole period and across the period's end: no sample
// steps by more than the wave's steepest slope allows, except a square's two edges.
TEST(SimSignals, WavesAreContinuousOverAWholePeriod) {
  constexpr double kHz = 1000, kPeak = 2, kSteps = 2000;
  const double dt = 1 / kHz / kSteps;
  const struct {
    AnalogSignal::Shape shape;
    double steepest;  // largest change between neighbouring samples
    int jumps;        // changes by the full swing over two periods
  } cases[] = {{AnalogSignal::Shape::Sine, 2 * M_PI * kPeak / kSteps, 0},
               {AnalogSignal::Shape::Triangle, 4 * kPeak / kSteps, 0},
               {AnalogSignal::Shape::Square, 0, 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.shape));
    const AnalogSignal wave{c.shape, kHz, kPeak, 0.5};
    int jumps = 0;
    double low = 1e9, high = -1e9;
    for (int i = 1; i <= 2 * kSteps; ++i) {
      const double a = wave.volts(sim::toTicks((i - 1) * dt + 1e-7), false),
                   b = wave.volts(sim::toTicks(i * dt + 1e-7), false);
      low = std::min(low, b);
      high = std::max(high, b);
      if (std::abs(b - a) > 1.0001 * c.steepest + 1e-9) {
        ++jumps;
        EXPECT_NEAR(std::abs(b - a), 2 * kPeak, 1e-6) << i;
      }
    }
    EXPECT_EQ(jumps, c.jumps);
    EXPECT_NEAR(low, 0.5 - kPeak, 0.01);
    EXPECT_NEAR(high, 0.5 + kPeak, 0.01);
  }
}

}  // namespace
}  // namespace qvx
