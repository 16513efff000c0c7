// Readout of a 64K capture of both channel pairs, all four channels on: the program's
// own cost per port access (against a backend that does nothing but count) and, for
// comparison, against the simulated instrument. Real hardware takes about 1 us per
// access, so the program's share should be a small fraction of that.
#include <benchmark/benchmark.h>

#include "acquisition/readout.h"
#include "counting_port.h"
#include "device/link.h"
#include "scripted_host.h"
#include "sim/instrument.h"

namespace {

using namespace qvx;

using bench::CountingPort;

void readBoth(benchmark::State& state, Scope& scope, CountingPort& port) {
  scope.SampleCount = 65536;
  scope.PretrigPoints = 0;
  for (auto _ : state) {
    readbufferA(scope);
    readbufferB(scope);
    benchmark::DoNotOptimize(scope.BufA[65535] + scope.BufD[65535]);
  }
  const auto n = static_cast<double>(port.accesses);
  state.counters["accesses/s"] = benchmark::Counter(n, benchmark::Counter::kIsRate);
  state.counters["s/access"] =
      benchmark::Counter(n, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["accesses/readout"] = n / static_cast<double>(state.iterations());
}

void BM_ReadoutCountingPort(benchmark::State& state) {
  testing::ScriptedHost host;
  CountingPort port;
  Scope scope(host, port);
  readBoth(state, scope, port);
}
BENCHMARK(BM_ReadoutCountingPort)->Unit(benchmark::kMillisecond);

void BM_ReadoutCountingPortCalibrated(benchmark::State& state) {
  testing::ScriptedHost host;
  CountingPort port;
  Scope scope(host, port);
  scope.CalGainA = scope.CalGainB = 1.01;
  scope.CalOffsetA = scope.CalOffsetB = -2;
  readBoth(state, scope, port);
}
BENCHMARK(BM_ReadoutCountingPortCalibrated)->Unit(benchmark::kMillisecond);

void BM_ReadoutSimulatedInstrument(benchmark::State& state) {
  testing::ScriptedHost host;
  sim::Instrument instrument({}, [&host] { return std::llround(host.clock * 1e9); });
  CountingPort port(&instrument);
  Scope scope(host, port);
  initport(scope);
  scope.SampleCount = 65536;
  SETMAXLOOP(scope);
  WriteReg(scope, 2, 2);  // an instant 64K capture at 2 MS/s
  host.clock = 1;
  port.accesses = 0;
  readBoth(state, scope, port);
}
BENCHMARK(BM_ReadoutSimulatedInstrument)->Unit(benchmark::kMillisecond);

// Every iteration reads a new capture, so the instrument fills its memory from the
// signals as the words are read.
void BM_ReadoutSimulatedFreshCapture(benchmark::State& state) {
  testing::ScriptedHost host;
  sim::Instrument instrument({}, [&host] { return std::llround(host.clock * 1e9); });
  CountingPort port(&instrument);
  Scope scope(host, port);
  initport(scope);
  scope.SampleCount = 65536;
  SETMAXLOOP(scope);
  std::int64_t accesses = 0;
  for (auto _ : state) {
    WriteReg(scope, 2, 2);
    host.clock += 1;
    port.accesses = 0;
    readbufferA(scope);
    readbufferB(scope);
    accesses += port.accesses;
    benchmark::DoNotOptimize(scope.BufA[65535] + scope.BufD[65535]);
  }
  const auto n = static_cast<double>(accesses);
  state.counters["accesses/s"] = benchmark::Counter(n, benchmark::Counter::kIsRate);
  state.counters["s/access"] =
      benchmark::Counter(n, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReadoutSimulatedFreshCapture)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
