#include "files/custom_wave.h"

#include "loader_test.h"

namespace qvx {
namespace {

using CustomWave = LoaderTest;

std::vector<int> head(const SampleBuffer& b, int n) {
  return {b.begin(), b.begin() + n};
}

TEST_F(CustomWave, ARawFileOfSevenBytesGivesThreePointsAndTenInTheWave) {
  s.GenStyle = 2;
  EXPECT_TRUE(
      fuzzing::loadFile(s, customload, "wave.in", std::string("\x0F\xFF\x18\x00\xF0\x01\x07", 7)));
  // Only the low four bits of a high byte count.
  EXPECT_EQ(head(s.GenTable, 3), (std::vector{4095, 0x800, 1}));
  EXPECT_TRUE(std::all_of(s.GenTable.begin() + 3, s.GenTable.end(), [](int v) { return v == 0; }));
  EXPECT_EQ(s.GenLastIndex, 9);
  EXPECT_EQ((std::array{s.GenMode, s.GenStyle, s.SavedGenStyle, s.GenDirty}),
            (std::array{2, 4, 2, 0}));
  EXPECT_EQ(s.panel.GENUPDATEBACK.backColour, 0x80FF80u);

  // A second custom load must not make "custom" the style NORMAL mode returns to.
  fuzzing::loadFile(s, customload, "wave.in", std::string("\x01\x02\x03\x04", 4));
  EXPECT_EQ(s.SavedGenStyle, 2);
}

TEST_F(CustomWave, ARawFileStopsAt65535Points) {
  std::string big(200000, '\0');
  for (std::size_t i = 0; i < big.size(); i += 2) big[i + 1] = static_cast<char>(i / 2 % 256);
  fuzzing::loadFile(s, customload, "wave.in", big);
  EXPECT_EQ(s.GenLastIndex, 65534);
  EXPECT_EQ(s.GenTable[65534], 65534 % 256);
  EXPECT_EQ(s.GenTable[65535], 2048) << "the last entry is beyond every custom wave";
}

TEST_F(CustomWave, CsvValuesAreLimitedAndRounded) {
  EXPECT_TRUE(fuzzing::loadFile(s, Customcsvload, "wave.in", "5000\r\n-3\r\n12.6\r\n"));
  EXPECT_EQ(s.GenLastIndex, 9);
  EXPECT_EQ(head(s.GenTable, 4), (std::vector{4095, 0, 13, 0}));
  // Commas and line ends both separate; an item without a number reads 0; halves go
  // to the even neighbour.
  fuzzing::loadFile(s, Customcsvload, "wave.in", "1, 2.5,3.5\n\nabc,100x,1e3\n");
  EXPECT_EQ(head(s.GenTable, 6), (std::vector{1, 2, 4, 0, 100, 1000}));
}

// CR, LF and CR LF all end a line; a final comma or line end adds no point.
TEST_F(CustomWave, CsvLinesMayEndInCrLfOrBothAndAFinalCommaAddsNoPoint) {
  for (const char* text : {"100\r200\r300\r400\r", "100\r200\n300\r\n400", "100,200\r300,400,\r"}) {
    EXPECT_TRUE(fuzzing::loadFile(s, Customcsvload, "wave.csv", text)) << text;
    EXPECT_EQ(head(s.GenTable, 5), (std::vector{100, 200, 300, 400, 0})) << text;
  }
  std::string twelve;
  for (int i = 1; i <= 12; ++i) twelve += std::to_string(i * 300) + ",";
  for (const char* end : {"", "\r", "\r\n"}) {
    fuzzing::loadFile(s, Customcsvload, "wave.csv", twelve + end);
    EXPECT_EQ(s.GenLastIndex, 11) << "12 points, ending '" << end << "'";
    EXPECT_EQ(s.GenTable[11], 3600);
  }
}

TEST_F(CustomWave, SavedWaveIsHighByteFirstAndLoadsBackAsItWas) {
  s.GenLastIndex = 4999;
  for (int i = 0; i < 65536; ++i) s.GenTable[i] = static_cast<std::int16_t>(i * 37 % 4096);
  const SampleBuffer table = s.GenTable;
  s.FilePath = "wave.dcg";
  customsave(s);
  ASSERT_EQ(s.DataFilesReady, 1);
  const std::string bytes = fuzzing::readBytes("wave.dcg");
  ASSERT_EQ(bytes.size(), 10000u);
  EXPECT_EQ(bytes.substr(2, 2), std::string("\x00\x25", 2)) << "high byte first";

  Scope& t = r.fresh();
  EXPECT_TRUE(fuzzing::loadFile(t, customload, "wave.dcg", bytes));
  EXPECT_EQ(t.GenLastIndex, 4999);
  EXPECT_TRUE(std::equal(table.begin(), table.begin() + 5000, t.GenTable.begin()));
  EXPECT_EQ(t.GenTable[5000], 0);
}

}  // namespace
}  // namespace qvx
