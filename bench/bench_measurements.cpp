// The measurements panel's cost: the measurement of one 64K capture of one channel, and
// Repeat at 2K points with the panel closed and open (captures a second, the window's
// painting included). The host's clock is virtual, so the instrument's waits cost no
// real time; the ratio of the two Repeat rates is what the panel costs a running scope.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <memory>
#include <vector>

#include "acquisition/timebase.h"
#include "control/startup.h"
#include "measure/measure.h"
#include "measure/panel.h"
#include "qt_app.h"
#include "repeating_window.h"
#include "ui/main_window.h"

namespace {

using namespace qvx;

void MeasureWave64K(benchmark::State& state) {
  std::vector<std::int16_t> codes(65536);
  for (std::size_t i = 0; i < codes.size(); ++i)
    codes[i] = static_cast<std::int16_t>(
        2048 + std::lround(800 * std::sin(i * 0.0031416) + (i * 7919 % 13) - 6));
  const measure::Trace trace{codes, 2048, 10.0 / 2047, 2e6, false};
  for (auto _ : state) benchmark::DoNotOptimize(measure::measureWave(trace));
}
BENCHMARK(MeasureWave64K)->Unit(benchmark::kMicrosecond);

constexpr int kCaptures = 50;

// One press of GO that runs until kCaptures pictures were drawn and painted, then STOP.
void RepeatWithMeasurements(benchmark::State& state) {
  bench::app();
  static bench::RepeatingWindow instrument(1.5, 3);
  Scope& s = instrument.rig.scope;
  s.SelD = 1;  // two channels measured: A and D
  showMeasurements(s, state.range(0) != 0);
  instrument.window->sync();
  int frames = 0;
  std::uint64_t seen = s.panel.ScopeScreen.clears;
  instrument.rig.host.onPump = [&] {
    instrument.rig.port.log.clear();
    if (s.panel.ScopeScreen.clears == seen) return;
    seen = s.panel.ScopeScreen.clears;
    instrument.window->sync();
    if (++frames == kCaptures) s.panel.GOBUTTON.click();
  };
  for (auto _ : state) {
    frames = 0;
    s.panel.GOBUTTON.click();
    if (frames < kCaptures) {
      state.SkipWithError("the run stopped before its captures were drawn");
      break;
    }
  }
  instrument.rig.host.onPump = nullptr;
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kCaptures);
  state.SetLabel(state.range(0) ? "panel open" : "panel closed");
}
BENCHMARK(RepeatWithMeasurements)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
