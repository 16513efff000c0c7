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

TEST(Recorder, FiveSecondIntervalAppendsAfterOldLinesAndWritesZeroFiveTen) {
  CounterRig c;
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
                                                   "0,5000\r\n5,5000\r\n10,5000\r\n")))
      << written;
}

TEST(Recorder, UnwritableFileTellsTheUserOnceAndStopsLookingAsIfRecording) {
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

  // A file that stops being writable while recording.
  std::filesystem::create_directory("rec");
  c.s.FilePath = "rec/freq.csv";
  c.s.FRecInterval = 5;
  c.s.FRecNextTime = 0;
  std::filesystem::remove("rec");
  c.rig.host.messages.clear();
  c.runForReadings(3);
  ASSERT_EQ(c.rig.host.messages.size(), 1u);
  EXPECT_NE(c.rig.host.messages[0].text.find("rec/freq.csv"), std::string::npos);
  EXPECT_EQ(c.s.FRecInterval, 0);
  EXPECT_NE(c.p.Picture10.texts().find(" OFF     "), std::string::npos);
}

}  // namespace
}  // namespace qvx
