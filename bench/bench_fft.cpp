// Time to turn one 64K capture of both channels into spectra.
#include <benchmark/benchmark.h>

#include <cmath>

#include "rig.h"
#include "spectrum/fft.h"

namespace {

void BM_FFTconvert64K(benchmark::State& state) {
  qvx::testing::Rig rig;
  qvx::Scope& s = rig.scope;
  s.FftSize = 65536;
  qvx::SampleBuffer a(65536), b(65536);
  for (int i = 0; i < 65536; ++i) {
    a[i] = static_cast<std::int16_t>(2048 + std::lround(1500 * std::sin(0.0123 * i)));
    b[i] = static_cast<std::int16_t>(i % 1000 < 300 ? 3500 : 600);
  }
  for (auto _ : state) {
    state.PauseTiming();
    s.BufA = a;
    s.BufB = b;
    s.FftDoneA = s.FftDoneB = 0;
    state.ResumeTiming();
    qvx::FFTconvert(s);
    benchmark::DoNotOptimize(s.BufA.data());
    benchmark::DoNotOptimize(s.BufB.data());
  }
}
BENCHMARK(BM_FFTconvert64K)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
