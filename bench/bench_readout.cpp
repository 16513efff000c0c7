// Readout of a 64K capture of both channel pairs, all four channels on: the program's
// own cost per port access (against a backend that does nothing but count) and, for
// comparison, against the simulated instrument. Real hardware takes about 1 us per
// access, so the program's share should be a small fraction of that.
#include <benchmark/benchmark.h>

#include "acquisition/readout.h"
#include "counted_scope.h"

namespace {

using namespace qvx;

using bench::CountingPort;

void readBoth(benchmark::State& state, Scope& scope, CountingPort& port) {
  bench::readWholeCaptures(state, scope);
  const auto n = static_cast<double>(port.accesses);
  bench::perAccess(state, n);
  state.counters["accesses/readout"] = n / static_cast<double>(state.iterations());
}

void BM_ReadoutCountingPort(benchmark::State& state) {
  bench::CountedScope b;
  readBoth(state, b.scope, b.port);
}
BENCHMARK(BM_ReadoutCountingPort)->Unit(benchmark::kMillisecond);

void BM_ReadoutCountingPortCalibrated(benchmark::State& state) {
  bench::CountedScope b;
  b.scope.CalGainA = b.scope.CalGainB = 1.01;
  b.scope.CalOffsetA = b.scope.CalOffsetB = -2;
  readBoth(state, b.scope, b.port);
}
BENCHMARK(BM_ReadoutCountingPortCalibrated)->Unit(benchmark::kMillisecond);

void BM_ReadoutSimulatedInstrument(benchmark::State& state) {
  bench::CountedInstrument b;
  b.scope.SampleCount = 65536;
  SETMAXLOOP(b.scope);
  WriteReg(b.scope, 2, 2);  // an instant 64K capture at 2 MS/s
  b.host.clock = 1;
  b.port.accesses = 0;
  readBoth(state, b.scope, b.port);
}
BENCHMARK(BM_ReadoutSimulatedInstrument)->Unit(benchmark::kMillisecond);

// Every iteration reads a new capture, so the instrument fills its memory from the
// signals as the words are read.
void BM_ReadoutSimulatedFreshCapture(benchmark::State& state) {
  bench::CountedInstrument b;
  auto& [host, instrument, port, scope] = b;
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
  bench::perAccess(state, static_cast<double>(accesses));
}
BENCHMARK(BM_ReadoutSimulatedFreshCapture)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
