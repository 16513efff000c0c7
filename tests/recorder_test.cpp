#include "counter/recorder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "counter_rig.h"

namespace qvx {
namespace {

using testing::CounterRig;

std::string contents(const std::string& path) {
  std::stringstream all;
  all << std::ifstream(path, std::ios::binary).rdbuf();
  return all.str();
}

TEST(RecorderDue, DueTimesAndTheMidnightWrap) {
  EXPECT_TRUE(recorderDue(50000, 50000));
  EXPECT_FALSE(recorderDue(49999, 50000));
  // Before midnight, a due time already wrapped into the morning is not yet due.
  EXPECT_FALSE(recorderDue(86300, 200));
  // After midnight, a due time left in the evening is overdue...
  EXPECT_TRUE(recorderDue(100, 86350));
  // ...and one that ran past midnight without being reduced falls due once reached.
  EXPECT_FALSE(recorderDue(100, 86600));
  EXPECT_TRUE(recorderDue(200, 86600));
  EXPECT_FALSE(recorderDue(20000, 86600));  // not in the early morning: not due
}

TEST(RecorderTest, AcrossMidnightWithASixHundredSecondInterval) {
  testing::TempFolder folder;
  testing::Rig rig;
  Scope& s = rig.scope;
  s.FilePath = "rec.csv";
  s.FRecInterval = 600;
  s.FCntValue = 5000;
  auto at = [&](double timeOfDay) {
    rig.host.clock = timeOfDay - 12 * 3600;  // the scripted host's day starts its clock at noon
    FRecTest(s);
  };
  s.FRecNextTime = 86000;
  at(86000);
  EXPECT_EQ(s.FRecNextTime, 86600);
  at(86300);
  at(86400 + 100);  // 00:01:40
  at(86400 + 200);  // 00:03:20: 200 + 86,400 reaches the due time
  EXPECT_EQ(s.FRecNextTime, 87200);
  EXPECT_EQ(contents("rec.csv"), "0,5000\r\n600,5000\r\n");

  s.FRecNextTime = 95800;  // due times above 96,399 come back into the day
  at(86400 + 9400);
  EXPECT_EQ(s.FRecNextTime, 96400 - 86400);
}

TEST(RecorderName, IntervalExtensionAndFolder) {
  for (auto [text, seconds] :
       {std::pair{"2", 0}, {"3", 3}, {"10000", 0}, {"  7", 7}, {"9999", 9999}, {"abc", 0}})
    EXPECT_EQ(recorderInterval(text), seconds) << text;
  for (auto [name, forced] : {std::pair{"data.txt", "data.csv"},
                              {"data", "data.csv"},
                              {"a.b.c", "a.csv"},
                              {"run.1/log", "run.1/log.csv"}})
    EXPECT_EQ(recorderFileName(name, "csv"), forced);

  testing::Rig rig;
  Scope& s = rig.scope;
  s.SaveExt = "csv";
  s.SaveWhat = "Frequency data points";
  s.panel.Frecname.text = "log.txt";
  s.FRecFolder = "/";
  frecnametest(s);
  EXPECT_EQ(s.FilePath, "/log.csv");
  s.FRecFolder = "/tmp/x";
  rig.host.answers = {mb::AnswerCancel};
  frecnametest(s);
  EXPECT_EQ(s.FilePath, "/tmp/x/log.csv");
  EXPECT_EQ(s.SaveConfirmed, 0);
  EXPECT_EQ(std::tuple(rig.host.messages.back().text, rig.host.messages.back().title),
            std::tuple("Save Frequency data points as /tmp/x/log.csv", "Save message"));
  s.panel.Frecname.text = "";
  frecnametest(s);
  EXPECT_EQ(rig.host.messages.back().text, "No File name to save");
}

// Fills the recorder panel once it is open and presses its EXIT.
void fillRecorderPanel(CounterRig& c, const std::string& name, const std::string& interval) {
  c.rig.host.afterPumps(2, [&c, name, interval] {
    ASSERT_TRUE(c.p.Filesavefrec.visible);
    c.p.Frecname.text = name;
    c.p.Frectimerx.text = interval;
    c.p.Command32.press();
  });
}

// Counts of ten digits and more are written whole, never in exponent form.
TEST(Recorder, FiveSecondIntervalAppendsAfterOldLinesAndWritesZeroFiveTenWithEveryDigit) {
  sim::Config cfg;
  cfg.inputs.c = {12345678, 50};
  CounterRig c(cfg);
  std::ofstream("freq.csv", std::ios::binary) << "old line\r\n";
  fillRecorderPanel(c, "freq.txt", "5");
  c.p.FCntStSpbutton.press();  // "Rec"
  EXPECT_FALSE(c.p.Filesavefrec.visible);
  EXPECT_NE(c.p.Picture10.texts().find(" 5s       "), std::string::npos);
  c.runForReadings(12);  // a reading a second
  // Appended after the old line: the header pair with the date and time, then whole lines.
  const std::string written = contents("freq.csv");
  EXPECT_TRUE(std::regex_match(written, std::regex("old line\r\n\\d\\d-\\d\\d-\\d{4},12:00:0\\d\r\n"
                                                   "Elaspe\\(sec\\),Frequency\\(Hz\\)\r\n"
                                                   "0,12345678\r\n5,12345678\r\n10,12345678\r\n")))
      << written;
}

TEST(Recorder, UnwritableFileAtTheStartKeepsThePanelOpenWithAMessage) {
  CounterRig c;
  c.s.FRecFolder = (c.folder.path() / "missing").string();  // a folder that is not there
  fillRecorderPanel(c, "freq", "5");
  c.rig.host.afterPumps(4, [&c] {  // the header failed: the panel is still open
    EXPECT_TRUE(c.p.Filesavefrec.visible);
    c.p.Frectimerx.text = "0";
    c.p.Command32.press();
  });
  c.p.FCntStSpbutton.press();
  ASSERT_EQ(c.rig.host.messages.size(), 2u);  // the confirmation, then the failure
  EXPECT_NE(c.rig.host.messages[1].text.find("Unable to save"), std::string::npos);
  EXPECT_FALSE(c.p.Filesavefrec.visible);
  EXPECT_EQ(c.s.FRecInterval, 0);
}

// A record that cannot be appended is lost, counted on the counter panel and told once on
// stderr, with no box to stop the counting; recording goes on and later records arrive
// once the file can be written again.
TEST(Recorder, FailedAppendLosesThatRecordOnlyAndRecordingGoesOn) {
  CounterRig c;
  fillRecorderPanel(c, "freq", "3");
  c.p.FCntStSpbutton.press();
  const std::size_t confirmations = c.rig.host.messages.size();
  const double t0 = c.rig.host.clock;
  // Records fall due at 0, 3, 6, ... s; the file is a folder from 2 s to 8 s.
  c.rig.host.atTime(t0 + 2, [] {
    std::filesystem::rename("freq.csv", "kept.csv");
    std::filesystem::create_directory("freq.csv");
  });
  std::string panelWhileLost;
  c.rig.host.atTime(t0 + 8, [&c, &panelWhileLost] {
    panelWhileLost = c.p.Picture10.texts();
    std::filesystem::remove("freq.csv");
    std::filesystem::rename("kept.csv", "freq.csv");
  });
  ::testing::internal::CaptureStderr();
  c.runUntil([&c, t0] { return c.rig.host.clock - t0 > 13.5; });
  const std::string err = ::testing::internal::GetCapturedStderr();

  EXPECT_EQ(c.rig.host.messages.size(), confirmations);  // no box while counting
  EXPECT_NE(panelWhileLost.find("2 lost"), std::string::npos) << panelWhileLost;
  EXPECT_NE(c.p.Picture10.texts().find("2 lost"), std::string::npos) << c.p.Picture10.texts();
  EXPECT_EQ(c.s.FRecInterval, 3);
  // Told once, naming the file, though two records were lost.
  EXPECT_NE(err.find("freq.csv"), std::string::npos) << err;
  EXPECT_EQ(err.find("freq.csv"), err.rfind("freq.csv")) << err;
  const std::string written = contents("freq.csv");
  EXPECT_TRUE(std::regex_search(written, std::regex("\r\n0,5000\r\n9,5000\r\n12,5000\r\n$")))
      << written;
}

// An interval outside 3..9999 s turns recording off, as it must, and the panel says so
// rather than closing without a word; 0 asks for it and says nothing.
TEST(Recorder, IntervalOutsideItsRangeTurnsRecordingOffAndSaysWhy) {
  for (auto [typed, told] : {std::pair{"2", true}, {"10000", true}, {"0", false}}) {
    SCOPED_TRACE(typed);
    CounterRig c;
    fillRecorderPanel(c, "freq", typed);
    c.p.FCntStSpbutton.press();
    EXPECT_FALSE(c.p.Filesavefrec.visible);
    EXPECT_EQ(c.s.FRecInterval, 0);
    EXPECT_FALSE(std::filesystem::exists("freq.csv"));
    if (told) {
      ASSERT_EQ(c.rig.host.messages.size(), 1u);
      EXPECT_NE(c.rig.host.messages[0].text.find("3 to 9999"), std::string::npos);
      EXPECT_NE(c.rig.host.messages[0].text.find("nothing will be recorded"), std::string::npos);
    } else {
      EXPECT_TRUE(c.rig.host.messages.empty());
    }
  }
}

// The recorder panel chooses its place and folder with the lists the save panel uses.
TEST(Recorder, PanelChoosesThePlaceAndFolderAsTheSavePanelDoes) {
  CounterRig c;
  std::filesystem::create_directory("sub");
  for (const char* f : {"sub/old.csv", "sub/notes.txt"}) std::ofstream(f) << "x";
  c.rig.host.afterPumps(2, [&c] {
    const Panel& p = c.p;
    EXPECT_NE(p.Filesavefrec.texts().find("Select Drive/Directory/File"), std::string::npos);
    EXPECT_NE(p.Filesavefrec.texts().find("Drive selection"), std::string::npos);
    EXPECT_EQ(p.FrecDrive.items.at(0), "/  (filesystem root)");
    EXPECT_EQ(p.FrecDirList.items, (std::vector<std::string>{"..", "sub/"}));
    c.p.FrecDirList.listIndex = 1;
    c.p.FrecDirList.click();
    EXPECT_EQ(p.FrecFileList.items, std::vector<std::string>{"old.csv"});
    EXPECT_EQ(p.FrecDirPath.texts(), (c.folder.path() / "sub").string());
    c.p.FrecDrive.listIndex = 0;
    c.p.FrecDrive.click();
    EXPECT_EQ(c.s.FRecFolder, "/");
    c.p.FrecDirList.listIndex = 0;
    EXPECT_NE(p.FrecDirList.items.at(0), "..") << "nothing above the root";
    c.p.Frectimerx.text = "0";
    c.p.Command32.press();
  });
  c.p.FCntStSpbutton.press();
  EXPECT_FALSE(c.p.Filesavefrec.visible);
}

TEST(RecorderField, NumbersAreWrittenWholeInDecimal) {
  for (auto [value, text] : {std::pair{0.0, "0"},
                             {7.0, "7"},
                             {9999999.0, "9999999"},
                             {10000000.0, "10000000"},
                             {12345678.0, "12345678"},
                             {1073741823.0, "1073741823"},
                             {20000000.0, "20000000"},
                             {3.5, "3.5"},
                             {34999996.5, "34999996.5"}})
    EXPECT_EQ(recorderField(value), text);
}

}  // namespace
}  // namespace qvx
