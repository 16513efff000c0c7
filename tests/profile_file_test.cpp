#include "files/profile_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "fuzz_entries.h"

namespace qvx {
namespace {

using fuzzing::LoaderRig;

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
  std::ofstream("p.dpf", std::ios::binary | std::ios::trunc) << text;
  s.FilePath = "p.dpf";
  s.LoadResult = 0;
  profileload(s);
  return s.LoadResult == 1;
}

void changeEverything(Scope& s) {
  s.DataRangeA = 2;
  s.TrigMode = 2;
  s.TrigSource = 3;
  s.TrigSlope = -1;
  s.SampleRateIndex = 0;
  s.SampleSizeIndex = 4;
  s.OperatingMode = 4;
  s.GenMode = 1;
  s.GenFreq = 123456;
  s.GenAmpIndex = 2;
  s.CursorX = 123.25;
  s.TrigCursorY = 1792.5;
  s.MagIndexA = 3;
  s.PosStepA = -7;
  s.ChanAOn = 0;
  s.RepeatMode = 1;
  s.ChanCOn = 0;
  s.SelD = 1;
  s.FCntSource = 2;
  s.FCntValue = 12345678;
  s.FCntSpare = -5;
}

TEST(Profile, SavedProfileRestoresEverySetting) {
  LoaderRig r;
  Scope& s = r.fresh();
  changeEverything(s);
  const std::string saved = profileText(s);
  s.FilePath = "all.dpf";
  profilesave(s);
  ASSERT_EQ(s.DataFilesReady, 1);
  const auto parts = items(saved);
  ASSERT_EQ(parts.size(), 95u);
  EXPECT_EQ(parts[0], "DPF");
  EXPECT_EQ(parts[54], " 4") << "OperatingMode is the 54th value";
  EXPECT_EQ(parts[92], " 12345678");
  EXPECT_EQ(saved.back(), ',');

  Scope& t = r.fresh();
  std::ifstream in("all.dpf", std::ios::binary);
  ASSERT_TRUE(load(t, {std::istreambuf_iterator<char>(in), {}}));
  EXPECT_EQ(profileText(t), saved);
  EXPECT_EQ(t.OperatingMode, 4);
  EXPECT_EQ(t.FCntSpare, -5);
  EXPECT_TRUE(r.rig.host.messages.empty());
}

TEST(Profile, AProfileCutAfterTheGeneratorBlockRestoresOnlyThatBlock) {
  LoaderRig r;
  Scope& s = r.fresh();
  changeEverything(s);
  const auto parts = items(profileText(s));

  Scope& t = r.fresh();
  ASSERT_TRUE(load(t, join(parts, 71)));  // "DPF" and values 1..70
  EXPECT_EQ(t.TrigMode, 2);
  EXPECT_EQ(t.SampleSizeIndex, 4);
  EXPECT_EQ(t.GenFreq, 123456);
  EXPECT_EQ(t.MagIndexA, 0) << "second group untouched";
  EXPECT_EQ(t.ChanAOn, 1);
  EXPECT_EQ(t.ChanCOn, 1) << "third group untouched";
  EXPECT_EQ(t.FCntSource, 0);

  // A file that ends inside the second group restores the first only.
  Scope& u = r.fresh();
  ASSERT_TRUE(load(u, join(parts, 75)));
  EXPECT_EQ(u.GenFreq, 123456);
  EXPECT_EQ(u.MagIndexA, 0);

  Scope& v = r.fresh();
  ASSERT_TRUE(load(v, join(parts, 79)));
  EXPECT_EQ(v.MagIndexA, 3);
  EXPECT_EQ(v.ChanAOn, 0);
  EXPECT_EQ(v.ChanCOn, 1);
}

TEST(Profile, OutOfRangeValuesRefuseTheWholeFile) {
  LoaderRig r;
  const auto good = items(profileText(r.fresh()));
  struct Case {
    std::size_t index;
    const char* value;
  } cases[] = {{54, " 9"}, {53, " 12"}, {52, "-1"},    {16, " 0"},   {26, " 3"},
               {60, " 4"}, {68, " 3"},  {15, " 4095"}, {71, " 4"},   {88, " 4"},
               {36, " 8"}, {1, "x"},    {1, ""},       {1, "1e999"}, {60, " 1e7"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.index) + " = '" + c.value + "'");
    auto parts = good;
    parts[c.index] = c.value;
    Scope& s = r.fresh();
    s.TrigMode = 1;
    const std::string before = profileText(s);
    s.ReqLoadProfile = 1;
    EXPECT_FALSE(load(s, join(parts, parts.size())));
    EXPECT_EQ(profileText(s), before);
    ASSERT_FALSE(r.rig.host.messages.empty());
    EXPECT_EQ(r.rig.host.messages.back().text, "Not a valid QVX profile file");
    EXPECT_EQ(s.ReqLoadProfile, 0);
  }
  for (const std::string& bad :
       {std::string("DPF, 1, 2"), std::string("DPX,") + join(good, 95).substr(4),
        std::string(" 1,") + join(good, 95).substr(4)}) {
    Scope& s = r.fresh();
    EXPECT_FALSE(load(s, bad)) << bad.substr(0, 12);
  }
}

}  // namespace
}  // namespace qvx
