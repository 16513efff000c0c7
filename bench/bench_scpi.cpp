// The SCPI server of a headless program on the simulated instrument, driven over a real
// socket to 127.0.0.1, side by side:
//  - CaptureOnly: :SINGle;*OPC? for 64K points at the fastest rate.
//  - CaptureAndWordData: the same followed by :WAVeform:DATA? in WORD form (128 KB block);
//    its time minus CaptureOnly's is what the transfer adds to the capture.
//  - WordDataOnly: :WAVeform:DATA? of the capture already taken.
//  - IdnQueries: *IDN? round trips, one at a time (items per second).
//  - IdleProcessorTime: processor time of the program over 5 s with a client connected
//    and silent, as a share of one core.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "child_process.h"
#include "process_time.h"
#include "scpi_client.h"
#include "scripted_host.h"

namespace {

using namespace qvx;
using bench::processorSeconds;

// The program beside this benchmark in the build folder.
std::string programPath() {
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "qvxscope").string();
}

struct Served {
  Served() {
    std::ofstream("QVXport.cfg", std::ios::binary) << " 1 \r\n";
    program = std::make_unique<testing::ChildProcess>(
        programPath(), std::vector<std::string>{"--headless", "--scpi=0"}, folder.path());
    client = std::make_unique<testing::ScpiClient>(testing::scpiPortOf(*program));
    client->query(":ACQ:POIN 65536;SRAT 2E7;:WAV:SOUR A;FORM WORD;:SINGle;*OPC?");
  }
  testing::TempFolder folder;
  std::unique_ptr<testing::ChildProcess> program;
  std::unique_ptr<testing::ScpiClient> client;
};

Served& served() {
  static Served s;
  return s;
}

void capture(testing::ScpiClient& c) {
  if (c.query(":SINGle;*OPC?") != "1") std::abort();
}

void wordData(testing::ScpiClient& c) {
  c.send(":WAV:DATA?");
  const auto block = c.readBlock();
  if (!block || block->size() != 2 * 65536) std::abort();
}

void CaptureOnly(benchmark::State& state) {
  auto& c = *served().client;
  for (auto _ : state) capture(c);
}
BENCHMARK(CaptureOnly)->Unit(benchmark::kMillisecond)->Iterations(40);

void CaptureAndWordData(benchmark::State& state) {
  auto& c = *served().client;
  for (auto _ : state) {
    capture(c);
    wordData(c);
  }
}
BENCHMARK(CaptureAndWordData)->Unit(benchmark::kMillisecond)->Iterations(40);

void WordDataOnly(benchmark::State& state) {
  auto& c = *served().client;
  for (auto _ : state) wordData(c);
}
BENCHMARK(WordDataOnly)->Unit(benchmark::kMillisecond)->Iterations(200);

void IdnQueries(benchmark::State& state) {
  auto& c = *served().client;
  for (auto _ : state)
    if (c.query("*IDN?").empty()) std::abort();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(IdnQueries)->Unit(benchmark::kMicrosecond)->Iterations(20000)->UseRealTime();

void IdleProcessorTime(benchmark::State& state) {
  auto& s = served();
  for (auto _ : state) {
    const double before = processorSeconds(s.program->pid());
    std::this_thread::sleep_for(std::chrono::seconds(5));
    state.counters["core_percent"] = (processorSeconds(s.program->pid()) - before) / 5 * 100;
  }
}
BENCHMARK(IdleProcessorTime)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
