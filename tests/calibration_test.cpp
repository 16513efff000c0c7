#include "files/calibration.h"

#include <cmath>
#include <filesystem>

#include "control/startup.h"
#include "loader_test.h"

namespace qvx {
namespace {

using AdjustmentPanel = LoaderTest;
using CalibrationFile = LoaderTest;

using Values = std::array<double, 4>;

Values calibration(const Scope& s) {
  return {s.CalGainA, s.CalGainB, s.CalOffsetA, s.CalOffsetB};
}

TEST_F(CalibrationFile, ValuesOutsideWhatTheFileMayHoldAreRepairedOneByOne) {
  for (const auto& [text, expected] :
       {std::pair<std::string, Values>{" 1.2\r\n 0.95\r\n 10\r\n-40\r\n", {1, 0.95, 10, 0}},
        {"0.89,1.1,30,-30", {1, 1.1, 30, -30}},
        {" 1.05 \n 0.9\n-31\n 31\n", {1.05, 0.9, 0, 0}},
        {"1.01\r\n1.02\r\n2.5\r\n-3.5\r\n", {1.01, 1.02, 2, -4}},  // whole codes, halves to even
        {" 1.05\r\n 0.95\r\n 10\r\n", {1, 1, 0, 0}},               // short: defaults
        {"abc\r\n1\r\n1\r\n1\r\n", {1, 1, 0, 0}},
        {"", {1, 1, 0, 0}}}) {
    fuzzing::writeBytes(kCalibrationFile, text);
    s.CalGainA = 0.5;
    CheckCal(s);
    EXPECT_EQ(calibration(s), expected) << text;
  }
  std::filesystem::remove(kCalibrationFile);
  s.CalGainA = 0.5;
  CheckCal(s);
  EXPECT_EQ(calibration(s), (Values{1, 1, 0, 0})) << "no file";
  EXPECT_TRUE(messages.empty()) << "a bad calibration file is not reported";
}

// A lone CR ends a line as LF and CR LF do: a file with CR line ends, as an old editor
// writes it, gives its values instead of the defaults. What the panel writes reads back
// as it was.
TEST_F(CalibrationFile, EveryKindOfLineEndSeparatesTheValuesAndSavedValuesReadBack) {
  for (const char* text :
       {" 0.95\r 1.05\r 10\r-5\r", " 0.95\r 1.05\r 10\r-5", "0.95\n1.05\r\n10\r-5\n"}) {
    fuzzing::writeBytes(kCalibrationFile, text);
    CheckCal(s);
    EXPECT_EQ(calibration(s), (Values{0.95, 1.05, 10, -5})) << text;
  }
  std::tie(s.CalGainA, s.CalGainB, s.CalOffsetA, s.CalOffsetB) =
      std::tuple(0.912345678901234, 1.0999999, 30.0, -29.0);
  SaveCal(s);
  EXPECT_EQ(fuzzing::readBytes(kCalibrationFile),
            " 0.912345678901234\r\n 1.0999999\r\n 30\r\n-29\r\n");
  s.CalGainA = s.CalGainB = 0.5;
  CheckCal(s);
  EXPECT_EQ(calibration(s), (Values{0.912345678901234, 1.0999999, 30, -29}));
}

// Ten presses reach a gain's limit; an offset may go beyond what the file may hold, but
// only for this session.
TEST_F(AdjustmentPanel, GainsStopAtTheirLimitsAndOffsetsBeyondThirtyLastOneSession) {
  p.UtilButton.click();
  for (int i = 0; i < 10; ++i) p.CAGainUp.click();
  EXPECT_EQ(p.CAGainVal.texts(), "1.10     ");
  const auto clears = p.CAGainVal.clears;
  p.CAGainUp.click();
  EXPECT_EQ(p.CAGainVal.clears, clears) << "a press at the limit does not redraw";
  for (int i = 0; i < 11; ++i) p.CBGainDn.click();
  EXPECT_EQ(p.CBGainVal.texts(), "0.90     ");

  for (int i = 0; i < 45; ++i) p.CAOffUp.click();
  for (int i = 0; i < 60; ++i) p.CBOffDn.click();
  EXPECT_EQ(p.CAOffVal.texts(), " 45");
  p.UtilExit.click();
  EXPECT_EQ(s.CalOffsetA, 45) << "kept for this session";
  EXPECT_EQ(s.CalOffsetB, -50);
  EXPECT_EQ(fuzzing::readBytes(kCalibrationFile), " 1.1\r\n 0.9\r\n 45\r\n-50\r\n")
      << "the gains stopped at their limits";

  CheckCal(s);
  EXPECT_EQ(calibration(s), (Values{1.1, 0.9, 0, 0})) << "as at the next start";
}

TEST_F(AdjustmentPanel, DelayCursorReferenceAndRemotePrefix) {
  p.UtilButton.click();
  EXPECT_FALSE(p.Timer2.enabled()) << "no remote command while the panel is open";
  EXPECT_EQ(p.DACADCdelaywin.texts(), "1 sec");
  EXPECT_EQ(p.Cursxwindow.texts(), "relative to display");
  EXPECT_EQ(p.CAGainVal.texts(), "1.00     ");
  EXPECT_EQ(p.RemoteName.text, "QVX");

  p.DACADCdeldn.click();
  EXPECT_EQ(s.StepPreDelay, 1);
  for (int i = 0; i < 12; ++i) p.DACADCdelup.click();
  EXPECT_EQ(s.StepPreDelay, 10);
  EXPECT_EQ(p.DACADCdelaywin.texts(), "10 sec");
  p.Cursxwinsel.click();
  EXPECT_EQ(s.CursorAbsolute, 1);
  EXPECT_EQ(p.Cursxwindow.texts(), "relative to 1st data pt");

  // Text being typed survives the presses of other buttons and is taken on EXIT.
  p.RemoteName.text = "LAB7";
  p.CAGainUp.click();
  EXPECT_EQ(p.RemoteName.text, "LAB7");
  EXPECT_EQ(s.RemotePrefix, "QVX");
  p.UtilExit.click();
  EXPECT_EQ(s.RemotePrefix, "LAB7");
  EXPECT_FALSE(p.UtilBox.visible);
  EXPECT_TRUE(p.Timer2.enabled());
}

// The same capture with and without a calibration file read at start-up.
SampleBuffer captureA(const std::string& calibrationFile) {
  testing::TempFolder folder;
  std::ofstream("QVXport.cfg") << "1\r\n";
  if (!calibrationFile.empty()) fuzzing::writeBytes(kCalibrationFile, calibrationFile);
  testing::Rig r;
  Form_Load(r.scope);
  Form_Activate(r.scope);
  r.scope.panel.GOBUTTON.click();
  return r.scope.BufA;
}

TEST_F(CalibrationFile, TheCaptureTakesTheGainAndOffsetReadAtStartUp) {
  const SampleBuffer plain = captureA("");
  const SampleBuffer calibrated = captureA(" 1.1\r\n 1\r\n 20\r\n 0\r\n");
  int differing = 0;
  for (int i = 0; i < 4096; ++i) {
    const double expected =
        std::clamp(std::nearbyint((plain[i] + 20 - 2048) * 1.1 + 2048), 0.0, 4095.0);
    ASSERT_EQ(calibrated[i], expected) << i;
    differing += calibrated[i] != plain[i];
  }
  EXPECT_GT(differing, 4000);
}

}  // namespace
}  // namespace qvx
