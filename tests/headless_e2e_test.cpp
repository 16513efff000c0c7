#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "child_process.h"
#include "scripted_host.h"

namespace qvx {
namespace {

namespace fs = std::filesystem;

std::vector<int> readCodes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
  std::vector<int> codes;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    codes.push_back(bytes[i] * 256 + bytes[i + 1]);
  return codes;
}

// Points between successive upward crossings of mid-scale, averaged over the capture.
double meanPeriod(const std::vector<int>& codes) {
  std::vector<std::size_t> ups;
  for (std::size_t i = 1; i < codes.size(); ++i)
    if (codes[i - 1] < 2048 && codes[i] >= 2048) ups.push_back(i);
  if (ups.size() < 2) return 0;
  return double(ups.back() - ups.front()) / double(ups.size() - 1);
}

TEST(Headless, ACommandFileFromAnotherProgramGetsTheSimulatedSineBack) {
  testing::TempFolder folder;
  testing::ChildProcess qvx(QVXSCOPE_PATH, {"--headless"}, folder.path());
  testing::writeCommandFile(folder.path(), "SAMPLESIZE=2,SAMPLERATE=2\nADATA=1\nEXECUTE=1\n");
  ASSERT_TRUE(testing::waitForFile(folder.path() / "QVXAdata.dat", 20)) << qvx.stderrText();
  EXPECT_FALSE(fs::exists(folder.path() / "QVXcom.txt"));

  const std::vector<int> codes = readCodes(folder.path() / "QVXAdata.dat");
  ASSERT_EQ(codes.size(), 2048u);
  // The simulated input: 1 kHz, 4 V peak, on the 10 V range (2048 codes full scale), taken
  // at 200 kS/s: 200 points a period and about 819 codes either side of mid-scale.
  EXPECT_NEAR(meanPeriod(codes), 200, 2);
  const auto [low, high] = std::minmax_element(codes.begin(), codes.end());
  EXPECT_NEAR(*high - 2048, 819, 25);
  EXPECT_NEAR(2048 - *low, 819, 25);
  EXPECT_EQ(qvx.stop(), 0);
}

// The README's shell example, run as written from a checkout whose build folder is build/.
TEST(Headless, TheReadmeExampleWorksAsWritten) {
  std::ifstream readme(std::string(QVX_SOURCE_DIR) + "/README.md");
  const std::string text{std::istreambuf_iterator<char>(readme), {}};
  const std::size_t section = text.find("## Driving it from another program");
  ASSERT_NE(section, std::string::npos);
  const std::size_t start = text.find("```sh\n", section);
  ASSERT_NE(start, std::string::npos);
  const std::size_t end = text.find("```", start + 6);
  const std::string script = text.substr(start + 6, end - start - 6);

  testing::TempFolder checkout;
  fs::create_directory_symlink(fs::path(QVXSCOPE_PATH).parent_path(), "build");
  std::ofstream("example.sh") << script;
  FILE* out = ::popen("timeout 60 bash -e example.sh 2>&1", "r");
  ASSERT_NE(out, nullptr);
  std::string printed;
  char buf[256];
  while (std::fgets(buf, sizeof buf, out)) printed += buf;
  EXPECT_EQ(::pclose(out), 0) << printed;

  int points = 0, low = 0, high = 0;
  ASSERT_EQ(std::sscanf(printed.c_str(), "%d %d %d", &points, &low, &high), 3) << printed;
  EXPECT_EQ(points, 2048);
  EXPECT_NEAR(high - 2048, 819, 25);
  EXPECT_NEAR(2048 - low, 819, 25);
}

}  // namespace
}  // namespace qvx
