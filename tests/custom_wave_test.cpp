#include "files/custom_wave.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "fuzz_entries.h"

namespace qvx {
namespace {

using fuzzing::LoaderRig;

void loadFile(Scope& s, const std::string& bytes, void (*loader)(Scope&)) {
  std::ofstream("wave.in", std::ios::binary | std::ios::trunc) << bytes;
  s.FilePath = "wave.in";
  s.LoadResult = 0;
  loader(s);
}

TEST(CustomWave, ARawFileOfSevenBytesGivesThreePointsAndTenInTheWave) {
  LoaderRig r;
  Scope& s = r.fresh();
  s.GenStyle = 2;
  loadFile(s, std::string("\x0F\xFF\x18\x00\xF0\x01\x07", 7), customload);
  EXPECT_EQ(s.LoadResult, 1);
  EXPECT_EQ(s.GenTable[0], 4095);
  EXPECT_EQ(s.GenTable[1], 0x800) << "only the low four bits of the high byte count";
  EXPECT_EQ(s.GenTable[2], 1);
  for (int i = 3; i <= 9; ++i) EXPECT_EQ(s.GenTable[i], 0) << i;
  EXPECT_EQ(s.GenTable[65535], 0);
  EXPECT_EQ(s.GenLastIndex, 9);
  EXPECT_EQ(s.GenMode, 2);
  EXPECT_EQ(s.GenStyle, 4);
  EXPECT_EQ(s.SavedGenStyle, 2);
  EXPECT_EQ(s.GenDirty, 0);
  EXPECT_EQ(s.panel.GENUPDATEBACK.backColour, 0x80FF80u);

  // A second custom load must not make "custom" the style NORMAL mode returns to.
  loadFile(s, std::string("\x01\x02\x03\x04", 4), customload);
  EXPECT_EQ(s.SavedGenStyle, 2);
}

TEST(CustomWave, ARawFileStopsAt65535Points) {
  LoaderRig r;
  Scope& s = r.fresh();
  std::string big(200000, '\0');
  for (std::size_t i = 0; i < big.size(); i += 2) big[i + 1] = static_cast<char>(i / 2 % 256);
  loadFile(s, big, customload);
  EXPECT_EQ(s.GenLastIndex, 65534);
  EXPECT_EQ(s.GenTable[65534], 65534 % 256);
  EXPECT_EQ(s.GenTable[65535], 2048) << "the last entry is beyond every custom wave";
}

TEST(CustomWave, CsvValuesAreLimitedAndRounded) {
  LoaderRig r;
  Scope& s = r.fresh();
  loadFile(s, "5000\r\n-3\r\n12.6\r\n", Customcsvload);
  EXPECT_EQ(s.LoadResult, 1);
  EXPECT_EQ(s.GenTable[0], 4095);
  EXPECT_EQ(s.GenTable[1], 0);
  EXPECT_EQ(s.GenTable[2], 13);
  EXPECT_EQ(s.GenTable[3], 0);
  EXPECT_EQ(s.GenLastIndex, 9);

  // Commas and line ends both separate; an item without a number reads 0; halves go
  // to the even neighbour.
  loadFile(s, "1, 2.5,3.5\n\nabc,100x,1e3\n", Customcsvload);
  const int expected[] = {1, 2, 4, 0, 100, 1000};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(s.GenTable[i], expected[i]) << i;
}

TEST(CustomWave, SavedWaveLoadsBackAsItWas) {
  LoaderRig r;
  Scope& s = r.fresh();
  s.GenLastIndex = 4999;
  for (int i = 0; i < 65536; ++i) s.GenTable[i] = static_cast<std::int16_t>(i * 37 % 4096);
  const SampleBuffer table = s.GenTable;
  s.FilePath = "wave.dcg";
  customsave(s);
  ASSERT_EQ(s.DataFilesReady, 1);
  std::ifstream in("wave.dcg", std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  ASSERT_EQ(bytes.size(), 10000u);
  EXPECT_EQ(bytes.substr(2, 2), std::string("\x00\x25", 2)) << "high byte first";

  Scope& t = r.fresh();
  t.FilePath = "wave.dcg";
  customload(t);
  EXPECT_EQ(t.GenLastIndex, 4999);
  EXPECT_TRUE(std::equal(table.begin(), table.begin() + 5000, t.GenTable.begin()));
  EXPECT_EQ(t.GenTable[5000], 0);
}

TEST(CustomWave, CopyingAChannelTakesTheGeneratorBufferSize) {
  LoaderRig r;
  Scope& s = r.fresh();
  s.GenSizeIndex = 1;
  for (int i = 0; i < 65536; ++i) s.BufD[i] = i % 2 ? 2560 : 2048;
  copyChannelToCustom(s, 3);
  EXPECT_EQ(s.GenLastIndex, 4095);
  EXPECT_TRUE(std::equal(s.BufD.begin(), s.BufD.begin() + 4096, s.GenTable.begin()));
}

}  // namespace
}  // namespace qvx
