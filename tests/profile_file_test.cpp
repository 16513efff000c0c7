#include "files/profile_file.h"

#include "loader_test.h"

namespace qvx {
namespace {

using Profile = LoaderTest;

// The items of a profile text, "DPF" first.
std::vector<std::string> items(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (std::size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
    out.push_back(text.substr(start, comma - start));
  return out;
}

std::string join(const std::vector<std::string>& parts, std::size_t count) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) out += parts[i] + ",";
  return out;
}

bool load(Scope& s, const std::string& text) {
  return fuzzing::loadFile(s, profileload, "p.dpf", text);
}

// Settings away from their start-up values in all three groups of the file.
void changeEverything(Scope& s) {
  std::tie(s.DataRangeA, s.TrigMode, s.TrigSource, s.TrigSlope, s.SampleRateIndex,
           s.SampleSizeIndex, s.OperatingMode, s.GenMode, s.GenAmpIndex, s.MagIndexA, s.ChanAOn,
           s.RepeatMode, s.ChanCOn, s.SelD, s.FCntSource, s.FCntValue, s.FCntSpare) =
      std::tuple(2, 2, 3, -1, 0, 4, 4, 1, 2, 3, 0, 1, 0, 1, 2, 12345678, -5);
  std::tie(s.GenFreq, s.CursorX, s.TrigCursorY, s.PosStepA) =
      std::tuple(123456.0, 123.25, 1792.5, -7.0);
}

TEST_F(Profile, SavedProfileRestoresEverySettingAndAShorterOneItsWholeGroups) {
  changeEverything(s);
  s.FilePath = "all.dpf";
  profilesave(s);
  ASSERT_EQ(s.DataFilesReady, 1);
  const std::string saved = fuzzing::readBytes("all.dpf");
  EXPECT_EQ(saved, profileText(s));
  const auto parts = items(saved);
  ASSERT_EQ(parts.size(), 95u);
  EXPECT_EQ(parts[0], "DPF");
  EXPECT_EQ(parts[54], " 4") << "OperatingMode is the 54th value";
  EXPECT_EQ(parts[92], " 12345678");
  EXPECT_EQ(saved.back(), ',');

  r.fresh();
  ASSERT_TRUE(load(s, saved));
  EXPECT_EQ(profileText(s), saved);
  EXPECT_TRUE(messages.empty());

  // A file may end after any of its three groups: the groups it holds are restored.
  // 71 items are "DPF" and values 1..70: cut after the generator block; 75 ends inside
  // the second group.
  for (auto [count, second] : {std::pair{71u, false}, {75u, false}, {79u, true}}) {
    Scope& t = r.fresh();
    ASSERT_TRUE(load(t, join(parts, count))) << count;
    EXPECT_EQ(t.TrigMode, 2) << count;
    EXPECT_EQ(t.SampleSizeIndex, 4) << count;
    EXPECT_EQ(t.GenFreq, 123456) << count;
    EXPECT_EQ((std::array{t.MagIndexA, t.ChanAOn, t.ChanCOn, t.FCntSource}),
              (second ? std::array{3, 0, 1, 0} : std::array{0, 1, 1, 0}))
        << count;
  }
}

TEST_F(Profile, OutOfRangeValuesRefuseTheWholeFile) {
  const auto good = items(profileText(r.fresh()));
  const std::pair<std::size_t, const char*> cases[] = {
      {54, " 9"}, {53, " 12"}, {52, "-1"},    {16, " 0"},   {26, " 3"},
      {60, " 4"}, {68, " 3"},  {15, " 4095"}, {71, " 4"},   {88, " 4"},
      {36, " 8"}, {1, "x"},    {1, ""},       {1, "1e999"}, {60, " 1e7"}};
  for (auto [index, value] : cases) {
    SCOPED_TRACE(std::to_string(index) + " = '" + value + "'");
    auto parts = good;
    parts[index] = value;
    r.fresh();
    s.TrigMode = 1;
    const std::string before = profileText(s);
    s.ReqLoadProfile = 1;
    EXPECT_FALSE(load(s, join(parts, parts.size())));
    EXPECT_EQ(profileText(s), before);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().text, "Not a valid QVX profile file");
    EXPECT_EQ(s.ReqLoadProfile, 0);
  }
  for (const std::string& bad :
       {std::string("DPF, 1, 2"), std::string("DPX,") + join(good, 95).substr(4),
        std::string(" 1,") + join(good, 95).substr(4)}) {
    r.fresh();
    EXPECT_FALSE(load(s, bad)) << bad.substr(0, 12);
  }
}

}  // namespace
}  // namespace qvx
