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

// A saved profile loads back whole; cut profiles are followed group by group below.
TEST_F(Profile, SavedProfileRestoresEverySetting) {
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
}

// The whole text of a saved profile, each field in its place. Every field holds a value
// of its own (its place in the file plus 100, and a quarter where the field holds
// fractions), so two fields swapped in the file, a field dropped or one written with
// the wrong rounding change the text.
TEST_F(Profile, SavedTextHoldsEveryFieldInItsPlace) {
  s.DataRangeA = 101;
  s.DataRangeB = 102;
  s.RangeStepA = 103;
  s.RangeStepB = 104;
  s.DataRateIndex = 105;
  s.DataRateIndexB = 106;
  s.RateIndexA = 107;
  s.RateIndexB = 108;
  s.DataSizeIndex = 109;
  s.DataSizeIndexB = 110;
  s.SizeIndexA = 111;
  s.SizeIndexB = 112;
  s.ViewWidth = 113;
  s.ViewStart = 114;
  s.ScreenHeight = 115;
  s.GridOn = 116;
  s.CouplingA = 117;
  s.CouplingB = 118;
  s.SelA = 119;
  s.SelB = 120;
  s.SelE = 121;
  s.RangeA = 122;
  s.RangeB = 123;
  s.ProbeA = 124;
  s.ProbeB = 125;
  s.TrigMode = 126;
  s.TrigSource = 127;
  s.TrigSlope = 128;
  s.PretrigIndex = 129;
  s.MathMagIndex = 130;
  s.MagMath = 131;
  s.JoinOn = 132;
  s.UnitsOn = 133;
  s.SelAplusB = 134;
  s.SelAminusB = 135;
  s.CursorSel = 136;
  s.CursorX = 137.25;
  s.CursorXDrawn = 138.25;
  s.CursorColour = 139;
  s.CursorColourDrawn = 140;
  s.CursorDrawn = 141;
  s.CursorCoarseStep = 142.25;
  s.CursorFineStep = 143;
  s.TrigMarkOn = 144;
  s.TrigCursorY = 145.25;
  s.TrigMarkY = 146.25;
  s.TrigMarkColourNext = 147;
  s.TrigMarkColour = 148;
  s.TrigMarkDrawn = 149;
  s.TrigStepLarge = 150.25;
  s.TrigStepSmall = 151.25;
  s.SampleRateIndex = 152;
  s.SampleSizeIndex = 153;
  s.OperatingMode = 154;
  s.CaptureDone = 155;
  s.GenMode = 156;
  s.GenStyle = 157;
  s.GenSweepStart = 158;
  s.GenSweepStartFreq = 159.25;
  s.GenFreq = 160.25;
  s.GenRateIndex0 = 161;
  s.GenSweepRatio = 162;
  s.GenSweepShort = 163;
  s.GenSweepRatioShown = 164;
  s.GenRateIndex1 = 165;
  s.GenCustomRate = 166;
  s.SavedGenStyle = 167;
  s.GenAmpIndex = 168;
  s.GenDirty = 169;
  s.RunFlag = 170;
  s.MagIndexA = 171;
  s.MagIndexB = 172;
  s.PosStepA = 173.25;
  s.PosStepB = 174.25;
  s.ChanAOn = 175;
  s.ChanBOn = 176;
  s.TrigDelayMode = 177;
  s.RepeatMode = 178;
  s.ChanCOn = 179;
  s.ChanDOn = 180;
  s.SelC = 181;
  s.SelD = 182;
  s.MagIndexC = 183;
  s.MagIndexD = 184;
  s.PosStepC = 185.25;
  s.PosStepD = 186;
  s.FCntMode = 187;
  s.FCntSource = 188;
  s.FCntStSp = 189;
  s.FCntSpare = 190;
  s.FCntResetReq = 191;
  s.FCntValue = 192;
  s.FCntRepeat = 193;
  s.FCntManualState = 194;
  s.FilePath = "places.dpf";
  profilesave(s);
  ASSERT_EQ(s.DataFilesReady, 1);
  EXPECT_EQ(fuzzing::readBytes("places.dpf"),
            "DPF,"
            " 101, 102, 103, 104, 105, 106, 107, 108, 109, 110,"
            " 111, 112, 113, 114, 115, 116, 117, 118, 119, 120,"
            " 121, 122, 123, 124, 125, 126, 127, 128, 129, 130,"
            " 131, 132, 133, 134, 135, 136, 137.25, 138.25, 139, 140,"
            " 141, 142.25, 143, 144, 145.25, 146.25, 147, 148, 149, 150.25,"
            " 151.25, 152, 153, 154, 155, 156, 157, 158, 159.25, 160.25,"
            " 161, 162, 163, 164, 165, 166, 167, 168, 169, 170,"
            " 171, 172, 173.25, 174.25, 175, 176, 177, 178, 179, 180,"
            " 181, 182, 183, 184, 185.25, 186, 187, 188, 189, 190,"
            " 191, 192, 193, 194,");
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

// The groups field by field, where the test above follows each group by its last value: a
// file of exactly the first two groups brings back all eight fields of the second, the
// repeat mode at its very end included, and none of the third; one value short of a group's
// end, that group is left whole as it was.
TEST_F(Profile, ExactlyTwoGroupsRestoreEveryFieldOfTheSecondAndOneShortOnlyThoseBefore) {
  auto parts = items(profileText(r.fresh()));
  ASSERT_EQ(parts.size(), 95u);
  parts[26] = " 2";  // TrigMode, in the first group
  const std::vector<std::string> second = {" 3", " 2", "-7.5", " 12", " 0", " 0", " 1", " 1"};
  const std::vector<std::string> third = {" 0", " 0", " 1", " 1", " 2", " 1",    "-3.25", " 5",
                                          " 1", " 2", " 1", "-5", " 1", " 4321", " 1",    " 2"};
  std::copy(second.begin(), second.end(), parts.begin() + 71);
  std::copy(third.begin(), third.end(), parts.begin() + 79);

  const auto secondGroup = [](const Scope& t) {
    return std::tuple(t.MagIndexA, t.MagIndexB, t.PosStepA, t.PosStepB, t.ChanAOn, t.ChanBOn,
                      t.TrigDelayMode, t.RepeatMode);
  };
  const auto thirdGroup = [](const Scope& t) {
    return std::tuple(t.ChanCOn, t.ChanDOn, t.SelC, t.SelD, t.MagIndexC, t.MagIndexD, t.PosStepC,
                      t.PosStepD, t.FCntMode, t.FCntSource, t.FCntStSp, t.FCntSpare, t.FCntResetReq,
                      t.FCntValue, t.FCntRepeat, t.FCntManualState);
  };
  const auto restoredSecond = std::tuple(3, 2, -7.5, 12.0, 0, 0, 1, 1);
  const auto restoredThird = std::tuple(0, 0, 1, 1, 2, 1, -3.25, 5, 1, 2, 1, -5, 1, 4321, 1, 2);
  // Start values, each unlike the value the file holds for it.
  const auto untouchedSecond = std::tuple(0, 0, 0.0, 0.0, 1, 1, 0, 0);
  const auto untouchedThird = std::tuple(1, 1, -1, -1, 0, 0, 0.0, 0, 0, 0, 3, 0, 0, 0, 0, 0);
  ASSERT_EQ(secondGroup(r.fresh()), untouchedSecond);
  ASSERT_EQ(thirdGroup(r.fresh()), untouchedThird);

  for (const char* end : {"", ","}) {
    SCOPED_TRACE(std::string("ending '") + end + "'");
    for (std::size_t cut : {77u, 78u, 93u, 94u}) {
      SCOPED_TRACE("cut after value " + std::to_string(cut));
      std::string text = parts[0];
      for (std::size_t i = 1; i <= cut; ++i) text += "," + parts[i];
      Scope& t = r.fresh();
      ASSERT_TRUE(load(t, text + end));
      EXPECT_EQ(t.TrigMode, 2);
      EXPECT_EQ(secondGroup(t), cut >= 78 ? restoredSecond : untouchedSecond);
      EXPECT_EQ(thirdGroup(t), cut >= 94 ? restoredThird : untouchedThird);
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
