#pragma once
#include <benchmark/benchmark.h>

#include <cmath>

#include "acquisition/readout.h"
#include "core/scope.h"
#include "counting_port.h"
#include "device/link.h"
#include "scripted_host.h"
#include "sim/instrument.h"

namespace qvx::bench {

// A scope on a scripted host whose every port access is counted; alone, every read
// answers `idle`.
struct CountedScope {
  explicit CountedScope(std::uint8_t idle = 0x5A) : port(nullptr, idle) {}
  testing::ScriptedHost host;
  CountingPort port;
  Scope scope{host, port};
};

// A scope talking to the simulated instrument, on the host's virtual clock, through a
// counting port; the port is opened, so the instrument is ready for a capture.
struct CountedInstrument {
  CountedInstrument() { initport(scope); }
  testing::ScriptedHost host;
  sim::Instrument instrument{{}, [this] { return std::llround(host.clock * 1e9); }};
  CountingPort port{&instrument};
  Scope scope{host, port};
};

// Reads a 64K capture of both channel pairs, all four channels on, once an iteration.
inline void readWholeCaptures(benchmark::State& state, Scope& scope) {
  scope.SampleCount = 65536;
  scope.PretrigPoints = 0;
  for (auto _ : state) {
    readbufferA(scope);
    readbufferB(scope);
    benchmark::DoNotOptimize(scope.BufA[65535] + scope.BufD[65535]);
  }
}

// Port accesses per second of the benchmark and, inverted, the seconds one access took.
inline void perAccess(benchmark::State& state, double accesses) {
  state.counters["accesses/s"] = benchmark::Counter(accesses, benchmark::Counter::kIsRate);
  state.counters["s/access"] =
      benchmark::Counter(accesses, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace qvx::bench
