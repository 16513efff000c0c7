// The text rules every settings file shares: where items end and how numbers are written.
#include "files/file_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qvx {
namespace {

std::vector<std::string> items(std::string_view text, std::size_t most = 100) {
  std::vector<std::string> out;
  for (std::string_view item : listItems(text, most)) out.emplace_back(item);
  return out;
}

using Items = std::vector<std::string>;

TEST(TextItems, CrLfAndCrLfAllEndLinesAndAFinalCommaOpensNoItem) {
  // The same four values with each kind of line end, and with commas.
  for (const char* text : {"1\r2\r3\r4\r", "1\n2\n3\n4\n", "1\r\n2\r\n3\r\n4\r\n", "1,2,3,4",
                           "1\r2\n3\r\n4", "1,2\r3,4\r\n"})
    EXPECT_EQ(items(text), (Items{"1", "2", "3", "4"})) << text;
  // Blank lines in between or at the end add nothing, whatever line ends they use.
  EXPECT_EQ(items("1\r\r2\n\n\r\n3\r\n\r\n"), (Items{"1", "2", "3"}));
  // An empty item between commas is an item; the one after a final comma is not, even
  // when line ends or blanks follow it.
  EXPECT_EQ(items("1,,3,"), (Items{"1", "", "3"}));
  for (const char* end : {",", ",\r", ",\n", ",\r\n", ", ", ",\r\n\r\n"})
    EXPECT_EQ(items(std::string("7,8") + end), (Items{"7", "8"})) << end;
  EXPECT_EQ(items("7,8,\r9"), (Items{"7", "8", "", "9"}));
  EXPECT_TRUE(items("").empty());
  EXPECT_TRUE(items("\r\n\r").empty());
  EXPECT_EQ(items("1\r2\r3\r4\r", 2), (Items{"1", "2"}));
}

TEST(TextNumbers, ReadBackExactlyWithoutExponentsOrLostDigits) {
  // Values that a %g-style form would write with an exponent, or cut to fewer digits.
  const std::pair<double, const char*> cases[] = {
      {12345678, " 12345678"},
      {1073741823, " 1073741823"},
      {2e7, " 20000000"},
      {123456789012345, " 123456789012345"},
      {0.0000125, " 0.0000125"},
      {-0.00004, "-0.00004"},
      {0.9, " 0.9"},
      {1.07, " 1.07"},
      {-40, "-40"},
      {0, " 0"},
      {-0.0, " 0"},
      {static_cast<double>(9999999.0f), " 9999999"},
  };
  for (auto [value, text] : cases) {
    EXPECT_EQ(fileNumber(value), text) << value;
    EXPECT_EQ(wholeNumber(text), value) << text;
  }
  // Single floats come back bit for bit, the way the profile holds them.
  EXPECT_EQ(fileNumber(0.1f), " 0.100000001490116");
  for (float f : {0.1f, 1.0f / 3, 123456.79f, 1e-6f, 16777215.0f})
    EXPECT_EQ(static_cast<float>(*wholeNumber(fileNumber(f))), f) << f;
  // Doubles keep 15 significant digits, as the files always held them.
  double gain = 1;
  for (int press = 0; press < 10; ++press) gain -= 0.01;
  EXPECT_EQ(fileNumber(gain), " 0.9");
  EXPECT_EQ(fileNumber(2048 - 0.123f * 2040.0), " 1797.07999306917");
}

}  // namespace
}  // namespace qvx
