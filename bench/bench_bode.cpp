// The frequency response measurement on the simulated instrument with the virtual clock.
// A stepped sweep's cost per point (the program's work together with the simulated
// instrument's, measured in real time) is set against the time a point's pass takes on
// the instrument (virtual time: the pre-delay, the pass and its polls); the goal is under
// 5 %. The single pass counts the frequency points it gives in the time of one stepped
// pass; the goal is at least 100.
#include <benchmark/benchmark.h>

#include "bode/measurement.h"
#include "sim/signal.h"
#include "started.h"

namespace {

using namespace qvx;

sim::Config rcLoad() {
  sim::Config c;
  c.inputs.a = sim::parseAnalog("gen-rc:1600:1e-7", "--sim-a");
  c.inputs.b = sim::parseAnalog("gen", "--sim-b");
  return c;
}

struct Sweep {
  double virtualSeconds = 0;
  std::size_t points = 0, measured = 0;
};

Sweep sweep(testing::Started& g, const std::string& plan) {
  const double before = g.rig.host.clock;
  bode::Response r;
  if (!bode::measure(g.s, bode::parsePlan(plan), r).empty()) return {};
  Sweep out{g.rig.host.clock - before, r.points.size(), 0};
  for (const bode::Point& p : r.points) out.measured += p.channel[0].measured ? 1 : 0;
  return out;
}

void BM_BodeSteppedPerPoint(benchmark::State& state) {
  testing::Started g(rcLoad());
  g.rig.host.onPump = [&g] { g.rig.port.log.clear(); };
  Sweep last;
  for (auto _ : state) last = sweep(g, "20:200000:10");
  if (last.points == 0) state.SkipWithError("no points measured");
  const double passSeconds = last.virtualSeconds / static_cast<double>(last.points);
  state.counters["points"] = static_cast<double>(last.points);
  state.counters["pass_s"] = passSeconds;
  // Real seconds a point costs; divided by pass_s it is the share of a pass.
  state.counters["own_s_per_point"] = benchmark::Counter(
      static_cast<double>(last.points),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_BodeSteppedPerPoint)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_BodeSinglePass(benchmark::State& state) {
  testing::Started g(rcLoad());
  g.rig.host.onPump = [&g] { g.rig.port.log.clear(); };
  Sweep single, stepped;
  for (auto _ : state) single = sweep(g, "20:200000:10:single");
  stepped = sweep(g, "1000:1000.5:1");  // one stepped pass, for its time
  if (single.points == 0 || stepped.points != 1) state.SkipWithError("no points measured");
  state.counters["points"] = static_cast<double>(single.points);
  state.counters["points_measured_A"] = static_cast<double>(single.measured);
  state.counters["virtual_s"] = single.virtualSeconds;
  state.counters["stepped_pass_s"] = stepped.virtualSeconds;
  state.counters["points_per_stepped_pass"] =
      static_cast<double>(single.points) * stepped.virtualSeconds / single.virtualSeconds;
}
BENCHMARK(BM_BodeSinglePass)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
