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

// A profile cut short restores every group it holds whole, and nothing of a group it
// holds only in part, whatever follows its last value: a comma, a line end of any kind,
// both, or nothing. The cuts sit on either side of each group's end.
TEST_F(Profile, ACutProfileRestoresItsCompleteGroupsWhateverEndsItsLastValue) {
  changeEverything(s);
  s.FCntManualState = 2;
  const auto parts = items(profileText(s));
  for (std::size_t cut : {69u, 70u, 71u, 77u, 78u, 79u, 92u, 93u, 94u}) {
    for (const char* end : {",", "", ",\r\n", "\r\n", "\r", ",\r", "\n", ", "}) {
      SCOPED_TRACE("cut after value " + std::to_string(cut) + " ending '" + end + "'");
      std::string text = parts[0];
      for (std::size_t i = 1; i <= cut; ++i) text += "," + parts[i];
      text += end;
      Scope& t = r.fresh();
      const std::size_t whole = cut >= 94 ? 94 : cut >= 78 ? 78 : cut >= 70 ? 70 : 0;
      ASSERT_EQ(load(t, text), whole > 0);
      if (whole == 0) {
        EXPECT_EQ(messages.back().text, "Not a valid QVX profile file");
        EXPECT_EQ(t.TrigMode, 0);
        continue;
      }
      EXPECT_TRUE(messages.empty());
      // The last value of each group tells whether that group came back.
      EXPECT_EQ(t.RunFlag, 0);
      EXPECT_EQ(t.TrigMode, 2);
      EXPECT_EQ((std::array{t.MagIndexA, t.RepeatMode}),
                (whole >= 78 ? std::array{3, 1} : std::array{0, 0}));
      EXPECT_EQ((std::array{t.ChanCOn, t.FCntValue, t.FCntManualState}),
                (whole >= 94 ? std::array{0, 12345678, 2} : std::array{1, 0, 0}));
    }
  }
}

// Numbers that a %g-style form writes with an exponent or with lost digits come back
// exactly as they were.
TEST_F(Profile, NumbersReadBackExactlyWhateverTheirSize) {
  std::tie(s.FCntValue, s.GenSweepStartFreq, s.GenSweepRatioShown, s.CursorX, s.CursorXDrawn,
           s.TrigCursorY, s.GenFreq, s.FCntSpare) =
      std::tuple(1073741823, 9999999.0f, 1234567, 0.0000125, 65534.5, 0.00004, 123456.789, -32768);
  const std::string saved = profileText(s);
  for (const char* text : {" 1073741823,", " 9999999,", " 1234567,", " 0.0000125,", " 65534.5,",
                           " 0.00004,", " 123456.789,", "-32768,"})
    EXPECT_NE(saved.find(text), std::string::npos) << text << " in " << saved;
  EXPECT_EQ(saved.find_first_of("eE"), std::string::npos) << saved;
  Scope& t = r.fresh();
  ASSERT_TRUE(load(t, saved));
  EXPECT_EQ(
      std::tuple(t.FCntValue, t.GenSweepStartFreq, t.GenSweepRatioShown, t.CursorX, t.CursorXDrawn,
                 t.TrigCursorY, t.GenFreq, t.FCntSpare),
      std::tuple(1073741823, 9999999.0f, 1234567, 0.0000125, 65534.5, 0.00004, 123456.789, -32768));
  EXPECT_EQ(profileText(t), saved);
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
