// The program driven by another program through the command file, as a separate
// headless process, measured side by side with the same capture started from the panel:
//  - RemoteLatency: command file written -> last data file complete, 2K points at the
//    fastest rate; median and worst of 50 runs, headless and (for comparison) windowed.
//  - PanelRun: the same capture started with GO inside this process on the console host,
//    which is the capture time the remote run contains.
//  - IdleProcessorTime: processor time of the idle headless program (and, for
//    comparison, of the idle windowed program on the offscreen platform).
//  - Soak: resident memory of the headless program after 100 and after N remote runs
//    (N from --soak-runs=N; the default 1000 takes about four minutes, 10000 about forty).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "control/startup.h"
#include "core/console_host.h"
#include "process_time.h"
#include "scripted_host.h"
#include "sim/instrument.h"

namespace {

using namespace qvx;
using bench::processorSeconds;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int soakRuns = 1000;
int idleSeconds = 10;
constexpr int kRuns = 50;
constexpr const char* kCommand = "SAMPLESIZE=2,SAMPLERATE=4,ADATA=1,EXECUTE=1\n";

std::string program() {
  return (fs::read_symlink("/proc/self/exe").parent_path() / "qvxscope").string();
}

double msSince(Clock::time_point t) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

// One remote run: the command file appears, and the data file it asks for is complete.
double remoteRun(const fs::path& folder, const char* command = kCommand) {
  fs::remove(folder / "QVXAdata.dat");
  const auto t = Clock::now();
  testing::writeCommandFile(folder, command);
  while (!fs::exists(folder / "QVXAdata.dat"))
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  return msSince(t);
}

void report(benchmark::State& state, std::vector<double> ms, const char* what) {
  std::sort(ms.begin(), ms.end());
  state.counters[std::string(what) + "_median_ms"] = ms[ms.size() / 2];
  state.counters[std::string(what) + "_worst_ms"] = ms.back();
}

long residentKb(int pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return 0;
}

// Argument 1: headless; 0: the windowed program on the offscreen platform; 2: headless,
// with the settings sent once and then only ADATA=1,EXECUTE=1, so the poll refreshes no
// panel (the trigger panel's refresh waits 50 ms of its own).
void RemoteLatency(benchmark::State& state) {
  const bool headless = state.range(0) != 0;
  const char* command = state.range(0) == 2 ? "ADATA=1,EXECUTE=1\n" : kCommand;
  for (auto _ : state) {
    testing::TempFolder folder;
    std::ofstream("QVXport.cfg") << "1\n";
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    testing::ChildProcess qvx(
        program(), headless ? std::vector<std::string>{"--headless"} : std::vector<std::string>{},
        folder.path());
    remoteRun(folder.path());  // start-up, the settings and the first run
    std::vector<double> ms;
    for (int i = 0; i < kRuns; ++i) ms.push_back(remoteRun(folder.path(), command));
    report(state, ms,
           state.range(0) == 2 ? "data_only"
           : headless          ? "remote_headless"
                               : "remote_windowed");
  }
}
BENCHMARK(RemoteLatency)
    ->Arg(1)
    ->Arg(0)
    ->Arg(2)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void PanelRun(benchmark::State& state) {
  for (auto _ : state) {
    testing::TempFolder folder;
    std::ofstream("QVXport.cfg") << "1\n";
    ConsoleHost host;
    sim::Instrument instrument({}, [&host] { return host.NowNanoseconds(); });
    Scope s(host, instrument);
    host.attach(s.panel);
    Form_Load(s);
    Form_Activate(s);
    s.SampleSizeIndex = 0;
    s.SampleRateIndex = 4;
    std::vector<double> ms;
    for (int i = 0; i < kRuns; ++i) {
      const auto t = Clock::now();
      s.panel.GOBUTTON.click();
      ms.push_back(msSince(t));
    }
    report(state, ms, "panel");
  }
}
BENCHMARK(PanelRun)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

double idleShare(std::vector<std::string> args) {
  testing::TempFolder folder;
  std::ofstream("QVXport.cfg") << "1\n";
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  testing::ChildProcess qvx(program(), std::move(args), folder.path());
  std::this_thread::sleep_for(std::chrono::seconds(2));  // start-up
  const double before = processorSeconds(qvx.pid());
  std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
  return (processorSeconds(qvx.pid()) - before) / idleSeconds * 100;
}

void IdleProcessorTime(benchmark::State& state) {
  for (auto _ : state) {
    state.counters["headless_percent_of_a_core"] = idleShare({"--headless"});
    state.counters["windowed_percent_of_a_core"] = idleShare({});
  }
}
BENCHMARK(IdleProcessorTime)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

void Soak(benchmark::State& state) {
  for (auto _ : state) {
    testing::TempFolder folder;
    testing::ChildProcess qvx(program(), {"--headless"}, folder.path());
    const int early = std::min(100, soakRuns);
    for (int i = 0; i < early; ++i) remoteRun(folder.path());
    const long after100 = residentKb(qvx.pid());
    for (int i = early; i < soakRuns; ++i) remoteRun(folder.path());
    const long afterAll = residentKb(qvx.pid());
    state.counters["runs"] = soakRuns;
    state.counters["rss_after_100_kB"] = double(after100);
    state.counters["rss_after_all_kB"] = double(afterAll);
    state.counters["growth_kB"] = double(afterAll - after100);
  }
}
BENCHMARK(Soak)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> rest;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], "--soak-runs=", 12) == 0)
      soakRuns = std::max(1, std::atoi(argv[i] + 12));
    else if (std::strncmp(argv[i], "--idle-seconds=", 15) == 0)
      idleSeconds = std::max(1, std::atoi(argv[i] + 15));
    else
      rest.push_back(argv[i]);
  }
  int count = int(rest.size());
  benchmark::Initialize(&count, rest.data());
  if (benchmark::ReportUnrecognizedArguments(count, rest.data())) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
