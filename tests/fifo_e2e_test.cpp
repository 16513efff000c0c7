// The built program, started as a user or a lab script starts it, with FIFOs where its
// files belong: it neither hangs nor stops answering SIGINT and SIGTERM.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "child_process.h"
#include "scripted_host.h"

namespace qvx {
namespace {

// Waits up to `seconds` for the program's stderr to hold `text`.
bool waitForSaying(const testing::ChildProcess& program, const std::string& text, double seconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (program.stderrText().find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// A folder holding the port file and a FIFO in place of the calibration file.
struct FifoFolder {
  FifoFolder() {
    std::ofstream("QVXport.cfg", std::ios::binary) << " 1 \r\n";
    ::mkfifo("QVXcal.cfg", 0666);
  }
  testing::TempFolder folder;
};

TEST(FifoE2E, AFifoCalibrationFileDoesNotHoldStartUpWithoutAWindowAndSigtermEndsIt) {
  FifoFolder f;
  testing::ChildProcess program(QVXSCOPE_PATH, {"--headless"}, f.folder.path());
  EXPECT_TRUE(waitForSaying(program, "running without a window", 30)) << program.stderrText();
  EXPECT_EQ(program.stop(SIGTERM, 10), 0) << program.stderrText();
}

TEST(FifoE2E, FifoFilesOnTheCommandLineAreRefusedAndTheScreenshotStillTaken) {
  FifoFolder f;
  for (const char* name : {"f.qvx", "f.dpf", "f.fft"}) ::mkfifo(name, 0666);
  testing::ChildProcess program(
      QVXSCOPE_PATH, {"--screenshot", "shot.png", "f.qvx", "f.dpf", "f.fft"}, f.folder.path());
  EXPECT_EQ(program.waitExit(60), 1) << program.stderrText();
  const std::string said = program.stderrText();
  for (const char* message : {"Not a valid QVX signal file", "Not a valid QVX profile file",
                              "Not a valid FFT signal file"})
    EXPECT_NE(said.find(message), std::string::npos) << said;
  EXPECT_TRUE(std::filesystem::exists(f.folder.path() / "shot.png"));
}

// The program with its window ends with status 0 on either signal. Its start-up says
// nothing on stderr, so the signal comes after a while that start-up needs at most.
TEST(FifoE2E, TheWindowedProgramStartsAndEndsCleanlyOnSigintAndSigterm) {
  for (int signal : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(signal);
    FifoFolder f;
    testing::ChildProcess program(QVXSCOPE_PATH, {}, f.folder.path());
    std::this_thread::sleep_for(std::chrono::seconds(3));
    EXPECT_EQ(program.stop(signal, 10), 0) << program.stderrText();
  }
}

}  // namespace
}  // namespace qvx
