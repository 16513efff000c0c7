// Saving and loading a 64K capture (262,153 bytes) and exporting it as CSV (65,539
// lines): time per operation and bytes per second, each through the program's own
// procedure, with the encoding alone beside it to show the program's share of a save.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "files/signal_file.h"
#include "scripted_host.h"

namespace {

using namespace qvx;

struct CaptureScope {
  testing::TempFolder folder;
  testing::ScriptedHost host;
  NullPort port;
  Scope scope{host, port};

  CaptureScope() {
    scope.SampleSizeIndex = 5;
    scope.ExportKind = 1;
    for (int i = 0; i < 65536; ++i) {
      scope.BufA[i] = static_cast<std::int16_t>((i * 7) % 4096);
      scope.BufB[i] = static_cast<std::int16_t>(4095 - i % 4096);
      scope.BufC[i] = i % 3 ? 2048 : 2560;
      scope.BufD[i] = i % 5 ? 2048 : 2560;
    }
  }
};

void BM_Save64KCapture(benchmark::State& state) {
  CaptureScope c;
  c.scope.FilePath = "capture.qvx";
  for (auto _ : state) {
    chabsave(c.scope);
    if (c.scope.DataFilesReady != 1) state.SkipWithError("save failed");
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(std::filesystem::file_size("capture.qvx")));
}
BENCHMARK(BM_Save64KCapture)->Unit(benchmark::kMillisecond);

void BM_Encode64KCapture(benchmark::State& state) {
  CaptureScope c;
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string file = signalFileBytes(c.scope);
    bytes = file.size();
    benchmark::DoNotOptimize(file.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_Encode64KCapture)->Unit(benchmark::kMillisecond);

void BM_Load64KCapture(benchmark::State& state) {
  CaptureScope c;
  c.scope.FilePath = "capture.qvx";
  chabsave(c.scope);
  for (auto _ : state) {
    c.scope.LoadResult = 0;
    chabload(c.scope);
    if (c.scope.LoadResult != 1) state.SkipWithError("load failed");
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(std::filesystem::file_size("capture.qvx")));
}
BENCHMARK(BM_Load64KCapture)->Unit(benchmark::kMillisecond);

void BM_Export64KCsv(benchmark::State& state) {
  CaptureScope c;
  c.scope.FilePath = "capture.csv";
  for (auto _ : state) {
    exportab(c.scope);
    if (c.scope.DataFilesReady != 1) state.SkipWithError("export failed");
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(std::filesystem::file_size("capture.csv")));
  state.counters["lines"] = 3 + 65536;
}
BENCHMARK(BM_Export64KCsv)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
