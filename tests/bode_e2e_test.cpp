#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>

#include "child_process.h"
#include "started.h"

namespace qvx {
namespace {

std::string fileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Another program asks for one measurement and gets the CSV and status 0; each pass holds
// the output for the one-second pre-delay first, so two points keep this short.
TEST(BodeHeadless, WritesTheCsvOfOneMeasurementAndEnds) {
  testing::TempFolder folder;
  std::ofstream("QVXport.cfg", std::ios::binary) << " 1 \r\n";
  std::filesystem::create_directory(folder.path() / "out");
  testing::ChildProcess program(
      QVXSCOPE_PATH,
      {"--headless", "--sim-a=gen-rc:1600:1e-7", "--bode=1000:10000:1", "--bode-csv=out/r.csv"},
      folder.path());
  ASSERT_EQ(program.waitExit(60), 0) << program.stderrText();
  std::istringstream csv(fileText(folder.path() / "out/r.csv"));
  std::string line;
  std::getline(csv, line);
  EXPECT_EQ(line, "frequency Hz,A gain dB,A phase deg,B gain dB,B phase deg\r");
  double f[2] = {}, db[2] = {}, deg[2] = {};
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(std::getline(csv, line));
    char comma;
    std::istringstream(line) >> f[i] >> comma >> db[i] >> comma >> deg[i];
    const double x = f[i] * 2 * std::numbers::pi * 1.6e-4;
    EXPECT_NEAR(db[i], -10 * std::log10(1 + x * x), 0.2) << line;
    EXPECT_NEAR(deg[i], -std::atan(x) * 180 / std::numbers::pi, 2) << line;
  }
  EXPECT_NEAR(f[0], 1000, 1);
  EXPECT_NEAR(f[1], 10000, 1);
  EXPECT_FALSE(std::getline(csv, line));
  EXPECT_NE(program.stderrText().find("2 frequency points"), std::string::npos);
}

TEST(BodeHeadless, BadArgumentsNameTheFieldAndExitWithStatus2) {
  testing::TempFolder folder;
  for (auto [args, named] :
       {std::pair<std::vector<std::string>, std::string>{
            {"--headless", "--bode=1000:50:10", "--bode-csv=r.csv"}, "STOP"},
        {{"--headless", "--bode=1000:5000:ten", "--bode-csv=r.csv"}, "POINTS_PER_DECADE"},
        {{"--headless", "--bode=1000:5000:10"}, "--bode-csv"},
        {{"--bode=1000:5000:10", "--bode-csv=r.csv"}, "--headless"},
        {{"--headless", "--bode-csv=r.csv"}, "--bode="}}) {
    SCOPED_TRACE(named);
    testing::ChildProcess program(QVXSCOPE_PATH, args, folder.path());
    EXPECT_EQ(program.waitExit(20), 2);
    EXPECT_NE(program.stderrText().find(named), std::string::npos) << program.stderrText();
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "r.csv"));
  }
}

}  // namespace
}  // namespace qvx
