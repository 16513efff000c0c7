#include <gtest/gtest.h>

#include <cmath>

#include "sim/generator_unit.h"
#include "sim/options.h"

namespace qvx {
namespace {

using sim::AnalogSignal;
using sim::GeneratorUnit;

TEST(SimGeneratorOptions, GenWiresTheOutputStraightOrThroughAnRcLoad) {
  sim::Config c;
  ASSERT_TRUE(sim::parseOption("--sim-a=gen", c));
  EXPECT_EQ(c.inputs.a.shape, AnalogSignal::Shape::Generator);
  EXPECT_EQ(c.inputs.a.rcSeconds, 0);
  ASSERT_TRUE(sim::parseOption("--sim-b=gen-rc:1600:1e-7", c));
  EXPECT_EQ(c.inputs.b.shape, AnalogSignal::Shape::Generator);
  EXPECT_DOUBLE_EQ(c.inputs.b.rcSeconds, 1.6e-4);
  for (const char* bad : {"--sim-a=gen:5", "--sim-a=gen-rc:1000", "--sim-b=gen-rc:0:1e-6",
                          "--sim-a=gen-rc:1k:1e-6", "--sim-a=gen-rc:1000:-1e-6"}) {
    SCOPED_TRACE(bad);
    try {
      sim::parseOption(bad, c);
      ADD_FAILURE() << "accepted";
    } catch (const std::invalid_argument& e) {
      EXPECT_EQ(std::string(e.what()).rfind(std::string(bad).substr(0, 7), 0), 0u) << e.what();
    }
  }
}

TEST(SimGeneratorUnit, RcLoadChargesExponentiallyPointByPoint) {
  GeneratorUnit gen;  // a two-level loop: 10 points of code 0, then 10 of 4095
  for (int i = 0; i < 20; ++i) gen.write(i < 10 ? 0 : 4095);
  const double tau = 5e-3;
  using sim::toTicks;
  gen.holdFirst(0);
  gen.play(toTicks(1.0), sim::kTicksPerSecond / 1000, 19, true);
  EXPECT_DOUBLE_EQ(gen.filteredVolts(toTicks(1.0 + 10e-3), tau),
                   0.0);  // settled at the first point
  // Half way into the high half: 2 V x (1 - e^(-5 ms / tau)).
  EXPECT_NEAR(gen.filteredVolts(toTicks(1.0 + 15e-3), tau), 2 * (1 - std::exp(-1.0)), 1e-12);
  // Asked again earlier, the integration starts afresh and agrees.
  EXPECT_NEAR(gen.filteredVolts(toTicks(1.0 + 12e-3), tau), 2 * (1 - std::exp(-0.4)), 1e-12);
  // After the single pass the last point stays on the output.
  EXPECT_NEAR(gen.filteredVolts(toTicks(1.0 + 40e-3), tau), 2 * (1 - std::exp(-6.0)), 1e-12);
  // With AC coupling the loop's mean, 1 V, is taken off while it plays.
  EXPECT_NEAR(gen.socketVolts(toTicks(1.0 + 15e-3), 0, true), 1.0, 1e-12);
}

}  // namespace
}  // namespace qvx
