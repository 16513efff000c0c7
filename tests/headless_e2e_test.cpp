#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "child_process.h"
#include "scripted_host.h"

namespace qvx {
namespace {

namespace fs = std::filesystem;

// The README's shell example, run as written from a checkout whose build folder is build/:
// another program starts qvxscope --headless in a folder of its own, writes a command file
// for 2K points of A at 200 kS/s and reads the data file back.
TEST(Headless, TheReadmeExampleGetsTheSimulatedSineBack) {
  std::ifstream readme(std::string(QVX_SOURCE_DIR) + "/README.md");
  const std::string text{std::istreambuf_iterator<char>(readme), {}};
  const std::size_t start = text.find("```sh\n", text.find("## Driving it from another program"));
  ASSERT_NE(start, std::string::npos);
  const std::string script = text.substr(start + 6, text.find("```", start + 6) - start - 6);

  testing::TempFolder checkout;
  fs::create_directory_symlink(fs::path(QVXSCOPE_PATH).parent_path(), "build");
  fs::create_directory("tmp");  // where the example's mktemp makes the program's folder
  std::ofstream("example.sh") << script;
  const int status = std::system("TMPDIR=$PWD/tmp timeout 60 bash -e example.sh >out.txt 2>&1");
  std::ifstream out("out.txt");
  const std::string printed{std::istreambuf_iterator<char>(out), {}};
  EXPECT_EQ(status, 0) << printed;

  // The simulated input: 1 kHz, 4 V peak, on the 10 V range (2048 codes full scale), taken
  // at 200 kS/s: 200 points a period and about 819 codes either side of mid-scale.
  int points = 0, low = 0, high = 0;
  ASSERT_EQ(std::sscanf(printed.c_str(), "%d %d %d", &points, &low, &high), 3) << printed;
  EXPECT_EQ(points, 2048);
  EXPECT_NEAR(high - 2048, 819, 25);
  EXPECT_NEAR(2048 - low, 819, 25);
  const fs::path folder = fs::directory_iterator("tmp")->path();
  std::ifstream codesIn(folder / "a.txt");
  const std::vector<int> codes{std::istream_iterator<int>(codesIn), {}};
  int upwardCrossings = 0;
  for (std::size_t i = 1; i < codes.size(); ++i)
    upwardCrossings += codes[i - 1] < 2048 && codes[i] >= 2048;
  EXPECT_NEAR(upwardCrossings, 10, 1);  // 2048 points are 10.24 periods
  EXPECT_FALSE(fs::exists(folder / "QVXcom.txt"));
}

// A lab script stops the program with SIGTERM between runs: it must end cleanly, after
// answering a command file, with status 0.
TEST(Headless, EndsCleanlyOnSigterm) {
  testing::TempFolder folder;
  std::ofstream("QVXport.cfg", std::ios::binary) << " 1 \r\n";
  testing::ChildProcess program(QVXSCOPE_PATH, {"--headless"}, folder.path());
  testing::writeCommandFile(folder.path(), "ADATA=1,EXECUTE=1\r\n");
  ASSERT_TRUE(testing::waitForFile(folder.path() / "QVXAdata.dat", 30)) << program.stderrText();
  EXPECT_EQ(program.stop(), 0) << program.stderrText();
}

}  // namespace
}  // namespace qvx
