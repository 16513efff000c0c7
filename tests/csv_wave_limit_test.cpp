// The CSV custom wave read item by item: where the values stop, which the fuzzer's short
// inputs never reach.
#include <gtest/gtest.h>

#include <string>

#include "files/custom_wave.h"

namespace qvx {
namespace {

TEST(CsvWaveLimit, StopsAt65535ValuesWhateverFollows) {
  // Values 0..4094 over and over, one a line, then more than the wave holds.
  std::string text;
  for (int i = 0; i < 70000; ++i) text += std::to_string(i % 4095) + (i % 3 ? "\r\n" : ",");
  const std::vector<std::int16_t> codes = decodeCsvWave(text);
  ASSERT_EQ(codes.size(), 65535u);
  EXPECT_EQ(codes[0], 0);
  EXPECT_EQ(codes[4094], 4094);
  EXPECT_EQ(codes[4095], 0);
  EXPECT_EQ(codes[65534], 65534 % 4095);
  // Exactly 65535 values with a final line end, and one blank line more, give the same.
  std::string exact;
  for (int i = 0; i < 65535; ++i) exact += "7\n";
  EXPECT_EQ(decodeCsvWave(exact + "\r\n").size(), 65535u);
  // Short texts, where the count is bounded by the length: an empty item between commas
  // is a zero, and a last item without a line end still counts.
  EXPECT_EQ(decodeCsvWave(",,5"), (std::vector<std::int16_t>{0, 0, 5}));
  EXPECT_TRUE(decodeCsvWave("").empty());
}

}  // namespace
}  // namespace qvx
