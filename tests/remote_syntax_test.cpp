#include <gtest/gtest.h>

#include "files/file_text.h"
#include "remote/command_syntax.h"
#include "rig.h"

namespace qvx {
namespace {

using Items = std::vector<std::string_view>;

TEST(RemoteItems, CommasAndLineEndsSeparateItemsLeadingBlanksAreSkippedQuotesHoldCommas) {
  EXPECT_EQ(readItems("SCOPEMODE=3,EXECUTE=1\r\n  ARANGE=1 \n\tBRANGE=0\rX=2"),
            (Items{"SCOPEMODE=3", "EXECUTE=1", "ARANGE=1 ", "BRANGE=0", "X=2"}));
  // An empty line and an empty field are items of their own (ignored later).
  EXPECT_EQ(readItems("A=1,,B=2\n\nC=3\n"), (Items{"A=1", "", "B=2", "", "C=3"}));
  // A quoted item keeps its commas and drops what follows the quote.
  EXPECT_EQ(readItems("\"ARANGE=1,2\" tail,BMODE=DC\n\"open"),
            (Items{"ARANGE=1,2", "BMODE=DC", "open"}));
}

// The key and value an item leaves for the keyword table.
std::pair<std::string, std::string> decode(const std::string& item) {
  testing::Rig rig;
  rig.scope.RemoteKey = item;
  Remotereadcom(rig.scope);
  return {rig.scope.RemoteKey, rig.scope.RemoteValue};
}

TEST(RemoteDecode, KeyKeepsItsBlanksValueIsTrimmedBothInUpperCase) {
  const std::pair<std::string, std::pair<std::string, std::string>> cases[] = {
      {"ARANGE=1;range", {"ARANGE", "1"}},
      {"arange = 1", {"ARANGE ", "1"}},  // the blank before "=" stays in the key
      {"ARANGE= 1  ", {"ARANGE", "1"}},
      {"amode=dc ; coupling", {"AMODE", "DC"}},
      {"AB=1", {"AB", "1"}},     // two characters are enough for a key
      {"AB;x=1", {"AB;X", ""}},  // ";" before "=": the value is empty
      {"GENFREQ=1000=2", {"GENFREQ", "1000=2"}},
  };
  for (const auto& [item, expected] : cases) EXPECT_EQ(decode(item), expected) << item;
}

TEST(RemoteDecode, ItemsWithoutATwoLetterKeyOrAValueAreIgnored) {
  for (const char* item : {"X=1", "=1", "ARANGE=", "ARANGE", "", "  "})
    EXPECT_EQ(decode(item).first, "zzz") << item;
}

TEST(RemoteNumbers, TheLeadingNumberOfAValue) {
  const std::pair<const char*, double> cases[] = {
      {"12AB", 12}, {"ABC", 0},    {"", 0},          {"-0.12345", -0.12345},
      {"+7", 7},    {".5", 0.5},   {"5.", 5},        {".", 0},
      {"-", 0},     {"1E3", 1000}, {"2.5E-1", 0.25}, {"1E", 1},
      {"3E+X", 3},  {"  42", 42},  {"INF", 0},       {"0X10", 0}};
  for (const auto& [text, value] : cases) EXPECT_DOUBLE_EQ(leadingNumber(text), value) << text;
}

}  // namespace
}  // namespace qvx
