#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "control/data_files.h"
#include "rig.h"

namespace qvx {
namespace {

using testing::Rig;
using testing::TempFolder;

std::string slurp(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct DataFiles : ::testing::Test {
  TempFolder folder;
  Rig rig;
  Scope& s = rig.scope;
  void SetUp() override {
    s.SampleSizeIndex = 0;  // 2K points in SCOPE mode
    s.ScrollUnit = 1024;
    s.BufA[0] = 0xABC;
    s.BufA[2047] = 0x123;
    s.BufA[2048] = 0xFFF;  // beyond the capture: not written
    s.BufB[1] = 4095;
    s.BufC[0] = 2560;
    s.BufC[1] = 2048;
    s.BufD[5] = 2049;
  }
};

TEST_F(DataFiles, LayoutOfEachFileAndOnlyTheFlaggedOnes) {
  s.WriteDataA = 1;
  s.WriteDataC = 1;
  s.WriteDataD = 1;
  ASSERT_TRUE(writeDataFiles(s));
  EXPECT_EQ(s.DataFilesReady, 1);
  EXPECT_EQ(s.RemoteFilePath, "QVXddata.dat");

  std::string a = slurp("QVXAdata.dat");
  ASSERT_EQ(a.size(), 4096u);
  EXPECT_EQ(static_cast<unsigned char>(a[0]), 0x0A);
  EXPECT_EQ(static_cast<unsigned char>(a[1]), 0xBC);
  EXPECT_EQ(static_cast<unsigned char>(a[2]), 0x08);  // untouched points hold 2048
  EXPECT_EQ(static_cast<unsigned char>(a[3]), 0x00);
  EXPECT_EQ(static_cast<unsigned char>(a[4094]), 0x01);
  EXPECT_EQ(static_cast<unsigned char>(a[4095]), 0x23);

  std::string c = slurp("QVXcdata.dat");
  ASSERT_EQ(c.size(), 2048u);
  EXPECT_EQ(c[0], 1);
  EXPECT_EQ(c[1], 0);
  EXPECT_EQ(slurp("QVXddata.dat")[5], 1);  // just above the middle counts as high
  EXPECT_FALSE(std::filesystem::exists("QVXBdata.dat"));
}

TEST_F(DataFiles, FftModeWritesHalfAsManyPointsAndPrefixNamesTheFiles) {
  s.ScrollUnit = 512;
  s.RemotePrefix = "RUN";
  s.WriteDataB = 1;
  ASSERT_TRUE(writeDataFiles(s));
  std::string b = slurp("RUNBdata.dat");
  ASSERT_EQ(b.size(), 2048u);  // 1024 spectral points, two bytes each
  EXPECT_EQ(static_cast<unsigned char>(b[2]), 0x0F);
  EXPECT_EQ(static_cast<unsigned char>(b[3]), 0xFF);
}

TEST_F(DataFiles, AnExistingFileIsReplacedWholeAndNoTemporaryIsLeft) {
  { std::ofstream("QVXAdata.dat") << std::string(100000, 'x'); }
  s.WriteDataA = 1;
  ASSERT_TRUE(writeDataFiles(s));
  EXPECT_EQ(slurp("QVXAdata.dat").size(), 4096u);
  for (const auto& e : std::filesystem::directory_iterator("."))
    EXPECT_EQ(e.path().filename().string().find(".part"), std::string::npos);
}

TEST_F(DataFiles, AWriteErrorAbandonsTheRemainingFilesOfTheRun) {
  s.WriteDataA = 1;
  s.WriteDataB = 1;
  s.WriteDataC = 1;
  // A folder standing where the B file must go: it cannot be replaced by a file.
  std::filesystem::create_directory("QVXBdata.dat");
  std::filesystem::create_directory("QVXBdata.dat/inside");
  EXPECT_FALSE(writeDataFiles(s));
  EXPECT_TRUE(std::filesystem::exists("QVXAdata.dat"));
  EXPECT_FALSE(std::filesystem::exists("QVXcdata.dat"));
  EXPECT_TRUE(std::filesystem::is_directory("QVXBdata.dat"));
  EXPECT_FALSE(std::filesystem::exists("QVXBdata.dat.part"));
}

}  // namespace
}  // namespace qvx
