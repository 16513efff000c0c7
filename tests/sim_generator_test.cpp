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
  EXPECT_TRUE(c.inputs.a.load.straight());
  ASSERT_TRUE(sim::parseOption("--sim-b=gen-rc:1600:1e-7", c));
  EXPECT_EQ(c.inputs.b.shape, AnalogSignal::Shape::Generator);
  EXPECT_EQ(c.inputs.b.load, (sim::Load{sim::Load::Kind::LowPass, 1600, 0, 1e-7}));
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
  const sim::Load rc{sim::Load::Kind::LowPass, 5000, 0, 1e-6};
  using sim::toTicks;
  gen.holdFirst(0);
  gen.play(toTicks(1.0), sim::kTicksPerSecond / 1000, 19, true);
  EXPECT_DOUBLE_EQ(gen.loadVolts(toTicks(1.0 + 10e-3), rc),
                   0.0);  // settled at the first point
  // Half way into the high half: 2 V x (1 - e^(-5 ms / tau)).
  EXPECT_NEAR(gen.loadVolts(toTicks(1.0 + 15e-3), rc), 2 * (1 - std::exp(-1.0)), 1e-12);
  // Asked again earlier, the integration starts afresh and agrees.
  EXPECT_NEAR(gen.loadVolts(toTicks(1.0 + 12e-3), rc), 2 * (1 - std::exp(-0.4)), 1e-12);
  // After the single pass the last point stays on the output.
  EXPECT_NEAR(gen.loadVolts(toTicks(1.0 + 40e-3), rc), 2 * (1 - std::exp(-6.0)), 1e-12);
  // With AC coupling the loop's mean, 1 V, is taken off while it plays.
  EXPECT_NEAR(gen.socketVolts(toTicks(1.0 + 15e-3), {}, true), 1.0, 1e-12);
}

TEST(SimGeneratorOptions, HighPassAndRlcLoadsTakeTheirPartsAndRefuseBadOnes) {
  sim::Config c;
  ASSERT_TRUE(sim::parseOption("--sim-a=gen-hp:1000:2e-6", c));
  EXPECT_EQ(c.inputs.a.load, (sim::Load{sim::Load::Kind::HighPass, 1000, 0, 2e-6}));
  ASSERT_TRUE(sim::parseOption("--sim-b=gen-rlc:50:1e-3:1e-6", c));
  EXPECT_EQ(c.inputs.b.load, (sim::Load{sim::Load::Kind::Rlc, 50, 1e-3, 1e-6}));
  for (const char* bad : {"--sim-a=gen-hp:1000", "--sim-a=gen-hp:1000:0", "--sim-a=gen-rlc:50:1e-3",
                          "--sim-a=gen-rlc:0:1e-3:1e-6", "--sim-a=gen-rlc:50:-1:1e-6",
                          "--sim-a=gen-rlc:50:1e-3:1e-6:7", "--sim-a=gen-lp:1:1"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(sim::parseOption(bad, c), std::invalid_argument);
  }
}

// A loop of 10 points at 0 V then 10 at 2 V, 1 ms a point, played once from t = 1 s: a
// step of 2 V 10 ms into the pass, which each load answers with its step response.
struct StepRig {
  StepRig() {
    for (int i = 0; i < 20; ++i) gen.write(i < 10 ? 0 : 4095);
    gen.holdFirst(0);
    gen.play(sim::toTicks(1.0), sim::kTicksPerSecond / 1000, 19, true);
  }
  // Volts `ms` milliseconds after the step (which comes when point 10 starts).
  double after(const sim::Load& load, double ms) const {
    return gen.loadVolts(sim::toTicks(1.0 + 10e-3 + ms * 1e-3), load);
  }
  GeneratorUnit gen;
};

TEST(SimGeneratorUnit, HighPassAndRlcAnswerAStepAsTheirTheory) {
  StepRig r;
  const sim::Load hp{sim::Load::Kind::HighPass, 2000, 0, 1e-6};  // tau 2 ms
  EXPECT_NEAR(r.after(hp, 0), 0.0, 1e-12);                       // settled: nothing across R
  for (double ms : {0.5, 1.0, 3.7, 9.0})
    EXPECT_NEAR(r.after(hp, ms), 2 * std::exp(-ms / 2), 1e-9) << ms;
  // After the pass the last point stays, and the high-pass keeps decaying.
  EXPECT_NEAR(r.after(hp, 25), 2 * std::exp(-12.5), 1e-9);
  // AC coupling takes off nothing: a high-pass passes no DC.
  EXPECT_NEAR(r.gen.socketVolts(sim::toTicks(1.0 + 12e-3), hp, true), 2 * std::exp(-1.0), 1e-9);

  // Underdamped: R 20, L 10 mH, C 10 uF: alpha = R / 2L = 1000 /s, w0^2 = 1 / LC = 1e7 /s^2,
  // so it rings at wd = sqrt(w0^2 - alpha^2) = 3000 /s.
  const sim::Load rlc{sim::Load::Kind::Rlc, 20, 10e-3, 10e-6};
  const double alpha = 1000, wd = 3000;
  EXPECT_NEAR(r.after(rlc, 0), 0.0, 1e-12);
  for (double ms : {0.3, 1.0, 2.5, 7.2}) {
    const double t = ms * 1e-3;
    const double v =
        2 * (1 - std::exp(-alpha * t) * (std::cos(wd * t) + alpha / wd * std::sin(wd * t)));
    EXPECT_NEAR(r.after(rlc, ms), v, 1e-9) << ms;
  }
  // Overdamped: R 1 k, L 0.1 H, C 10 uF: alpha 5000 /s, w0^2 = 1e6 /s^2, two real roots
  // -5000 +- sqrt(24e6) /s.
  const sim::Load slow{sim::Load::Kind::Rlc, 1000, 0.1, 10e-6};
  const double s1 = -5000 + std::sqrt(24e6), s2 = -5000 - std::sqrt(24e6);
  for (double ms : {0.4, 3.0, 9.5}) {
    const double t = ms * 1e-3;
    const double v = 2 * (1 + (s2 * std::exp(s1 * t) - s1 * std::exp(s2 * t)) / (s1 - s2));
    EXPECT_NEAR(r.after(slow, ms), v, 1e-9) << ms;
  }
}

}  // namespace
}  // namespace qvx
